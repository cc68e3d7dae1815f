#include "support/TempTree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>
#include <vector>

namespace fs = std::filesystem;

namespace pellmora::test {

TempTree::TempTree() {
    std::string pattern = (fs::temp_directory_path() / "pellmora-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
    root_ = std::string(buffer.data()) + "/";
}

TempTree::~TempTree() {
    std::error_code ec;
    // Unreadable folders made by a test would stop the removal.
    for (auto it = fs::recursive_directory_iterator(
             root_, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) chmod(it->path().c_str(), 0755);
    }
    chmod(root_.c_str(), 0755);
    fs::remove_all(root_, ec);
}

std::string TempTree::File(const std::string& relative, const std::string& content) {
    const fs::path path = root_ + relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return path.string();
}

std::string TempTree::Pattern(const std::string& relative, int64_t size, int seed, int64_t flipAt) {
    std::string content(static_cast<size_t>(size), '\0');
    uint32_t x = 2463534242u ^ static_cast<uint32_t>(seed * 7919 + 1);
    for (auto& c : content) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    if (flipAt >= 0 && flipAt < size) content[static_cast<size_t>(flipAt)] ^= 0x5A;
    return File(relative, content);
}

std::string TempTree::Dir(const std::string& relative) {
    fs::create_directories(root_ + relative);
    return root_ + relative;
}

std::string TempTree::Symlink(const std::string& relative, const std::string& target) {
    const fs::path path = root_ + relative;
    fs::create_directories(path.parent_path());
    fs::create_symlink(target, path);
    return path.string();
}

void TempTree::SetTime(const std::string& relative, int64_t seconds) {
    struct utimbuf times {};
    times.actime = static_cast<time_t>(seconds);
    times.modtime = static_cast<time_t>(seconds);
    utime((root_ + relative).c_str(), &times);
}

} // namespace pellmora::test
