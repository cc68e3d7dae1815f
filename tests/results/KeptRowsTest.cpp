// Nothing the results list offers ticks a kept file, and the commands that leave one copy
// leave the kept one.

#include "ResultStateBuilder.h"
#include "results/ResultsViewInput.h"
#include "results/SelectionCommands.h"

#include <gtest/gtest.h>

namespace pellmora {
namespace {

using test::ListedFile;
using test::Ticks;

// Rows 0 and 3 are kept. Group 1: kept k1 in /k/ (the newest), d1 in /d/, d2 in /d/s/; group 2:
// kept k2, e1 in /d/; group 3: f1 in /d/, f2 in /d/s/.
SearchState KeptState() {
    return test::ResultState({"/k/", "/d/", "/d/s/"}, {{"k1", 0, 1, 5, 30, 0, 0, 1},
                                                       {"d1", 1, 1, 5, 10},
                                                       {"d2", 2, 1, 5, 20},
                                                       {"k2", 0, 2, 4, 1, 0, 0, 1},
                                                       {"e1", 1, 2, 4, 9},
                                                       {"f1", 1, 3, 3, 9},
                                                       {"f2", 2, 3, 3, 1}});
}

using Ints = std::vector<int32_t>;

TEST(KeptRowsTest, AClickLeavesAKeptRowUnticked) {
    SearchState state = KeptState();
    EXPECT_EQ(LeftClickCell(state, 0, 0, false), ViewUpdate{});
    EXPECT_EQ(state.LastClickedRow, 0);
    EXPECT_EQ(Ticks(state), (Ints{0, 0, 0, 0, 0, 0, 0}));
}

TEST(KeptRowsTest, SpaceLeavesAKeptRowUnticked) {
    SearchState state = KeptState();
    EXPECT_EQ(ToggleRowCheck(state, 3), ViewUpdate{});
    EXPECT_EQ(Ticks(state), (Ints{0, 0, 0, 0, 0, 0, 0}));
}

TEST(KeptRowsTest, AShiftClickRangeSkipsKeptRows) {
    SearchState state = KeptState();
    LeftClickCell(state, 4, 0, true);
    EXPECT_EQ(Ticks(state), (Ints{0, 1, 1, 0, 1, 0, 0}));
}

// The kept file stays unticked, so a group that holds one may have all its others ticked.
TEST(KeptRowsTest, FolderCommandTicksEveryOtherCopyBesideAKeptOne) {
    SearchState state = KeptState();
    EXPECT_TRUE(SelectAllInFolder(state, 0)); // the keep folder: nothing in it is ticked
    EXPECT_EQ(Ticks(state), (Ints{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(SelectAllInFolder(state, 1));
    EXPECT_EQ(Ticks(state), (Ints{0, 1, 0, 0, 1, 1, 0}));
}

TEST(KeptRowsTest, BranchCommandTicksEveryOtherCopyBesideAKeptOne) {
    SearchState state = KeptState();
    EXPECT_TRUE(SelectAllInSubdirectories(state, 1));
    // Group 3 has no kept file: its first ticked file is unticked again.
    EXPECT_EQ(Ticks(state), (Ints{0, 1, 1, 0, 1, 0, 1}));
}

TEST(KeptRowsTest, AgeCommandsLeaveTheKeptFile) {
    SearchState state = KeptState();
    EXPECT_TRUE(LeaveOnlyOldestVersion(state)); // k1 is the newest of group 1, yet it stays
    EXPECT_EQ(Ticks(state), (Ints{0, 1, 1, 0, 1, 1, 0}));
    EXPECT_TRUE(LeaveOnlyNewestVersion(state));
    EXPECT_EQ(Ticks(state), (Ints{0, 1, 1, 0, 1, 0, 1}));
}

TEST(KeptRowsTest, DeleteThisFileIsNotOfferedForAKeptRow) {
    const SearchState state = KeptState();
    const PopupMenuItems kept = PopupMenu1Popup(state, 0);
    EXPECT_FALSE(kept.DeleteThisFile);
    EXPECT_TRUE(kept.FileProperties);
    EXPECT_TRUE(kept.SelectAllInFolder);
    EXPECT_TRUE(PopupMenu1Popup(state, 1).DeleteThisFile);
}

} // namespace
} // namespace pellmora
