// Start-up: the main window first, then every dialog once, each living for the whole run.

#include "actions/ui/DeleteUnit.h"
#include "actions/ui/MoveUnit.h"
#include "actions/ui/PicturePreviewUnit.h"
#include "actions/ui/RenameUnit.h"
#include "export/ui/ExportUnit.h"
#include "search/crc32tab.h"
#include "settings/ui/EditMaskUnit.h"
#include "settings/ui/MaskUnit.h"
#include "settings/ui/SettingsUnit.h"
#include "ui/AboutUnit.h"
#include "ui/DesktopFileActions.h"
#include "ui/QtMessagePrompter.h"
#include "ui/TamberMain.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTimer>

using namespace pellmora;

namespace {

// Automation hook for tests and demonstrations: PELLMORA_AUTOSTART_DIR names a folder that is
// added to the directory list and searched as soon as the window is up.
void ArmAutostart(TMainForm& form) {
    const QByteArray dir = qgetenv("PELLMORA_AUTOSTART_DIR");
    if (dir.isEmpty()) return;
    QTimer::singleShot(300, &form, [&form, dir] {
        form.AddDirectory(dir.toStdString());
        if (auto* start = form.findChild<QPushButton*>(QStringLiteral("StartButton")))
            start->click();
    });
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellmora"));
    // No display name: Qt would append it to every title ("Information — Pellmora").
    QApplication::setApplicationVersion(QStringLiteral(PELLMORA_VERSION));
    RaiseOpenFileLimit();

    QtMessagePrompter prompter;
    const ProgramLocation location = CurrentProgramLocation();
    TMainForm form(prompter, DesktopUrlOpener(), nullptr, location);
    TDeleteForm deleteForm;
    TMoveForm moveForm;
    TRenameForm renameForm(prompter);
    TExportForm exportForm;
    TAboutForm aboutForm(prompter);
    TMaskForm maskForm(prompter, location);
    TEditMaskForm editMaskForm(prompter);
    TSettingsForm settingsForm(prompter);
    TPicturePreviewForm picturePreviewForm(prompter);
    maskForm.AttachEditForm(&editMaskForm);
    form.AttachDialogs(&aboutForm, &settingsForm, &maskForm);
    DialogExchange exchange;
    FileManagerService fileManager;
    DesktopFileActions actions(exchange,
                               {deleteForm, moveForm, renameForm, exportForm, picturePreviewForm},
                               {DesktopUrlOpener(), fileManager}, prompter);
    form.AttachFileActions(actions);

    form.show();
    ArmAutostart(form);
    return app.exec();
}
