#include "model/MessagePrompter.h"

#include <gtest/gtest.h>

namespace pellmora {
namespace {

TEST(ErrorReportTextTest, PeriodAppendedOnlyAfterCharactersSortingAfterIt) {
    EXPECT_EQ(ErrorReportText("Out of memory"), "Out of memory.");
    EXPECT_EQ(ErrorReportText("Done."), "Done.");
    EXPECT_EQ(ErrorReportText("Failed!"), "Failed!");
    EXPECT_EQ(ErrorReportText(""), "");
    EXPECT_EQ(PromptCaption(PromptKind::Confirm), "Confirm");
}

TEST(MessageBoxTextTest, LineFeedCarriageReturnIsOneLineBreak) {
    EXPECT_EQ(MessageBoxText(PromptKind::Information, "Done.\n\rFiles: 3\n\r\n\rEnd"),
              "Done.\nFiles: 3\n\nEnd");
    EXPECT_EQ(MessageBoxText(PromptKind::ErrorReport, "Out of memory\n\rnow"),
              "Out of memory\nnow.");
    EXPECT_EQ(MessageBoxText(PromptKind::Error, "a\r\nb"), "a\r\nb");
}

} // namespace
} // namespace pellmora
