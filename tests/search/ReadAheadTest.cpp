// The readers' bookkeeping: whatever was queued, read, called for by a run or remembered, once
// the search has taken what it asks for nothing is held for it any more. Anything left over
// would count against the plan's window for the rest of the search.

#include "search/ReadAhead.h"
#include "search/crc32tab.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace pellmora;

namespace {

ReadRequest Request(const std::string& path, ReadKind kind, int32_t run, bool wholeKnown = false) {
    struct stat st {};
    stat(path.c_str(), &st);
    return {path, st.st_size, {st.st_dev, st.st_ino}, kind, wholeKnown, run};
}

TEST(ReadAhead, WhatTheSearchTakesLeavesNothingHeld) {
    pellmora::test::TempTree tree;
    const int64_t size = 3 * BlockSize;
    const std::string a = tree.Pattern("a", size, 1);
    const std::string b = tree.Pattern("b", size, 1);
    const std::string c = tree.Pattern("c", size, 2);
    const std::string d = tree.Pattern("d", size, 1, size - 1);
    const OperationControl control;
    bool ok = false;
    const ContentDigest first = FirstBlockDigest(a, size, control, ok);
    ASSERT_TRUE(ok);

    ReadAhead ahead(3, true, true);
    ASSERT_TRUE(ahead.Usable());
    // d's first block and whole contents are remembered: the readers read neither, but its first
    // block counts for the run.
    ahead.Queue({Request(a, ReadKind::FirstBlock, 0), Request(b, ReadKind::FirstBlock, 0),
                 Request(c, ReadKind::FirstBlock, 0)},
                {{Request(d, ReadKind::FirstBlock, 0, true), first}});
    for (const std::string& path : {a, b, c}) {
        const auto outcome = ahead.Take(Request(path, ReadKind::FirstBlock, 0), control);
        ASSERT_TRUE(outcome && outcome->Ok) << path;
    }
    // a and b share their first block (with each other and with d): the run called for them.
    for (const std::string& path : {a, b}) {
        const auto outcome = ahead.Take(Request(path, ReadKind::WholeFile, -1), control);
        ASSERT_TRUE(outcome && outcome->Ok) << path;
        EXPECT_TRUE(outcome->Witness.Steady);
    }
    const ReadAheadLoad load = ahead.Load();
    EXPECT_EQ(load.Requests, 0u);
    EXPECT_EQ(load.PathBytes, 0u);
}

} // namespace
