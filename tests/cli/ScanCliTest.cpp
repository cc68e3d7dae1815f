#include "support/TempTree.h"

#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <sstream>

using pellmora::test::TempTree;

namespace {

struct ScanResult {
    int Exit = -1;
    std::string Out;
    std::string Err;
};

ScanResult Scan(const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(PELLMORA_SCAN_BINARY), args);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

TEST(ScanCli, TsvListsEveryDuplicateInResultOrderWithTheReportOnStderr) {
    TempTree tree;
    tree.Pattern("big/a.bin", 70000, 1);
    tree.Pattern("big/deep/b.bin", 70000, 1);
    tree.File("small/x.txt", "hello");
    tree.File("small/y.txt", "hello");
    tree.File("small/z.txt", "other");
    const auto result = Scan({QStringLiteral("--format"), QStringLiteral("tsv"), Q(tree.Root())});
    ASSERT_EQ(result.Exit, 0) << result.Err;
    const std::string r = tree.Root();
    const std::string expectedGroups[] = {"1\t70000\t" + r + "big/", "1\t70000\t" + r + "big/",
                                          "2\t5\t" + r + "small/", "2\t5\t" + r + "small/"};
    std::istringstream lines(result.Out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ASSERT_LT(count, 4);
        EXPECT_EQ(line.rfind(expectedGroups[count], 0), 0u) << line;
        ++count;
    }
    EXPECT_EQ(count, 4);
    EXPECT_EQ(result.Err, "Search finished." + std::string(36, ' ') +
                              "\n\nScanned: 5 files\nFound: 4 files\n including: \n"
                              "    Original files: 2\n    Duplicate files: 2\n");
}

TEST(ScanCli, TextAndJsonFormatsAndRawNames) {
    TempTree tree;
    const std::string odd = "caf\xe9-\xff.bin"; // not valid UTF-8
    tree.File(odd, "same content");
    tree.File("plain.bin", "same content");
    auto text = Scan({Q(tree.Root())});
    ASSERT_EQ(text.Exit, 0);
    EXPECT_NE(text.Out.find(tree.Root() + odd + "\n"), std::string::npos);
    EXPECT_NE(text.Out.find(tree.Root() + "plain.bin\n"), std::string::npos);

    tree.File("g2/a", "second group!");
    tree.File("g2/b", "second group!");
    text = Scan({Q(tree.Root())});
    EXPECT_NE(text.Out.find("\n\n"), std::string::npos) << "groups are separated by a blank line";

    const auto json = Scan({QStringLiteral("--format"), QStringLiteral("json"), Q(tree.Root())});
    ASSERT_EQ(json.Exit, 0);
    EXPECT_NE(json.Out.find("\"group\": 2"), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("plain.bin"), std::string::npos);
}

TEST(ScanCli, OptionsFiltersAndExitStatus) {
    TempTree tree;
    tree.Pattern("k/a", 1536, 1);
    tree.Pattern("k/b", 1536, 1);
    tree.Pattern("m/a", 3000, 2);
    tree.Pattern("m/b", 3000, 2);
    tree.File("e/1", "");
    tree.File("e/2", "");
    tree.File("s/LIB.DLL", "dll");
    tree.File("s/other.DLL", "dll");

    auto r = Scan({"--min-size", "1,5", "--max-size", "1536B", "--format", "tsv", Q(tree.Root())});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), 2) << r.Out;

    r = Scan({"--include-empty", "--no-protect-files", "--byte-compare", "--format", "tsv",
              Q(tree.Root())});
    EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), 8) << r.Out;

    r = Scan({"--masks", "*.dll", "--format", "tsv", Q(tree.Root())});
    EXPECT_EQ(r.Out, "") << "system files stay protected";

    r = Scan({"--min-size", "2", "--max-size", "1", Q(tree.Root())});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_EQ(r.Err, "Min File Size is bigger than Max File Size. Please, fix this.\n");
    EXPECT_EQ(r.Out, "");

    r = Scan({});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_EQ(r.Err, "Please, add one or more directories to search.\n");

    r = Scan({"--masks", " ", Q(tree.Root())});
    EXPECT_EQ(r.Exit, 1);

    for (const QStringList& bad : {QStringList{"--bogus"}, QStringList{"--format", "xml", "."},
                                   QStringList{"--min-size", "ten", "."}, QStringList{"--masks"}}) {
        r = Scan(bad);
        EXPECT_EQ(r.Exit, 2) << bad.join(' ').toStdString();
        EXPECT_NE(r.Err.find("usage: pellmora-scan"), std::string::npos);
    }

    r = Scan({Q(tree.Path("does-not-exist"))});
    EXPECT_EQ(r.Exit, 0) << "a missing folder contributes nothing";
    EXPECT_NE(r.Err.find("Scanned: 0 files"), std::string::npos);
}

TEST(ScanCli, InterruptEndsCleanlyWithStatus130) {
    TempTree tree;
    tree.File("a", "same");
    tree.File("b", "same");
    for (int k = 0; k < 2000; ++k)
        tree.File("many/d" + std::to_string(k) + "/f", "x");
    QProcess process;
    process.start(QStringLiteral(PELLMORA_SCAN_BINARY),
                  {QStringLiteral("--format"), QStringLiteral("tsv"), Q(tree.Root())});
    ASSERT_TRUE(process.waitForStarted());
    QThread::msleep(30);
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    const int code = process.exitCode();
    EXPECT_TRUE(code == 130 || code == 0) << code;
    if (code == 130) {
        EXPECT_TRUE(process.readAllStandardError().startsWith("Search interrupted."));
    }
}

} // namespace
