#pragma once
// The commands that tick files in bulk or clean the list, and when the results list's popup
// menu offers them. They work on ResultList in its own order, group by group, never tick a
// resolved file, and never touch a file on disk. Each returns whether it acted; the window
// then repaints the list and refreshes the "Selected:" statistic.

#include "model/DuplicateTypes.h"
#include "model/OperationControl.h"

#include <QString>

namespace pellmora {

bool DeselectAll(SearchState& state);

// selectedRow is the view row whose file names the folder (-1: no row selected).
bool SelectAllInFolder(SearchState& state, int32_t selectedRow);
bool SelectAllInSubdirectories(SearchState& state, int32_t selectedRow);

// The folders of the branch below (and including) DirTable[dirIndex], compared at folder
// boundaries and with case significant.
TIntArr BranchSet(const SearchState& state, int32_t dirIndex);

bool LeaveOnlyOldestVersion(SearchState& state, const OperationControl& control = {});
bool LeaveOnlyNewestVersion(SearchState& state, const OperationControl& control = {});

// Which copy of a group without kept files stays when everything else is ticked.
enum class KeepCopyRule { First, Oldest, Newest };

// Ticks every unresolved file that may be ticked but the copies that stay: every kept file, and
// in a group without one, the copy the rule picks (the first in ResultList order, or the one
// with the oldest or newest modification time, ties going to the first). Every group keeps at
// least one copy unticked. Returns how many files are ticked.
int32_t TickAllButKeptCopies(SearchState& state, KeepCopyRule rule);

// The statistics boxes after a cleaning.
struct CleanupTexts {
    QString DuplicateText; // "Original files + duplicates:"
    QString DiskUsingText; // "Disk space using:"
    QString SelectedText;  // "Selected:"
};

// Drops resolved files and every group left with fewer than two files, renumbers the groups,
// recomputes the totals, and sorts the view again by sortColumn in direction.
bool RemoveResolvedDuplicates(SearchState& state, int32_t sortColumn, uint8_t direction,
                              CleanupTexts& texts, const OperationControl& control = {});

struct PopupMenuItems {
    bool FileProperties = false;
    bool OpenWithAssociatedProgram = false;
    bool OpenContainingFolder = false;
    bool PicturePreview = false;
    bool DeleteThisFile = false;
    bool SelectAllInFolder = false;
    bool SelectAllInSubdirectories = false;
    bool LeaveOnlyOldest = false;
    bool LeaveOnlyNewest = false;
    bool RemoveResolved = false;
};

// Which items are enabled when the menu opens over selectedRow (-1: none).
PopupMenuItems PopupMenu1Popup(const SearchState& state, int32_t selectedRow);

// bmp, jpg, jpeg, gif, tif, tiff or png after the name's last dot, in any letter case.
bool IsPictureName(const std::string& fileName);

} // namespace pellmora
