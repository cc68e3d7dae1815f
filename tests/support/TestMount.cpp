#include "support/TestMount.h"

#include <sys/mount.h>

namespace pellmora::test {

ScopedMount::ScopedMount(const std::string& source, const std::string& folder, const char* type,
                         unsigned long flags, const std::string& options)
    : folder_(folder) {
    mounted_ = mount(source.c_str(), folder.c_str(), type, flags,
                     options.empty() ? nullptr : options.c_str()) == 0;
}

ScopedMount::~ScopedMount() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
}

TmpfsMount::TmpfsMount(const std::string& folder, const std::string& size)
    : ScopedMount("tmpfs", folder, "tmpfs", 0, "size=" + size + ",mode=0755") {}

bool TmpfsMount::MakeReadOnly() {
    return Mounted() &&
           mount("tmpfs", Folder().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

RamfsMount::RamfsMount(const std::string& folder)
    : ScopedMount("ramfs", folder, "ramfs", 0, "mode=0755") {}

BindMount::BindMount(const std::string& source, const std::string& folder)
    : ScopedMount(source, folder, nullptr, MS_BIND, "") {}

} // namespace pellmora::test
