#include "ui/WebPages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pellmora;

namespace {

struct WebPagesTest : ::testing::Test {
    QTemporaryDir root;
    QString bin = root.filePath("usr/bin");
    QString share = root.filePath("usr/share/pellmora");

    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir().mkpath(bin));
        ASSERT_TRUE(QDir().mkpath(share));
    }
    static void Put(const QString& dir, const QString& page) {
        QFile file(QDir(dir).filePath(page));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
};

TEST_F(WebPagesTest, LooksBesideTheExecutableFirstThenInTheDataFolder) {
    EXPECT_EQ(ProductPageDirs(bin), (QStringList{bin, share}));
}

TEST_F(WebPagesTest, ABuildFolderKeepsItsPagesBesideTheExecutable) {
    Put(bin, "help.html");
    Put(share, "help.html");
    EXPECT_EQ(ProductPagePath(bin, "help.html"), bin + "/help.html");
}

TEST_F(WebPagesTest, AnInstalledProgramFindsItsPagesInTheDataFolder) {
    Put(share, "help.html");
    EXPECT_EQ(ProductPagePath(bin, "help.html"), share + "/help.html");
    // Each page is looked up on its own.
    Put(bin, "index.html");
    EXPECT_EQ(ProductPagePath(bin, "index.html"), bin + "/index.html");
}

TEST_F(WebPagesTest, AMissingPageStaysBesideTheExecutable) {
    EXPECT_EQ(ProductPagePath(bin, "donation.html"), bin + "/donation.html");
    EXPECT_EQ(ProductPagePath(bin + "/", "donation.html"), bin + "/donation.html");
}

// Run by the install check from a copy of this binary placed in an installed bin/ folder; the
// variable names the folder where the pages were installed.
TEST(WebPagesInstalledTest, TheInstalledCopyOpensTheInstalledPages) {
    const QString expected = qEnvironmentVariable("PELLMORA_EXPECT_INSTALLED_PAGES");
    if (expected.isEmpty()) GTEST_SKIP() << "runs only from an installed copy";
    for (const char* page : {"help.html", "index.html", "donation.html"}) {
        const QUrl url = ProductPageUrl(QString::fromLatin1(page));
        ASSERT_TRUE(url.isLocalFile()) << page;
        const QFileInfo file(url.toLocalFile());
        EXPECT_TRUE(file.isFile()) << url.toLocalFile().toStdString();
        EXPECT_EQ(file.canonicalPath(), QFileInfo(expected).canonicalFilePath());
    }
}

} // namespace
