#include "search/FileCollection.h"

#include "platform/DirectoryListing.h"
#include "platform/MountTable.h"
#include "platform/TrashFolders.h"
#include "platform/TreePrefetch.h"
#include "search/FolderMasks.h"
#include "search/MaskMatcher.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <unordered_set>

namespace pellmora {

namespace {

double UnitFactor(SizeUnit unit) {
    switch (unit) {
    case SizeUnit::KB:
        return 1024.0;
    case SizeUnit::MB:
        return 1048576.0;
    case SizeUnit::B:
        break;
    }
    return 1.0;
}

// The locale's decimal separator; "." and "," are taken as one as well. Group separators are
// refused, so "1,5" never turns into 15.
std::optional<double> ParseSizeNumber(const QString& text, const QLocale& locale) {
    QLocale strict = locale;
    strict.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = strict.toDouble(text, &ok);
    if (!ok) {
        QString unified = text;
        unified.replace(u'.', strict.decimalPoint()).replace(u',', strict.decimalPoint());
        value = strict.toDouble(unified, &ok);
    }
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

// Toward zero, held within int64 so that "1e30" means "no limit reachable" rather than garbage.
int64_t TruncateToInt64(double value) {
    if (value >= 9223372036854775807.0) return INT64_MAX;
    if (value <= -9223372036854775807.0) return INT64_MIN;
    return static_cast<int64_t>(value);
}

int64_t SizeLimit(const SizeLimitInput& input, int64_t none, const QLocale& locale) {
    if (!input.Checked || input.Text.isEmpty()) return none;
    const double value = ParseSizeNumber(input.Text, locale).value_or(static_cast<double>(none));
    return TruncateToInt64(value * UnitFactor(input.Unit));
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// Folder texts end in "/", so a prefix is a whole ancestor: /x/a/ covers /x/a/b/, not /x/ab/.
// An empty entry names nothing and covers nothing.
bool IsPassedOver(const TStringArr& folders, size_t i) {
    const std::string& self = folders[i];
    if (self.empty()) return true;
    for (size_t j = 0; j < folders.size(); ++j) {
        const std::string& other = folders[j];
        if (j == i || other.empty()) continue;
        if (other.size() < self.size() && StartsWith(self, other)) return true;
        if (j < i && other == self) return true;
    }
    return false;
}

bool StartsWithAsciiCaseless(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           EqualsAsciiCaseless(std::string_view(text).substr(0, prefix.size()), prefix);
}

// What the filters made of a listing entry, so a name matched by a later mask is decided at once.
enum class EntryFate : uint8_t { Open, Taken, Refused };

// One search's walk: the folders and linked files already met are remembered across all listed
// folders, so that each folder is entered and each physical file collected once.
class Walker {
  public:
    Walker(SearchState& state, const SearchInputs& inputs, const OperationControl& control,
           const SkipFolderMasks& skips)
        : state_(state), inputs_(inputs), control_(control), skips_(skips) {
        for (int32_t k = 0; k < state.MaskCount && k < static_cast<int32_t>(state.MaskList.size());
             ++k)
            masks_.emplace_back(state.MaskList[static_cast<size_t>(k)]);
        for (const std::string& dir : inputs.KeepDirectories)
            if (const auto identity = FolderIdentity(dir)) keepFolders_.push_back(*identity);
    }

    // kept: the folder is a keep folder; whatever lies below it is kept too.
    void CollectFiles(const std::string& dir, bool kept) {
        std::string path = WithSlash(dir);
        if (trash_.LiesInTrash(path)) return;
        ScanDirectory(path, 0, kept);
    }

  private:
    DirectoryListing& ListingAt(size_t depth);
    bool IsProtected(const std::string& path) const;
    bool MayEnter(const std::string& path, DirectoryListing& listing);
    bool IsKeepFolder(const FileIdentity& folder) const;
    void PassOver(const std::string& path, DirectoryListing& listing, bool kept);
    void ScanDirectory(std::string& path, size_t depth, bool kept);
    void TakeFiles(const std::string& path, DirectoryListing& listing);
    void TakeEntry(const std::string& path, DirectoryListing& listing, size_t i);
    bool PassesFilters(const DirectoryListing& listing, size_t i, FileStatus& status);

    SearchState& state_;
    const SearchInputs& inputs_;
    const OperationControl& control_;
    const SkipFolderMasks& skips_;
    std::vector<MaskMatcher> masks_;
    std::vector<FileIdentity> keepFolders_;
    bool folderKept_ = false; // of the folder whose files are being taken
    std::vector<std::unique_ptr<DirectoryListing>> listings_; // one per depth, reused
    std::vector<EntryFate> fates_;                            // of the current folder's entries
    bool folderHasFile_ = false;
    std::unordered_set<FileIdentity, FileIdentityHash> enteredFolders_;
    std::unordered_set<FileIdentity, FileIdentityHash> linkedFiles_; // only files with nlink > 1
    VirtualFileSystemCheck virtualCheck_;
    TrashFolderCheck trash_;
    DosTimeConverter dosTime_;
};

DirectoryListing& Walker::ListingAt(size_t depth) {
    while (listings_.size() <= depth)
        listings_.push_back(std::make_unique<DirectoryListing>());
    return *listings_[depth];
}

bool IsProtectedPath(const TStringArr& protectedFolders, const std::string& path) {
    for (const std::string& prefix : protectedFolders)
        if (!prefix.empty() && StartsWithAsciiCaseless(path, prefix)) return true;
    return false;
}

bool Walker::IsProtected(const std::string& path) const {
    return IsProtectedPath(state_.ProtectedFolders, path);
}

// Folder look-ups run ahead of the walk; the walk's order and rules stay its own.
std::unique_ptr<TreePrefetch> StartPrefetch(const SearchState& state, const SearchInputs& inputs,
                                            const SkipFolderMasks& skips) {
    if (state.ReadersInFlight <= 0) return nullptr;
    std::function<bool(const std::string&)> skip;
    if (inputs.ProtectSysFolders || !skips.Empty())
        skip = [&protectedFolders = state.ProtectedFolders, protect = inputs.ProtectSysFolders,
                &skips](const std::string& path) {
            return (protect && IsProtectedPath(protectedFolders, path)) || skips.Skips(path);
        };
    return std::make_unique<TreePrefetch>(static_cast<size_t>(state.ReadersInFlight),
                                          std::move(skip));
}

// Protected folders first: they are left without being opened, and do not count as entered.
bool Walker::MayEnter(const std::string& path, DirectoryListing& listing) {
    if (inputs_.ProtectSysFolders && IsProtected(path)) return false;
    if (!listing.Open(path)) return false;
    const FileIdentity& folder = listing.Identity();
    if (virtualCheck_.IsVirtual(folder.Device) || trash_.IsTrash(folder) ||
        !enteredFolders_.insert(folder).second) {
        listing.Close();
        return false;
    }
    return true;
}

bool Walker::IsKeepFolder(const FileIdentity& folder) const {
    return std::find(keepFolders_.begin(), keepFolders_.end(), folder) != keepFolders_.end();
}

// A skipped folder inside a keep folder counts as entered: a link from elsewhere must not list
// its files as files that may go.
void Walker::PassOver(const std::string& path, DirectoryListing& listing, bool kept) {
    if (!kept || !listing.Open(path)) return;
    enteredFolders_.insert(listing.Identity());
    listing.Close();
}

void Walker::ScanDirectory(std::string& path, size_t depth, bool kept) {
    DirectoryListing& listing = ListingAt(depth);
    if (skips_.Skips(path)) {
        PassOver(path, listing, kept);
        return;
    }
    if (!MayEnter(path, listing)) return;
    kept = kept || (!keepFolders_.empty() && IsKeepFolder(listing.Identity()));
    folderKept_ = kept;
    control_.Yield();
    listing.ReadEntries();
    TakeFiles(path, listing);
    if (control_.StopRequested()) {
        listing.Close();
        return;
    }
    const std::vector<uint32_t>& subfolders = listing.FindSubfolders();
    listing.Close();
    const size_t length = path.size();
    for (const uint32_t i : subfolders) {
        path.append(listing.Name(i)).push_back('/');
        ScanDirectory(path, depth + 1, kept);
        path.resize(length);
        if (control_.StopRequested()) return;
    }
}

// Mask by mask, each in listing order; a stop request is read after every entry.
void Walker::TakeFiles(const std::string& path, DirectoryListing& listing) {
    fates_.assign(listing.Count(), EntryFate::Open);
    folderHasFile_ = false;
    for (const MaskMatcher& mask : masks_) {
        for (size_t i = 0; i < listing.Count(); ++i) {
            if (fates_[i] == EntryFate::Open && mask.Matches(listing.Name(i)))
                TakeEntry(path, listing, i);
            if (control_.StopRequested()) return;
        }
    }
}

// The filters depend on the file only, so an entry refused once stays refused, and an entry
// taken under an earlier mask is not taken twice.
void Walker::TakeEntry(const std::string& path, DirectoryListing& listing, size_t i) {
    FileStatus status;
    fates_[i] = EntryFate::Refused;
    if (!PassesFilters(listing, i, status)) return;
    fates_[i] = EntryFate::Taken;
    if (!folderHasFile_) {
        folderHasFile_ = true;
        AppendDir(state_, path);
        control_.Yield();
    }
    TFileInfoType file;
    file.FileDate = dosTime_.Convert(status.ModifiedTime);
    file.Size = status.Size;
    file.Attributes = status.Attributes;
    file.FileName.assign(listing.Name(i));
    file.DirIndex = state_.DirLast;
    file.Device = status.Identity.Device;
    file.Inode = status.Identity.Inode;
    file.ModTimeNs = status.ModTimeNs;
    file.ChangeTimeNs = status.ChangeTimeNs;
    file.Kept = folderKept_ ? 1 : 0;
    AppendScan(state_, std::move(file));
}

bool Walker::PassesFilters(const DirectoryListing& listing, size_t i, FileStatus& status) {
    // Only regular files: not folders, links, FIFOs, sockets or devices.
    const EntryType type = listing.Type(i);
    if (type != EntryType::Regular && type != EntryType::Unknown) return false;
    // The name test goes before the status: a refusal is a refusal, and it costs no system call.
    if (inputs_.ProtectSysFiles && IsSystemFileName(listing.Name(i))) return false;
    if (!listing.StatEntry(i, status) || !status.IsRegular) return false;
    if (inputs_.ExcludeZero && status.Size == 0) return false;
    if (status.Size < state_.MinSize || (state_.MaxSize >= 0 && status.Size > state_.MaxSize))
        return false;
    // A file with one link can be met only once, since no folder is entered twice.
    return status.LinkCount <= 1 || linkedFiles_.insert(status.Identity).second;
}

} // namespace

void ReadSizeLimits(SearchState& state, const SearchInputs& inputs, const QLocale& locale) {
    state.MinSize = SizeLimit(inputs.MinSize, 0, locale);
    state.MaxSize = SizeLimit(inputs.MaxSize, -1, locale);
}

void SplitMasks(SearchState& state, const QString& maskText) {
    state.MaskList.clear();
    for (const QString& mask : maskText.split(u'|', Qt::KeepEmptyParts))
        state.MaskList.push_back(mask.toStdString());
    state.MaskCount = static_cast<int32_t>(state.MaskList.size());
}

// Keep folders are searched first: every folder reached from one is entered there, and so
// kept, whatever path (a link, another listed folder) would reach it later. Then the listed
// folders in list order, each unless a keep folder covers it. Without keep folders this is
// the listed folders in list order.
void CollectListedDirectories(SearchState& state, const SearchInputs& inputs,
                              const OperationControl& control) {
    TStringArr keep;
    for (const std::string& dir : inputs.KeepDirectories)
        keep.push_back(WithSlash(dir));
    TStringArr folders;
    folders.reserve(inputs.Directories.size());
    for (const std::string& dir : inputs.Directories)
        folders.push_back(WithSlash(dir));
    std::vector<bool> walkKeep(keep.size());
    for (size_t i = 0; i < keep.size(); ++i)
        walkKeep[i] = !IsPassedOver(keep, i);
    std::vector<bool> walkListed(folders.size());
    for (size_t i = 0; i < folders.size(); ++i)
        walkListed[i] = !IsPassedOver(folders, i) &&
                        std::none_of(keep.begin(), keep.end(), [&](const std::string& k) {
                            return !k.empty() && StartsWith(folders[i], k);
                        });

    const SkipFolderMasks skips(inputs.SkipFolders);
    Walker walker(state, inputs, control, skips);
    const std::unique_ptr<TreePrefetch> prefetch = StartPrefetch(state, inputs, skips);
    if (prefetch) {
        for (size_t i = 0; i < keep.size(); ++i)
            if (walkKeep[i]) prefetch->Add(keep[i]);
        for (size_t i = 0; i < folders.size(); ++i)
            if (walkListed[i]) prefetch->Add(folders[i]);
    }
    // Returns false when a stop request ended the walk.
    auto walk = [&](const TStringArr& dirs, const std::vector<bool>& chosen, bool kept) {
        for (size_t i = 0; i < dirs.size(); ++i) {
            state.CurrentDir = dirs[i];
            if (chosen[i]) walker.CollectFiles(dirs[i], kept);
            if (control.StopRequested()) return false;
        }
        return true;
    };
    if (walk(inputs.KeepDirectories, walkKeep, true)) walk(inputs.Directories, walkListed, false);
}

} // namespace pellmora
