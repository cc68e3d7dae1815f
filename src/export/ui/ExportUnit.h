#pragma once
// The choice of the report file: a typed name is taken as typed, a name picked with "Browse"
// comes from the save-file dialog, which adds "html" when it has no extension.

#include "export/ExportDialog.h"

#include <QDialog>

class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pellmora {

class TExportForm : public QDialog, public ExportDialog {
    Q_OBJECT
  public:
    explicit TExportForm(QWidget* parent = nullptr);

    void ShowModal(DialogExchange& exchange) override;

    void SelectFileButtonClick();
    void OKButtonClick();
    void CancelButtonClick();

    QLabel* Label1 = nullptr;
    QLineEdit* FileEdit = nullptr;
    QPushButton* SelectFileButton = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QFileDialog* SaveDialog1 = nullptr;

  private:
    void MakeSaveDialog();

    DialogExchange* exchange_ = nullptr;
};

} // namespace pellmora
