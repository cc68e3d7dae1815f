#pragma once
// Whether the options persist, and how contents are compared. The caller sets the two values,
// shows the dialog, and takes them back when it was accepted; nothing is written to the
// settings file before the program ends.

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace pellmora {

class TSettingsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TSettingsForm(QWidget* parent = nullptr);

    bool SaveState = true;
    uint8_t CompareMode = 0;

    void FormShow();
    void OKButtonClick();
    void CancelButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QCheckBox* SaveProgramStateCheck = nullptr;
    QRadioButton* CRCRadioButton = nullptr;
    QRadioButton* ByteByByteRadioButton = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

} // namespace pellmora
