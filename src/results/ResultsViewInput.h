#pragma once
// What a click or a key in the results view does to the ticks, apart from any widget: the
// window passes the row and column, and repaints what the answer names.

#include "model/DuplicateTypes.h"

#include <Qt>

namespace pellmora {

enum class Repaint { Nothing, ClickedRow, WholeList };

struct ViewUpdate {
    Repaint What = Repaint::Nothing;
    bool SelectionStats = false; // UpdateSelectionStats is due
    bool operator==(const ViewUpdate&) const = default;
};

// A click on a cell; shiftHeld is the Shift state when the click is handled.
ViewUpdate LeftClickCell(SearchState& state, int32_t row, int32_t column, bool shiftHeld);

// Space on the selected row (-1: none).
ViewUpdate ToggleRowCheck(SearchState& state, int32_t selectedRow);

enum class ListKeyCommand {
    None,
    ToggleCheck,
    DeleteThisFile,
    DeselectAll,
    OpenContainingFolder,
    FileProperties,
    OpenWithAssociatedProgram,
    SelectAllInFolder,
    SelectAllInSubdirectories,
};

// The command a key press stands for; the window runs it on the selected row.
ListKeyCommand KeyCommand(int key, Qt::KeyboardModifiers modifiers);

// The ResultList index shown in a row, or -1 for a row outside the view.
int32_t RecordOfRow(const SearchState& state, int32_t row);

} // namespace pellmora
