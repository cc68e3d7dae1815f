#pragma once
// Whether the options persist, how contents are compared, and whether checksums are
// remembered between searches. The caller sets the values, shows the dialog, and takes them
// back when it was accepted; nothing is written to the settings file before the program ends.
// "Forget" empties the checksum store at once, whether the dialog is then accepted or not.

#include <QDialog>

#include <cstdint>
#include <string>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace pellmora {

class MessagePrompter;

class TSettingsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TSettingsForm(MessagePrompter& prompter, QWidget* parent = nullptr);

    bool SaveState = true;
    uint8_t CompareMode = 0;
    bool CacheEnabled = false;
    std::string CacheFile; // the store "Forget" empties: the default one unless set

    void FormShow();
    void OKButtonClick();
    void CancelButtonClick();
    void ForgetButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QCheckBox* SaveProgramStateCheck = nullptr;
    QRadioButton* CRCRadioButton = nullptr;
    QRadioButton* ByteByByteRadioButton = nullptr;
    QCheckBox* CacheCheckBox = nullptr;
    QPushButton* ForgetButton = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    MessagePrompter& prompter_;
};

} // namespace pellmora
