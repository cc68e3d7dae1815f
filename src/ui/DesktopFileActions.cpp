#include "ui/DesktopFileActions.h"

#include "actions/DeleteCommand.h"
#include "actions/MoveCommand.h"
#include "actions/RenameCommand.h"
#include "actions/ShellActions.h"
#include "actions/ui/PicturePreviewUnit.h"
#include "export/ExportList.h"
#include "model/NativeText.h"

namespace pellmora {

DesktopFileActions::DesktopFileActions(DialogExchange& exchange, ActionDialogs dialogs,
                                       DesktopServices services, MessagePrompter& prompter)
    : exchange_(exchange), dialogs_(dialogs), services_(std::move(services)), prompter_(prompter) {}

void DesktopFileActions::DeleteSelected(SearchState& state) {
    ActionParts parts{exchange_, prompter_};
    DeleteSelectedFiles(state, dialogs_.Delete, parts);
}

void DesktopFileActions::MoveSelected(SearchState& state) {
    ActionParts parts{exchange_, prompter_};
    MoveSelectedFiles(state, dialogs_.Move, parts);
}

void DesktopFileActions::RenameSelected(SearchState& state) {
    ActionParts parts{exchange_, prompter_};
    RenameSelectedFiles(state, dialogs_.Rename, parts);
}

void DesktopFileActions::ExportList(const SearchState& state, const QString& duplicateText,
                                    const TDirectoryList& folders) {
    ExportCommandParts parts{exchange_, dialogs_.Export, prompter_,
                             ReportEnvironment{state.Locale.Format()}};
    ExportDuplicateList({state, duplicateText, folders}, parts);
}

void DesktopFileActions::DeleteThisFile(SearchState& state, int32_t record) {
    DeleteOneFile(state, record, prompter_);
}

void DesktopFileActions::OpenContainingFolder(const SearchState& state, int32_t record) {
    pellmora::OpenContainingFolder(state, record, services_.Opener, prompter_);
}

void DesktopFileActions::OpenWithAssociatedProgram(const SearchState& state, int32_t record) {
    pellmora::OpenWithAssociatedProgram(state, record, services_.Opener, prompter_);
}

void DesktopFileActions::ShowFileProperties(const SearchState& state, int32_t record) {
    pellmora::ShowFileProperties(state, record, services_.Properties, services_.Opener, prompter_);
}

void DesktopFileActions::PicturePreview(const SearchState& state, int32_t record) {
    if (record < 0 || static_cast<size_t>(record) >= state.ResultList.size()) return;
    const TFileInfoType& file = state.ResultList[static_cast<size_t>(record)];
    dialogs_.Preview.ShowPicture(FullPath(state, file));
}

} // namespace pellmora
