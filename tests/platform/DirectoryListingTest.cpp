#include "platform/DirectoryListing.h"

#include "support/TempTree.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace pellmora {
namespace {

// Runs a test under a fixed time zone and puts the old one back.
class TimeZone {
  public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (old_.empty())
            unsetenv("TZ");
        else
            setenv("TZ", old_.c_str(), 1);
        tzset();
    }

  private:
    std::string old_;
};

int32_t Dos(int year, int month, int day, int hour, int minute, int second) {
    const auto date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
    const auto time = static_cast<uint32_t>((hour << 11) | (minute << 5) | (second / 2));
    return static_cast<int32_t>(date << 16 | time);
}

TEST(DirectoryListingTest, DosDateTimeOfKnownDates) {
    TimeZone utc("UTC0");
    EXPECT_EQ(DosDateTime(1614834369), Dos(2021, 3, 4, 5, 6, 8)); // 2021-03-04 05:06:09
    EXPECT_EQ(DosDateTime(315532800), Dos(1980, 1, 1, 0, 0, 0));
    EXPECT_EQ(DosDateTime(315532799), 0);                              // 1979-12-31 23:59:59
    EXPECT_EQ(DosDateTime(4354819198), Dos(2107, 12, 31, 23, 59, 58)); // high bit set
    EXPECT_EQ(DosDateTime(4354819200), 0);                             // 2108-01-01
    EXPECT_EQ(DosDateTime(951782400), Dos(2000, 2, 29, 0, 0, 0));      // leap day
    TimeZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(DosDateTime(1614834369), Dos(2021, 3, 4, 6, 6, 8));
    EXPECT_EQ(DosDateTime(1625367600), Dos(2021, 7, 4, 5, 0, 0)); // summer time: +2
}

// The per-hour cache must give what the time zone database gives, also across offset changes
// that do not fall on a whole UTC hour.
TEST(DirectoryListingTest, CachedConversionAgreesAcrossOffsetChanges) {
    for (const char* zone : {"CET-1CEST,M3.5.0,M10.5.0/3", "NST3:30NDT,M3.2.0,M11.1.0",
                             "LHST-10:30LHDT-11,M10.1.0,M4.1.0"}) {
        TimeZone tz(zone);
        DosTimeConverter converter;
        int mismatches = 0;
        for (time_t t = 1609459200; t < 1609459200 + 366LL * 86400; t += 617)
            mismatches += converter.Convert(t) != DosDateTime(t);
        EXPECT_EQ(mismatches, 0) << zone;
        EXPECT_EQ(converter.Convert(-5), 0);
        EXPECT_EQ(converter.Convert(5000000000), 0);
    }
}

TEST(DirectoryListingTest, ListsEntriesWithTypesAndStatus) {
    test::TempTree tree;
    tree.File("file.txt", "abc");
    tree.File("ro.txt", "x");
    chmod(tree.Path("ro.txt").c_str(), 0444);
    tree.Dir("sub");
    tree.Symlink("to-sub", tree.Path("sub"));
    tree.Symlink("to-file", tree.Path("file.txt"));
    tree.Symlink("dangling", tree.Path("nowhere"));

    DirectoryListing listing;
    EXPECT_FALSE(listing.Open(tree.Path("missing")));
    EXPECT_FALSE(listing.Open(tree.Path("file.txt")));
    ASSERT_TRUE(listing.Open(tree.Root()));
    listing.ReadEntries();

    std::vector<std::string> expected;
    for (const auto& entry : std::filesystem::directory_iterator(tree.Root()))
        expected.push_back(entry.path().filename().string());
    std::vector<std::string> names;
    for (size_t i = 0; i < listing.Count(); ++i)
        names.emplace_back(listing.Name(i));
    EXPECT_EQ(names, expected); // listing order, without "." and ".."

    auto index = [&](const std::string& name) {
        return static_cast<size_t>(std::find(names.begin(), names.end(), name) - names.begin());
    };
    FileStatus status;
    ASSERT_TRUE(listing.StatEntry(index("file.txt"), status));
    EXPECT_TRUE(status.IsRegular);
    EXPECT_EQ(status.Size, 3);
    EXPECT_EQ(status.Attributes, 0x80u);
    ASSERT_TRUE(listing.StatEntry(index("ro.txt"), status));
    EXPECT_EQ(status.Attributes, 0x01u);
    ASSERT_TRUE(listing.StatEntry(index("to-file"), status));
    EXPECT_FALSE(status.IsRegular); // the link itself

    std::vector<std::string> folders;
    for (const uint32_t i : listing.FindSubfolders())
        folders.emplace_back(listing.Name(i));
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::string>{"sub", "to-sub"}));

    struct stat rootStat {};
    ASSERT_EQ(stat(tree.Root().c_str(), &rootStat), 0);
    EXPECT_EQ(listing.Identity().Inode, static_cast<uint64_t>(rootStat.st_ino));
    EXPECT_EQ(listing.Identity().Device, static_cast<uint64_t>(rootStat.st_dev));
    listing.Close();
    EXPECT_FALSE(listing.StatEntry(0, status)); // closed: asks nothing
}

} // namespace
} // namespace pellmora
