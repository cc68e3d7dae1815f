// A search, from the step-1 inputs to numbered duplicate groups:
//   start checks -> reset -> walk -> sort by size -> run by run: first block, content,
//   grouping -> publication -> end-of-search report.
// However it ends (finished, refused, stopped or failed) the window returns to idle with
// StopFlag = 1. An error inside the comparison still publishes the groups found before it.
// Nothing here touches a widget: the view shows, the pump lets window events run.

#include "search/SearchDriver.h"

#include "model/SortProcedures.h"
#include "model/TextFormats.h"
#include "platform/FileIdentity.h"
#include "search/DigestSource.h"
#include "search/FileCollection.h"
#include "search/KeptGroups.h"
#include "search/crc32tab.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <unordered_map>

namespace pellmora {

namespace {

const QString NewLine = QStringLiteral("\n\r");

// The digests of one run's files, by file: the run's sorts move the records, not the files.
using DigestTable = std::unordered_map<FileIdentity, ContentDigest, FileIdentityHash>;

class SearchRun {
  public:
    SearchRun(SearchState& state, SearchView& view, const OperationControl& control)
        : state_(state), view_(view), control_(control) {}

    // Returns false when a stop request ended the phase.
    bool FindDuplicateGroups();
    void Publish();
    void FinalReport();

  private:
    bool CompareRuns();
    std::optional<ReadOutcome> Obtain(const TFileInfoType& file, ReadKind kind);
    bool CompareRun(int32_t s, int32_t e, int32_t i);
    bool MarkFirstBlockCandidates(int32_t s, int32_t e);
    bool CheckContents(int32_t s, int32_t e, int32_t& dropped);
    bool CheckContentsByCrc(int32_t s, int32_t e, int32_t& dropped);
    bool CheckContentsByBytes(int32_t s, int32_t e, int32_t& dropped);
    bool SortRun(int32_t s, int32_t e, TFileInfoCompare compare, uint8_t descending);
    void MarkPartners(int32_t a, int32_t b, uint8_t* matched) const;
    void SplitCollisions(int32_t s, int32_t e);
    bool SameContent(const TFileInfoType& a, const TFileInfoType& b) const;
    void GroupRun(int32_t s, int32_t e);
    void AppendGroup(int32_t a, int32_t b);
    void UpdateStatistics(int32_t i);
    void WriteTotals(const QString& totalFiles);
    bool Stopped() const { return control_.StopRequested(); }

    SearchState& state_;
    SearchView& view_;
    const OperationControl& control_;
    int32_t groupNo_ = 0;
    QString totalFilesText_ = QStringLiteral("0");
    DigestTable firstBlocks_;         // of the run under work, readable files only
    DigestTable contents_;            // checksum mode: of the run's readable candidates
    DigestSource* digests_ = nullptr; // while the runs are compared
};

// The digest of the file at CurrentFile; nullopt when a stop request ended the wait or the read.
std::optional<ReadOutcome> SearchRun::Obtain(const TFileInfoType& file, ReadKind kind) {
    return digests_->Obtain(state_.CurrentFile, file, kind);
}

bool SearchRun::SortRun(int32_t s, int32_t e, TFileInfoCompare compare, uint8_t descending) {
    SortFileList(state_.ScanList, s, e, compare, descending, SortContextOf(state_), control_);
    // A sort stopped half-way leaves equal keys apart: the run must not be grouped from it.
    return !Stopped();
}

// Files over one block are told apart by their first block: a file whose first block matches
// no other file's stays out of the content check.
bool SearchRun::MarkFirstBlockCandidates(int32_t s, int32_t e) {
    TFileList& list = state_.ScanList;
    if (list[s].Size <= BlockSize) {
        for (int32_t j = s; j <= e; ++j)
            list[j].Candidate = 1;
        return true;
    }
    constexpr uint8_t Unreadable = 2; // carried through the sort with its record
    firstBlocks_.clear();
    for (int32_t j = s; j <= e; ++j) {
        TFileInfoType& file = list[j];
        state_.CurrentFile = FullPath(state_, file);
        const std::optional<ReadOutcome> read = Obtain(file, ReadKind::FirstBlock);
        if (!read) return false;
        file.Crc = read->Ok ? read->Digest.Crc : 0;
        file.Candidate = read->Ok ? 0 : Unreadable;
        if (read->Ok) firstBlocks_[IdentityOf(file)] = read->Digest;
    }
    if (!SortRun(s, e, CompareCrc, 1)) return false;
    std::vector<uint8_t> matched(static_cast<size_t>(e - s + 1), 0);
    for (int32_t a = s, b = s; a <= e; a = b + 1) {
        for (b = a; b < e && list[b + 1].Crc == list[a].Crc;)
            ++b;
        MarkPartners(a, b, matched.data() + (a - s));
    }
    for (int32_t j = s; j <= e; ++j)
        list[j].Candidate = list[j].Candidate == Unreadable ? 0 : matched[j - s];
    return true;
}

// Within files a..b of one first-block CRC-32, a readable file is a candidate when another
// one's first block has its XXH3-128 too: a CRC-32 alone can be forged, or collide by chance.
void SearchRun::MarkPartners(int32_t a, int32_t b, uint8_t* matched) const {
    std::vector<int32_t> readable;
    std::vector<ContentDigest> digests;
    for (int32_t j = a; j <= b; ++j) {
        const auto found = firstBlocks_.find(IdentityOf(state_.ScanList[j]));
        if (found == firstBlocks_.end()) continue;
        readable.push_back(j);
        digests.push_back(found->second);
    }
    const std::vector<bool> shared = DigestsShared(digests);
    for (size_t k = 0; k < readable.size(); ++k)
        if (shared[k]) matched[readable[k] - a] = 1;
}

bool SearchRun::CheckContentsByCrc(int32_t s, int32_t e, int32_t& dropped) {
    for (int32_t j = s; j <= e; ++j) {
        TFileInfoType& file = state_.ScanList[j];
        if (file.Candidate != 1) {
            ++dropped;
            continue;
        }
        state_.CurrentFile = FullPath(state_, file);
        const std::optional<ReadOutcome> read = Obtain(file, ReadKind::WholeFile);
        if (!read) return false;
        file.Crc = read->Digest.Crc;
        if (read->Ok) {
            contents_[IdentityOf(file)] = read->Digest;
        } else { // never grouped by the checksum of an unreadable file
            file.Candidate = 0;
            ++dropped;
        }
    }
    return true;
}

bool SearchRun::CheckContentsByBytes(int32_t s, int32_t e, int32_t& dropped) {
    TFileCompareArr files;
    for (int32_t j = s; j <= e; ++j) {
        const TFileInfoType& file = state_.ScanList[j];
        if (file.Candidate != 1) {
            ++dropped;
            continue;
        }
        files.push_back({j, 0, FullPath(state_, file)});
        if (Stopped()) return false;
    }
    if (files.empty()) return true;
    CompareFileGroup(files, state_.ScanList[s].Size, control_);
    if (Stopped()) return false;
    for (const TFileCompare& entry : files) {
        TFileInfoType& file = state_.ScanList[entry.ScanIndex];
        if (entry.SubGroup == 0) {
            ++dropped;
            file.Candidate = 0;
        }
        file.Crc = static_cast<uint32_t>(entry.SubGroup);
    }
    return true;
}

bool SearchRun::CheckContents(int32_t s, int32_t e, int32_t& dropped) {
    return state_.CompareMode == 1 ? CheckContentsByBytes(s, e, dropped)
                                   : CheckContentsByCrc(s, e, dropped);
}

// In the checksum mode, files of one CRC-32 whose XXH3-128 differ are different files: each
// digest's files are brought together, in the order of their first file, so that they group
// apart. Without a collision nothing moves.
void SearchRun::SplitCollisions(int32_t s, int32_t e) {
    if (state_.CompareMode == 1) return;
    TFileList& list = state_.ScanList;
    for (int32_t a = s, b = s; a <= e; a = b + 1) {
        for (b = a; b < e && list[b + 1].Crc == list[a].Crc;)
            ++b;
        std::vector<ContentDigest> order; // distinct digests, by first appearance
        std::vector<size_t> rank;
        for (int32_t j = a; j <= b; ++j) {
            const ContentDigest& digest = contents_.at(IdentityOf(list[j]));
            const auto seen = std::find(order.begin(), order.end(), digest);
            rank.push_back(static_cast<size_t>(seen - order.begin()));
            if (seen == order.end()) order.push_back(digest);
        }
        if (order.size() < 2) continue;
        std::vector<size_t> positions(rank.size());
        for (size_t k = 0; k < positions.size(); ++k)
            positions[k] = k;
        std::stable_sort(positions.begin(), positions.end(),
                         [&](size_t x, size_t y) { return rank[x] < rank[y]; });
        std::vector<TFileInfoType> moved;
        for (size_t k : positions)
            moved.push_back(std::move(list[a + static_cast<int32_t>(k)]));
        std::move(moved.begin(), moved.end(), list.begin() + a);
    }
}

bool SearchRun::SameContent(const TFileInfoType& a, const TFileInfoType& b) const {
    if (a.Crc != b.Crc) return false;
    return state_.CompareMode == 1 || contents_.at(IdentityOf(a)) == contents_.at(IdentityOf(b));
}

// Neighbours with equal keys are duplicates; a new key opens a new group.
void SearchRun::GroupRun(int32_t s, int32_t e) {
    SplitCollisions(s, e);
    const TFileList& list = state_.ScanList;
    for (int32_t a = s, b = s; a <= e; a = b + 1) {
        for (b = a; b < e && SameContent(list[b + 1], list[b]);)
            ++b;
        if (b > a) AppendGroup(a, b);
    }
}

// Files a..b of ScanList as the next group, unless there is nothing to do with it: every file
// kept, or (when only those are asked for) none. Each group adds the size of one file to the
// originals and the sizes of its others to the duplicates.
void SearchRun::AppendGroup(int32_t a, int32_t b) {
    if (!GroupIsListed(state_.ScanList, a, b, state_.OnlyWithKept)) return;
    ++groupNo_;
    const int64_t size = state_.ScanList[a].Size;
    state_.OriginalsSize += size;
    state_.DuplicatesSize -= size;
    for (int32_t j = a; j <= b; ++j) {
        TFileInfoType copy = state_.ScanList[j];
        copy.Group = groupNo_;
        AppendResult(state_, copy);
        state_.DuplicatesSize += size;
    }
}

bool SearchRun::CompareRun(int32_t s, int32_t e, int32_t i) {
    contents_.clear();
    digests_->BeginRun(s);
    if (!MarkFirstBlockCandidates(s, e)) return false;
    int32_t dropped = 0;
    if (!CheckContents(s, e, dropped)) return false;
    if (dropped > 0) {
        if (!SortRun(s, e, CompareCandidate, 0)) return false;
        s += dropped;
    }
    if (s < e && !SortRun(s, e, CompareCrc, 1)) return false;
    if (s < e) GroupRun(s, e);
    UpdateStatistics(i);
    return true;
}

void SearchRun::WriteTotals(const QString& totalFiles) {
    const QLocale& locale = state_.Locale.Format();
    totalFilesText_ = totalFiles;
    view_.SetTotalFilesText(totalFiles);
    view_.SetDuplicateText(GroupsAndCopiesText(groupNo_, state_.ResultLast + 1 - groupNo_, locale));
    view_.SetDiskUsingText(DiskUsingText(state_.OriginalsSize, state_.DuplicatesSize, locale));
}

void SearchRun::UpdateStatistics(int32_t i) {
    WriteTotals(FormatCount(i + 1, state_.Locale.Format()));
    view_.SetProgress(static_cast<int>(static_cast<int64_t>(i) * 100 / state_.ScanLast));
}

bool SearchRun::FindDuplicateGroups() {
    // However the runs end, the readers end with them: none reads on behind a stop, an error
    // or the end-of-search report.
    DigestSource digests(state_, control_);
    digests_ = &digests;
    const bool done = CompareRuns();
    digests.Finish();
    digests_ = nullptr;
    return done;
}

bool SearchRun::CompareRuns() {
    const TFileList& list = state_.ScanList;
    const int32_t last = state_.ScanLast;
    int32_t i = 0;
    int32_t runStart = -1; // -1: no run open
    while (i <= last) {
        if (runStart < 0) {
            runStart = i++;
        } else if (list[i].Size == list[runStart].Size && i != last) {
            ++i;
        } else {
            const bool endsAtLast = i == last && list[i].Size == list[runStart].Size;
            const int32_t s = runStart;
            const int32_t e = endsAtLast ? i : i - 1;
            runStart = -1;
            if (e > s && list[s].Size == 0) {
                AppendGroup(s, e); // unread: empty files are all alike
            } else if (e > s && !CompareRun(s, e, i)) {
                return false;
            }
            if (endsAtLast) i = last + 1;
        }
        if (GrowResultListIfNeeded(state_)) control_.Yield();
    }
    WriteTotals(FormatCount(last + 1, state_.Locale.Format()));
    view_.SetProgress(100);
    return true;
}

void SearchRun::Publish() {
    TrimResults(state_);
    BuildViewOrder(state_);
    const QLocale& locale = state_.Locale.Format();
    const int32_t groups = state_.ResultLast > 0 ? state_.ResultList.back().Group : 0;
    const int32_t copies = state_.ResultLast > 0 ? state_.ResultLast + 1 - groups : 0;
    view_.SetDuplicateText(GroupsAndCopiesText(groups, copies, locale));
    view_.SetDiskUsingText(DiskUsingText(state_.OriginalsSize, state_.DuplicatesSize, locale));
    view_.SetResultRowCount(state_.ResultLast + 1);
    view_.SetResultUpdatesEnabled(true);
}

void SearchRun::FinalReport() {
    view_.SetTimerEnabled(false);
    const bool interrupted = Stopped();
    view_.SetStatusText(interrupted ? QStringLiteral(" Status: Search interrupted.")
                                    : QStringLiteral(" Status: Search finished."));
    const QString scanned =
        QStringLiteral("\n\r\n\rScanned: ") + totalFilesText_ + QStringLiteral(" files") + NewLine;
    const QString finished = QStringLiteral("Search finished.") + QString(36, QLatin1Char(' '));
    const QString stopped = QStringLiteral("Search interrupted.");
    if (state_.ResultLast <= 0) {
        view_.ShowInformation(interrupted
                                  ? stopped + QString(22, QLatin1Char(' '))
                                  : finished + scanned + QStringLiteral("Duplicates Found: 0 "));
        return;
    }
    const int32_t n = state_.ResultLast + 1;
    const int32_t g = state_.ResultList.back().Group;
    const QString head = interrupted ? stopped + QString(33, QLatin1Char(' ')) : finished;
    view_.ShowInformation(head + scanned +
                          (interrupted ? QStringLiteral("Selected: ") : QStringLiteral("Found: ")) +
                          FormatCount(n, state_.Locale.Format()) + QStringLiteral(" files") +
                          NewLine + QStringLiteral(" including: ") + NewLine +
                          QStringLiteral("    Original files: ") + QString::number(g) + NewLine +
                          QStringLiteral("    Duplicate files: ") + QString::number(n - g));
}

std::optional<QString> StartCheckError(const SearchState& state, const SearchInputs& inputs) {
    if (state.MaxSize >= 0 && state.MinSize > state.MaxSize)
        return QStringLiteral("Min File Size is bigger than Max File Size. Please, fix this.");
    if (inputs.Directories.empty())
        return QStringLiteral("Please, add one or more directories to search.");
    if (TrimBlanks(inputs.MaskText).isEmpty())
        return QStringLiteral("Please, add one or more file masks.");
    return std::nullopt;
}

void EndSearch(SearchState& state, SearchView& view) {
    view.SetTimerEnabled(false);
    state.StopFlag = 1;
    view.PrepareToStop();
}

QString ErrorText(const std::exception& error) {
    return QString::fromLocal8Bit(error.what());
}

} // namespace

bool StartStartsSearch(const SearchState& state) {
    return state.StopFlag == 1 && !state.SearchRunning;
}

bool ListCanBeSorted(const SearchState& state) {
    return !state.ResultList.empty() && !state.SearchRunning;
}

bool ResolvedCanBeRemoved(const SearchState& state) {
    return state.ResultList.size() >= 2 && state.StopFlag == 1 && !state.SearchRunning;
}

void FindDuplicateGroups(SearchState& state, SearchView& view, const OperationControl& control) {
    SearchRun(state, view, control).FindDuplicateGroups();
}

SearchOutcome SearchStart(SearchState& state, const SearchInputs& inputs, SearchView& view,
                          const EventPump& pump) {
    // Cleared on every way out, exceptions included, and only after the last message box.
    struct RunningFlag {
        explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
        ~RunningFlag() { flag_ = false; }
        bool& flag_;
    } running(state.SearchRunning);
    ReadSizeLimits(state, inputs, state.Locale.Format());
    state.OnlyWithKept = inputs.OnlyWithKept;
    const OperationControl control(state.StopFlag, pump);
    SearchRun run(state, view, control);
    std::optional<QString> failure;
    bool stopped = false;
    try {
        view.PrepareToStart();
        state.SearchPhase = 0;
        state.StartTick = TickCount();
        view.SetTimerEnabled(true);
        view.SetResultRowCount(0);
        view.SetResultUpdatesEnabled(false);
        view.SetStatusText(QStringLiteral(" Status: Cleaning previous results"));
        ResetSearchState(state);
        if (const auto error = StartCheckError(state, inputs)) {
            view.ShowError(*error);
            state.StopFlag = 1;
            view.PrepareToStop();
            view.SetResultRowCount(state.ResultLast + 1);
            view.SetResultUpdatesEnabled(true);
            view.SetTimerEnabled(false);
            view.SetStatusText(QStringLiteral(" Status: Waiting"));
            EndSearch(state, view);
            return SearchOutcome::Refused;
        }
        SplitMasks(state, inputs.MaskText);
        CollectListedDirectories(state, inputs, control);
        TrimCollection(state);
        if (!control.StopRequested()) {
            view.SetStatusText(QStringLiteral(" Status: Prepare filelist.."));
            SortFileList(state.ScanList, 0, state.ScanLast, CompareSize, 1, SortContextOf(state),
                         control);
        }
        AllocateResultList(state);
        if (!control.StopRequested()) {
            state.SearchPhase = 1;
            try {
                run.FindDuplicateGroups();
            } catch (const std::exception& error) {
                failure = ErrorText(error);
            }
        }
        run.Publish();
        stopped = control.StopRequested();
        run.FinalReport();
    } catch (const std::exception& error) {
        failure = ErrorText(error);
    }
    EndSearch(state, view);
    if (failure) view.ShowErrorReport(*failure);
    if (failure) return SearchOutcome::Failed;
    return stopped ? SearchOutcome::Stopped : SearchOutcome::Finished;
}

} // namespace pellmora
