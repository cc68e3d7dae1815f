#pragma once
// What lstat or fstat says of a file, in the program's own terms. Every conversion of a status
// into an identity and nanosecond times happens here.

#include "platform/FileIdentity.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

struct stat;

namespace pellmora {

struct FileStamp : FileVersion {
    bool IsRegular = false;
    uint32_t Owner = 0;
    uint32_t Group = 0;
    uint32_t Mode = 0; // permission bits, set-id and sticky bits included
};

int64_t NanosecondsOf(const struct timespec& time);
FileStamp StampOf(const struct stat& status);

// The entry itself, a final link not followed; nothing when it cannot be read.
std::optional<FileStamp> ReadFileStamp(const std::string& path);
// The entry name in the folder open as folder, a final link not followed.
std::optional<FileStamp> ReadStampAt(int folder, const std::string& name);
std::optional<FileStamp> ReadDescriptorStamp(int fd);

// The current time on the clock that file times are taken from, in nanoseconds.
int64_t WallClockNs();

} // namespace pellmora
