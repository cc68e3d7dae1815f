// The program's file actions reach the desktop's services with the selected record's paths.

#include "ui/DesktopFileActions.h"
#include "RecordingPrompter.h"
#include "actions/ui/DeleteUnit.h"
#include "actions/ui/MoveUnit.h"
#include "actions/ui/PicturePreviewUnit.h"
#include "actions/ui/RenameUnit.h"
#include "export/ui/ExportUnit.h"
#include "results/ResultStateBuilder.h"

#include <gtest/gtest.h>

using namespace pellmora;

namespace {

struct RecordedProperties final : FilePropertiesService {
    bool ShowItemProperties(const QUrl& file) override {
        Urls << file.toString();
        return true;
    }
    QStringList Urls;
};

TEST(DesktopFileActions, ShellCommandsOpenTheSelectedRecordsFolderAndFile) {
    test::RecordingPrompter prompter;
    TDeleteForm deleteForm;
    TMoveForm moveForm;
    TRenameForm renameForm(prompter);
    TExportForm exportForm;
    TPicturePreviewForm preview(prompter);
    RecordedProperties properties;
    QStringList opened;
    DialogExchange exchange;
    DesktopFileActions actions(exchange, {deleteForm, moveForm, renameForm, exportForm, preview},
                               {[&](const QUrl& url) {
                                    opened << url.toString();
                                    return true;
                                },
                                properties},
                               prompter);
    const SearchState state =
        test::ResultState({"/d/", "/e f/"}, {{.Name = "a"}, {.Name = "b c", .Dir = 1}});
    for (int32_t record : {-1, 2}) {
        actions.OpenContainingFolder(state, record);
        actions.OpenWithAssociatedProgram(state, record);
        actions.ShowFileProperties(state, record);
        actions.PicturePreview(state, record);
    }
    EXPECT_TRUE(opened.isEmpty() && properties.Urls.isEmpty());
    actions.OpenContainingFolder(state, 1);
    actions.OpenWithAssociatedProgram(state, 1);
    actions.ShowFileProperties(state, 0);
    EXPECT_EQ(opened, (QStringList{"file:///e f/", "file:///e f/b c"}));
    EXPECT_EQ(properties.Urls, QStringList{"file:///d/a"});
    EXPECT_TRUE(prompter.Prompts.empty());
}

} // namespace
