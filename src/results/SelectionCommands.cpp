#include "results/SelectionCommands.h"

#include "model/NativeText.h"
#include "model/SortProcedures.h"
#include "model/TextFormats.h"
#include "results/ResultsViewInput.h"
#include "results/ViewOrderSort.h"

#include <QFile>

#include <algorithm>
#include <map>

namespace pellmora {

namespace {

// Calls visit(first, end) for each maximal run of one Group, in list order.
template <typename Visit> void ForEachGroup(const TFileList& list, const Visit& visit) {
    size_t first = 0;
    while (first < list.size()) {
        size_t end = first + 1;
        while (end < list.size() && list[end].Group == list[first].Group)
            ++end;
        visit(first, end);
        first = end;
    }
}

bool HasSeveral(const SearchState& state) {
    return state.ResultList.size() >= 2;
}

// Ticks each group's unticked unresolved files in the chosen folders, but never the group's
// last unticked unresolved file: the first file ticked here is then unticked again. A kept file
// is never ticked and always stays, so a group that holds one may have all its others ticked.
void TickInFolders(SearchState& state, const std::vector<bool>& chosen) {
    TFileList& list = state.ResultList;
    ForEachGroup(list, [&](size_t first, size_t end) {
        size_t firstTicked = end;
        bool openLeft = false;
        for (size_t k = first; k < end; ++k) {
            TFileInfoType& file = list[k];
            const auto dir = static_cast<size_t>(file.DirIndex);
            if (dir < chosen.size() && chosen[dir] && MayBeTicked(file) && file.Checked == 0) {
                file.Checked = 1;
                firstTicked = std::min(firstTicked, k);
            }
        }
        for (size_t k = first; k < end; ++k)
            if (list[k].Resolved == 0 && list[k].Checked == 0) openLeft = true;
        if (firstTicked < end && !openLeft) list[firstTicked].Checked = 0;
    });
}

int32_t FolderOfRow(const SearchState& state, int32_t row) {
    const int32_t record = RecordOfRow(state, row);
    return record < 0 ? -1 : state.ResultList[static_cast<size_t>(record)].DirIndex;
}

bool SelectInFolders(SearchState& state, int32_t selectedRow, bool branch) {
    const int32_t folder = FolderOfRow(state, selectedRow);
    if (!HasSeveral(state) || folder < 0 || static_cast<size_t>(folder) >= state.DirTable.size())
        return false;
    std::vector<bool> chosen(state.DirTable.size(), false);
    if (branch) {
        for (int32_t dir : BranchSet(state, folder))
            chosen[static_cast<size_t>(dir)] = true;
    } else {
        chosen[static_cast<size_t>(folder)] = true;
    }
    TickInFolders(state, chosen);
    return true;
}

// Unticks the group, then ticks every unresolved member but the first in date order. In a
// group that holds a kept file, the kept file is the one left: every other unresolved member
// is ticked.
void KeepOneByAge(TFileList& list, size_t first, size_t end, uint8_t newestFirst,
                  const SortContext& context, const OperationControl& control) {
    size_t unresolved = 0;
    bool holdsKept = false;
    for (size_t k = first; k < end; ++k) {
        list[k].Checked = 0;
        if (list[k].Resolved == 0) ++unresolved;
        if (list[k].Kept != 0) holdsKept = true;
    }
    if (holdsKept) {
        for (size_t k = first; k < end; ++k)
            if (MayBeTicked(list[k])) list[k].Checked = 1;
        return;
    }
    if (unresolved < 2) return;
    TSortList order;
    order.reserve(end - first);
    for (size_t k = first; k < end; ++k)
        order.push_back({static_cast<int32_t>(k), list[k].Group});
    SortIndexList(list, order, context, 0, static_cast<int32_t>(order.size()) - 1, &CompareFileDate,
                  newestFirst, control);
    bool keptOne = false;
    for (const TSortEntry& entry : order) {
        TFileInfoType& file = list[static_cast<size_t>(entry.Index)];
        if (file.Resolved != 0) continue;
        if (keptOne) file.Checked = 1;
        keptOne = true;
    }
}

bool LeaveOneByAge(SearchState& state, uint8_t newestFirst, const OperationControl& control) {
    if (!HasSeveral(state)) return false;
    ForEachGroup(state.ResultList, [&](size_t first, size_t end) {
        KeepOneByAge(state.ResultList, first, end, newestFirst, SortContextOf(state), control);
    });
    return true;
}

// The unresolved files of groups that keep at least two, renumbered; totals recomputed.
TFileList KeptFiles(SearchState& state) {
    const TFileList& list = state.ResultList;
    TFileList kept;
    int32_t group = 0;
    state.OriginalsSize = state.DuplicatesSize = 0;
    ForEachGroup(list, [&](size_t first, size_t end) {
        const auto unresolved =
            std::count_if(list.begin() + static_cast<ptrdiff_t>(first),
                          list.begin() + static_cast<ptrdiff_t>(end),
                          [](const TFileInfoType& f) { return f.Resolved == 0; });
        if (unresolved < 2) return;
        ++group;
        state.OriginalsSize += list[first].Size;
        state.DuplicatesSize -= list[first].Size;
        for (size_t k = first; k < end; ++k) {
            if (list[k].Resolved != 0) continue;
            kept.push_back(list[k]);
            kept.back().Group = group;
            state.DuplicatesSize += list[k].Size;
        }
    });
    return kept;
}

QString DuplicateCountText(const SearchState& state) {
    if (state.ResultList.size() < 2) return QStringLiteral("0 + 0");
    const int64_t groups = state.ResultList.back().Group;
    const auto files = static_cast<int64_t>(state.ResultList.size());
    return GroupsAndCopiesText(groups, files - groups, state.Locale.Format());
}

} // namespace

bool DeselectAll(SearchState& state) {
    if (!HasSeveral(state)) return false;
    for (TFileInfoType& file : state.ResultList)
        file.Checked = 0;
    return true;
}

TIntArr BranchSet(const SearchState& state, int32_t dirIndex) {
    TIntArr branch;
    const std::string& root = state.DirTable[static_cast<size_t>(dirIndex)];
    for (size_t d = 0; d < state.DirTable.size(); ++d)
        if (state.DirTable[d].starts_with(root)) branch.push_back(static_cast<int32_t>(d));
    return branch;
}

bool SelectAllInFolder(SearchState& state, int32_t selectedRow) {
    return SelectInFolders(state, selectedRow, false);
}

bool SelectAllInSubdirectories(SearchState& state, int32_t selectedRow) {
    return SelectInFolders(state, selectedRow, true);
}

bool LeaveOnlyOldestVersion(SearchState& state, const OperationControl& control) {
    return LeaveOneByAge(state, 0, control);
}

bool LeaveOnlyNewestVersion(SearchState& state, const OperationControl& control) {
    return LeaveOneByAge(state, 1, control);
}

int32_t TickAllButKeptCopies(SearchState& state, KeepCopyRule rule) {
    std::map<int32_t, int32_t> staying; // group -> the copy the rule picks; -1: a kept file stays
    for (size_t k = 0; k < state.ResultList.size(); ++k) {
        const TFileInfoType& file = state.ResultList[k];
        if (file.Resolved != 0) continue;
        const auto [slot, first] = staying.try_emplace(file.Group, static_cast<int32_t>(k));
        if (file.Kept != 0 || slot->second < 0) {
            slot->second = -1;
            continue;
        }
        const int64_t chosen = state.ResultList[static_cast<size_t>(slot->second)].ModTimeNs;
        if ((rule == KeepCopyRule::Oldest && file.ModTimeNs < chosen) ||
            (rule == KeepCopyRule::Newest && file.ModTimeNs > chosen))
            slot->second = static_cast<int32_t>(k);
    }
    int32_t ticked = 0;
    for (size_t k = 0; k < state.ResultList.size(); ++k) {
        TFileInfoType& file = state.ResultList[k];
        const bool stays = staying[file.Group] == static_cast<int32_t>(k);
        file.Checked = !stays && MayBeTicked(file) ? 1 : 0;
        ticked += file.Checked;
    }
    return ticked;
}

bool RemoveResolvedDuplicates(SearchState& state, int32_t sortColumn, uint8_t direction,
                              CleanupTexts& texts, const OperationControl& control) {
    if (!HasSeveral(state) || state.StopFlag != 1) return false;
    state.ResultList = KeptFiles(state);
    state.ResultLast = static_cast<int32_t>(state.ResultList.size()) - 1;
    state.ResultCapacity = state.ResultLast + 1;
    texts.DuplicateText = DuplicateCountText(state);
    texts.DiskUsingText =
        DiskUsingText(state.OriginalsSize, state.DuplicatesSize, state.Locale.Format());
    // The old rows name records that are gone: without a sort column the list order is shown.
    if (state.ResultList.empty() || !SortViewOrder(state, sortColumn, direction, control))
        BuildViewOrder(state);
    texts.SelectedText = SelectionStatsText(state);
    return true;
}

bool IsPictureName(const std::string& fileName) {
    const QString name = Decoded(fileName);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return false;
    static const QStringList pictures = {"bmp", "jpg", "jpeg", "gif", "tif", "tiff", "png"};
    return pictures.contains(name.mid(dot + 1).toLower());
}

PopupMenuItems PopupMenu1Popup(const SearchState& state, int32_t selectedRow) {
    PopupMenuItems items;
    const int32_t record = RecordOfRow(state, selectedRow);
    const bool selected = record >= 0;
    const bool unresolved = selected && state.ResultList[static_cast<size_t>(record)].Resolved == 0;
    items.DeleteThisFile = unresolved && state.ResultList[static_cast<size_t>(record)].Kept == 0;
    items.FileProperties = items.OpenWithAssociatedProgram = unresolved;
    items.PicturePreview =
        unresolved && IsPictureName(state.ResultList[static_cast<size_t>(record)].FileName);
    items.OpenContainingFolder = selected;
    items.SelectAllInFolder = items.SelectAllInSubdirectories = selected;
    items.LeaveOnlyOldest = items.LeaveOnlyNewest = selected;
    items.RemoveResolved = !state.ResultList.empty() && state.StopFlag == 1;
    return items;
}

} // namespace pellmora
