// The window's side of the settings: the options controls filled from and gathered into one
// settings value, the Settings and mask dialogs, and the size fields' key filter.

#include "settings/ProgramSettings.h"
#include "settings/SizeKeyFilter.h"
#include "settings/ui/MaskUnit.h"
#include "settings/ui/SettingsUnit.h"
#include "ui/DirectoryPicker.h"
#include "ui/TamberMain.h"
#include "ui/WindowGeometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <functional>

namespace pellmora {

namespace {

class EventHook final : public QObject {
  public:
    EventHook(QObject* parent, std::function<bool(QObject*, QEvent*)> hook)
        : QObject(parent), hook_(std::move(hook)) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return hook_(watched, event); }

  private:
    std::function<bool(QObject*, QEvent*)> hook_;
};

// Typed characters only: editing keys and shortcuts (Ctrl+C, Ctrl+V) keep working.
bool FilterSizeKey(QLineEdit* edit, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint() ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QChar separator = edit->locale().decimalPoint().front();
    const std::optional<QChar> passed = SizeKeyFilter(text[0], edit->text(), separator);
    if (passed && *passed == text[0]) return false;
    if (passed) edit->insert(QString(*passed));
    return true;
}

void ApplySizeLimit(QCheckBox* check, QLineEdit* edit, QComboBox* box,
                    const SizeLimitInput& limit) {
    check->setChecked(limit.Checked);
    edit->setText(limit.Text);
    box->setCurrentIndex(static_cast<int>(limit.Unit));
}

} // namespace

void TMainForm::ConnectSettingsControls() {
    connect(DefineMasksButton, &QPushButton::clicked, this, &TMainForm::DefineMasksButtonClick);
    for (QLineEdit* edit : {MinSizeEdit, MaxSizeEdit}) {
        edit->setLocale(State.Locale.Format());
        edit->installEventFilter(new EventHook(
            edit, [edit](QObject*, QEvent* event) { return FilterSizeKey(edit, event); }));
    }
}

void TMainForm::OpenIniFile() {
    ProgramSettings settings{SaveState, State.CompareMode, ReadInputs(), CacheEnabled, {}};
    LoadProgramSettings(ProgramFilePath(location_, SettingsFileName), settings);
    ApplySettings(settings);
}

void TMainForm::ApplySettings(const ProgramSettings& settings) {
    SaveState = settings.SaveState;
    State.CompareMode = settings.CompareMode;
    CacheEnabled = settings.CacheEnabled;
    const SearchInputs& options = settings.Options;
    FileTypesEdit->setText(options.MaskText);
    ExcludeZeroCheck->setChecked(options.ExcludeZero);
    ProtectSysFoldersCheck->setChecked(options.ProtectSysFolders);
    ProtectSysFilesCheck->setChecked(options.ProtectSysFiles);
    ApplySizeLimit(MinSizeCheck, MinSizeEdit, MinSizeBox, options.MinSize);
    MinSizeCheckClick();
    ApplySizeLimit(MaxSizeCheck, MaxSizeEdit, MaxSizeBox, options.MaxSize);
    MaxSizeCheckClick();
    SkipFoldersEdit->setText(options.SkipFolders);
    OnlyWithKeptCheck->setChecked(options.OnlyWithKept);
    DirectoriesListBox->clear();
    for (const std::string& directory : options.Directories)
        AddDirectory(directory,
                     std::find(options.KeepDirectories.begin(), options.KeepDirectories.end(),
                               directory) != options.KeepDirectories.end());
    placed_ = RestorePlacement(*this, settings.Window);
}

// Called once per close; a file that cannot be written is reported and the close goes on.
void TMainForm::SaveIniFile() {
    ProgramSettings settings{SaveState, State.CompareMode, ReadInputs(), CacheEnabled, {}};
    settings.Window = PlacementOf(*this);
    const QString failure =
        StoreProgramSettings(ProgramFilePath(location_, SettingsFileName), settings);
    if (!failure.isEmpty()) prompter_.Error(failure);
}

void TMainForm::SettingsButtonClick() {
    if (!settingsForm_) return;
    settingsForm_->SaveState = SaveState;
    settingsForm_->CompareMode = State.CompareMode;
    settingsForm_->CacheEnabled = CacheEnabled;
    if (settingsForm_->exec() != QDialog::Accepted) return;
    SaveState = settingsForm_->SaveState;
    State.CompareMode = settingsForm_->CompareMode;
    CacheEnabled = settingsForm_->CacheEnabled;
}

void TMainForm::DefineMasksButtonClick() {
    if (!maskForm_) return;
    maskForm_->FileTypes = FileTypesEdit->text();
    if (maskForm_->exec() == QDialog::Accepted) FileTypesEdit->setText(maskForm_->FileTypes);
}

} // namespace pellmora
