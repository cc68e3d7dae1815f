#pragma once
// Adding or editing one mask of the catalogue. The catalogue dialog sets the mode (and, to
// edit, the entry) before showing it; an accepted dialog leaves the new entry text in Entry.

#include <QDialog>
#include <QString>

#include <cstdint>

class QLineEdit;
class QPushButton;

namespace pellmora {

class MessagePrompter;

class TEditMaskForm : public QDialog {
    Q_OBJECT
  public:
    explicit TEditMaskForm(MessagePrompter& prompter, QWidget* parent = nullptr);

    uint8_t MaskEditMode = 0; // 0: add a new entry, 1: edit SelectedEntry
    QString SelectedEntry;
    QString Entry;

    void FormShow();
    void OKButtonClick();
    void CancelButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    MessagePrompter& prompter_;
    QLineEdit* MaskEdit = nullptr;
    QLineEdit* DescriptionEdit = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

} // namespace pellmora
