#pragma once
// The row order of the results view for a column sort, its colour bands, and the "Selected:"
// statistic that every change of a tick refreshes.

#include "model/DuplicateTypes.h"
#include "model/OperationControl.h"

#include <QString>

namespace pellmora {

enum class ResultColumn : int32_t { FileName = 0, Path = 1, DupGroup = 2, Size = 3, Modified = 4 };

// Rebuilds ViewOrder for a sort by column (0..4) in direction (0 ascending, 1 descending);
// any other column leaves it unchanged. Returns whether the column was one of the five.
bool SortViewOrder(SearchState& state, int32_t column, uint8_t direction,
                   const OperationControl& control = {});

// Replaces every Key (a group number) by a band number: adjacent rows of one group share a
// band, and consecutive runs alternate, starting with band 1 at row 0.
void RenumberBands(SearchState& state);

// Whether the row's band is the light-green one.
bool IsShadedRow(const SearchState& state, int32_t row);

// The ticked files' count ("#,##0") and total size, as "count / size".
QString SelectionStatsText(const SearchState& state);

} // namespace pellmora
