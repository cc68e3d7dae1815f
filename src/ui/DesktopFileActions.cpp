#include "ui/DesktopFileActions.h"

#include "actions/DeleteCommand.h"
#include "actions/MoveCommand.h"
#include "actions/RenameCommand.h"
#include "export/ExportList.h"

#include <QLocale>

namespace pellmora {

DesktopFileActions::DesktopFileActions(DialogExchange& exchange, ActionDialogs dialogs,
                                       MessagePrompter& prompter)
    : exchange_(exchange), dialogs_(dialogs), prompter_(prompter) {}

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
    ExportCommandParts parts{exchange_, dialogs_.Export, prompter_, ReportEnvironment{QLocale()}};
    ExportDuplicateList({state, duplicateText, folders}, parts);
}

void DesktopFileActions::DeleteThisFile(SearchState& state, int32_t record) {
    DeleteOneFile(state, record, prompter_);
}

// The shell commands come with the shell services; until then the entries do nothing.
void DesktopFileActions::OpenContainingFolder(const SearchState&, int32_t) {}

void DesktopFileActions::OpenWithAssociatedProgram(const SearchState&, int32_t) {}

void DesktopFileActions::ShowFileProperties(const SearchState&, int32_t) {}

void DesktopFileActions::PicturePreview(const SearchState&, int32_t) {}

} // namespace pellmora
