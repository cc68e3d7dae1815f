#include "results/ViewOrderSort.h"

#include "model/SortProcedures.h"
#include "model/TextFormats.h"

#include <algorithm>

namespace pellmora {

namespace {

// Rows in ResultList order (forward) or its reverse, keyed by group.
void GroupOrder(SearchState& state, bool reversed) {
    BuildViewOrder(state);
    if (reversed) std::reverse(state.ViewOrder.begin(), state.ViewOrder.end());
}

void SortByRecords(SearchState& state, TFileInfoCompare compare, uint8_t direction,
                   const OperationControl& control) {
    BuildViewOrder(state);
    const auto last = static_cast<int32_t>(state.ViewOrder.size()) - 1;
    SortIndexList(state.ResultList, state.ViewOrder, SortContextOf(state), 0, last, compare,
                  direction, control);
    RenumberBands(state);
}

} // namespace

bool SortViewOrder(SearchState& state, int32_t column, uint8_t direction,
                   const OperationControl& control) {
    switch (static_cast<ResultColumn>(column)) {
    case ResultColumn::FileName:
        SortByRecords(state, &CompareFileName, direction, control);
        return true;
    case ResultColumn::Path:
        SortByRecords(state, &CompareDirectory, direction, control);
        return true;
    case ResultColumn::DupGroup:
        GroupOrder(state, direction == 1);
        return true;
    case ResultColumn::Size: // the search leaves ResultList largest first
        GroupOrder(state, direction != 1);
        return true;
    case ResultColumn::Modified:
        SortByRecords(state, &CompareFileDate, direction, control);
        return true;
    }
    return false;
}

void RenumberBands(SearchState& state) {
    int32_t band = 0;
    int32_t previousGroup = 0;
    for (size_t row = 0; row < state.ViewOrder.size(); ++row) {
        TSortEntry& entry = state.ViewOrder[row];
        if (row == 0 || entry.Key != previousGroup) ++band;
        previousGroup = entry.Key;
        entry.Key = band;
    }
}

bool IsShadedRow(const SearchState& state, int32_t row) {
    return (state.ViewOrder[static_cast<size_t>(row)].Key & 1) != 0;
}

QString SelectionStatsText(const SearchState& state) {
    int64_t count = 0;
    int64_t size = 0;
    for (const TFileInfoType& file : state.ResultList) {
        if (file.Checked == 0) continue;
        ++count;
        size += file.Size;
    }
    return FormatCount(count, state.Locale.Format()) + QStringLiteral(" / ") +
           SizeText(size, state.Locale.Format());
}

} // namespace pellmora
