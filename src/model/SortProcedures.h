#pragma once
// Every ordering of file records: a quicksort with median of three down to ranges of 16, then
// one insertion pass with a sentinel. Not stable, but fully determined: which of two equal
// records comes first is what the user sees and which copy the age commands keep.

#include "model/DuplicateTypes.h"
#include "model/OperationControl.h"

#include <QCollator>

namespace pellmora {

// What a comparison may read besides the two records: the folder table (for CompareDirectory)
// and the collation of names and folders. Both are borrowed for the length of the sort.
struct SortContext {
    const TStringArr& Dirs;
    const QCollator& Collator;
};

// The state's folder table and collation.
inline SortContext SortContextOf(const SearchState& state) {
    return {state.DirTable, state.Locale.Collator()};
}

// Returns -1, 0 or +1; negated when Descending is 1 (any other value sorts ascending).
using TFileInfoCompare = int32_t (*)(const TFileInfoType& a, const TFileInfoType& b,
                                     uint8_t descending, const SortContext& context);

int32_t CompareFileDate(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                        const SortContext& context);
int32_t CompareDirectory(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                         const SortContext& context);
int32_t CompareFileName(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                        const SortContext& context);
int32_t CompareSize(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                    const SortContext& context);
int32_t CompareCandidate(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                         const SortContext& context);
int32_t CompareCrc(const TFileInfoType& a, const TFileInfoType& b, uint8_t descending,
                   const SortContext& context);

// Sorts list[lo..hi]; the insertion pass is skipped when a stop is requested after the yield.
void SortFileList(TFileList& list, int32_t lo, int32_t hi, TFileInfoCompare compare,
                  uint8_t descending, const SortContext& context, const OperationControl& control);

// Permutes order[lo..hi] by the records they name; the records never move. It yields between
// its passes but always runs both: a half-sorted view would show rows out of order.
void SortIndexList(const TFileList& list, TSortList& order, const SortContext& context, int32_t lo,
                   int32_t hi, TFileInfoCompare compare, uint8_t descending,
                   const OperationControl& control);

// SortIndexList calling the comparator on every step; SortIndexList gives the same permutation
// faster by ranking the name, folder and date keys first.
void SortIndexListByComparator(const TFileList& list, TSortList& order, const SortContext& context,
                               int32_t lo, int32_t hi, TFileInfoCompare compare, uint8_t descending,
                               const OperationControl& control);

} // namespace pellmora
