// The acts never touch a kept file, even one ticked by mistake; a kept file is the copy a
// replaced file is made from, and no group that holds one counts as left without a copy.

#include "ActionTestKit.h"
#include "actions/CopyGuard.h"
#include "actions/DeleteCommand.h"

#include <gtest/gtest.h>

using namespace pellmora;
using namespace pellmora::test;

namespace {

constexpr uint8_t ToTrash = 1;

TEST_F(ActionCommandTest, ABatchDeleteNeverActsOnAKeptFile) {
    listed.List("pictures/a", "same", 1, true);
    listed.List("downloads/a", "same", 1, true);
    listed.State.ResultList[0].Kept = 1; // ticked by a fault elsewhere: still never touched
    dialog.Choice = ToTrash;
    EXPECT_EQ(DeleteSelectedFiles(listed.State, dialog, parts).Done, 1);
    EXPECT_EQ(exchange.SelectedCount, 1);
    EXPECT_TRUE(listed.Exists("pictures/a"));
    EXPECT_FALSE(listed.Exists("downloads/a"));
    EXPECT_EQ(prompter.Texts(), QStringList{"1 of 1 files was deleted."});
}

TEST_F(ActionCommandTest, DeleteThisFileRefusesAKeptFile) {
    listed.List("pictures/a", "same", 1, false);
    listed.List("downloads/a", "same", 1, false);
    listed.State.ResultList[0].Kept = 1;
    EXPECT_FALSE(DeleteOneFile(listed.State, 0, prompter));
    EXPECT_TRUE(prompter.Log.empty());
    EXPECT_TRUE(listed.Exists("pictures/a"));
}

TEST_F(ActionCommandTest, AKeptFileIsTheCopyKeptAndAGroupWithOneNeverGoesWhole) {
    listed.List("downloads/t", "same", 1, true);
    listed.List("downloads/u", "same", 1, false);
    listed.List("pictures/k", "same", 1, false);
    listed.List("other/x", "more", 2, true);
    listed.List("other/y", "more", 2, true);
    listed.State.ResultList[2].Kept = 1;
    const CopyGuard guard(listed.State);
    EXPECT_EQ(std::get<std::vector<int32_t>>(guard.KeptCandidates(0, KeptDevice::Any)),
              (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(GroupsLeftWithoutCopy(listed.State), 1); // group 2 only
    listed.State.ResultList[1].Checked = 1;
    listed.State.ResultList[2].Checked = 1; // even ticked, a kept file stays
    EXPECT_EQ(GroupsLeftWithoutCopy(listed.State), 1);
}

} // namespace
