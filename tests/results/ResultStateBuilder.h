#pragma once
// Builds a finished search's state from a short description of its files.

#include "model/DuplicateTypes.h"

#include <vector>

namespace pellmora::test {

struct ListedFile {
    std::string Name;
    int32_t Dir = 0;
    int32_t Group = 1;
    int64_t Size = 100;
    int32_t Date = 0;
    uint8_t Resolved = 0;
    uint8_t Checked = 0;
    uint8_t Kept = 0;
};

inline SearchState ResultState(const TStringArr& dirs, const std::vector<ListedFile>& files) {
    SearchState state;
    state.Locale = LocaleContext(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const std::string& dir : dirs)
        AppendDir(state, dir);
    for (const ListedFile& spec : files) {
        TFileInfoType file;
        file.FileName = spec.Name;
        file.DirIndex = spec.Dir;
        file.Group = spec.Group;
        file.Size = spec.Size;
        file.FileDate = spec.Date;
        file.Resolved = spec.Resolved;
        file.Checked = spec.Checked;
        file.Kept = spec.Kept;
        file.Candidate = 1;
        AppendResult(state, file);
    }
    state.ResultCapacity = state.ResultLast + 1;
    BuildViewOrder(state);
    return state;
}

template <typename Item, typename Field>
std::vector<int32_t> FieldOf(const std::vector<Item>& items, Field field) {
    std::vector<int32_t> values;
    for (const Item& item : items)
        values.push_back(static_cast<int32_t>(item.*field));
    return values;
}

inline std::vector<int32_t> Rows(const SearchState& state) {
    return FieldOf(state.ViewOrder, &TSortEntry::Index);
}
inline std::vector<int32_t> Keys(const SearchState& state) {
    return FieldOf(state.ViewOrder, &TSortEntry::Key);
}
inline std::vector<int32_t> Ticks(const SearchState& state) {
    return FieldOf(state.ResultList, &TFileInfoType::Checked);
}

} // namespace pellmora::test
