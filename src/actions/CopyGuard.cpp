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
    return stamp && stamp->IsRegular && static_cast<const FileVersion&>(*stamp) == VersionOf(file);
}

bool CopyGuard::Unchanged(int32_t index) const {
    return Unchanged(state_.ResultList[static_cast<size_t>(index)]);
}

bool CopyGuard::IsAnotherCopy(int32_t index, const FileIdentity& identity) const {
    for (int32_t other : Staying(index, KeptCopies::AllOthers))
        if (IdentityOf(state_.ResultList[static_cast<size_t>(other)]) == identity) return true;
    return false;
}

std::vector<int32_t> CopyGuard::Staying(int32_t index, KeptCopies kept) const {
    std::vector<int32_t> staying;
    for (int32_t other : groups_.at(state_.ResultList[static_cast<size_t>(index)].Group)) {
        const TFileInfoType& copy = state_.ResultList[static_cast<size_t>(other)];
        if (other == index || copy.Resolved != 0) continue;
        if (kept == KeptCopies::Unticked && copy.Checked != 0) continue;
        staying.push_back(other);
    }
    return staying;
}

std::vector<int32_t> CopyGuard::UnchangedCopies(int32_t index, KeptCopies kept) const {
    std::vector<int32_t> unchanged;
    for (int32_t other : Staying(index, kept))
        if (Unchanged(other)) unchanged.push_back(other);
    return unchanged;
}

std::optional<QString> CopyGuard::DeletionRefusal(int32_t index, KeptCopies kept) const {
    if (!Unchanged(index)) return QStringLiteral("The file was changed after the search.");
    const std::vector<int32_t> staying = Staying(index, kept);
    for (int32_t other : staying)
        if (Unchanged(other)) return std::nullopt;
    if (!staying.empty()) return QStringLiteral("No unchanged copy of it is left.");
    return std::nullopt;
}

std::variant<std::vector<int32_t>, QString> CopyGuard::KeptCandidates(int32_t index,
                                                                      KeptDevice device) const {
    const uint64_t own = state_.ResultList[static_cast<size_t>(index)].Device;
    std::vector<int32_t> near, far;
    // A file of a keep folder first: it is the copy the user said to keep.
    const std::vector<int32_t> unchanged = UnchangedCopies(index, KeptCopies::Unticked);
    for (const bool keptFirst : {true, false})
        for (int32_t other : unchanged) {
            const TFileInfoType& copy = state_.ResultList[static_cast<size_t>(other)];
            if ((copy.Kept != 0) == keptFirst) (copy.Device == own ? near : far).push_back(other);
        }
    if (device == KeptDevice::Any) near.insert(near.end(), far.begin(), far.end());
    if (!near.empty()) return near;
    return far.empty() ? QStringLiteral("No kept copy of it is left.")
                       : QStringLiteral("No kept copy of it is on the same file system.");
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
