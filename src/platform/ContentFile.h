#pragma once
// Read-only access to the contents of a regular file. Opening never follows a final symbolic
// link and never blocks on a FIFO; anything but a regular file is refused.

#include "platform/FileIdentity.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace pellmora {

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
    FileIdentity Identity() const { return identity_; }
    void AdviseSequential() const;

    // Reads up to count bytes at offset, retrying interrupted reads: fewer bytes only at the
    // end of the file. Returns the count read, or -1 when the read failed.
    int64_t ReadAt(void* buffer, size_t count, int64_t offset) const;

  private:
    int fd_ = -1;
    FileIdentity identity_;
};

// The soft limit on open files of this process.
size_t OpenFileLimit();
// Raises the soft limit on open files as far as the hard limit allows.
void RaiseOpenFileSoftLimit();

} // namespace pellmora
