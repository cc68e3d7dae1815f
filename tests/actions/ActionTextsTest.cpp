// The words that go with an error number in the file actions' failure prompts.

#include "actions/ActionCommon.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace pellmora;

namespace {

TEST(ActionTexts, AnErrorNumberComesWithTheSystemsWords) {
    EXPECT_EQ(ErrorCodeText(EROFS), "Error code: 30 (Read-only file system)");
    const QString cannotShare =
        QStringLiteral("This file system cannot share data between files (copy-on-write).");
    const std::pair<int, QString> cases[] = {
        {EOPNOTSUPP, cannotShare},
        {ENOTTY, cannotShare},
        {EINVAL, cannotShare},
        {EXDEV, "Error code: 18 (Invalid cross-device link)"},
        {EACCES, "Error code: 13 (Permission denied)"},
    };
    for (const auto& [error, text] : cases)
        EXPECT_EQ(ShareErrorText(error), text) << error;
}

} // namespace
