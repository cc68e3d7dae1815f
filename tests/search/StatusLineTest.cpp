#include "search/StatusLine.h"

#include <gtest/gtest.h>

namespace pellmora {
namespace {

// Folder names are shown as they are: a "%1" or "%2" in one is no place for the count.
TEST(StatusLineTest, ScanTextShowsTheFolderVerbatimAndTheFilesTaken) {
    const std::tuple<std::string, int32_t, QString> cases[] = {
        {"/data/", -1, "Scan \"/data/\"...  0 Files"},
        {"/a %1 %2/", 4, "Scan \"/a %1 %2/\"...  5 Files"},
        {"/caf\xc3\xa9/", 1186, "Scan \"/caf\u00e9/\"...  1187 Files"},
    };
    for (const auto& [dir, last, expected] : cases) {
        SearchState state;
        state.CurrentDir = dir;
        state.ScanLast = last;
        EXPECT_EQ(ScanStatusText(state), expected) << dir;
    }
}

} // namespace
} // namespace pellmora
