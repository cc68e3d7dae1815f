#include "results/ResultsViewInput.h"

#include "ResultStateBuilder.h"
#include "results/ViewOrderSort.h"

#include <gtest/gtest.h>

namespace pellmora {
namespace {

using test::Ticks;

// Ten files in five groups; rows show them in reverse (the "Size" column ascending), so that a
// row number is never its record's index. Record 6 (row 3) is resolved.
SearchState TenRows() {
    std::vector<test::ListedFile> files;
    for (int k = 0; k < 10; ++k)
        files.push_back(
            {"f" + std::to_string(k), 0, k / 2 + 1, 100, 0, k == 6 ? uint8_t{1} : uint8_t{0}});
    SearchState state = test::ResultState({"/d/"}, files);
    SortViewOrder(state, 3, 0);
    return state;
}

std::vector<int32_t> TicksByRow(const SearchState& state) {
    std::vector<int> ticks;
    for (const TSortEntry& e : state.ViewOrder)
        ticks.push_back(state.ResultList[e.Index].Checked);
    return ticks;
}

TEST(ResultsViewInputTest, PlainClicks) {
    SearchState state = TenRows();
    EXPECT_EQ(LeftClickCell(state, 1, 0, false), (ViewUpdate{Repaint::ClickedRow, true}));
    EXPECT_EQ(state.ResultList[8].Checked, 1);
    EXPECT_EQ(state.LastClickedRow, 1);
    LeftClickCell(state, 1, 0, false);
    EXPECT_EQ(state.ResultList[8].Checked, 0);

    EXPECT_EQ(LeftClickCell(state, 4, 2, false), ViewUpdate{});
    EXPECT_EQ(state.LastClickedRow, 1); // other columns do not move the anchor

    EXPECT_EQ(LeftClickCell(state, 3, 0, false), ViewUpdate{}); // resolved
    EXPECT_EQ(state.ResultList[6].Checked, 0);
    EXPECT_EQ(state.LastClickedRow, 3);

    EXPECT_EQ(LeftClickCell(state, 10, 0, false), ViewUpdate{});
    EXPECT_EQ(LeftClickCell(state, -1, 0, true), ViewUpdate{});
    SearchState empty = test::ResultState({"/"}, {});
    EXPECT_EQ(LeftClickCell(empty, 0, 0, true), ViewUpdate{});
}

TEST(ResultsViewInputTest, ShiftRanges) {
    SearchState state = TenRows();
    EXPECT_EQ(LeftClickCell(state, 5, 0, true), (ViewUpdate{Repaint::WholeList, true}));
    EXPECT_EQ(TicksByRow(state), (std::vector<int>{1, 1, 1, 0, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(state.LastClickedRow, 5);

    state = TenRows();
    LeftClickCell(state, 7, 0, false);
    LeftClickCell(state, 8, 0, false); // ticked, then the range below must not clear it
    LeftClickCell(state, 7, 0, false);
    LeftClickCell(state, 2, 0, true);
    EXPECT_EQ(TicksByRow(state), (std::vector<int>{0, 0, 1, 0, 1, 1, 1, 1, 1, 0}));
    EXPECT_EQ(state.LastClickedRow, 2);

    // Another column ticks nothing but moves the anchor.
    state = TenRows();
    EXPECT_EQ(LeftClickCell(state, 4, 3, true), (ViewUpdate{Repaint::WholeList, true}));
    EXPECT_EQ(Ticks(state), std::vector<int>(10, 0));
    EXPECT_EQ(state.LastClickedRow, 4);
    LeftClickCell(state, 6, 0, true);
    EXPECT_EQ(TicksByRow(state), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 0, 0, 0}));

    // An anchor beyond the rows (after the list shrank) reaches to the last row only.
    state.LastClickedRow = 40;
    LeftClickCell(state, 8, 0, true);
    EXPECT_EQ(TicksByRow(state), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 0, 1, 1}));
}

TEST(ResultsViewInputTest, SpaceAndKeys) {
    SearchState state = TenRows();
    EXPECT_EQ(ToggleRowCheck(state, 2), (ViewUpdate{Repaint::ClickedRow, true}));
    EXPECT_EQ(state.ResultList[7].Checked, 1);
    EXPECT_EQ(state.LastClickedRow, 2);
    EXPECT_EQ(ToggleRowCheck(state, 3), ViewUpdate{});
    EXPECT_EQ(state.LastClickedRow, 2);
    EXPECT_EQ(ToggleRowCheck(state, -1), ViewUpdate{});

    EXPECT_EQ(KeyCommand(Qt::Key_Space, Qt::ShiftModifier), ListKeyCommand::ToggleCheck);
    EXPECT_EQ(KeyCommand(Qt::Key_Delete, Qt::NoModifier), ListKeyCommand::DeleteThisFile);
    EXPECT_EQ(KeyCommand(Qt::Key_Backspace, Qt::NoModifier), ListKeyCommand::None);
    EXPECT_EQ(KeyCommand(Qt::Key_Backspace, Qt::ControlModifier | Qt::AltModifier),
              ListKeyCommand::DeselectAll);
    EXPECT_EQ(KeyCommand(Qt::Key_S, Qt::ControlModifier), ListKeyCommand::SelectAllInFolder);
    EXPECT_EQ(KeyCommand(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier),
              ListKeyCommand::SelectAllInSubdirectories);
    EXPECT_EQ(KeyCommand(Qt::Key_S, Qt::ShiftModifier), ListKeyCommand::None);
    EXPECT_EQ(KeyCommand(Qt::Key_P, Qt::ControlModifier), ListKeyCommand::FileProperties);
    EXPECT_EQ(KeyCommand(Qt::Key_R, Qt::ControlModifier),
              ListKeyCommand::OpenWithAssociatedProgram);
    EXPECT_EQ(KeyCommand(Qt::Key_O, Qt::ControlModifier), ListKeyCommand::OpenContainingFolder);
}

} // namespace
} // namespace pellmora
