#include "actions/ReplaceCommand.h"

#include "actions/ActionCommon.h"
#include "platform/FileOperations.h"
#include "platform/LinkReplace.h"
#include "platform/SharedData.h"

namespace pellmora {

namespace {

QString CannotReplaceText(const TFileInfoType& file, const QString& reason) {
    return CannotActText("replace", file, reason);
}

FileIdentity IdentityOf(const TFileInfoType& file) {
    return {file.Device, file.Inode};
}

// Linked to the kept copy since the search, by us or by another program: nothing left to do.
bool AlreadyLinked(const std::string& path, const TFileInfoType& kept) {
    const std::optional<FileStamp> stamp = ReadFileStamp(path);
    return stamp && stamp->IsRegular &&
           FileIdentity{stamp->Device, stamp->Inode} == IdentityOf(kept);
}

std::optional<QString> Replace(const TFileInfoType& file, const std::string& path,
                               const TFileInfoType& kept, const std::string& keptPath,
                               ReplaceWay way) {
    if (way == ReplaceWay::HardLink) {
        if (const int error = ReplaceWithHardLink(keptPath, IdentityOf(kept), path))
            return CannotReplaceText(file, ErrorCodeText(error));
        return std::nullopt;
    }
    const ShareResult shared = ShareDataFrom(keptPath, path);
    if (shared.Differs)
        return CannotReplaceText(file, QStringLiteral("The contents differ from the kept copy."));
    if (shared.Error) return CannotReplaceText(file, ShareErrorText(shared.Error));
    return std::nullopt;
}

} // namespace

std::optional<QString> ReplaceTicked(const SearchState& state, const CopyGuard& guard,
                                     ReplaceWay way, int32_t index, const std::string& path) {
    const TFileInfoType& file = state.ResultList[static_cast<size_t>(index)];
    const auto choice =
        guard.KeptCopy(index, way == ReplaceWay::HardLink ? KeptDevice::Same : KeptDevice::Any);
    if (const QString* refusal = std::get_if<QString>(&choice))
        return CannotReplaceText(file, *refusal);
    const TFileInfoType& kept = state.ResultList[static_cast<size_t>(std::get<int32_t>(choice))];
    if (!guard.Unchanged(index)) {
        if (way == ReplaceWay::HardLink && AlreadyLinked(path, kept)) return std::nullopt;
        return CannotReplaceText(file, QStringLiteral("The file was changed after the search."));
    }
    return Replace(file, path, kept, FullPath(state, kept), way);
}

const char* ReplaceSummaryTail(ReplaceWay way) {
    return way == ReplaceWay::HardLink ? " files were replaced by hard links."
                                       : " files share their data with a kept copy now.";
}

} // namespace pellmora
