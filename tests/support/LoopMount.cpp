#include "support/LoopMount.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace pellmora::test {

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

LoopMount::LoopMount(const std::string& folder, const std::string& size) : folder_(folder) {
    if (geteuid() != 0) return;
    std::string pattern = (std::filesystem::temp_directory_path() / "pellmora-xfs-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return;
    close(fd);
    image_ = pattern;
    mounted_ = Run("truncate -s " + size + " " + Quoted(image_)) &&
               Run("mkfs.xfs -q -f -m reflink=1 " + Quoted(image_)) &&
               Run("mount -o loop " + Quoted(image_) + " " + Quoted(folder_));
}

LoopMount::~LoopMount() {
    // A plain unmount frees the loop device at once; a lazy one only when nothing holds it.
    if (mounted_ && umount(folder_.c_str()) != 0) umount2(folder_.c_str(), MNT_DETACH);
    if (!image_.empty()) unlink(image_.c_str());
}

bool AllExtentsShared(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    constexpr unsigned Slots = 256;
    std::vector<char> buffer(sizeof(fiemap) + Slots * sizeof(fiemap_extent));
    auto* map = reinterpret_cast<fiemap*>(buffer.data());
    map->fm_length = FIEMAP_MAX_OFFSET;
    map->fm_flags = FIEMAP_FLAG_SYNC;
    map->fm_extent_count = Slots;
    const bool read = ioctl(fd, FS_IOC_FIEMAP, map) == 0;
    close(fd);
    if (!read || map->fm_mapped_extents == 0) return false;
    for (unsigned k = 0; k < map->fm_mapped_extents; ++k)
        if ((map->fm_extents[k].fe_flags & FIEMAP_EXTENT_SHARED) == 0) return false;
    return true;
}

} // namespace pellmora::test
