#pragma once
// An XFS with shared extents (reflink) on a sparse image file, loop-mounted on a folder for a
// test's life; and a look at a file's extents. Mounting needs root and xfsprogs: Mounted() is
// false otherwise and the tests that need it skip.

#include <string>

namespace pellmora::test {

class LoopMount {
  public:
    explicit LoopMount(const std::string& folder, const std::string& size = "300M");
    ~LoopMount();
    LoopMount(const LoopMount&) = delete;
    LoopMount& operator=(const LoopMount&) = delete;
    bool Mounted() const { return mounted_; }

  private:
    std::string folder_;
    std::string image_;
    bool mounted_ = false;
};

// Every extent of the file is marked shared (FIEMAP_EXTENT_SHARED); false for a file without
// extents or one FIEMAP cannot read.
bool AllExtentsShared(const std::string& path);

} // namespace pellmora::test
