#include "results/ResultsViewInput.h"

#include <algorithm>

namespace pellmora {

namespace {

TFileInfoType& FileOfRow(SearchState& state, int32_t row) {
    return state.ResultList[static_cast<size_t>(RecordOfRow(state, row))];
}

ViewUpdate ShiftClick(SearchState& state, int32_t row, int32_t column) {
    // An anchor left beyond the end by a cleaning of the list reaches only to the last row.
    const auto lastRow = static_cast<int32_t>(state.ViewOrder.size()) - 1;
    const int32_t anchor = std::min(state.LastClickedRow < 0 ? 0 : state.LastClickedRow, lastRow);
    if (column == 0) {
        for (int32_t r = std::min(anchor, row); r <= std::max(anchor, row); ++r) {
            TFileInfoType& file = FileOfRow(state, r);
            if (MayBeTicked(file)) file.Checked = 1;
        }
    }
    state.LastClickedRow = row;
    return {Repaint::WholeList, true};
}

} // namespace

int32_t RecordOfRow(const SearchState& state, int32_t row) {
    if (row < 0 || static_cast<size_t>(row) >= state.ViewOrder.size()) return -1;
    const int32_t index = state.ViewOrder[static_cast<size_t>(row)].Index;
    if (index < 0 || static_cast<size_t>(index) >= state.ResultList.size()) return -1;
    return index;
}

ViewUpdate LeftClickCell(SearchState& state, int32_t row, int32_t column, bool shiftHeld) {
    if (state.ResultList.empty() || RecordOfRow(state, row) < 0) return {};
    if (shiftHeld) return ShiftClick(state, row, column);
    if (column != 0) return {};
    state.LastClickedRow = row;
    TFileInfoType& file = FileOfRow(state, row);
    if (!MayBeTicked(file)) return {};
    file.Checked = file.Checked == 0 ? 1 : 0;
    return {Repaint::ClickedRow, true};
}

ViewUpdate ToggleRowCheck(SearchState& state, int32_t selectedRow) {
    if (state.ResultList.empty() || RecordOfRow(state, selectedRow) < 0) return {};
    TFileInfoType& file = FileOfRow(state, selectedRow);
    if (!MayBeTicked(file)) return {};
    file.Checked = file.Checked == 0 ? 1 : 0;
    state.LastClickedRow = selectedRow;
    return {Repaint::ClickedRow, true};
}

ListKeyCommand KeyCommand(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    switch (key) {
    case Qt::Key_Space:
        return ListKeyCommand::ToggleCheck;
    case Qt::Key_Delete:
        return ListKeyCommand::DeleteThisFile;
    case Qt::Key_Backspace:
        return ctrl ? ListKeyCommand::DeselectAll : ListKeyCommand::None;
    case Qt::Key_O:
        return ctrl ? ListKeyCommand::OpenContainingFolder : ListKeyCommand::None;
    case Qt::Key_P:
        return ctrl ? ListKeyCommand::FileProperties : ListKeyCommand::None;
    case Qt::Key_R:
        return ctrl ? ListKeyCommand::OpenWithAssociatedProgram : ListKeyCommand::None;
    case Qt::Key_S:
        if (!ctrl) return ListKeyCommand::None;
        return shift ? ListKeyCommand::SelectAllInSubdirectories
                     : ListKeyCommand::SelectAllInFolder;
    default:
        return ListKeyCommand::None;
    }
}

} // namespace pellmora
