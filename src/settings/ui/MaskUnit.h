#pragma once
// The catalogue of named masks and the choice of the active ones. The caller puts the
// window's "Search Files:" text into FileTypes before showing the dialog and takes it back
// when the dialog was accepted ("OK"); the close box leaves it alone. "masks.ini" is read at
// every showing and written at every closing.

#include "settings/MaskCatalogue.h"
#include "settings/ProgramFiles.h"

#include <QDialog>
#include <QString>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace pellmora {

class MessagePrompter;
class TEditMaskForm;

class TMaskForm : public QDialog {
    Q_OBJECT
  public:
    TMaskForm(MessagePrompter& prompter, ProgramLocation location, QWidget* parent = nullptr);

    void AttachEditForm(TEditMaskForm* editForm) { editForm_ = editForm; }

    QString FileTypes = CatchAllMask;
    const MaskCatalogue& Catalogue() const { return catalogue_; }

    void FormShow();
    void OKButtonClick();
    void AddMaskButtonClick();
    void EditMaskButtonClick();
    void DeleteMaskButtonClick();
    // Stores the catalogue, whatever closes the dialog.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormClose();
    void ShowCatalogue();
    void ShowChecks();
    void ApplyButtonRule();
    void MaskListItemChanged(QListWidgetItem* item);
    int SelectedIndex() const;

    MessagePrompter& prompter_;
    ProgramLocation location_;
    TEditMaskForm* editForm_ = nullptr;
    MaskCatalogue catalogue_;
    QString path_;
    bool fileUnreadable_ = false; // a "masks.ini" stands there that could not be read
    QListWidget* MaskListBox = nullptr;
    QPushButton* AddMaskButton = nullptr;
    QPushButton* EditMaskButton = nullptr;
    QPushButton* DeleteMaskButton = nullptr;
    QPushButton* OKButton = nullptr;
};

} // namespace pellmora
