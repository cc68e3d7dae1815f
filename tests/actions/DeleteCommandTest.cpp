// The delete commands on real files: the visit, the prompts and the summary, the read-only
// handling, and the refusal to delete a file that is no longer the one listed.

#include "actions/DeleteCommand.h"
#include "ActionTestKit.h"
#include "actions/CopyGuard.h"
#include "support/TestMount.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pellmora;
using namespace pellmora::test;

namespace {

constexpr uint8_t ToTrash = 1;
constexpr uint8_t ForGood = 2;

struct DeleteTest : ActionCommandTest {
    ActionOutcome Delete(uint8_t choice) {
        dialog.Choice = choice;
        return DeleteSelectedFiles(listed.State, dialog, parts);
    }
};

TEST_F(DeleteTest, TicksGoToTheTrashAndTheSummaryCountsThem) {
    listed.List("x/a.txt", "same", 1, true);
    listed.List("y/a.txt", "same", 1, false);
    listed.List("z/a b%.txt", "same", 1, true);
    const ActionOutcome outcome = Delete(ToTrash);
    EXPECT_EQ(outcome.Done, 2);
    EXPECT_EQ(listed.Trashed(), (std::vector<std::string>{"a b%.txt", "a.txt"}));
    EXPECT_TRUE(listed.Exists("y/a.txt"));
    EXPECT_EQ(Ticks(listed.State), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(Resolved(listed.State), (std::vector<int32_t>{1, 0, 1}));
    EXPECT_EQ(prompter.Texts(), QStringList{"2 of 2 files was deleted."});
    EXPECT_EQ(prompter.Log[0].Kind, PromptKind::Information);
}

TEST_F(DeleteTest, AReadOnlyFileDeletedWithoutBackupLosesItsAttributeFirst) {
    listed.List("keep", "same", 1, false);
    listed.List("ro", "same", 1, true);
    chmod(listed.Path("ro").c_str(), 0444);
    listed.Restamp(1);
    listed.State.ResultList[1].Attributes = 0x01;
    EXPECT_EQ(Delete(ForGood).Done, 1);
    EXPECT_FALSE(listed.Exists("ro"));
    EXPECT_TRUE(listed.Trashed().empty());
    EXPECT_EQ(listed.State.ResultList[1].Attributes & 0x01u, 0u);
    EXPECT_EQ(prompter.Texts(), QStringList{"1 of 1 files was deleted."});

    // Where the delete then fails, the record has lost the attribute all the same.
    TmpfsMount mount(listed.Tree.Dir("mount"));
    if (!mount.Mounted()) return; // mounting needs root
    listed.List("mount/ro", "same", 1, true);
    listed.State.ResultList[2].Attributes = 0x01;
    ASSERT_TRUE(mount.MakeReadOnly());
    prompter.Log.clear();
    EXPECT_EQ(Delete(ForGood).Done, 0);
    EXPECT_TRUE(listed.Exists("mount/ro"));
    EXPECT_EQ(listed.State.ResultList[2].Attributes & 0x01u, 0u);
    EXPECT_EQ(prompter.Texts(),
              (QStringList{"Cannot delete file \"ro\"\n\rError code: 30 (Read-only file system)",
                           "0 of 1 files was deleted."}));
}

TEST_F(DeleteTest, AFailureAsksAndAbortLeavesTheRestUntouched) {
    struct Case {
        PromptButton Answer;
        int32_t Done;
        std::vector<int32_t> Ticks;
    };
    const Case cases[] = {
        {PromptButton::Abort, 1, {0, 0, 1, 1, 1, 1}},
        {PromptButton::Ok, 4, {0, 0, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ListedTree l;
        l.List("keep/orig", "same", 1, false);
        for (const char* name : {"d/1", "d/2", "d/3", "d/4", "d/5"})
            l.List(name, "same", 1, true);
        unlink(l.Path("d/2").c_str()); // removed outside the program
        ScriptedPrompter asked;
        asked.Answers = {c.Answer};
        ActionParts p{exchange, asked};
        dialog.Choice = ForGood;
        EXPECT_EQ(DeleteSelectedFiles(l.State, dialog, p).Done, c.Done);
        EXPECT_EQ(Ticks(l.State), c.Ticks);
        EXPECT_EQ(l.Exists("d/3"), c.Answer == PromptButton::Abort);
        ASSERT_EQ(asked.Log.size(), 2u);
        EXPECT_EQ(asked.Log[0].Text, "Cannot find file \"2\"");
        EXPECT_EQ(asked.Log[0].Buttons, (QList{PromptButton::Ok, PromptButton::Abort}));
        EXPECT_EQ(asked.Log[1].Text, QString::number(c.Done) + " of 5 files was deleted.");
    }
}

// Each case breaks the listed state in its own way; the ticked file must then stay.
TEST_F(DeleteTest, AFileThatIsNoLongerTheListedOneIsNotDeleted) {
    const QString changed = "Cannot delete file \"t\"\n\rThe file was changed after the search.";
    const QString noCopy = "Cannot delete file \"t\"\n\rNo unchanged copy of it is left.";
    struct Case {
        const char* Name;
        std::function<void(ListedTree&)> Break;
        QString Refusal; // empty: the delete goes ahead
    };
    const Case cases[] = {
        {"same size, new content and time",
         [](ListedTree& l) {
             l.Tree.File("t", "diff");
             l.Tree.SetTime("t", 1700000000);
         },
         changed},
        {"replaced by another file",
         [](ListedTree& l) {
             unlink(l.Path("t").c_str());
             l.Tree.File("other", "same");
             rename(l.Path("other").c_str(), l.Path("t").c_str());
         },
         changed},
        {"replaced by a link to its copy",
         [](ListedTree& l) {
             unlink(l.Path("t").c_str());
             l.Tree.Symlink("t", l.Path("k1"));
         },
         changed},
        {"only unticked copy deleted", [](ListedTree& l) { unlink(l.Path("k1").c_str()); }, noCopy},
        {"only unticked copy changed", [](ListedTree& l) { l.Tree.File("k1", "longer"); }, noCopy},
        {"one of two unticked copies changed", [](ListedTree& l) { l.Tree.File("k1", "xx"); }, ""},
    };
    for (const uint8_t choice : {ToTrash, ForGood}) {
        for (const Case& c : cases) {
            ListedTree l;
            l.List("k1", "same", 1, false);
            l.List("t", "same", 1, true);
            if (std::string(c.Name).starts_with("one of two")) l.List("k2", "same", 1, false);
            c.Break(l);
            ScriptedPrompter asked;
            ActionParts p{exchange, asked};
            dialog.Choice = choice;
            const ActionOutcome outcome = DeleteSelectedFiles(l.State, dialog, p);
            EXPECT_EQ(outcome.Done, c.Refusal.isEmpty() ? 1 : 0) << c.Name;
            EXPECT_EQ(l.Exists("t"), !c.Refusal.isEmpty()) << c.Name;
            if (!c.Refusal.isEmpty()) {
                EXPECT_EQ(asked.Log.front().Text, c.Refusal) << c.Name;
            }
        }
    }
}

TEST_F(DeleteTest, TheDialogIsToldWhichGroupsWouldLoseEveryCopy) {
    listed.List("g1a", "1", 1, true);
    listed.List("g1b", "1", 1, true);
    listed.List("g2a", "22", 2, true);
    listed.List("g2b", "22", 2, false);
    listed.List("g3a", "333", 3, true);
    listed.List("g3b", "333", 3, false);
    listed.State.ResultList[5].Resolved = 1; // its only other copy is gone already
    EXPECT_EQ(GroupsLeftWithoutCopy(listed.State), 2);
    Delete(0);
    EXPECT_EQ(dialog.SeenWholeGroups, 2);
    listed.State.ResultList[0].Checked = 0;
    EXPECT_EQ(GroupsLeftWithoutCopy(listed.State), 1);

    EXPECT_EQ(EveryCopyWarning(0), "");
    EXPECT_EQ(EveryCopyWarning(1), "Every copy of 1 group will be deleted.");
    EXPECT_EQ(EveryCopyWarning(3), "Every copy of 3 groups will be deleted.");
}

TEST_F(DeleteTest, DeleteThisFileAsksThenTrashesAndSaysSo) {
    const QString question = "Do you really want to delete \"t\"";
    struct Case {
        const char* Name;
        std::function<int32_t(ListedTree&)> Prepare; // returns the record
        std::deque<PromptButton> Answers;
        QStringList Texts;
        bool Gone;
    };
    const Case cases[] = {
        {"yes",
         [](ListedTree&) { return 1; },
         {},
         {question, "File \"t\" deleted successfully\n\r"},
         true},
        {"no", [](ListedTree&) { return 1; }, {PromptButton::No}, {question}, false},
        {"no row", [](ListedTree&) { return -1; }, {}, {}, false},
        {"resolved",
         [](ListedTree& l) {
             l.State.ResultList[1].Resolved = 1;
             return 1;
         },
         {},
         {},
         false},
        {"removed outside",
         [](ListedTree& l) {
             std::filesystem::rename(l.Path("t"), l.Path("moved"));
             return 1;
         },
         {},
         {question, "Cannot find file \"t\""},
         false},
        {"no trash can take it",
         [](ListedTree& l) {
             l.Tree.File("data/file", ""); // where the trash's parent folder should be
             setenv("XDG_DATA_HOME", l.Path("data/file/share").c_str(), 1);
             return 1;
         },
         {},
         {question, "Cannot delete file \"t\"\n\rError code: 20 (Not a directory)"},
         false},
        {"its copy changed",
         [](ListedTree& l) {
             l.Tree.File("k", "diff");
             return 1;
         },
         {},
         {question, "Cannot delete file \"t\"\n\rNo unchanged copy of it is left."},
         false},
    };
    for (const Case& c : cases) {
        ListedTree l;
        l.List("k", "same", 1, false);
        l.List("t", "same", 1, true);
        const int32_t record = c.Prepare(l);
        ScriptedPrompter asked;
        asked.Answers = c.Answers;
        EXPECT_EQ(DeleteOneFile(l.State, record, asked), c.Gone) << c.Name;
        EXPECT_EQ(asked.Texts(), c.Texts) << c.Name;
        EXPECT_EQ(l.Trashed(), c.Gone ? std::vector<std::string>{"t"} : std::vector<std::string>{})
            << c.Name;
        EXPECT_EQ(l.State.ResultList[1].Checked, c.Gone ? 0 : 1) << c.Name;
    }
}

} // namespace
