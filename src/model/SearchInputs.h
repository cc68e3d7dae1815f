#pragma once
// The values of the window's step-1 controls that a search reads, so that the window, the
// command line and the tests fill the same struct.

#include "model/DuplicateTypes.h"

#include <QString>

namespace pellmora {

enum class SizeUnit { B = 0, KB = 1, MB = 2 }; // the unit boxes' entries, in order

struct SizeLimitInput {
    bool Checked = false;
    QString Text = QStringLiteral("0");
    SizeUnit Unit = SizeUnit::KB;
};

struct SearchInputs {
    TStringArr Directories; // DirectoriesListBox, native bytes
    // The ticked entries of DirectoriesListBox: searched first, their files kept. A folder
    // named here and not in Directories is searched all the same.
    TStringArr KeepDirectories;
    bool OnlyWithKept = false;                // OnlyWithKeptCheck
    QString SkipFolders;                      // SkipFoldersEdit: folder masks joined by "|"
    QString MaskText = QStringLiteral("*.*"); // FileTypesEdit
    bool ExcludeZero = true;                  // ExcludeZeroCheck
    bool ProtectSysFolders = true;            // ProtectSysFoldersCheck
    bool ProtectSysFiles = true;              // ProtectSysFilesCheck
    SizeLimitInput MinSize;                   // MinSizeCheck, MinSizeEdit, MinSizeBox
    SizeLimitInput MaxSize;                   // MaxSizeCheck, MaxSizeEdit, MaxSizeBox
};

} // namespace pellmora
