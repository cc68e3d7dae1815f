#include "platform/MountTable.h"

#include <array>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sys/sysmacros.h>

namespace pellmora {

namespace {

// The next space-separated field of a line, advancing past it.
std::string_view NextField(std::string_view& line) {
    const size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        line = {};
        return {};
    }
    line.remove_prefix(start);
    const size_t end = line.find(' ');
    const std::string_view field = line.substr(0, end);
    line.remove_prefix(end == std::string_view::npos ? line.size() : end);
    return field;
}

std::optional<uint64_t> ParseDevice(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    unsigned major = 0;
    unsigned minor = 0;
    const auto a = std::from_chars(text.data(), text.data() + colon, major);
    const auto b = std::from_chars(text.data() + colon + 1, text.data() + text.size(), minor);
    if (a.ec != std::errc() || b.ec != std::errc() || a.ptr != text.data() + colon ||
        b.ptr != text.data() + text.size())
        return std::nullopt;
    return static_cast<uint64_t>(makedev(major, minor));
}

// The kernel writes space, tab, line feed and backslash in a mount point as "\ooo".
std::string Unescape(std::string_view field) {
    auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

// Line layout: id parent major:minor root mountpoint options [optional...] - type source ...
void ParseLine(std::string_view line, std::unordered_map<uint64_t, std::string>& types,
               std::vector<MountTable::MountPoint>& mountPoints) {
    NextField(line);
    NextField(line);
    const std::optional<uint64_t> device = ParseDevice(NextField(line));
    if (!device) return;
    NextField(line);
    const std::string_view mountPoint = NextField(line);
    for (std::string_view field = NextField(line); !field.empty(); field = NextField(line)) {
        if (field != "-") continue;
        const std::string_view type = NextField(line);
        if (type.empty()) return;
        types.emplace(*device, std::string(type));
        if (!mountPoint.empty() && mountPoint.front() == '/')
            mountPoints.push_back({Unescape(mountPoint), *device});
        return;
    }
}

// Whether path is folder or lies inside it, compared by whole names ("/mnt/a" does not contain
// "/mnt/ab").
bool Contains(std::string_view folder, std::string_view path) {
    if (folder == "/") return true;
    if (path.substr(0, folder.size()) != folder) return false;
    return path.size() == folder.size() || path[folder.size()] == '/';
}

} // namespace

MountTable MountTable::Parse(std::string_view mountinfo) {
    MountTable table;
    while (!mountinfo.empty()) {
        const size_t end = mountinfo.find('\n');
        ParseLine(mountinfo.substr(0, end), table.types_, table.mountPoints_);
        mountinfo.remove_prefix(end == std::string_view::npos ? mountinfo.size() : end + 1);
    }
    return table;
}

MountTable MountTable::ReadCurrent() {
    std::ifstream in("/proc/self/mountinfo", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(text);
}

const std::string* MountTable::TypeOf(uint64_t device) const {
    const auto it = types_.find(device);
    return it == types_.end() ? nullptr : &it->second;
}

std::string MountTable::MountPointContaining(std::string_view absolutePath) const {
    std::string best = "/";
    for (const MountPoint& point : mountPoints_)
        if (point.Path.size() > best.size() && Contains(point.Path, absolutePath))
            best = point.Path;
    return best;
}

std::vector<std::string> MountTable::MountPointsOf(uint64_t device) const {
    std::vector<std::string> points;
    for (const MountPoint& point : mountPoints_)
        if (point.Device == device) points.push_back(point.Path);
    return points;
}

bool IsVirtualFileSystemType(std::string_view type) {
    static constexpr std::array<std::string_view, 18> kernelTypes = {
        "proc",     "sysfs",   "devtmpfs",   "devpts",    "cgroup",      "cgroup2",
        "debugfs",  "tracefs", "securityfs", "configfs",  "bpf",         "pstore",
        "efivarfs", "fusectl", "mqueue",     "hugetlbfs", "binfmt_misc", "autofs"};
    for (const std::string_view known : kernelTypes)
        if (type == known) return true;
    return false;
}

bool KeepsChangeTime(std::string_view type) {
    static constexpr std::array<std::string_view, 9> kernelKept = {
        "ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "tmpfs", "zfs", "bcachefs"};
    for (const std::string_view known : kernelKept)
        if (type == known) return true;
    return false;
}

bool FileSystemTypeCheck::Holds(uint64_t device) {
    if (lastDevice_ == device) return lastVerdict_;
    lastDevice_ = device;
    const auto known = verdicts_.find(device);
    if (known != verdicts_.end()) return lastVerdict_ = known->second;
    if (!table_) table_ = MountTable::ReadCurrent();
    const std::string* type = table_->TypeOf(device);
    if (!type) {
        table_ = MountTable::ReadCurrent();
        type = table_->TypeOf(device);
    }
    lastVerdict_ = type && holds_(*type);
    verdicts_.emplace(device, lastVerdict_);
    return lastVerdict_;
}

} // namespace pellmora
