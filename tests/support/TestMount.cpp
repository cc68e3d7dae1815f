#include "support/TestMount.h"

#include <sys/mount.h>

namespace pellmora::test {

TmpfsMount::TmpfsMount(const std::string& folder, const std::string& size) : folder_(folder) {
    const std::string options = "size=" + size + ",mode=0755";
    mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

TmpfsMount::~TmpfsMount() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
}

bool TmpfsMount::MakeReadOnly() {
    return mounted_ &&
           mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

RamfsMount::RamfsMount(const std::string& folder) : folder_(folder) {
    mounted_ = mount("ramfs", folder.c_str(), "ramfs", 0, "mode=0755") == 0;
}

RamfsMount::~RamfsMount() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
}

BindMount::BindMount(const std::string& source, const std::string& folder) : folder_(folder) {
    mounted_ = mount(source.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

BindMount::~BindMount() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
}

} // namespace pellmora::test
