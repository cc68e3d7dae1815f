#include "model/SortProcedures.h"

#include "model/NativeText.h"

#include <QByteArray>
#include <QCollator>
#include <QFile>
#include <QString>

#include <algorithm>
#include <array>
#include <numeric>
#include <string_view>

// Both sorts run one algorithm: a quicksort with median of three that leaves sub-ranges of at
// most 16, a pump of pending events, then one insertion pass behind a sentinel. The order of
// equal keys is fixed by these exact steps, so none of them may be reordered or "improved".

namespace pellmora {

namespace {

int32_t Directed(int32_t ascending, uint8_t descending) {
    return descending == 1 ? -ascending : ascending;
}

template <typename T> int32_t Sign(T a, T b) {
    return a > b ? 1 : (a < b ? -1 : 0);
}

int32_t CompareText(const std::string& a, const std::string& b, const QCollator& collator) {
    const int r = collator.compare(Decoded(a), Decoded(b));
    return r > 0 ? 1 : (r < 0 ? -1 : 0);
}

// A misused empty directory table compares folders as empty texts instead of reading past it.
const std::string& DirAt(const TStringArr& dirs, int32_t index) {
    static const std::string none;
    if (index < 0 || static_cast<size_t>(index) >= dirs.size()) return none;
    return dirs[static_cast<size_t>(index)];
}

template <typename Value, typename Cmp>
void MedianOfThree(std::vector<Value>& e, int32_t lo, int32_t mid, int32_t hi, const Cmp& cmp) {
    if (cmp(e[lo], e[mid]) > 0) std::swap(e[lo], e[mid]);
    if (cmp(e[lo], e[hi]) > 0) std::swap(e[lo], e[hi]);
    if (cmp(e[mid], e[hi]) > 0) std::swap(e[mid], e[hi]);
}

// Splits e[lo..hi] around a copy of its median of three; returns the last index of the lower part.
template <typename Value, typename Cmp>
int32_t Partition(std::vector<Value>& e, int32_t lo, int32_t hi, const Cmp& cmp) {
    const auto mid = static_cast<int32_t>((static_cast<int64_t>(lo) + hi) / 2);
    MedianOfThree(e, lo, mid, hi, cmp);
    const Value pivot = e[mid];
    int32_t i = lo;
    int32_t j = hi;
    for (;;) {
        do
            --j;
        while (cmp(e[j], pivot) > 0);
        do
            ++i;
        while (cmp(e[i], pivot) < 0);
        if (j <= i) return j;
        std::swap(e[i], e[j]);
    }
}

template <typename Value, typename Cmp>
void PartitionPhase(std::vector<Value>& e, int32_t first, int32_t last, const Cmp& cmp) {
    struct Range {
        int32_t lo, hi;
    };
    // Pushing the larger part keeps at most log2(2^31) pairs waiting.
    std::array<Range, 32> stack;
    size_t top = 0;
    stack[top++] = {first, last};
    while (top > 0) {
        auto [lo, hi] = stack[--top];
        while (hi - lo > 15) {
            const int32_t j = Partition(e, lo, hi, cmp);
            if (j - lo < hi - j) {
                stack[top++] = {j + 1, hi};
                hi = j;
            } else {
                stack[top++] = {lo, j};
                lo = j + 1;
            }
        }
    }
}

template <typename Value, typename Cmp>
void InsertionPass(std::vector<Value>& e, int32_t lo, int32_t hi, const Cmp& cmp) {
    if (hi <= lo) return;
    int32_t m = lo;
    for (int32_t k = lo + 1; k <= std::min(lo + 15, hi); ++k)
        if (cmp(e[k], e[m]) < 0) m = k;
    if (m != lo) std::swap(e[lo], e[m]);
    for (int32_t k = lo + 2; k <= hi; ++k) {
        Value held = std::move(e[k]);
        int32_t j = k;
        // The sentinel ends the walk; the bound only guards against a faulty comparator.
        while (j > lo && cmp(held, e[j - 1]) < 0) {
            e[j] = std::move(e[j - 1]);
            --j;
        }
        e[j] = std::move(held);
    }
}

template <typename Value, typename Cmp>
void RunSort(std::vector<Value>& e, int32_t lo, int32_t hi, const Cmp& cmp,
             const OperationControl& control, bool stoppable) {
    PartitionPhase(e, lo, hi, cmp);
    control.Yield();
    if (stoppable && control.StopRequested()) return;
    InsertionPass(e, lo, hi, cmp);
}

// Equal keys get equal ranks, so comparing ranks gives the same answers as comparing the keys.
// The keys are sorted themselves, beside their positions, to spare one indirection each.
template <typename Key, typename Cmp3>
std::vector<int32_t> RanksOf(std::vector<std::pair<Key, int32_t>>& byKey, const Cmp3& cmp) {
    std::sort(byKey.begin(), byKey.end(),
              [&](const auto& a, const auto& b) { return cmp(a.first, b.first) < 0; });
    std::vector<int32_t> ranks(byKey.size());
    int32_t rank = 0;
    for (size_t i = 0; i < byKey.size(); ++i) {
        if (i > 0 && cmp(byKey[i - 1].first, byKey[i].first) != 0) ++rank;
        ranks[static_cast<size_t>(byKey[i].second)] = rank;
    }
    return ranks;
}

// QCollator compares C-locale texts by case-folded code points and gives them empty sort keys;
// this key reproduces that comparison unit by unit.
std::u32string FoldedKey(const QString& text) {
    std::u32string key;
    key.reserve(static_cast<size_t>(text.size()));
    char16_t previous = 0;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        char32_t code = unit;
        if (QChar::isLowSurrogate(unit) && QChar::isHighSurrogate(previous))
            code = QChar::surrogateToUcs4(previous, unit);
        key.push_back(QChar::toCaseFolded(code));
        previous = unit;
    }
    return key;
}

// The texts are byte strings, decoded one at a time so that only the keys stay in memory.
template <typename Key, typename MakeKey>
std::vector<std::pair<Key, int32_t>> KeysOf(const std::vector<std::string_view>& texts,
                                            const MakeKey& make) {
    std::vector<std::pair<Key, int32_t>> keys;
    keys.reserve(texts.size());
    for (size_t k = 0; k < texts.size(); ++k)
        keys.emplace_back(make(Decoded(texts[k])), static_cast<int32_t>(k));
    return keys;
}

std::vector<int32_t> CollationRanks(const std::vector<std::string_view>& texts,
                                    const QCollator& collator) {
    if (collator.locale().language() == QLocale::C) {
        auto keys = KeysOf<std::u32string>(texts, FoldedKey);
        return RanksOf(keys, [](const auto& a, const auto& b) { return a.compare(b); });
    }
    auto keys = KeysOf<QCollatorSortKey>(
        texts, [&](const QString& text) { return collator.sortKey(text); });
    return RanksOf(keys, [](const auto& a, const auto& b) { return a.compare(b); });
}

// An entry with the rank of its record's key; the sort moves both together.
struct RankedEntry {
    TSortEntry Entry;
    int32_t Rank = 0;
};

std::vector<RankedEntry> Entries(const TSortList& order, int32_t lo, int32_t hi) {
    std::vector<RankedEntry> ranked;
    ranked.reserve(static_cast<size_t>(hi - lo + 1));
    for (int32_t k = lo; k <= hi; ++k)
        ranked.push_back({order[static_cast<size_t>(k)], 0});
    return ranked;
}

const TFileInfoType& RecordOf(const TFileList& list, const RankedEntry& e) {
    return list[static_cast<size_t>(e.Entry.Index)];
}

// Numbers the distinct byte strings among texts (open addressing: no allocation per text);
// returns each text's number and fills first with one text position per number.
std::vector<int32_t> DistinctNumbers(const std::vector<std::string_view>& texts,
                                     std::vector<size_t>& first) {
    size_t slots = 16;
    while (slots < texts.size() * 2)
        slots *= 2;
    std::vector<int32_t> table(slots, -1);
    std::vector<int32_t> numbers(texts.size());
    for (size_t k = 0; k < texts.size(); ++k) {
        size_t slot = std::hash<std::string_view>()(texts[k]) & (slots - 1);
        while (table[slot] >= 0 && texts[first[static_cast<size_t>(table[slot])]] != texts[k])
            slot = (slot + 1) & (slots - 1);
        if (table[slot] < 0) {
            table[slot] = static_cast<int32_t>(first.size());
            first.push_back(k);
        }
        numbers[k] = table[slot];
    }
    return numbers;
}

void RankByName(const TFileList& list, const QCollator& collator,
                std::vector<RankedEntry>& ranked) {
    // Copies often share their name; each distinct name is collated once.
    std::vector<std::string_view> bytes;
    bytes.reserve(ranked.size());
    for (const RankedEntry& e : ranked)
        bytes.push_back(RecordOf(list, e).FileName);
    std::vector<size_t> first;
    const std::vector<int32_t> numbers = DistinctNumbers(bytes, first);
    std::vector<std::string_view> names;
    names.reserve(first.size());
    for (size_t k : first)
        names.push_back(bytes[k]);
    const std::vector<int32_t> ranks = CollationRanks(names, collator);
    for (size_t k = 0; k < ranked.size(); ++k)
        ranked[k].Rank = ranks[static_cast<size_t>(numbers[k])];
}

void RankByDirectory(const TFileList& list, const SortContext& context,
                     std::vector<RankedEntry>& ranked) {
    const TStringArr& dirs = context.Dirs;
    std::vector<std::string_view> paths(dirs.begin(), dirs.end());
    paths.emplace_back(); // stands for an index outside the table
    const std::vector<int32_t> ranks = CollationRanks(paths, context.Collator);
    for (RankedEntry& e : ranked) {
        const int32_t d = RecordOf(list, e).DirIndex;
        const bool valid = d >= 0 && static_cast<size_t>(d) < dirs.size();
        e.Rank = ranks[valid ? static_cast<size_t>(d) : dirs.size()];
    }
}

void RankByDate(const TFileList& list, std::vector<RankedEntry>& ranked) {
    for (RankedEntry& e : ranked)
        e.Rank = RecordOf(list, e).FileDate;
}

// Returns false when the comparator has no ranked form.
bool RankEntries(const TFileList& list, const SortContext& context, TFileInfoCompare compare,
                 std::vector<RankedEntry>& ranked) {
    if (compare == &CompareFileName)
        RankByName(list, context.Collator, ranked);
    else if (compare == &CompareDirectory)
        RankByDirectory(list, context, ranked);
    else if (compare == &CompareFileDate)
        RankByDate(list, ranked);
    else
        return false;
    return true;
}

} // namespace

int32_t CompareFileDate(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                        const SortContext&) {
    return Directed(Sign(a.FileDate, b.FileDate), descending);
}

int32_t CompareDirectory(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                         const SortContext& context) {
    const std::string& dirA = DirAt(context.Dirs, a.DirIndex);
    const std::string& dirB = DirAt(context.Dirs, b.DirIndex);
    return Directed(CompareText(dirA, dirB, context.Collator), descending);
}

int32_t CompareFileName(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                        const SortContext& context) {
    return Directed(CompareText(a.FileName, b.FileName, context.Collator), descending);
}

int32_t CompareSize(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                    const SortContext&) {
    return Directed(Sign(a.Size, b.Size), descending);
}

int32_t CompareCandidate(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                         const SortContext&) {
    int32_t result = 0;
    if (a.Candidate != b.Candidate) result = (a.Candidate == 1 && b.Candidate == 0) ? 1 : -1;
    return Directed(result, descending);
}

int32_t CompareCrc(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                   const SortContext&) {
    return Directed(Sign(a.Crc, b.Crc), descending);
}

void SortFileList(TFileList& list, int32_t lo, int32_t hi, TFileInfoCompare compare,
                  uint8_t descending, const SortContext& context, const OperationControl& control) {
    const auto cmp = [&](const TFileInfoType& a, const TFileInfoType& b) {
        return compare(a, b, descending, context);
    };
    RunSort(list, lo, hi, cmp, control, true);
}

void SortIndexListByComparator(const TFileList& list, TSortList& order, const SortContext& context,
                               int32_t lo, int32_t hi, TFileInfoCompare compare, uint8_t descending,
                               const OperationControl& control) {
    const auto cmp = [&](const TSortEntry& a, const TSortEntry& b) {
        return compare(list[static_cast<size_t>(a.Index)], list[static_cast<size_t>(b.Index)],
                       descending, context);
    };
    RunSort(order, lo, hi, cmp, control, false);
}

void SortIndexList(const TFileList& list, TSortList& order, const SortContext& context, int32_t lo,
                   int32_t hi, TFileInfoCompare compare, uint8_t descending,
                   const OperationControl& control) {
    // Collating decoded texts on every comparison is far too slow for large lists, so the keys
    // are first reduced to ranks that compare exactly like the records. The steps depend only
    // on positions relative to lo, so a copy of the range sorts the same way.
    std::vector<RankedEntry> ranked;
    if (hi - lo > 15) ranked = Entries(order, lo, hi);
    if (ranked.empty() || !RankEntries(list, context, compare, ranked)) {
        SortIndexListByComparator(list, order, context, lo, hi, compare, descending, control);
        return;
    }
    const auto cmp = [descending](const RankedEntry& a, const RankedEntry& b) {
        return Directed(Sign(a.Rank, b.Rank), descending);
    };
    RunSort(ranked, 0, hi - lo, cmp, control, false);
    for (size_t k = 0; k < ranked.size(); ++k)
        order[static_cast<size_t>(lo) + k] = ranked[k].Entry;
}

} // namespace pellmora
