// The move and rename commands on real files: the target and affix checks, names that are
// taken, and the counts.

#include "ActionTestKit.h"
#include "actions/DeleteCommand.h"
#include "actions/MoveCommand.h"
#include "actions/RenameCommand.h"
#include "support/FileText.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace pellmora;
using namespace pellmora::test;

namespace {

constexpr uint8_t Postfix = 1;
constexpr uint8_t Prefix = 2;

struct MoveRenameTest : ActionCommandTest {
    ActionOutcome Move(const std::string& target) {
        dialog.Choice = 1;
        dialog.Text = QString::fromStdString(target);
        return MoveSelectedFiles(listed.State, dialog, parts);
    }
    ActionOutcome Rename(uint8_t choice, const QString& affix) {
        dialog.Choice = choice;
        dialog.Text = affix;
        return RenameSelectedFiles(listed.State, dialog, parts);
    }
};

TEST_F(MoveRenameTest, NoBatchCommandActsWithoutTwoEntriesATickAndAnOk) {
    const std::function<ActionOutcome()> commands[] = {
        [&] { return DeleteSelectedFiles(listed.State, dialog, parts); },
        [&] { return MoveSelectedFiles(listed.State, dialog, parts); },
        [&] { return RenameSelectedFiles(listed.State, dialog, parts); },
    };
    listed.List("a", "x", 1, true);
    listed.Tree.Dir("target");
    dialog.Text = QString::fromStdString(listed.Path("target"));
    for (const auto& command : commands) {
        dialog.Choice = 1;
        listed.State.ResultList.resize(1);
        listed.State.ResultLast = 0;
        EXPECT_EQ(command().Result, ActionResult::NotOffered);
        listed.List("b", "x", 1, false);
        listed.State.ResultList[0].Checked = 0;
        EXPECT_EQ(command().Result, ActionResult::NotOffered);
        EXPECT_EQ(dialog.Shown, 0);

        listed.State.ResultList[0].Checked = 1;
        exchange = {9, 9, "stale", "stale"};
        dialog.Choice = 0; // "Cancel" or the title bar's close
        EXPECT_EQ(command().Result, ActionResult::Cancelled);
        EXPECT_EQ(dialog.Seen.SelectedCount, 1);
        EXPECT_EQ(dialog.Seen.DialogChoice, 0);
        EXPECT_EQ(dialog.Seen.DialogPath + dialog.Seen.RenameAffix, "");
        dialog.Shown = 0;
    }
    EXPECT_TRUE(prompter.Log.empty());
    EXPECT_TRUE(listed.Exists("a") && listed.Exists("b"));
}

TEST_F(MoveRenameTest, ATargetThatIsNoFolderStopsTheMoveBeforeAnyFile) {
    listed.List("a", "x", 1, true);
    listed.List("b", "x", 1, true);
    listed.Tree.File("plain", "");
    for (const std::string& target :
         {std::string(), listed.Path("missing"), listed.Path("plain"), std::string("rel")}) {
        prompter.Log.clear();
        EXPECT_EQ(Move(target).Result, ActionResult::Refused);
        ASSERT_EQ(prompter.Log.size(), 1u);
        EXPECT_EQ(prompter.Log[0].Text,
                  "Directory \"" + QString::fromStdString(target) + "\" is not exist.");
        EXPECT_EQ(prompter.Log[0].Buttons, QList{PromptButton::Ok});
    }
    EXPECT_EQ(Ticks(listed.State), (std::vector<int32_t>{1, 1}));
}

TEST_F(MoveRenameTest, SameNamedFilesMovedIntoOneFolderBothArriveUnderFreeNames) {
    listed.List("x/a.txt", "same", 1, true);
    listed.List("y/a.txt", "same", 1, true);
    listed.List("z/a.txt", "same", 1, false);
    listed.List("w/gone", "same", 1, true);
    unlink(listed.Path("w/gone").c_str());
    const std::string target = listed.Tree.Dir("target");
    listed.Tree.File("target/a.txt", "already there");
    const ActionOutcome outcome = Move(target);
    EXPECT_EQ(outcome.Done, 2);
    EXPECT_EQ(FileText(target + "/a.txt"), "already there");
    EXPECT_EQ(FileText(target + "/a (2).txt"), "same");
    EXPECT_EQ(FileText(target + "/a (3).txt"), "same");
    EXPECT_FALSE(listed.Exists("x/a.txt") || listed.Exists("y/a.txt"));
    EXPECT_TRUE(listed.Exists("z/a.txt"));
    EXPECT_EQ(Resolved(listed.State), (std::vector<int32_t>{1, 1, 0, 0}));
    EXPECT_EQ(Ticks(listed.State), (std::vector<int32_t>{0, 0, 0, 1}));
    EXPECT_EQ(prompter.Texts(), (QStringList{"Cannot find file \"gone\"",
                                             "2 of 3 files were moved to specified folder."}));
}

TEST(RenameNames, PrefixAndPostfixOfTheTableAndOddNames) {
    struct Case {
        std::string Name, Prefixed, Postfixed;
    };
    const Case cases[] = {
        {"a.txt", "_Duplicate_a.txt", "a_Duplicate_.txt"},
        {"photo.2009.jpg", "_Duplicate_photo.2009.jpg", "photo.2009_Duplicate_.jpg"},
        {"README", "_Duplicate_README", "README_Duplicate_"},
        {".profile", "_Duplicate_.profile", ".profile_Duplicate_"},
        {"end.", "_Duplicate_end.", "end_Duplicate_."},
        {"\xff\xfe.bin", "_Duplicate_\xff\xfe.bin", "\xff\xfe_Duplicate_.bin"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RenamedName(c.Name, "_Duplicate_", RenameChoice::Prefix), c.Prefixed);
        EXPECT_EQ(RenamedName(c.Name, "_Duplicate_", RenameChoice::Postfix), c.Postfixed);
    }
    EXPECT_EQ(PostfixBase("photo.2009.jpg"), "photo.2009");
}

TEST(RenameNames, TheAffixChecks) {
    const QString symbols = "The following symbols are not acceptable in file names:\n\r"
                            "  \\ / : * ? \" < > | ";
    EXPECT_EQ(RenameAffixProblem(""), "Please, enter a prefix.");
    for (const QChar c : QStringLiteral("\"<>|*/\\?:"))
        EXPECT_EQ(RenameAffixProblem(QStringLiteral("a") + c + "b"), symbols) << int(c.unicode());
    for (const QString fine : {".", " spaced ", "\u00e9t\u00e9", "a.b-c_(1)"})
        EXPECT_FALSE(RenameAffixProblem(fine).has_value()) << fine.toStdString();
}

TEST_F(MoveRenameTest, RenamesInPlaceWithoutReplacingAndReportsWhatTheSystemRefuses) {
    listed.List("p/a.txt", "same", 1, true);
    listed.List("q/a.txt", "same", 1, true);
    listed.List("q/" + std::string(250, 'n') + ".txt", "same", 1, true);
    listed.List("q/keep", "same", 1, false);
    listed.Tree.File("q/a-X.txt", "taken");
    const ActionOutcome outcome = Rename(Postfix, "-X");
    EXPECT_EQ(outcome.Done, 2);
    EXPECT_EQ(FileText(listed.Path("p/a-X.txt")), "same");
    EXPECT_EQ(FileText(listed.Path("q/a-X.txt")), "taken");
    EXPECT_EQ(FileText(listed.Path("q/a-X (2).txt")), "same");
    EXPECT_EQ(Resolved(listed.State), (std::vector<int32_t>{1, 1, 0, 0}));
    ASSERT_EQ(prompter.Log.size(), 2u);
    EXPECT_EQ(prompter.Log[0].Text, "Cannot rename file \"" + QString(250, 'n') +
                                        ".txt\"\n\rError code: 36 (File name too long)");
    EXPECT_EQ(prompter.Log[1].Text, "2 of 3 files were renamed.");

    listed.State.ResultList[3].Checked = 1;
    prompter.Log.clear();
    EXPECT_EQ(Rename(Prefix, "old ").Done, 1); // the long name fails again
    EXPECT_TRUE(listed.Exists("q/old keep"));
}

} // namespace
