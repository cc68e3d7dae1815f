#pragma once
// Extended attributes and POSIX ACLs set on a test's files.

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/xattr.h>

namespace pellmora::test {

inline void SetAttribute(const std::string& path, const std::string& name,
                         const std::string& value) {
    ASSERT_EQ(setxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0), 0)
        << name << ": " << std::strerror(errno);
}

// The kernel's form of a POSIX access ACL: a version, then (tag, permissions, id) entries in tag
// order. This one grants nobody read access, and its mask is wider than that entry.
inline std::string AccessAcl() {
    std::string bytes;
    const auto put = [&](uint32_t value, size_t size) {
        bytes.append(reinterpret_cast<const char*>(&value), size); // little endian: x86, arm
    };
    put(2, 4);
    const uint32_t anyone = 0xffffffff;
    const uint32_t entries[][3] = {{0x01, 6, anyone},
                                   {0x02, 4, 65534},
                                   {0x04, 4, anyone},
                                   {0x10, 6, anyone},
                                   {0x20, 0, anyone}};
    for (const auto& entry : entries) {
        put(entry[0], 2);
        put(entry[1], 2);
        put(entry[2], 4);
    }
    return bytes;
}

} // namespace pellmora::test
