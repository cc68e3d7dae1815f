#pragma once
// The first phase of a search: from the step-1 inputs to ScanList and DirTable.
// The walk reads each folder once, takes its files mask by mask in listing order, then enters
// its subfolders depth first. Only regular files are taken, each physical file once; folders
// already entered, protected folders and kernel virtual file systems are not entered. A stop
// request is read after every listing entry; the walk yields once per folder entered and once
// per folder that gets its first file.

#include "model/DuplicateTypes.h"
#include "model/OperationControl.h"
#include "model/SearchInputs.h"

namespace pellmora {

// MinSize and MaxSize from the size rows; the decimal separator is the locale's.
void ReadSizeLimits(SearchState& state, const SearchInputs& inputs, const QLocale& locale);

// MaskList and MaskCount from the raw mask text, split at every "|", nothing trimmed.
void SplitMasks(SearchState& state, const QString& maskText);

// The choice of listed folders and the walk of each chosen one, in list order.
void CollectListedDirectories(SearchState& state, const SearchInputs& inputs,
                              const OperationControl& control);

} // namespace pellmora
