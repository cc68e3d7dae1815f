#pragma once
// A result list shaped like a large search's: groups of two to five copies, ordered by falling
// size, names that partly repeat within a group, some twenty thousand folders.

#include "model/DuplicateTypes.h"

#include <random>

namespace pellmora::bench {

inline std::string GeneratedName(std::mt19937& random, int32_t group) {
    static const char* const stems[] = {"IMG_", "Report ", "track", "Scan ", "backup-", "Foto_"};
    static const char* const extensions[] = {".JPG", ".pdf", ".mp3", ".docx", ".tar.gz", ".png"};
    std::string name = stems[random() % 6];
    name += std::to_string(group % 50000);
    if (random() % 4 == 0) name += " (copy)";
    return name + extensions[random() % 6];
}

inline void FillDirTable(SearchState& state, std::mt19937& random, int32_t folders) {
    for (int32_t d = 0; d < folders; ++d) {
        std::string dir = "/home/user" + std::to_string(random() % 4) + "/";
        dir += (d % 3 == 0 ? "Pictures/" : d % 3 == 1 ? "music/" : "Documents/");
        dir += std::to_string(1990 + d % 30) + "/album " + std::to_string(d) + "/";
        AppendDir(state, dir);
    }
}

inline SearchState GeneratedResults(int32_t entries, uint32_t seed = 1) {
    SearchState state;
    std::mt19937 random(seed);
    FillDirTable(state, random, 20000);
    AllocateResultList(state);
    int32_t group = 0;
    int64_t size = int64_t{1} << 36;
    while (state.ResultLast + 1 < entries) {
        ++group;
        size -= 1 + static_cast<int64_t>(random() % 100000);
        const int32_t members = std::min<int32_t>(2 + static_cast<int32_t>(random() % 4),
                                                  entries - state.ResultLast - 1);
        const std::string name = GeneratedName(random, group);
        for (int32_t m = 0; m < std::max(members, 2); ++m) {
            TFileInfoType file;
            file.Size = size;
            file.Group = group;
            file.Candidate = 1;
            file.FileName = random() % 3 == 0 ? GeneratedName(random, group) : name;
            file.DirIndex = static_cast<int32_t>(random() % 20000);
            file.FileDate =
                static_cast<int32_t>((40u + random() % 40u) << 25 | random() % 0x1FFFFFFu);
            AppendResult(state, file);
        }
    }
    TrimResults(state);
    BuildViewOrder(state);
    return state;
}

} // namespace pellmora::bench
