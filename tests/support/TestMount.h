#pragma once
// File systems mounted by a test for its own life, to see what the code does on a second device
// or a second mount of the same one. Mounting needs root; Mounted() is false otherwise and the
// tests that need it skip.

#include <string>

namespace pellmora::test {

// A mount on an existing folder, detached when it goes.
class ScopedMount {
  public:
    ~ScopedMount();
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;
    bool Mounted() const { return mounted_; }

  protected:
    // source, type, flags and options as mount(2) takes them.
    ScopedMount(const std::string& source, const std::string& folder, const char* type,
                unsigned long flags, const std::string& options);
    const std::string& Folder() const { return folder_; }

  private:
    std::string folder_;
    bool mounted_ = false;
};

// A small tmpfs.
class TmpfsMount : public ScopedMount {
  public:
    explicit TmpfsMount(const std::string& folder, const std::string& size = "1m");
    bool MakeReadOnly();
};

// A ramfs: memory like a tmpfs, but no extended attributes, so no ACLs.
class RamfsMount : public ScopedMount {
  public:
    explicit RamfsMount(const std::string& folder);
};

// folder shows source again: the same device, but another mount, across which rename fails.
class BindMount : public ScopedMount {
  public:
    BindMount(const std::string& source, const std::string& folder);
};

} // namespace pellmora::test
