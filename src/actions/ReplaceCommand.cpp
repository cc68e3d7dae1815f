#include "actions/ReplaceCommand.h"

#include "actions/ActionCommon.h"
#include "platform/FileOperations.h"
#include "platform/LinkReplace.h"
#include "platform/PinnedFile.h"
#include "platform/SharedData.h"

#include <cerrno>

namespace pellmora {

namespace {

StepOutcome CannotReplace(const TFileInfoType& file, const QString& reason) {
    return StepFailed("replace", file, reason);
}

// Our own act gave the kept copy a new status-change time (a new name, shared extents): its
// record takes it, so that the next file of the batch still finds it unchanged.
void TakeOwnChange(TFileInfoType& record, PinnedFile& pinned) {
    if (pinned.AcceptOwnChange()) record.ChangeTimeNs = pinned.Stamp().ChangeTimeNs;
}

// The ticked file goes only when a kept copy holds its very bytes and a link to that copy
// leaves who may read it as it was.
StepOutcome LinkToKept(SearchState& state, const std::vector<int32_t>& candidates,
                       const TFileInfoType& file, PinnedFile& ticked, bool dryRun) {
    for (int32_t candidate : candidates) {
        TFileInfoType& record = state.ResultList[static_cast<size_t>(candidate)];
        PinnedFile kept(FullPath(state, record), VersionOf(record));
        if (!kept.Pinned() || !SameAccess(kept, ticked)) continue;
        bool equal = false;
        if (const int error = CompareContents(kept, ticked, equal))
            return StepFailedWith("replace", file, error);
        if (!equal) return CannotReplace(file, ChangedText());
        if (dryRun) return {std::nullopt, {}, candidate};
        if (const int error = ReplaceWithHardLink(kept, ticked))
            return StepFailedWith("replace", file, error);
        TakeOwnChange(record, kept);
        return {std::nullopt, {}, candidate};
    }
    return CannotReplace(file,
                         QStringLiteral("The kept copy has other permissions or attributes."));
}

// The kernel compares the bytes itself; a copy on another file system is passed for the next.
// A dry run cannot ask the kernel without acting: it names the first copy it would try.
StepOutcome ShareWithKept(SearchState& state, const std::vector<int32_t>& candidates,
                          const TFileInfoType& file, const PinnedFile& ticked, bool dryRun) {
    ShareResult shared{EXDEV, false};
    for (int32_t candidate : candidates) {
        TFileInfoType& record = state.ResultList[static_cast<size_t>(candidate)];
        PinnedFile kept(FullPath(state, record), VersionOf(record));
        if (!kept.Pinned()) continue;
        if (dryRun) return {std::nullopt, {}, candidate};
        shared = ShareDataBetween(kept.Fd(), ticked.Fd());
        if (shared.Ok()) {
            TakeOwnChange(record, kept);
            return {std::nullopt, {}, candidate};
        }
        if (shared.Error != EXDEV) break;
    }
    if (shared.Differs)
        return CannotReplace(file, QStringLiteral("The contents differ from the kept copy."));
    // A file system without shared extents is named as such, in the window and on the command line.
    const QString reason = ShareErrorText(shared.Error);
    if (reason != ErrorCodeText(shared.Error)) return CannotReplace(file, reason);
    return StepFailedWith("replace", file, shared.Error);
}

} // namespace

StepOutcome ReplaceTicked(SearchState& state, const CopyGuard& guard, ReplaceWay way, int32_t index,
                          const std::string& path, bool dryRun) {
    const TFileInfoType& file = state.ResultList[static_cast<size_t>(index)];
    PinnedFile ticked(path, VersionOf(file));
    // Linked to a copy of its group since the search, by us or by another program: nothing left
    // to do.
    if (!ticked.Pinned() && way == ReplaceWay::HardLink) {
        const std::optional<FileStamp> now = ReadFileStamp(path);
        if (now && now->IsRegular && guard.IsAnotherCopy(index, now->Identity())) return {};
    }
    const auto choice = guard.KeptCandidates(index, way == ReplaceWay::HardLink ? KeptDevice::Same
                                                                                : KeptDevice::Any);
    if (const QString* refusal = std::get_if<QString>(&choice))
        return CannotReplace(file, *refusal);
    if (!ticked.Pinned()) return StepFailedWith("replace", file, ticked.Error());
    const std::vector<int32_t>& candidates = std::get<std::vector<int32_t>>(choice);
    return way == ReplaceWay::HardLink ? LinkToKept(state, candidates, file, ticked, dryRun)
                                       : ShareWithKept(state, candidates, file, ticked, dryRun);
}

const char* ReplaceSummaryTail(ReplaceWay way) {
    return way == ReplaceWay::HardLink ? " files were replaced by hard links."
                                       : " files share their data with a kept copy now.";
}

} // namespace pellmora
