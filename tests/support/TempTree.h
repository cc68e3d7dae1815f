#pragma once
// A temporary folder tree for tests, removed with its contents when the object goes.

#include <cstdint>
#include <string>

namespace pellmora::test {

class TempTree {
  public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The root, ending in "/".
    const std::string& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return root_ + relative; }

    // Writes a file (parent folders made as needed) and returns its full path.
    std::string File(const std::string& relative, const std::string& content);
    // A file of size bytes: the byte pattern of seed, with the byte at flipAt changed if >= 0.
    std::string Pattern(const std::string& relative, int64_t size, int seed, int64_t flipAt = -1);
    std::string Dir(const std::string& relative);
    std::string Symlink(const std::string& relative, const std::string& target);
    // Sets the modification time (seconds since the epoch).
    void SetTime(const std::string& relative, int64_t seconds);

  private:
    std::string root_;
};

} // namespace pellmora::test
