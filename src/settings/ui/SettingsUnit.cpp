#include "settings/ui/SettingsUnit.h"

#include "model/ui/DialogFrame.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pellmora {

TSettingsForm::TSettingsForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "SettingsForm", QStringLiteral("Settings"), QSize(403, 225));
    const QString saveCaption =
        QStringLiteral("Save program's state when exit / Restore all settings when start");
    SaveProgramStateCheck =
        Named(new QCheckBox(saveCaption, this), "SaveProgramStateCheck", saveCaption);
    auto* group = Named(new QGroupBox(QStringLiteral("  File Comparison Mode:"), this),
                        "CompareModeGroup", QStringLiteral("File Comparison Mode"));
    CRCRadioButton = Named(new QRadioButton(QStringLiteral("CRC32 Checksum + FileSize")),
                           "CRCRadioButton", QStringLiteral("CRC32 Checksum + FileSize"));
    ByteByByteRadioButton =
        Named(new QRadioButton(QStringLiteral("Byte-by-Byte Comparison")), "ByteByByteRadioButton",
              QStringLiteral("Byte-by-Byte Comparison"));
    auto* radios = new QVBoxLayout(group);
    radios->addWidget(CRCRadioButton);
    radios->addWidget(ByteByByteRadioButton);
    OKButton = MakeButton(this, "OKButton", QStringLiteral("OK"));
    CancelButton = MakeButton(this, "CancelButton", QStringLiteral("Cancel"));
    OKButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SaveProgramStateCheck);
    layout->addWidget(group);
    layout->addStretch();
    layout->addLayout(buttons);
    connect(OKButton, &QPushButton::clicked, this, &TSettingsForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TSettingsForm::CancelButtonClick);
}

void TSettingsForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

void TSettingsForm::FormShow() {
    SaveProgramStateCheck->setChecked(SaveState);
    CRCRadioButton->setChecked(CompareMode != 1);
    ByteByByteRadioButton->setChecked(CompareMode == 1);
}

void TSettingsForm::OKButtonClick() {
    SaveState = SaveProgramStateCheck->isChecked();
    CompareMode = ByteByByteRadioButton->isChecked() ? 1 : 0;
    accept();
}

void TSettingsForm::CancelButtonClick() {
    reject();
}

} // namespace pellmora
