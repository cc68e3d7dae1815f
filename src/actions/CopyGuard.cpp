#include "actions/CopyGuard.h"

#include "platform/FileOperations.h"

#include <map>

namespace pellmora {

CopyGuard::CopyGuard(const SearchState& state) : state_(state) {
    for (size_t k = 0; k < state.ResultList.size(); ++k)
        groups_[state.ResultList[k].Group].push_back(static_cast<int32_t>(k));
}

bool CopyGuard::Unchanged(const TFileInfoType& file) const {
    const std::optional<FileStamp> stamp = ReadFileStamp(FullPath(state_, file));
    return stamp && stamp->IsRegular && stamp->Device == file.Device &&
           stamp->Inode == file.Inode && stamp->Size == file.Size &&
           stamp->ModTimeNs == file.ModTimeNs;
}

std::optional<QString> CopyGuard::DeletionRefusal(int32_t index, KeptCopies kept) const {
    const TFileInfoType& file = state_.ResultList[static_cast<size_t>(index)];
    if (!Unchanged(file)) return QStringLiteral("The file was changed after the search.");
    bool anyKept = false;
    for (int32_t other : groups_.at(file.Group)) {
        const TFileInfoType& copy = state_.ResultList[static_cast<size_t>(other)];
        if (other == index || copy.Resolved != 0) continue;
        if (kept == KeptCopies::Unticked && copy.Checked != 0) continue;
        if (Unchanged(copy)) return std::nullopt;
        anyKept = true;
    }
    if (anyKept) return QStringLiteral("No unchanged copy of it is left.");
    return std::nullopt;
}

std::variant<int32_t, QString> CopyGuard::KeptCopy(int32_t index, KeptDevice device) const {
    const TFileInfoType& file = state_.ResultList[static_cast<size_t>(index)];
    bool elsewhere = false;
    // A file of a keep folder first: it is the copy the user said to keep.
    for (const bool keptFirst : {true, false}) {
        for (int32_t other : groups_.at(file.Group)) {
            const TFileInfoType& copy = state_.ResultList[static_cast<size_t>(other)];
            if (other == index || copy.Resolved != 0 || copy.Checked != 0) continue;
            if ((copy.Kept != 0) != keptFirst || !Unchanged(copy)) continue;
            if (device == KeptDevice::Any || copy.Device == file.Device) return other;
            elsewhere = true;
        }
    }
    return elsewhere ? QStringLiteral("No kept copy of it is on the same file system.")
                     : QStringLiteral("No kept copy of it is left.");
}

bool CopyGuard::Unchanged(int32_t index) const {
    return Unchanged(state_.ResultList[static_cast<size_t>(index)]);
}

int32_t GroupsLeftWithoutCopy(const SearchState& state) {
    std::map<int32_t, bool> everyCopyTicked; // group -> no unticked unresolved file seen
    for (const TFileInfoType& file : state.ResultList) {
        if (file.Resolved != 0 && file.Kept == 0) continue;
        auto [it, fresh] = everyCopyTicked.try_emplace(file.Group, true);
        if (file.Checked == 0 || file.Kept != 0) it->second = false; // a kept file always stays
    }
    int32_t count = 0;
    for (const auto& [group, ticked] : everyCopyTicked)
        count += ticked ? 1 : 0;
    return count;
}

} // namespace pellmora
