#include "model/SortProcedures.h"

#include "model/LocaleContext.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace pellmora {
namespace {

class SortProceduresTest : public ::testing::Test {};

const TStringArr NoDirs;

// The sorts collate by the locale they are given, never by the host's.
SortContext English(const TStringArr& dirs = NoDirs) {
    static const LocaleContext english(QLocale(QLocale::English, QLocale::UnitedStates));
    return {dirs, english.Collator()};
}

TFileInfoType Sized(int64_t size, const std::string& name = {}) {
    TFileInfoType f;
    f.Size = size;
    f.FileName = name;
    return f;
}

// Records that share one key, told apart by their names "0", "1", ...
TFileList EqualSizes(int n) {
    TFileList list;
    for (int k = 0; k < n; ++k)
        list.push_back(Sized(7, std::to_string(k)));
    return list;
}

std::vector<int> NamesAsNumbers(const TFileList& list) {
    std::vector<int> out;
    for (const auto& f : list)
        out.push_back(std::stoi(f.FileName));
    return out;
}

std::vector<int> Sequence(int from, int to) {
    std::vector<int> out(static_cast<size_t>(to - from + 1));
    std::iota(out.begin(), out.end(), from);
    return out;
}

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

void SortSizes(TFileList& list, uint8_t descending, uint8_t stop = 0) {
    SortFileList(list, 0, static_cast<int32_t>(list.size()) - 1, &CompareSize, descending,
                 English(), OperationControl(stop, {}));
}

TEST_F(SortProceduresTest, SmallRangesAndTheSentinel) {
    TFileList two = {Sized(9, "b"), Sized(3, "a")};
    SortSizes(two, 0);
    EXPECT_EQ(two[0].FileName, "a");
    EXPECT_EQ(two[1].FileName, "b");

    // The sentinel swap alone reorders equal keys: B2 ends up before B1.
    TFileList three = {Sized(5, "B1"), Sized(5, "B2"), Sized(1, "A")};
    SortSizes(three, 0);
    EXPECT_EQ(three[0].FileName, "A");
    EXPECT_EQ(three[1].FileName, "B2");
    EXPECT_EQ(three[2].FileName, "B1");

    TFileList sixteen = EqualSizes(16);
    SortSizes(sixteen, 0);
    EXPECT_EQ(NamesAsNumbers(sixteen), Sequence(0, 15));

    TFileList none;
    int pumps = 0;
    SortFileList(none, 0, -1, &CompareSize, 0, English(), OperationControl([&] { ++pumps; }));
    EXPECT_EQ(pumps, 1); // a stop click is seen even by an empty sort
    TFileList one = {Sized(1)};
    SortSizes(one, 1);
    EXPECT_EQ(one.size(), 1u);
}

TEST_F(SortProceduresTest, EqualKeysArePermutedByThePartitionSwaps) {
    TFileList seventeen = EqualSizes(17);
    SortSizes(seventeen, 0);
    std::vector<int> inner = Sequence(1, 15);
    std::reverse(inner.begin(), inner.end());
    EXPECT_EQ(NamesAsNumbers(seventeen), Concat({{0}, inner, {16}}));

    TFileList twenty = EqualSizes(20);
    SortSizes(twenty, 1);
    inner = Sequence(1, 18);
    std::reverse(inner.begin(), inner.end());
    EXPECT_EQ(NamesAsNumbers(twenty), Concat({{0}, inner, {19}}));

    // Two levels of partitioning.
    TFileList forty = EqualSizes(40);
    SortSizes(forty, 0);
    EXPECT_EQ(NamesAsNumbers(forty),
              Concat({{0}, Sequence(21, 38), {20, 19}, Sequence(1, 18), {39}}));

    // Only lo..hi is touched, and the steps are the same relative to lo.
    TFileList offset = EqualSizes(19);
    SortFileList(offset, 1, 17, &CompareSize, 0, English(), {});
    inner = Sequence(2, 16);
    std::reverse(inner.begin(), inner.end());
    EXPECT_EQ(NamesAsNumbers(offset), Concat({{0, 1}, inner, {17, 18}}));
}

TEST_F(SortProceduresTest, DescendingFlag) {
    std::mt19937 random(7);
    TFileList list;
    for (int k = 0; k < 300; ++k)
        list.push_back(Sized(random() % 50));
    for (uint8_t flag : {0, 1, 2}) {
        TFileList copy = list;
        SortSizes(copy, flag);
        for (size_t k = 1; k < copy.size(); ++k) {
            if (flag == 1)
                EXPECT_GE(copy[k - 1].Size, copy[k].Size);
            else
                EXPECT_LE(copy[k - 1].Size, copy[k].Size);
        }
    }
    TFileInfoType a = Sized(1, "alpha"), b = Sized(2, "Beta");
    EXPECT_EQ(CompareFileName(a, b, 0, English()), -1);
    EXPECT_EQ(CompareFileName(a, b, 1, English()), 1);
    EXPECT_EQ(CompareFileName(a, b, 2, English()), -1);
    EXPECT_EQ(CompareSize(a, b, 1, English()), 1);
}

TEST_F(SortProceduresTest, StopDuringThePumpLeavesTheRangeOnlyPartitioned) {
    std::mt19937 random(11);
    TFileList list;
    for (int k = 0; k < 500; ++k)
        list.push_back(Sized(static_cast<int64_t>(k)));
    std::shuffle(list.begin(), list.end(), random);

    uint8_t stop = 0;
    int pumps = 0;
    SortFileList(list, 0, 499, &CompareSize, 0, English(), OperationControl(stop, [&] {
                     ++pumps;
                     stop = 1;
                 }));
    EXPECT_EQ(pumps, 1);
    bool sorted = true;
    for (size_t p = 0; p < list.size(); ++p) {
        if (p > 0 && list[p - 1].Size > list[p].Size) sorted = false;
        // Sub-ranges span at most 16 positions: anything 16 or more apart is in order.
        for (size_t q = p + 16; q < list.size(); ++q)
            ASSERT_LT(list[p].Size, list[q].Size);
    }
    EXPECT_FALSE(sorted);

    // The index sort runs its insertion pass though a stop is requested.
    TSortList order;
    for (int32_t k = 0; k < 500; ++k)
        order.push_back({k, 0});
    SortIndexList(list, order, English(), 0, 499, &CompareSize, 0,
                  OperationControl(stop, [&] { ++pumps; }));
    EXPECT_EQ(pumps, 2);
    for (int32_t k = 0; k < 500; ++k)
        EXPECT_EQ(list[static_cast<size_t>(order[k].Index)].Size, k);
}

TEST_F(SortProceduresTest, NumericComparators) {
    TFileInfoType a, b;
    a.Candidate = 0, b.Candidate = 1;
    EXPECT_EQ(CompareCandidate(a, b, 0, English()), -1);
    EXPECT_EQ(CompareCandidate(b, a, 0, English()), 1);
    EXPECT_EQ(CompareCandidate(b, b, 0, English()), 0);
    a.Candidate = 2;
    EXPECT_EQ(CompareCandidate(a, b, 0, English()), -1);
    EXPECT_EQ(CompareCandidate(b, a, 0, English()), -1);
    EXPECT_EQ(CompareCandidate(b, a, 1, English()), 1);

    a.Crc = 0x80000000u, b.Crc = 1;
    EXPECT_EQ(CompareCrc(a, b, 0, English()), 1);
    a.Size = -1, b.Size = 1;
    EXPECT_EQ(CompareSize(a, b, 0, English()), -1);
    a.FileDate = static_cast<int32_t>(0x80000000u), b.FileDate = 1;
    EXPECT_EQ(CompareFileDate(a, b, 0, English()), -1);
    EXPECT_EQ(CompareFileDate(b, b, 1, English()), 0);

    TFileList flags;
    for (uint8_t c : {1, 0, 1, 0, 0})
        flags.push_back(Sized(0)), flags.back().Candidate = c;
    SortFileList(flags, 0, 4, &CompareCandidate, 0, English(), {});
    for (size_t k = 0; k < flags.size(); ++k)
        EXPECT_EQ(flags[k].Candidate, k < 3 ? 0 : 1);
}

TEST_F(SortProceduresTest, TextComparatorsIgnoreCaseAndFollowTheLocale) {
    TFileInfoType a = Sized(0, "ReadMe.TXT"), b = Sized(0, "readme.txt");
    EXPECT_EQ(CompareFileName(a, b, 0, English()), 0);
    EXPECT_EQ(CompareFileName(a, b, 1, English()), 0);
    EXPECT_EQ(CompareFileName(Sized(0, "e\xCC\x81z"), Sized(0, "f"), 0, English()),
              -1); // é before f
    EXPECT_EQ(CompareFileName(Sized(0, "\xC3\xA9"), Sized(0, "E\xCC\x81"), 0, English()), 0);

    TStringArr dirs = {"/b/", "/A/", "/a/"};
    TFileInfoType x, y, z;
    x.DirIndex = 0, y.DirIndex = 1, z.DirIndex = 2;
    EXPECT_EQ(CompareDirectory(x, y, 0, English(dirs)), 1);
    EXPECT_EQ(CompareDirectory(y, z, 0, English(dirs)), 0);
    EXPECT_EQ(CompareDirectory(y, x, 1, English(dirs)), 1);
    EXPECT_EQ(CompareDirectory(x, y, 0, English()), 0); // no table: nothing read out of range

    // Names equal but for case: their order comes from the algorithm alone.
    TFileList names = {Sized(0, "b"), Sized(0, "A"), Sized(0, "B"), Sized(0, "a")};
    SortFileList(names, 0, 3, &CompareFileName, 0, English(), {});
    EXPECT_EQ(names[0].FileName, "A");
    EXPECT_EQ(names[1].FileName, "a");
    EXPECT_EQ(names[2].FileName, "b");
    EXPECT_EQ(names[3].FileName, "B");

    // Two contexts side by side: each sort keeps to its own collation.
    const LocaleContext german(QLocale(QLocale::German, QLocale::Germany));
    const LocaleContext swedish(QLocale(QLocale::Swedish, QLocale::Sweden));
    const TFileInfoType umlaut = Sized(0, "\xC3\xA4"), zed = Sized(0, "z");
    EXPECT_EQ(CompareFileName(umlaut, zed, 0, {NoDirs, german.Collator()}), -1);
    EXPECT_EQ(CompareFileName(umlaut, zed, 0, {NoDirs, swedish.Collator()}), 1);
}

// Many equal keys, case variants, accents, and bytes that are not UTF-8.
TFileList RandomRecords(std::mt19937& random, int n, TStringArr& dirs) {
    const std::vector<std::string> names = {"a.txt",
                                            "A.TXT",
                                            "b.txt",
                                            "\xC3\xA9t\xC3\xA9.jpg",
                                            "ETE.jpg",
                                            "e\xCC\x81te\xCC\x81.jpg",
                                            "z",
                                            "Z",
                                            "x\xFF.bin",
                                            "x\xFE.bin",
                                            "10.doc",
                                            "9.doc",
                                            "_a",
                                            "-a",
                                            "a b",
                                            "stra\xC3\x9F"
                                            "e",
                                            "STRASSE",
                                            "\xF0\x9F\x98\x80.png",
                                            "\xF0\x9F\x98\x81.png",
                                            ""};
    dirs = {"/", "/home/", "/Home/", "/home/a/", "/home/\xC3\x84/", "/home/b/", "/x\xFF/"};
    TFileList list;
    for (int k = 0; k < n; ++k) {
        TFileInfoType f = Sized(k);
        f.FileName = names[random() % names.size()];
        f.DirIndex = static_cast<int32_t>(random() % dirs.size());
        f.FileDate = static_cast<int32_t>(random() % 5) - 2;
        list.push_back(f);
    }
    return list;
}

TEST_F(SortProceduresTest, RankedIndexSortMatchesTheComparator) {
    std::mt19937 random(3);
    const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                               QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::Swedish, QLocale::Sweden), QLocale::c()};
    for (const QLocale& locale : locales) {
        const LocaleContext context(locale);
        TStringArr dirs;
        const TFileList list = RandomRecords(random, 3000, dirs);
        for (TFileInfoCompare compare : {&CompareFileName, &CompareDirectory, &CompareFileDate}) {
            for (uint8_t flag : {0, 1}) {
                TSortList order;
                for (int32_t k = 0; k < 3000; ++k)
                    order.push_back({k, k % 7});
                std::shuffle(order.begin(), order.end(), random);
                TSortList plain = order;
                const SortContext sort{dirs, context.Collator()};
                SortIndexList(list, order, sort, 5, 2990, compare, flag, {});
                SortIndexListByComparator(list, plain, sort, 5, 2990, compare, flag, {});
                for (size_t k = 0; k < order.size(); ++k) {
                    ASSERT_EQ(order[k].Index, plain[k].Index)
                        << locale.name().toStdString() << " at " << k;
                    ASSERT_EQ(order[k].Key, plain[k].Key);
                }
            }
        }
    }
}

} // namespace
} // namespace pellmora
