#pragma once
// The confirmation of a rename, with the prefix or postfix and a sample of the new name. "OK"
// refuses an empty text and the characters no file name may hold; the text and the option stay
// as the user left them for the next rename of the run.

#include "actions/ActionDialog.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace pellmora {

class MessagePrompter;

class TRenameForm : public QDialog, public ActionDialog {
    Q_OBJECT
  public:
    explicit TRenameForm(MessagePrompter& prompter, QWidget* parent = nullptr);

    void ShowModal(DialogExchange& exchange) override;

    void FormShow(int32_t selectedCount);
    void RadioButtonClick();
    void PrefixEditChange();
    void OKButtonClick();
    void CancelButtonClick();

    QLabel* MainLabel = nullptr;
    QLineEdit* PrefixEdit = nullptr;
    QRadioButton* PrefixRadioButton = nullptr;
    QRadioButton* PostfixRadioButton = nullptr;
    QLabel* SampleLabel = nullptr;
    QLabel* RenameSampleLabel = nullptr;
    QLabel* DelCountLabel = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

  private:
    MessagePrompter& prompter_;
    DialogExchange* exchange_ = nullptr;
};

} // namespace pellmora
