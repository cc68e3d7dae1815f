// Sharing a kept copy's data chunk by chunk on a loop-mounted XFS: a tail shorter than a chunk,
// and a difference in the last chunk, which leaves the file's bytes as they were.

#include "platform/SharedData.h"
#include "support/FileText.h"
#include "support/LoopMount.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

using namespace pellmora;
using namespace pellmora::test;

namespace {

TEST(SharedData, ChunkByChunkUntilTheFirstChunkThatDiffers) {
    TempTree tree;
    LoopMount xfs(tree.Dir("xfs"));
    if (!xfs.Mounted()) GTEST_SKIP() << "needs root and mkfs.xfs";
    struct Case {
        const char* Name;
        int64_t Size;
        int64_t FlipAt; // -1: equal
        bool Ok;
    };
    const Case cases[] = {
        {"a tail shorter than a chunk", 5 * 65536 + 1234, -1, true},
        {"a byte in the last chunk differs", 4 * 65536, 4 * 65536 - 1, false},
        {"the first byte differs", 2 * 65536, 0, false},
    };
    for (const Case& c : cases) {
        const std::string kept = tree.Pattern("xfs/k", c.Size, 1);
        const std::string target = tree.Pattern("xfs/t", c.Size, 1, c.FlipAt);
        const std::string before = FileText(target);
        const ShareResult result = ShareDataFrom(kept, target, 65536);
        EXPECT_EQ(result.Ok(), c.Ok) << c.Name;
        EXPECT_EQ(result.Differs, !c.Ok) << c.Name;
        EXPECT_EQ(result.Error, 0) << c.Name;
        EXPECT_EQ(AllExtentsShared(target), c.Ok) << c.Name;
        EXPECT_EQ(FileText(target), before) << c.Name;
    }
}

} // namespace
