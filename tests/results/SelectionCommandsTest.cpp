#include "results/SelectionCommands.h"

#include "ResultStateBuilder.h"
#include "model/SortProcedures.h"

#include <gtest/gtest.h>

namespace pellmora {
namespace {

using test::ListedFile;
using test::Rows;
using test::Ticks;

const TStringArr Dirs = {"/a/", "/a/b/", "/ab/", "/x/a/", "/A/", "/a/b/c/"};

TEST(SelectionCommandsTest, DeselectAll) {
    SearchState state = test::ResultState(Dirs, {{"x", 0, 1, 1, 0, 1, 1}, {"y", 1, 1, 1, 0, 0, 1}});
    EXPECT_TRUE(DeselectAll(state));
    EXPECT_EQ(Ticks(state), (std::vector<int>{0, 0}));
    SearchState one = test::ResultState(Dirs, {{"x", 0, 1, 1, 0, 0, 1}});
    EXPECT_FALSE(DeselectAll(one));
    EXPECT_EQ(Ticks(one), (std::vector<int>{1}));
}

TEST(SelectionCommandsTest, FolderCommandNeverTicksAWholeGroup) {
    SearchState state = test::ResultState(
        Dirs, {// both in the folder: the second is ticked, the first unticked again
               {"g1", 0, 1},
               {"g1", 0, 1},
               // the only open file is in the folder: ticked, then unticked again
               {"g2", 1, 2, 100, 0, 0, 1},
               {"g2", 0, 2},
               {"g2", 1, 2, 100, 0, 0, 1},
               // ticked completely by hand: left as it was
               {"g3", 0, 3, 100, 0, 0, 1},
               {"g3", 1, 3, 100, 0, 0, 1},
               // resolved files in the folder are never ticked
               {"g4", 0, 4, 100, 0, 1},
               {"g4", 0, 4},
               {"g4", 1, 4},
               // nothing in the folder
               {"g5", 1, 5},
               {"g5", 3, 5}});
    EXPECT_FALSE(SelectAllInFolder(state, -1));
    EXPECT_TRUE(SelectAllInFolder(state, 0)); // row 0 shows a file of "/a/"
    EXPECT_EQ(Ticks(state), (std::vector<int>{0, 1, 1, 0, 1, 1, 1, 0, 1, 0, 0, 0}));
}

TEST(SelectionCommandsTest, BranchSetAndBranchCommand) {
    SearchState state = test::ResultState(
        Dirs, {{"g1", 2, 1}, {"g1", 1, 1}, {"g1", 5, 1}, {"g2", 3, 2}, {"g2", 4, 2}, {"g2", 0, 2}});
    EXPECT_EQ(BranchSet(state, 0), (TIntArr{0, 1, 5})); // not "/ab/", "/x/a/" or "/A/"
    EXPECT_EQ(BranchSet(state, 1), (TIntArr{1, 5}));

    SearchState root = test::ResultState({"/", "/usr/", "/home/x/"}, {});
    EXPECT_EQ(BranchSet(root, 0), (TIntArr{0, 1, 2}));

    // Row 5 shows record 5, in "/a/".
    EXPECT_TRUE(SelectAllInSubdirectories(state, 5));
    EXPECT_EQ(Ticks(state), (std::vector<int>{0, 1, 1, 0, 0, 1}));
}

TEST(SelectionCommandsTest, AgeCommands) {
    SearchState two = test::ResultState(Dirs, {{"a", 0, 1, 5, 20}, {"b", 0, 1, 5, 10, 0, 1}});
    EXPECT_TRUE(LeaveOnlyOldestVersion(two));
    EXPECT_EQ(Ticks(two), (std::vector<int>{1, 0}));
    EXPECT_TRUE(LeaveOnlyNewestVersion(two));
    EXPECT_EQ(Ticks(two), (std::vector<int>{0, 1}));

    // A resolved member's date does not count; a lone unresolved member ends unticked.
    SearchState mixed = test::ResultState(Dirs, {{"r", 0, 1, 5, 1, 1},
                                                 {"u", 0, 1, 5, 30},
                                                 {"v", 0, 1, 5, 20},
                                                 {"s", 0, 2, 4, 1, 1},
                                                 {"t", 0, 2, 4, 9, 0, 1}});
    int pumps = 0;
    LeaveOnlyOldestVersion(mixed, OperationControl([&] { ++pumps; }));
    EXPECT_EQ(Ticks(mixed), (std::vector<int>{0, 1, 0, 0, 0}));
    EXPECT_EQ(pumps, 1); // one sort, for the one group with two unresolved members
    LeaveOnlyNewestVersion(mixed);
    EXPECT_EQ(Ticks(mixed), (std::vector<int>{0, 0, 1, 0, 0}));

    // Equal dates: up to 16 members keep the first in list order; a larger group keeps the
    // member the partition steps bring first among the unresolved ones.
    std::vector<ListedFile> files(3, ListedFile{"e", 0, 1, 7, 5});
    std::vector<ListedFile> big(17, ListedFile{"f", 0, 2, 6, 5});
    big[0].Resolved = 1;
    files.insert(files.end(), big.begin(), big.end());
    SearchState equal = test::ResultState(Dirs, files);
    for (bool newest : {false, true}) {
        newest ? LeaveOnlyNewestVersion(equal) : LeaveOnlyOldestVersion(equal);
        std::vector<int> expected(20, 1);
        expected[0] = 0;
        expected[3] = 0;      // resolved
        expected[3 + 15] = 0; // sorted order of the 17: 0, 15, 14, ..., 1, 16
        EXPECT_EQ(Ticks(equal), expected);
    }
    SearchState one = test::ResultState(Dirs, {{"a", 0, 1}});
    EXPECT_FALSE(LeaveOnlyOldestVersion(one));
}

TEST(SelectionCommandsTest, CleaningRenumbersAndKeepsTheSort) {
    SearchState state = test::ResultState(Dirs, {{"b", 0, 1, 3000, 0, 1},
                                                 {"c", 0, 1, 3000}, // one left: dropped
                                                 {"z", 0, 2, 2048, 0, 0, 1},
                                                 {"y", 1, 2, 2048},
                                                 {"x", 2, 2, 2048, 0, 1},
                                                 {"m", 0, 3, 10},
                                                 {"n", 0, 3, 10}});
    CleanupTexts texts;
    state.StopFlag = 0;
    EXPECT_FALSE(RemoveResolvedDuplicates(state, 0, 1, texts));
    state.StopFlag = 1;
    ASSERT_TRUE(RemoveResolvedDuplicates(state, 0, 1, texts));
    ASSERT_EQ(state.ResultList.size(), 4u);
    EXPECT_EQ(state.ResultLast, 3);
    EXPECT_EQ(state.ResultList[0].FileName, "z");
    EXPECT_EQ(state.ResultList[0].Checked, 1);
    EXPECT_EQ(state.ResultList[1].Group, 1);
    EXPECT_EQ(state.ResultList[2].Group, 2);
    EXPECT_EQ(state.OriginalsSize, 2058);
    EXPECT_EQ(state.DuplicatesSize, 2058);
    EXPECT_EQ(texts.DuplicateText, QStringLiteral("2 + 2"));
    EXPECT_EQ(texts.DiskUsingText, QStringLiteral("2 KB + 2 KB"));
    EXPECT_EQ(texts.SelectedText, QStringLiteral("1 / 2 KB"));
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{0, 1, 3, 2})); // name, descending

    for (TFileInfoType& file : state.ResultList)
        file.Resolved = file.FileName == "z" || file.FileName == "m";
    ASSERT_TRUE(RemoveResolvedDuplicates(state, 2, 0, texts));
    EXPECT_TRUE(state.ResultList.empty());
    EXPECT_TRUE(state.ViewOrder.empty());
    EXPECT_EQ(state.ResultLast, -1);
    EXPECT_EQ(texts.DuplicateText, QStringLiteral("0 + 0"));
    EXPECT_EQ(texts.DiskUsingText, QStringLiteral("0 B + 0 B"));
    EXPECT_EQ(texts.SelectedText, QStringLiteral("0 / 0 B"));
}

TEST(SelectionCommandsTest, PopupMenuItems) {
    SearchState state = test::ResultState(
        Dirs, {{"a.JPG", 0, 1}, {"b.jpeg.txt", 0, 1}, {"c.png", 0, 1, 100, 0, 1}});
    PopupMenuItems none = PopupMenu1Popup(state, -1);
    EXPECT_FALSE(none.DeleteThisFile || none.OpenContainingFolder || none.SelectAllInFolder ||
                 none.LeaveOnlyOldest);
    EXPECT_TRUE(none.RemoveResolved);

    PopupMenuItems picture = PopupMenu1Popup(state, 0);
    EXPECT_TRUE(picture.PicturePreview && picture.DeleteThisFile && picture.FileProperties &&
                picture.OpenWithAssociatedProgram && picture.SelectAllInSubdirectories &&
                picture.LeaveOnlyNewest);
    EXPECT_FALSE(PopupMenu1Popup(state, 1).PicturePreview);

    PopupMenuItems resolved = PopupMenu1Popup(state, 2);
    EXPECT_FALSE(resolved.DeleteThisFile || resolved.PicturePreview || resolved.FileProperties);
    EXPECT_TRUE(resolved.OpenContainingFolder && resolved.SelectAllInFolder);

    state.StopFlag = 0;
    EXPECT_FALSE(PopupMenu1Popup(state, 0).RemoveResolved);

    EXPECT_TRUE(IsPictureName(".png"));
    EXPECT_TRUE(IsPictureName("x.TiFf"));
    EXPECT_FALSE(IsPictureName("png"));
    EXPECT_FALSE(IsPictureName("x.pngx"));
}

} // namespace
} // namespace pellmora
