#include "search/crc32tab.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <xxhash.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

namespace pellmora {
namespace {

using test::TempTree;

constexpr CrcPath AllPaths[] = {CrcPath::Table, CrcPath::Slicing, CrcPath::Clmul,
                                CrcPath::Clmul512};

std::vector<unsigned char> RandomBytes(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<unsigned char> bytes(n);
    for (auto& b : bytes)
        b = static_cast<unsigned char>(random());
    return bytes;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t ReferenceCrc(const std::string& bytes) {
    return ~CrcFoldTable(0xFFFFFFFF, bytes.data(), bytes.size());
}

size_t OpenDescriptors() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                             std::filesystem::directory_iterator()));
}

TEST(Crc32, TableAndCheckValue) {
    EXPECT_EQ(CrcTable[0], 0u);
    EXPECT_EQ(CrcTable[1], 0x77073096u);
    EXPECT_EQ(CrcTable[255], 0x2D02EF8Du);
    const std::string digits = "123456789";
    EXPECT_EQ(ReferenceCrc(digits), 0xCBF43926u);
    EXPECT_EQ(~CrcFold(0xFFFFFFFF, digits.data(), digits.size()), 0xCBF43926u);
    uint32_t crc = 0xFFFFFFFF;
    UpdateCrc(digits.data(), static_cast<uint16_t>(digits.size()), crc);
    EXPECT_EQ(~crc, 0xCBF43926u);
    EXPECT_TRUE(CrcPathAvailable(FastestCrcPath()));
}

// Short lengths cross every stride and tail boundary of the fast paths, at every alignment.
TEST(Crc32, EveryPathMatchesTableOnShortBuffers) {
    const auto bytes = RandomBytes(320, 1);
    for (CrcPath path : AllPaths) {
        if (!CrcPathAvailable(path)) continue;
        for (size_t align = 0; align < 16; ++align) {
            for (size_t length = 0; length <= 300; ++length) {
                for (uint32_t start : {0xFFFFFFFFu, 0u, 0x12345678u}) {
                    const auto* p = bytes.data() + align;
                    ASSERT_EQ(CrcFoldBy(path, start, p, length), CrcFoldTable(start, p, length))
                        << "path " << static_cast<int>(path) << " align " << align << " length "
                        << length;
                }
            }
        }
    }
}

TEST(Crc32, EveryPathMatchesTableOnLargeBuffersAndPieces) {
    const auto bytes = RandomBytes((1 << 20) + 64, 2);
    std::mt19937 random(3);
    std::vector<size_t> lengths = {511, 512, 513, 1023, 1024, 1025, 65521, 65536, 1 << 20};
    for (int i = 0; i < 20; ++i)
        lengths.push_back(random() % (1 << 20));
    for (CrcPath path : AllPaths) {
        if (!CrcPathAvailable(path)) continue;
        for (size_t length : lengths) {
            const size_t align = random() % 64;
            const auto* p = bytes.data() + align;
            const uint32_t whole = CrcFoldTable(0xFFFFFFFF, p, length);
            ASSERT_EQ(CrcFoldBy(path, 0xFFFFFFFF, p, length), whole) << length;
            // Folding in pieces carries the running value between calls.
            const size_t cut = length / 3 + 1;
            if (cut > length) continue;
            const uint32_t first = CrcFoldBy(path, 0xFFFFFFFF, p, cut);
            ASSERT_EQ(CrcFoldBy(path, first, p + cut, length - cut), whole) << length;
        }
    }
    EXPECT_EQ(CrcFold(0xFFFFFFFF, bytes.data(), bytes.size()),
              CrcFoldTable(0xFFFFFFFF, bytes.data(), bytes.size()));
}

struct Recorder {
    uint8_t stopFlag = 0;
    int pumps = 0;
    int stopAtPump = 0; // raises the stop flag at this pump; 0 never
    size_t maxDescriptors = 0;
    OperationControl Control() {
        return OperationControl(stopFlag, [this] {
            ++pumps;
            maxDescriptors = std::max(maxDescriptors, OpenDescriptors());
            if (pumps == stopAtPump) stopFlag = 1;
        });
    }
};

TEST(FileCrc, WholeFilesAndFirstBlocks) {
    TempTree tree;
    Recorder r;
    bool ok = false;
    EXPECT_EQ(FileCrc(tree.File("empty", ""), 0, r.Control(), ok), 0u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(FileCrc(tree.File("digits", "123456789"), 9, r.Control(), ok), 0xCBF43926u);
    EXPECT_TRUE(ok);

    // A file of exactly one block takes two reads, the second empty.
    const std::string block = tree.Pattern("block", BlockSize, 1);
    r.pumps = 0;
    const uint32_t blockCrc = FileCrc(block, BlockSize, r.Control(), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(r.pumps, 2);
    EXPECT_EQ(blockCrc, ReferenceCrc(ReadAll(block)));
    EXPECT_EQ(FirstBlockCrc(block, BlockSize, r.Control(), ok), blockCrc);
    EXPECT_TRUE(ok);

    const std::string big = tree.Pattern("big", 200000, 2);
    const std::string content = ReadAll(big);
    // The second checksum, folded block by block, is the XXH3-128 of the whole content.
    const XXH128_hash_t wide = XXH3_128bits(content.data(), content.size());
    const ContentDigest digest = FileDigest(big, 200000, r.Control(), ok);
    EXPECT_EQ(digest, (ContentDigest{ReferenceCrc(content), wide.high64, wide.low64}));
    const XXH128_hash_t first = XXH3_128bits(content.data(), BlockSize);
    EXPECT_EQ(FirstBlockDigest(big, 200000, r.Control(), ok).Low, first.low64);
    r.pumps = 0;
    EXPECT_EQ(FileCrc(big, 200000, r.Control(), ok), ReferenceCrc(content));
    EXPECT_TRUE(ok);
    EXPECT_EQ(r.pumps, 4) << "the short last block ends the file without another read";
    r.pumps = 0;
    EXPECT_EQ(FirstBlockCrc(big, 200000, r.Control(), ok),
              ReferenceCrc(content.substr(0, BlockSize)));
    EXPECT_TRUE(ok);
    EXPECT_EQ(r.pumps, 1);
}

TEST(FileCrc, UnreadableOrResizedFilesFail) {
    TempTree tree;
    Recorder r;
    const std::string fifo = tree.Path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string target = tree.File("target", "abc");
    for (const std::string& path :
         {tree.Path("missing"), tree.Dir("folder"), fifo, tree.Symlink("link", target)}) {
        bool ok = true;
        EXPECT_EQ(FileCrc(path, 3, r.Control(), ok), 0u) << path;
        EXPECT_FALSE(ok) << path;
        ok = true;
        EXPECT_EQ(FirstBlockCrc(path, 3, r.Control(), ok), 0u) << path;
        EXPECT_FALSE(ok) << path;
    }

    const std::string small = tree.Pattern("small", 100, 3);
    const std::string big = tree.Pattern("big", 200000, 3);
    bool ok = true;
    for (int64_t listed : {99, 101, 0}) {
        FileCrc(small, listed, r.Control(), ok);
        EXPECT_FALSE(ok) << listed;
    }
    FirstBlockCrc(small, 101, r.Control(), ok);
    EXPECT_FALSE(ok);
    FirstBlockCrc(small, 99, r.Control(), ok);
    EXPECT_FALSE(ok);
    for (int64_t listed : {199999, 200001}) {
        FileCrc(big, listed, r.Control(), ok);
        EXPECT_FALSE(ok) << listed;
    }
    // The first block alone cannot tell; the whole-file check will.
    FirstBlockCrc(big, 200001, r.Control(), ok);
    EXPECT_TRUE(ok);
}

TEST(FileCrc, StopEndsReadingAndClosesTheFile) {
    TempTree tree;
    const std::string big = tree.Pattern("big", 200000, 4);
    const size_t before = OpenDescriptors();
    Recorder r;
    r.stopAtPump = 1;
    bool ok = false;
    FileCrc(big, 200000, r.Control(), ok);
    EXPECT_EQ(r.pumps, 1);
    EXPECT_EQ(r.maxDescriptors, before + 1); // the file was open while the pump ran
    r.stopFlag = 0;
    r.pumps = 0;
    EXPECT_EQ(FirstBlockCrc(big, 200000, r.Control(), ok), 1u);
    EXPECT_EQ(OpenDescriptors(), before);
}

std::vector<int32_t> Compare(const std::vector<std::string>& paths, int64_t size, Recorder& r,
                             size_t maxOpen = static_cast<size_t>(-1)) {
    TFileCompareArr files;
    for (size_t i = 0; i < paths.size(); ++i)
        files.push_back({static_cast<int32_t>(i), -7, paths[i]});
    if (maxOpen == static_cast<size_t>(-1))
        CompareFileGroup(files, size, r.Control());
    else
        CompareFileGroup(files, size, r.Control(), maxOpen);
    std::vector<int32_t> groups;
    for (const auto& f : files)
        groups.push_back(f.SubGroup);
    return groups;
}

using Groups = std::vector<int32_t>;

TEST(CompareFileGroup, SubgroupsInOrderOfFirstFile) {
    TempTree tree;
    Recorder r;
    for (int64_t size : {int64_t{100}, int64_t{200000}}) {
        const std::string s = std::to_string(size);
        const std::string a = tree.Pattern("a" + s, size, 1), b = tree.Pattern("b" + s, size, 2);
        const std::string c = tree.Pattern("c" + s, size, 1), d = tree.Pattern("d" + s, size, 2);
        EXPECT_EQ(Compare({a, c, tree.Pattern("e" + s, size, 1)}, size, r), (Groups{1, 1, 1}));
        EXPECT_EQ(Compare({a, b, c, d}, size, r), (Groups{1, 2, 1, 2}));
        EXPECT_EQ(Compare({b, a, d, c, tree.Pattern("x" + s, size, 3)}, size, r),
                  (Groups{1, 2, 1, 2, 0}));
    }
    // Differing only in the last byte: found in the last pass with data, the fourth.
    const std::string last = tree.Pattern("last", 200000, 1, 199999);
    r.pumps = 0;
    EXPECT_EQ(Compare({tree.Path("a200000"), last}, 200000, r), (Groups{0, 0}));
    EXPECT_EQ(r.pumps, 4);
    EXPECT_EQ(Compare({tree.File("e1", ""), tree.File("e2", "")}, 0, r), (Groups{1, 1}));
}

TEST(CompareFileGroup, UnreadableAndResizedFilesAreNeverGrouped) {
    TempTree tree;
    Recorder r;
    const std::string fifo = tree.Path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string a1 = tree.Pattern("a1", 100, 1), a2 = tree.Pattern("a2", 100, 1);
    const std::string b1 = tree.Pattern("b1", 100, 2), b2 = tree.Pattern("b2", 100, 2);
    EXPECT_EQ(Compare({a1, tree.Path("missing"), a2, tree.Dir("dir"), b1, fifo, b2,
                       tree.Symlink("link", a1)},
                      100, r),
              (Groups{1, 0, 1, 0, 2, 0, 2, 0}));

    // Longer and shorter copies agree with each other, but not with the listed size.
    const std::string content = ReadAll(a1);
    const std::string longer1 = tree.File("l1", content + "z"),
                      longer2 = tree.File("l2", content + "z");
    const std::string shorter1 = tree.File("s1", content.substr(0, 99));
    const std::string shorter2 = tree.File("s2", content.substr(0, 99));
    EXPECT_EQ(Compare({longer1, a1, longer2, shorter1, shorter2, a2}, 100, r),
              (Groups{0, 1, 0, 0, 0, 1}));
    EXPECT_EQ(Compare({longer1, longer2}, 100, r), (Groups{0, 0}));
    EXPECT_EQ(Compare({shorter1, shorter2}, 100, r), (Groups{0, 0}));
    const std::string big = ReadAll(tree.Pattern("big", 200000, 5));
    EXPECT_EQ(
        Compare({tree.File("g1", big + "!"), tree.File("g2", big + "!"),
                 tree.File("g3", big.substr(0, 196563)), tree.File("g4", big.substr(0, 196563)),
                 tree.File("g5", big), tree.File("g6", big)},
                200000, r),
        (Groups{0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(Compare({tree.File("e1", ""), tree.File("e2", "x")}, 0, r), (Groups{0, 0}));
}

TEST(CompareFileGroup, StopEndsAfterThePassAndClosesEveryFile) {
    TempTree tree;
    std::vector<std::string> paths;
    for (int i = 0; i < 4; ++i)
        paths.push_back(tree.Pattern("f" + std::to_string(i), 200000, 1));
    const size_t before = OpenDescriptors();
    Recorder r;
    r.stopAtPump = 1;
    Compare(paths, 200000, r);
    EXPECT_EQ(r.pumps, 1);
    EXPECT_EQ(r.maxDescriptors, before + 4);
    EXPECT_EQ(OpenDescriptors(), before);
}

// Reference: every byte compared, numbered in order of each subgroup's first file.
Groups ExpectedGroups(const std::vector<std::string>& paths, int64_t size) {
    std::map<std::string, std::pair<int, int32_t>> seen; // content: count, group
    std::vector<std::string> contents;
    for (const auto& path : paths) {
        std::error_code ec;
        const bool readable =
            std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ec));
        contents.push_back(readable ? ReadAll(path) : std::string());
        if (readable && static_cast<int64_t>(contents.back().size()) == size)
            ++seen[contents.back()].first;
    }
    Groups groups;
    int32_t next = 1;
    for (const auto& content : contents) {
        auto it = seen.find(content);
        if (it == seen.end() || it->second.first < 2) {
            groups.push_back(0);
            continue;
        }
        if (it->second.second == 0) it->second.second = next++;
        groups.push_back(it->second.second);
    }
    return groups;
}

TEST(CompareFileGroup, FewerOpenFilesGiveTheSameSubgroups) {
    TempTree tree;
    std::mt19937 random(7);
    for (int64_t size : {int64_t{5}, int64_t{140000}}) {
        std::vector<std::string> paths;
        for (int i = 0; i < 40; ++i) {
            const std::string name = std::to_string(size) + "-" + std::to_string(i);
            const int seed = static_cast<int>(random() % 8);
            // Some copies differ in their last byte only, some are unreadable or too long.
            const int64_t flip = random() % 5 == 0 ? size - 1 : -1;
            if (i % 13 == 5)
                paths.push_back(tree.Path(name + "-missing"));
            else if (i % 17 == 3)
                paths.push_back(
                    tree.File(name, ReadAll(tree.Pattern(name + "t", size, seed)) + "x"));
            else
                paths.push_back(tree.Pattern(name, size, seed, flip));
        }
        const Groups expected = ExpectedGroups(paths, size);
        ASSERT_GT(*std::max_element(expected.begin(), expected.end()), 2);
        const size_t before = OpenDescriptors();
        for (size_t maxOpen : {size_t{0}, size_t{1}, size_t{3}, size_t{16}, size_t{1000}}) {
            Recorder r;
            EXPECT_EQ(Compare(paths, size, r, maxOpen), expected) << size << " " << maxOpen;
            EXPECT_LE(r.maxDescriptors, before + maxOpen) << maxOpen;
            EXPECT_EQ(OpenDescriptors(), before);
        }
        Recorder r;
        EXPECT_EQ(Compare(paths, size, r), expected);
    }
}

TEST(CompareFileGroup, FilesReplacedBetweenPassesAreOut) {
    TempTree tree;
    const std::string a = tree.Pattern("a", 140000, 1), b = tree.Pattern("b", 140000, 1);
    const std::string c = tree.Pattern("c", 140000, 1);
    TFileCompareArr files = {{0, 0, a}, {1, 0, b}, {2, 0, c}};
    Recorder r;
    // After the first pass c is replaced by another file of the same content.
    const std::string replacement = tree.Pattern("r", 140000, 1);
    EventPump pump = [&] {
        if (++r.pumps == 1) std::filesystem::rename(replacement, c);
    };
    CompareFileGroup(files, 140000, OperationControl(pump), 1);
    EXPECT_EQ(files[0].SubGroup, 1);
    EXPECT_EQ(files[1].SubGroup, 1);
    EXPECT_EQ(files[2].SubGroup, 0);
}

TEST(OpenFileLimit, RaisedToTheHardLimit) {
    RaiseOpenFileLimit();
    struct rlimit limit {};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    if (limit.rlim_max != RLIM_INFINITY) {
        EXPECT_EQ(limit.rlim_cur, limit.rlim_max);
    }
}

} // namespace
} // namespace pellmora
