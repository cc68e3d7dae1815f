#pragma once
// Read-only access to the contents of a regular file. Opening never follows a final symbolic
// link and never blocks on a FIFO; anything but a regular file is refused.

#include "platform/FileStamp.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace pellmora {

// A regular file opened read-only, for a reader that takes over the descriptor (a picture
// decoder). On failure Descriptor is -1 and Error holds the errno of the open, or 0 with
// NotRegular set when something other than a regular file stands there.
struct OpenedFile {
    int Descriptor = -1;
    int Error = 0;
    bool NotRegular = false;
    FileStamp Stamp; // as fstat showed it once opened
};
OpenedFile OpenRegularFile(const std::string& path);

// The system's text for an errno value, as "No such file or directory".
std::string SystemErrorText(int error);

// What a read saw of its file: the version its descriptor showed when opened, whether it showed
// the same after the read, and when the read began. A checksum is worth remembering only from a
// read that saw the listed version throughout.
struct ReadWitness {
    FileVersion Before;
    bool Steady = false;
    int64_t StartedNs = 0;
};

class ContentFile {
  public:
    ContentFile() = default;
    ~ContentFile() { Close(); }
    ContentFile(ContentFile&& other) noexcept;
    ContentFile& operator=(ContentFile&& other) noexcept;
    ContentFile(const ContentFile&) = delete;
    ContentFile& operator=(const ContentFile&) = delete;

    bool Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    void Close();
    FileIdentity Identity() const { return stamp_.Identity(); }
    const FileStamp& Stamp() const { return stamp_; }
    // fstat shows the version it showed when opened.
    bool Unchanged() const;
    void AdviseSequential() const;

    // Reads up to count bytes at offset, retrying interrupted reads: fewer bytes only at the
    // end of the file. Returns the count read, or -1 when the read failed.
    int64_t ReadAt(void* buffer, size_t count, int64_t offset) const;

  private:
    int fd_ = -1;
    FileStamp stamp_;
};

// How many files ContentFile has opened in this process: what a remembered checksum saves.
uint64_t ContentFileOpens();

// The soft limit on open files of this process.
size_t OpenFileLimit();
// Raises the soft limit on open files as far as the hard limit allows.
void RaiseOpenFileSoftLimit();

} // namespace pellmora
