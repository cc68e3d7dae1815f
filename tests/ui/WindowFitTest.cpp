// Every window shows all of its texts, at the normal font and at one half larger (the desktop's
// text scaling): a fixed design size grows where the texts need it.

#include "RecordingPrompter.h"
#include "actions/ui/DeleteUnit.h"
#include "actions/ui/MoveUnit.h"
#include "actions/ui/RenameUnit.h"
#include "export/ui/ExportUnit.h"
#include "settings/ui/EditMaskUnit.h"
#include "settings/ui/MaskUnit.h"
#include "settings/ui/SettingsUnit.h"
#include "ui/AboutUnit.h"
#include "ui/TamberMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace pellmora;

namespace {

// The controls whose text would be cut: narrower than the text, or too low for its lines.
QStringList CutTexts(QWidget& dialog) {
    QStringList cut;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible() || w->window() != &dialog) continue;
        const auto* label = qobject_cast<QLabel*>(w);
        if (!label && !qobject_cast<QAbstractButton*>(w)) continue;
        const QSize hint = w->sizeHint();
        const bool wraps = label && label->wordWrap();
        const bool narrow = !wraps && w->width() < hint.width();
        const bool low = w->height() < (wraps ? w->heightForWidth(w->width()) : hint.height());
        if (narrow || low) cut << w->objectName();
    }
    return cut;
}

TEST(WindowFit, NoTextIsCutAtTheNormalOrALargerFont) {
    const QFont normal = QApplication::font();
    for (const double scale : {1.0, 1.5}) {
        QFont font = normal;
        font.setPointSizeF(normal.pointSizeF() * scale);
        QApplication::setFont(font);
        test::RecordingPrompter prompter;
        std::vector<std::unique_ptr<QWidget>> dialogs;
        dialogs.push_back(std::make_unique<TMainForm>(prompter, [](const QUrl&) { return true; }));
        dialogs.push_back(std::make_unique<TDeleteForm>());
        dialogs.push_back(std::make_unique<TMoveForm>());
        dialogs.push_back(std::make_unique<TRenameForm>(prompter));
        dialogs.push_back(std::make_unique<TExportForm>());
        dialogs.push_back(std::make_unique<TAboutForm>(prompter));
        dialogs.push_back(std::make_unique<TMaskForm>(prompter, ProgramLocation{}));
        dialogs.push_back(std::make_unique<TEditMaskForm>(prompter));
        dialogs.push_back(std::make_unique<TSettingsForm>(prompter));
        for (const auto& dialog : dialogs) {
            dialog->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
            EXPECT_EQ(CutTexts(*dialog).join(' ').toStdString(), "")
                << dialog->objectName().toStdString() << " at " << scale;
            dialog->hide();
        }
    }
    QApplication::setFont(normal);
}

} // namespace
