#pragma once
// The records, growable arrays and shared state that a search fills and every later command
// works on. Paths and names are kept as the native bytes of the file system, so that a name
// that is not valid UTF-8 still opens; they are decoded only for display and text comparison.

#include "model/LocaleContext.h"
#include "platform/FileIdentity.h"
#include <cstdint>
#include <string>
#include <vector>

namespace pellmora {

struct TFileInfoType {
    // Ordered so that no padding is left: a search holds one record per file it collected.
    int32_t FileDate = 0;    // local time, MS-DOS date (high 16 bits) and time (low 16 bits)
    uint32_t Attributes = 0; // 0x10 directory, 0x01 read-only, 0x80 normal
    int64_t Size = 0;
    uint32_t Crc = 0;     // content key while comparing; meaningless afterwards
    int32_t DirIndex = 0; // into DirTable
    int32_t Group = 0;    // 1-based duplicate group; 0 in ScanList
    uint8_t Checked = 0;
    uint8_t Resolved = 0;
    uint8_t Candidate = 0;
    uint8_t Kept = 0;     // found in a keep folder: listed, never ticked or acted on
    std::string FileName; // native bytes, no directory
    // The file as the search saw it, so that an action can tell it is still that file.
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t ModTimeNs = 0;    // modification time, nanoseconds since the epoch
    int64_t ChangeTimeNs = 0; // status-change time: catches a rewrite with the old time put back
};
using TFileList = std::vector<TFileInfoType>;

// Whether a command may tick the file: a resolved file is done, a kept one is never touched.
inline bool MayBeTicked(const TFileInfoType& file) {
    return file.Resolved == 0 && file.Kept == 0;
}

struct TSortEntry {
    int32_t Index = 0; // into ResultList
    int32_t Key = 0;   // group or band number; its low bit picks the row's band colour
};
using TSortList = std::vector<TSortEntry>;

struct TFileCompare {
    int32_t ScanIndex = 0;
    int32_t SubGroup = 0; // 0: no identical partner among the compared files
    std::string Path;
};
using TFileCompareArr = std::vector<TFileCompare>;

using TIntArr = std::vector<int32_t>;
using TStringArr = std::vector<std::string>;
using TDirectoryList = std::vector<std::string>;

constexpr int32_t InitialCapacity = 550000;
constexpr int32_t FallbackCapacity = 150000;
constexpr int32_t SecondCapacity = 300000;
constexpr int32_t CapacityStep = 10000;
constexpr int32_t GrowthThreshold = 510000;

// The protected system folders: the operating system's own trees.
TStringArr DefaultProtectedFolders();

struct SearchState {
    TFileList ScanList;
    int32_t ScanLast = -1;
    int32_t ScanCapacity = 0;

    TStringArr DirTable; // every entry ends in "/"
    int32_t DirLast = -1;
    int32_t DirCapacity = 0;

    TFileList ResultList;
    int32_t ResultLast = -1;
    int32_t ResultCapacity = 0;

    TSortList ViewOrder;

    TStringArr MaskList; // UTF-8
    int32_t MaskCount = 0;

    int64_t OriginalsSize = 0;
    int64_t DuplicatesSize = 0;
    int64_t MinSize = 0;
    int64_t MaxSize = -1;

    uint8_t SearchPhase = 0; // 0 collecting, 1 comparing
    std::string CurrentDir;
    std::string CurrentFile;
    uint32_t StartTick = 0;

    TStringArr ProtectedFolders = DefaultProtectedFolders(); // each ends in "/"
    LocaleContext Locale{QLocale::system()}; // numbers, dates and the order of names

    uint8_t StopFlag = 1;       // 1: no search, or a stop was requested
    bool SearchRunning = false; // set and cleared by SearchStart, its last message box included
    uint8_t CompareMode = 0;    // 0: CRC-32 plus size, 1: byte by byte
    bool OnlyWithKept = false;  // list only the groups that hold a kept file
    // Reads (and folder look-ups) the search keeps in flight while it waits for the disk;
    // 0 reads one file at a time on the search's own thread.
    int32_t ReadersInFlight = 16;

    std::string ChecksumCacheFile; // empty: no cache

    int32_t LastClickedRow = -1;
};

// The file as the search saw it: what every act compares with the file it finds.
inline FileIdentity IdentityOf(const TFileInfoType& file) {
    return {file.Device, file.Inode};
}
inline FileVersion VersionOf(const TFileInfoType& file) {
    return {file.Device, file.Inode, file.Size, file.ModTimeNs, file.ChangeTimeNs};
}

// Full path of a listed file: its folder (ending in "/") followed by its name.
std::string FullPath(const SearchState& state, const TFileInfoType& file);

// Start of a search: counters and totals back to their start values, the lists released, then
// DirTable and ScanList allocated ahead.
void ResetSearchState(SearchState& state);

// Allocates ahead by the fallback rule (550000, else 150000 and a second try at 300000) and
// returns the capacity reached.
int32_t AllocateAhead(std::vector<TFileInfoType>* files, std::vector<std::string>* strings);
void AllocateResultList(SearchState& state);

void AppendDir(SearchState& state, const std::string& dir);
void AppendScan(SearchState& state, TFileInfoType&& file);
void AppendResult(SearchState& state, const TFileInfoType& file);

// The growth rule of ResultList after a size run; returns true when the list grew.
bool GrowResultListIfNeeded(SearchState& state);

void TrimCollection(SearchState& state); // DirTable and ScanList cut to their used lengths
void TrimResults(SearchState& state);    // ResultList cut to ResultLast + 1, ScanList released
void ReleaseLists(SearchState& state);   // on closing the window

// One ViewOrder entry per ResultList record, in ResultList order, keyed by group.
void BuildViewOrder(SearchState& state);

} // namespace pellmora
