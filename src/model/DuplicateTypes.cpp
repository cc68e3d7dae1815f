#include "model/DuplicateTypes.h"

#include <algorithm>
#include <new>

namespace pellmora {

// The record a search keeps per collected file: its fields without a byte of padding.
static_assert(sizeof(TFileInfoType) == 64 + sizeof(std::string));

TStringArr DefaultProtectedFolders() {
    return {"/bin/", "/boot/", "/dev/", "/etc/",  "/lib/",  "/lib32/", "/lib64/", "/libx32/",
            "/opt/", "/proc/", "/run/", "/sbin/", "/snap/", "/sys/",   "/usr/",   "/var/lib/"};
}

std::string FullPath(const SearchState& state, const TFileInfoType& file) {
    const std::string& dir = state.DirTable[static_cast<size_t>(file.DirIndex)];
    std::string path;
    path.reserve(dir.size() + file.FileName.size());
    path += dir;
    path += file.FileName;
    return path;
}

namespace {

template <typename T> void Release(std::vector<T>& list) {
    std::vector<T>().swap(list);
}

bool TryReserve(std::vector<TFileInfoType>* files, std::vector<std::string>* strings, int32_t n) {
    try {
        if (files) files->reserve(static_cast<size_t>(n));
        if (strings) strings->reserve(static_cast<size_t>(n));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// The counted capacity follows the growth rule; the vector underneath grows geometrically so
// that a list of a million entries is not copied once per step of 10000. It doubles: while it
// moves, the old and the new array are both in memory, and doubling moves a list fewer times,
// and at smaller sizes, than a gentler factor would (550000 to 1100000, where 1.5 would move
// 825000 records once more on the way to a million).
template <typename T> void EnsureRoom(std::vector<T>& list, int32_t capacity) {
    const auto wanted = static_cast<size_t>(capacity);
    if (list.capacity() < wanted) list.reserve(std::max(wanted, list.capacity() * 2));
}

void GrowAtStep(int32_t last, int32_t& capacity) {
    if (last >= GrowthThreshold && last % CapacityStep == 0) capacity += CapacityStep;
}

} // namespace

int32_t AllocateAhead(std::vector<TFileInfoType>* files, std::vector<std::string>* strings) {
    if (TryReserve(files, strings, InitialCapacity)) return InitialCapacity;
    if (!TryReserve(files, strings, FallbackCapacity)) throw std::bad_alloc();
    return TryReserve(files, strings, SecondCapacity) ? SecondCapacity : FallbackCapacity;
}

void ResetSearchState(SearchState& state) {
    state.LastClickedRow = -1;
    state.ScanLast = state.DirLast = state.ResultLast = -1;
    state.OriginalsSize = state.DuplicatesSize = 0;
    state.ResultCapacity = 0;
    Release(state.ResultList);
    Release(state.ScanList);
    Release(state.DirTable);
    Release(state.ViewOrder);
    const int32_t capacity = AllocateAhead(&state.ScanList, &state.DirTable);
    state.ScanCapacity = state.DirCapacity = capacity;
}

void AllocateResultList(SearchState& state) {
    state.ResultCapacity = AllocateAhead(&state.ResultList, nullptr);
}

void AppendDir(SearchState& state, const std::string& dir) {
    if (state.DirLast + 1 >= state.DirCapacity) state.DirCapacity += CapacityStep;
    EnsureRoom(state.DirTable, state.DirCapacity);
    state.DirTable.push_back(dir);
    ++state.DirLast;
    GrowAtStep(state.DirLast, state.DirCapacity);
}

void AppendScan(SearchState& state, TFileInfoType&& file) {
    if (state.ScanLast + 1 >= state.ScanCapacity) state.ScanCapacity += CapacityStep;
    EnsureRoom(state.ScanList, state.ScanCapacity);
    state.ScanList.push_back(std::move(file));
    ++state.ScanLast;
    GrowAtStep(state.ScanLast, state.ScanCapacity);
}

void AppendResult(SearchState& state, const TFileInfoType& file) {
    if (state.ResultLast + 1 >= state.ResultCapacity) state.ResultCapacity += CapacityStep;
    EnsureRoom(state.ResultList, state.ResultCapacity);
    state.ResultList.push_back(file);
    ++state.ResultLast;
}

bool GrowResultListIfNeeded(SearchState& state) {
    if (state.ResultLast <= state.ResultCapacity - CapacityStep) return false;
    state.ResultCapacity += CapacityStep;
    EnsureRoom(state.ResultList, state.ResultCapacity);
    return true;
}

void TrimCollection(SearchState& state) {
    // ScanList is released at the end of the search, so only its count is cut here: the
    // pages it never touched cost no memory, and copying it would double its footprint.
    state.ScanCapacity = state.ScanLast + 1;
    state.DirTable.shrink_to_fit();
    state.DirCapacity = state.DirLast + 1;
}

void TrimResults(SearchState& state) {
    // ScanList goes first: the cut copies ResultList, and the two lists together are the
    // search's largest moment.
    Release(state.ScanList);
    state.ScanCapacity = 0;
    state.ResultList.resize(static_cast<size_t>(state.ResultLast + 1));
    state.ResultList.shrink_to_fit();
    state.ResultCapacity = state.ResultLast + 1;
}

void ReleaseLists(SearchState& state) {
    Release(state.ResultList);
    Release(state.ScanList);
    Release(state.DirTable);
    Release(state.ViewOrder);
    state.ScanLast = state.DirLast = state.ResultLast = -1;
    state.ScanCapacity = state.DirCapacity = state.ResultCapacity = 0;
}

void BuildViewOrder(SearchState& state) {
    state.ViewOrder.resize(state.ResultList.size());
    for (size_t r = 0; r < state.ResultList.size(); ++r)
        state.ViewOrder[r] = {static_cast<int32_t>(r), state.ResultList[r].Group};
}

} // namespace pellmora
