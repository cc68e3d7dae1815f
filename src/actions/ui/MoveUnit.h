#pragma once
// The confirmation of a move, with the target folder: the documents folder at first, then
// whatever the user left in it during the run.

#include "actions/ActionDialog.h"

#include <QDialog>

class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pellmora {

class TMoveForm : public QDialog, public ActionDialog {
    Q_OBJECT
  public:
    explicit TMoveForm(QWidget* parent = nullptr);

    void ShowModal(DialogExchange& exchange) override;

    void FormShow(int32_t selectedCount);
    void SelectDirectoryButtonClick();
    void OKButtonClick();
    void CancelButtonClick();

    QLabel* Label1 = nullptr;
    QLineEdit* DirectoryEdit = nullptr;
    QPushButton* SelectDirectoryButton = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* DelCountLabel = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QFileDialog* DirectoryDialog = nullptr; // the folder browser, made once

  private:
    void FormCreate();

    DialogExchange* exchange_ = nullptr;
};

} // namespace pellmora
