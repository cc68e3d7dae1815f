#pragma once
// The confirmation of a delete: to the trash, for good, or (keeping every path) replaced by hard
// links to a kept copy or by a copy-on-write share of its data. The option chosen stays selected
// for the next delete of the run; a red line warns when groups would lose every copy, another
// one what hard links mean while that option is selected.

#include "actions/ActionDialog.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace pellmora {

class TDeleteForm : public QDialog, public DeleteDialog {
    Q_OBJECT
  public:
    explicit TDeleteForm(QWidget* parent = nullptr);

    void ShowModal(DialogExchange& exchange, int32_t groupsLeftWithoutCopy) override;

    void FormShow(int32_t selectedCount, int32_t groupsLeftWithoutCopy);
    void Image1Click();
    void Image2Click();
    void OKButtonClick();
    void CancelButtonClick();

    QToolButton* Image1 = nullptr;
    QRadioButton* RecyclerRadio = nullptr;
    QToolButton* Image2 = nullptr;
    QRadioButton* DeleteRadio = nullptr;
    QRadioButton* HardLinkRadio = nullptr;
    QRadioButton* ShareRadio = nullptr;
    QLabel* LinkWarningLabel = nullptr;
    QLabel* DelCountLabel = nullptr;
    QLabel* WarningLabel = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

  private:
    QToolButton* MakeImage(const char* name, int icon, const QString& caption);
    QRadioButton* MakeRadio(const char* name, const QString& caption);
    uint8_t Choice() const;
    void ShowCount();

    DialogExchange* exchange_ = nullptr;
    int32_t selectedCount_ = 0;
    int32_t groupsLeftWithoutCopy_ = 0;
};

} // namespace pellmora
