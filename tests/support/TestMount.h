#pragma once
// File systems mounted by a test for its own life, to see what the code does on a second device
// or a second mount of the same one. Mounting needs root; Mounted() is false otherwise and the
// tests that need it skip.

#include <string>

namespace pellmora::test {

// A small tmpfs on an existing folder.
class TmpfsMount {
  public:
    explicit TmpfsMount(const std::string& folder, const std::string& size = "1m");
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;
    bool Mounted() const { return mounted_; }
    bool MakeReadOnly();

  private:
    std::string folder_;
    bool mounted_ = false;
};

// A ramfs on an existing folder: memory like a tmpfs, but no extended attributes, so no ACLs.
class RamfsMount {
  public:
    explicit RamfsMount(const std::string& folder);
    ~RamfsMount();
    RamfsMount(const RamfsMount&) = delete;
    RamfsMount& operator=(const RamfsMount&) = delete;
    bool Mounted() const { return mounted_; }

  private:
    std::string folder_;
    bool mounted_ = false;
};

// folder shows source again: the same device, but another mount, across which rename fails.
class BindMount {
  public:
    BindMount(const std::string& source, const std::string& folder);
    ~BindMount();
    BindMount(const BindMount&) = delete;
    BindMount& operator=(const BindMount&) = delete;
    bool Mounted() const { return mounted_; }

  private:
    std::string folder_;
    bool mounted_ = false;
};

} // namespace pellmora::test
