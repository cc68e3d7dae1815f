#include "platform/ExtendedAttributes.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <sys/xattr.h>
#include <utility>
#include <vector>

namespace pellmora {

namespace {

bool IsAcl(std::string_view name) {
    return name == "system.posix_acl_access" || name == "system.posix_acl_default";
}

bool IsPrivileged(std::string_view name) {
    return name.starts_with("trusted.") || name.starts_with("security.");
}

// Other system.* names are file system internals that mv does not carry over either.
bool BelongsTo(std::string_view name, AttributeSet set) {
    if (set == AttributeSet::Acls) return IsAcl(name);
    return name.starts_with("user.") || IsPrivileged(name);
}

// An access ACL that says no more than the mode bits: the owner, group and other entries only.
// Its entries follow a 4-byte version, 8 bytes each, their tag first.
bool IsTrivialAcl(const std::vector<char>& value) {
    if (value.size() < 4) return true;
    for (size_t at = 4; at + 2 <= value.size(); at += 8) {
        const auto tag = static_cast<uint16_t>(static_cast<unsigned char>(value[at]) |
                                               static_cast<unsigned char>(value[at + 1]) << 8);
        if (tag != 0x01 && tag != 0x04 && tag != 0x20) return false; // USER_OBJ, GROUP_OBJ, OTHER
    }
    return true;
}

// A file system that cannot hold an ACL would leave the copy open to whoever the ACL kept out
// (and its mask in the group bits): that fails the copy, unless the ACL only repeats the mode.
bool IsSkipped(std::string_view name, int error, const std::vector<char>& value) {
    if (IsAcl(name) && error == ENOTSUP) return IsTrivialAcl(value);
    return error == ENOTSUP || (IsPrivileged(name) && (error == EPERM || error == EACCES));
}

// A name list or a value, asked for its size first; it may grow in between, then we ask again.
template <typename Call> int ReadSized(std::vector<char>& out, Call call) {
    for (;;) {
        const ssize_t needed = call(nullptr, 0);
        if (needed < 0) return errno;
        out.resize(static_cast<size_t>(needed));
        const ssize_t got = needed == 0 ? 0 : call(out.data(), out.size());
        if (got >= 0) {
            out.resize(static_cast<size_t>(got));
            return 0;
        }
        if (errno != ERANGE) return errno;
    }
}

// Every attribute of the file with its value, sorted by name; nothing when one cannot be read.
std::optional<std::vector<std::pair<std::string, std::string>>> AllAttributes(int fd) {
    std::vector<char> names;
    const int error =
        ReadSized(names, [&](char* list, size_t size) { return flistxattr(fd, list, size); });
    std::vector<std::pair<std::string, std::string>> all;
    if (error == ENOTSUP) return all;
    if (error) return std::nullopt;
    std::vector<char> value;
    for (size_t at = 0; at < names.size();) {
        const char* name = names.data() + at;
        at += std::strlen(name) + 1;
        const int read = ReadSized(
            value, [&](char* data, size_t size) { return fgetxattr(fd, name, data, size); });
        if (read == ENODATA) continue;
        if (read) return std::nullopt;
        all.emplace_back(name, std::string(value.begin(), value.end()));
    }
    std::sort(all.begin(), all.end());
    return all;
}

} // namespace

bool SameExtendedAttributes(int a, int b) {
    const auto x = AllAttributes(a);
    const auto y = AllAttributes(b);
    return x && y && *x == *y;
}

int CopyExtendedAttributes(int source, int copy, AttributeSet set) {
    std::vector<char> names;
    int error =
        ReadSized(names, [&](char* list, size_t size) { return flistxattr(source, list, size); });
    // A source file system without attributes has none to copy.
    if (error) return error == ENOTSUP ? 0 : error;
    std::vector<char> value;
    for (size_t at = 0; at < names.size();) {
        const char* name = names.data() + at;
        const std::string_view view(name);
        at += view.size() + 1;
        if (!BelongsTo(view, set)) continue;
        error = ReadSized(
            value, [&](char* data, size_t size) { return fgetxattr(source, name, data, size); });
        if (error == ENODATA) continue; // removed since it was listed
        if (error) return error;
        if (fsetxattr(copy, name, value.data(), value.size(), 0) == 0) continue;
        error = errno;
        if (!IsSkipped(view, error, value)) return error;
    }
    return 0;
}

} // namespace pellmora
