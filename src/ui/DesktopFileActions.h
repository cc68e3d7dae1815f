#pragma once
// The program's own file actions: the commands of src/actions with the dialogs created at
// start-up, the message boxes and the desktop's services, and the export of the list.

#include "actions/ActionDialog.h"
#include "actions/ShellServices.h"
#include "export/ExportDialog.h"
#include "model/DialogExchange.h"
#include "model/MessagePrompter.h"
#include "ui/FileActions.h"

namespace pellmora {

class TPicturePreviewForm;

struct ActionDialogs {
    DeleteDialog& Delete;
    ActionDialog& Move;
    ActionDialog& Rename;
    ExportDialog& Export;
    TPicturePreviewForm& Preview;
};

struct DesktopServices {
    UrlOpener Opener;
    FilePropertiesService& Properties;
};

class DesktopFileActions final : public FileActions {
  public:
    DesktopFileActions(DialogExchange& exchange, ActionDialogs dialogs, DesktopServices services,
                       MessagePrompter& prompter);

    void DeleteSelected(SearchState& state) override;
    void MoveSelected(SearchState& state) override;
    void RenameSelected(SearchState& state) override;
    void ExportList(const SearchState& state, const QString& duplicateText,
                    const TDirectoryList& folders) override;
    void DeleteThisFile(SearchState& state, int32_t record) override;
    void OpenContainingFolder(const SearchState& state, int32_t record) override;
    void OpenWithAssociatedProgram(const SearchState& state, int32_t record) override;
    void ShowFileProperties(const SearchState& state, int32_t record) override;
    void PicturePreview(const SearchState& state, int32_t record) override;

  private:
    DialogExchange& exchange_;
    ActionDialogs dialogs_;
    DesktopServices services_;
    MessagePrompter& prompter_;
};

} // namespace pellmora
