#include "settings/ui/SettingsUnit.h"

#include "model/MessagePrompter.h"
#include "model/ui/DialogFrame.h"
#include "platform/ChecksumCache.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pellmora {

// The cache row makes the dialog taller than its 225 pixels of old.
TSettingsForm::TSettingsForm(MessagePrompter& prompter, QWidget* parent)
    : QDialog(parent), CacheFile(ChecksumCache::DefaultFile()), prompter_(prompter) {
    SetUpDialog(*this, "SettingsForm", QStringLiteral("Settings"), QSize(403, 257));
    const QString saveCaption =
        QStringLiteral("Save program's state when exit / Restore all settings when start");
    SaveProgramStateCheck =
        Named(new QCheckBox(saveCaption, this), "SaveProgramStateCheck", saveCaption);
    auto* group = Named(new QGroupBox(QStringLiteral("  File Comparison Mode:"), this),
                        "CompareModeGroup", QStringLiteral("File Comparison Mode"));
    // The checksum mode compares both checksums, so the caption names both.
    const QString checksums = QStringLiteral("CRC32 + XXH3-128 Checksums + FileSize");
    CRCRadioButton = Named(new QRadioButton(checksums), "CRCRadioButton", checksums);
    ByteByByteRadioButton =
        Named(new QRadioButton(QStringLiteral("Byte-by-Byte Comparison")), "ByteByByteRadioButton",
              QStringLiteral("Byte-by-Byte Comparison"));
    auto* radios = new QVBoxLayout(group);
    radios->addWidget(CRCRadioButton);
    radios->addWidget(ByteByByteRadioButton);
    const QString cacheCaption = QStringLiteral("Remember checksums between searches");
    CacheCheckBox = Named(new QCheckBox(cacheCaption, this), "CacheCheckBox", cacheCaption);
    ForgetButton = MakeButton(this, "ForgetButton", QStringLiteral("&Forget"));
    auto* cache = new QHBoxLayout;
    cache->addWidget(CacheCheckBox);
    cache->addStretch();
    cache->addWidget(ForgetButton);
    OKButton = MakeButton(this, "OKButton", QStringLiteral("&OK"));
    CancelButton = MakeButton(this, "CancelButton", QStringLiteral("&Cancel"));
    OKButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SaveProgramStateCheck);
    layout->addWidget(group);
    layout->addLayout(cache);
    layout->addStretch();
    layout->addLayout(buttons);
    connect(OKButton, &QPushButton::clicked, this, &TSettingsForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TSettingsForm::CancelButtonClick);
    connect(ForgetButton, &QPushButton::clicked, this, &TSettingsForm::ForgetButtonClick);
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
    CacheCheckBox->setChecked(CacheEnabled);
}

void TSettingsForm::OKButtonClick() {
    SaveState = SaveProgramStateCheck->isChecked();
    CompareMode = ByteByByteRadioButton->isChecked() ? 1 : 0;
    CacheEnabled = CacheCheckBox->isChecked();
    accept();
}

void TSettingsForm::CancelButtonClick() {
    reject();
}

void TSettingsForm::ForgetButtonClick() {
    std::string reason;
    if (!ChecksumCache::Clear(CacheFile, reason))
        prompter_.Error(QStringLiteral("Cannot forget the remembered checksums.\n\r") +
                        QString::fromLocal8Bit(reason.c_str()));
}

} // namespace pellmora
