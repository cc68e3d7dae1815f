#include "results/ViewOrderSort.h"

#include "ResultStateBuilder.h"
#include "model/SortProcedures.h"

#include <gtest/gtest.h>

namespace pellmora {
namespace {

using test::Keys;
using test::ListedFile;
using test::Rows;

class ViewOrderSortTest : public ::testing::Test {
  protected:
    // Three groups of two, largest first, as a search leaves them.
    SearchState state =
        test::ResultState({"/home/b/", "/home/A/", "/home/a/x/"}, {{"c", 0, 1, 300, 5},
                                                                   {"a", 1, 1, 300, 9},
                                                                   {"B", 2, 2, 200, 7},
                                                                   {"b", 0, 2, 200, 1},
                                                                   {"d", 1, 3, 100, 3},
                                                                   {"E", 2, 3, 100, 8}});
};

TEST_F(ViewOrderSortTest, BandsFollowGroupsAfterASearchAndRunsAfterANameSort) {
    for (int32_t row = 0; row < 6; ++row)
        EXPECT_EQ(IsShadedRow(state, row), (row / 2) % 2 == 0);

    ASSERT_TRUE(SortViewOrder(state, 0, 0));
    // Equal names ("B", "b") stay in list order here: a range of six needs no partitioning.
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{1, 2, 3, 0, 4, 5}));
    EXPECT_EQ(Keys(state), (std::vector<int32_t>{1, 2, 2, 3, 4, 4}));
    EXPECT_TRUE(IsShadedRow(state, 0));
    EXPECT_FALSE(IsShadedRow(state, 1));
    EXPECT_FALSE(IsShadedRow(state, 2));

    ASSERT_TRUE(SortViewOrder(state, 0, 1));
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{5, 4, 0, 2, 3, 1}));
    EXPECT_EQ(Keys(state), (std::vector<int32_t>{1, 1, 2, 3, 3, 4}));
}

TEST_F(ViewOrderSortTest, GroupAndSizeColumnsUseListOrderOrItsReverse) {
    SortViewOrder(state, 4, 0); // any earlier order is discarded
    ASSERT_TRUE(SortViewOrder(state, 3, 0));
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(Keys(state), (std::vector<int32_t>{3, 3, 2, 2, 1, 1}));
    SortViewOrder(state, 3, 1);
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Keys(state), (std::vector<int32_t>{1, 1, 2, 2, 3, 3}));
    SortViewOrder(state, 2, 1);
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{5, 4, 3, 2, 1, 0}));
    SortViewOrder(state, 2, 0);
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));

    SortViewOrder(state, 0, 0);
    const std::vector<int32_t> before = Rows(state);
    EXPECT_FALSE(SortViewOrder(state, 5, 0));
    EXPECT_FALSE(SortViewOrder(state, -1, 1));
    EXPECT_EQ(Rows(state), before);
}

TEST_F(ViewOrderSortTest, PathAndDateInBothDirections) {
    SortViewOrder(state, 1, 0); // "/home/A/" and "/home/a/x/" before "/home/b/"
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{1, 4, 2, 5, 0, 3}));
    EXPECT_EQ(Keys(state), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    SortViewOrder(state, 1, 1);
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{0, 3, 2, 5, 1, 4}));
    SortViewOrder(state, 4, 0);
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{3, 4, 0, 2, 5, 1}));
    SortViewOrder(state, 4, 1);
    EXPECT_EQ(Rows(state), (std::vector<int32_t>{1, 5, 2, 0, 4, 3}));

    SearchState empty = test::ResultState({"/"}, {});
    EXPECT_TRUE(SortViewOrder(empty, 0, 0));
    EXPECT_TRUE(empty.ViewOrder.empty());
}

TEST_F(ViewOrderSortTest, SelectedText) {
    EXPECT_EQ(SelectionStatsText(state), QStringLiteral("0 / 0 B"));
    std::vector<ListedFile> many(1234, ListedFile{"f", 0, 1, 1024 * 1024, 0, 0, 1});
    many.push_back({"g", 0, 1, 5, 0, 1, 0}); // resolved and unticked: not counted
    SearchState big = test::ResultState({"/"}, many);
    EXPECT_EQ(SelectionStatsText(big), QStringLiteral("1,234 / 1.205 GB"));
    big.Locale = LocaleContext(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(SelectionStatsText(big), QStringLiteral("1.234 / 1,205 GB"));
}

} // namespace
} // namespace pellmora
