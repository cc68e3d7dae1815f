#pragma once
// One pass over a folder's entries, kept in listing order, with the status of the entries the
// search asks about. The folder stays open only between Open and Close, so a deep walk holds one
// descriptor at a time.

#include "platform/FileIdentity.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellmora {

enum class EntryType : uint8_t { Regular, Directory, Symlink, Other, Unknown };

struct FileStatus {
    bool IsRegular = false;
    int64_t Size = 0;
    time_t ModifiedTime = 0;
    int64_t ModTimeNs = 0;   // the same time to the nanosecond
    uint32_t Attributes = 0; // 0x01 read-only, 0x80 normal
    uint64_t LinkCount = 0;
    FileIdentity Identity;
    int64_t ChangeTimeNs = 0; // status-change time, nanoseconds (the checksum cache's key)
};

class DirectoryListing {
  public:
    DirectoryListing() = default;
    ~DirectoryListing();
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    // Opens the folder (a link to a folder is followed); false when it cannot be listed.
    bool Open(const std::string& path);
    void Close();
    const FileIdentity& Identity() const { return identity_; }

    // Reads every entry but "." and ".." in one pass; an error ends the pass silently.
    void ReadEntries();
    size_t Count() const { return entries_.size(); }
    std::string_view Name(size_t i) const {
        return {names_.data() + entries_[i].Offset, entries_[i].Length};
    }
    EntryType Type(size_t i) const { return entries_[i].Type; }

    // The entry itself, a link not followed; false when it cannot be read.
    bool StatEntry(size_t i, FileStatus& status) const;
    // Entries that are folders, links to folders included, in listing order.
    const std::vector<uint32_t>& FindSubfolders();

  private:
    struct Entry {
        uint32_t Offset;
        uint32_t Length;
        EntryType Type;
    };
    bool IsFolder(size_t i) const;
    const char* CName(size_t i) const { return names_.data() + entries_[i].Offset; }

    void* dir_ = nullptr; // DIR*
    FileIdentity identity_;
    std::string names_; // every name followed by a NUL, in one buffer
    std::vector<Entry> entries_;
    std::vector<uint32_t> subfolders_;
};

// A folder's path with its closing "/"; an empty path stays empty.
std::string WithSlash(std::string path);

// The folder at path (a link followed), or nothing when there is no folder there.
std::optional<FileIdentity> FolderIdentity(const std::string& path);

// Local-time MS-DOS date (high 16 bits) and time (low 16 bits); 0 for a year outside 1980..2107.
int32_t DosDateTime(time_t mtime);

// DosDateTime with the local-time offset remembered per hour, so that a walk does not ask the
// time zone database once per file.
class DosTimeConverter {
  public:
    int32_t Convert(time_t mtime);

  private:
    struct Slot {
        int64_t Hour = INT64_MIN;
        long Offset = 0;
        bool Uniform = false;
    };
    static constexpr size_t SlotCount = 256;
    Slot slots_[SlotCount];
};

} // namespace pellmora
