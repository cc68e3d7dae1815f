#pragma once
// Keeps a delete to the files the search listed, and keeps each group's data somewhere.
// A file is deleted only while lstat still shows the regular file the search saw (device,
// inode, size, modification and status-change times to the nanosecond); and when copies of its
// group stay behind, only while at least one of them is still such an unchanged file. The copies
// that stay are the unticked ones for a batch delete, every other one for the delete of one file.

#include "model/DuplicateTypes.h"

#include <QString>
#include <optional>
#include <unordered_map>
#include <variant>
#include <vector>

namespace pellmora {

enum class KeptCopies { Unticked, AllOthers };

// Whether a kept copy must be on the ticked file's device (a hard link cannot leave it).
enum class KeptDevice { Any, Same };

class CopyGuard {
  public:
    explicit CopyGuard(const SearchState& state);

    // Nothing when the file at ResultList index may be deleted now, else the reason to show.
    std::optional<QString> DeletionRefusal(int32_t index, KeptCopies kept) const;

    // The copies that may give their data to the ticked file at index: unticked, unresolved and
    // unchanged, those on the file's listed device first (and only those where asked), on each
    // device a file of a keep folder before any other, then in ResultList order. At least one,
    // or the reason there is none.
    std::variant<std::vector<int32_t>, QString> KeptCandidates(int32_t index,
                                                               KeptDevice device) const;

    // The other unresolved files of the group at index that stay (unticked ones, or all).
    std::vector<int32_t> Staying(int32_t index, KeptCopies kept) const;
    // The copies that stay when the file at index goes and are unchanged now, in ResultList order.
    std::vector<int32_t> UnchangedCopies(int32_t index, KeptCopies kept) const;

    bool Unchanged(int32_t index) const;

    // Whether identity is that of another unresolved file of the group at index.
    bool IsAnotherCopy(int32_t index, const FileIdentity& identity) const;

  private:
    bool Unchanged(const TFileInfoType& file) const;

    const SearchState& state_;
    std::unordered_map<int32_t, std::vector<int32_t>> groups_; // group -> ResultList indices
};

// The groups whose every unresolved file is ticked: a batch delete would leave none of them.
int32_t GroupsLeftWithoutCopy(const SearchState& state);

} // namespace pellmora
