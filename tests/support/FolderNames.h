#pragma once
// The names in a folder, sorted: what a test compares to see that nothing was left behind.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace pellmora::test {

inline std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace pellmora::test
