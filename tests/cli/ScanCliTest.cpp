#include "support/TempTree.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

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

bool CatchesSigint(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("SigCgt:")) continue;
        return (line.mid(7).trimmed().toULongLong(nullptr, 16) & (1ull << (SIGINT - 1))) != 0;
    }
    return false;
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

// The lines of standard output, in any order: the order within a group is the sorts' own.
std::multiset<std::string> Lines(const std::string& out) {
    std::multiset<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.insert(line);
    return lines;
}

TEST(ScanCli, KeepAndSkipOptionsAndTheirBadInput) {
    TempTree tree;
    tree.File("K/a", "same1");
    tree.File("K/b", "kk");
    tree.File("K/c", "kk");
    tree.File("D/a", "same1");
    tree.File("D/.git/a", "same1");
    tree.File("D/x", "dd");
    tree.File("D/y", "dd");
    const std::string r = tree.Root();
    const QString k = Q(r + "K"), d = Q(r + "D");
    auto line = [&r](int group, int size, const char* path) {
        return std::to_string(group) + "\t" + std::to_string(size) + "\t" + r + path;
    };
    struct Case {
        QStringList Args;
        int Exit;
        std::multiset<std::string> Out;
        std::string Err; // the start of standard error, or of one of its lines
    };
    const Case cases[] = {
        // The group of kept files alone is not listed; the numbers stay consecutive.
        {{"--keep", k, d, "--format", "tsv"},
         0,
         {line(1, 5, "K/a"), line(1, 5, "D/a"), line(1, 5, "D/.git/a"), line(2, 2, "D/x"),
          line(2, 2, "D/y")},
         "Search finished."},
        {{"--keep", k, "--only-with-kept", "--skip-folders", " .git||", d, "--format", "tsv"},
         0,
         {line(1, 5, "K/a"), line(1, 5, "D/a")},
         "Search finished."},
        {{"--keep", k, "--format", "tsv"}, 0, {}, "Search finished."},
        {{"--keep", Q(r + "missing"), d, "--format", "tsv"},
         1,
         {line(1, 5, "D/a"), line(1, 5, "D/.git/a"), line(2, 2, "D/x"), line(2, 2, "D/y")},
         "pellmora-scan: " + r + "missing: No such file or directory\n"},
        {{"--skip-folders", "D", k, d, "--format", "tsv"},
         0,
         {line(1, 2, "K/b"), line(1, 2, "K/c")},
         "Search finished."},
        {{"--only-with-kept", d},
         2,
         {},
         "pellmora-scan: option --only-with-kept needs a --keep folder\nusage: "},
        {{d, "--keep"}, 2, {}, "pellmora-scan: option --keep needs a value\nusage: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const ScanResult result = Scan(c.Args);
        EXPECT_EQ(result.Exit, c.Exit) << result.Err;
        EXPECT_EQ(Lines(result.Out), c.Out);
        EXPECT_EQ(result.Err.rfind(c.Err, 0), 0u) << result.Err;
    }

    // json gives every group its kept paths when --keep is given, and only then.
    const auto json = Scan({"--keep", k, d, "--format", "json"});
    const QJsonArray groups = QJsonDocument::fromJson(QByteArray::fromStdString(json.Out)).array();
    ASSERT_EQ(groups.size(), 2) << json.Out;
    EXPECT_EQ(groups[0]["kept"].toArray(), QJsonArray{Q(r + "K/a")});
    EXPECT_EQ(groups[1]["kept"].toArray(), QJsonArray{});
    EXPECT_EQ(Scan({k, d, "--format", "json"}).Out.find("kept"), std::string::npos);
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
}

// A named folder that cannot be searched gets its own line and exit 1, while the others are
// still searched; bad options and a refused start keep their own outcome.
TEST(ScanCli, AFolderThatCannotBeSearchedIsReportedAndTheOthersAreSearched) {
    TempTree tree;
    tree.File("k/a", "same");
    tree.File("k/b", "same");
    tree.File("file.txt", "x");
    tree.Symlink("dangling", tree.Path("gone"));
    const std::string closed = tree.Dir("closed");
    ::chmod(closed.c_str(), 0);
    const std::string missing = tree.Path("does-not-exist");
    const std::string file = tree.Path("file.txt");
    const std::string k = tree.Path("k");
    struct Row {
        QStringList Args;
        int Exit;
        std::string ErrStart; // the lines before the search's own report
        int Listed;           // tsv lines on standard output
        bool NeedsNonRoot = false;
    };
    const auto line = [](const std::string& path, const char* text) {
        return "pellmora-scan: " + path + ": " + text + "\n";
    };
    const Row rows[] = {
        {{Q(missing)}, 1, line(missing, "No such file or directory") + "Search finished.", 0},
        {{Q(missing), Q(k), Q(file)},
         1,
         line(missing, "No such file or directory") + line(file, "Not a directory"),
         2},
        {{Q(tree.Path("dangling")), Q(k)},
         1,
         line(tree.Path("dangling"), "No such file or directory"),
         2},
        {{Q(file + "/")}, 1, line(file + "/", "Not a directory"), 0},
        {{Q(closed), Q(k)}, 1, line(closed, "Permission denied"), 2, true},
        {{Q(k), Q(k + "/")}, 0, "Search finished.", 2},
        {{"--min-size", "2", "--max-size", "1", Q(missing)},
         1,
         line(missing, "No such file or directory") + "Min File Size",
         0},
        {{"--format", "xml", Q(missing)}, 2, "pellmora-scan: invalid format", 0},
    };
    for (const Row& row : rows) {
        if (row.NeedsNonRoot && geteuid() == 0) continue;
        QStringList args{"--format", "tsv"};
        args += row.Args;
        const auto r = Scan(args);
        const std::string what = args.join(' ').toStdString();
        EXPECT_EQ(r.Exit, row.Exit) << what;
        EXPECT_EQ(r.Err.substr(0, row.ErrStart.size()), row.ErrStart) << what;
        EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), row.Listed) << what;
    }
    ::chmod(closed.c_str(), 0700);
}

std::string FileContent(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

// Names in other scripts come back as the UTF-8 lines a script reads with `while read`, without
// a stray carriage return; the page says which set it is written in.
TEST(ScanCli, ExportRoundTripsNonAsciiNamesAsUtf8Lines) {
    TempTree tree;
    const std::string photo =
        "\xe5\x86\x99\xe7\x9c\x9f/\xe4\xbc\x91\xe6\x9a\x87.txt"; // 写真/休暇.txt
    tree.File("data/a & b.txt", "same");
    tree.File("data/" + photo, "same");
    const std::string data = tree.Path("data");
    const std::string list = tree.Path("list.txt");
    auto r = Scan({"--format", "tsv", "--export", Q(list), Q(data)});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), 2) << "the list still goes to stdout";
    QStringList lines = QString::fromUtf8(FileContent(list)).split(QLatin1Char('\n'));
    EXPECT_EQ(lines.takeLast(), "") << "the last line ends in a line feed too";
    lines.sort();
    EXPECT_EQ(lines, (QStringList{Q(data + "/a & b.txt"), Q(data + "/" + photo)}));

    const std::string html = tree.Path("report.html");
    r = Scan({"--export", Q(html), Q(data)});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    const std::string report = FileContent(html);
    for (const std::string& line : std::vector<std::string>{
             "<head>\n<meta charset=\"UTF-8\">\n\t<title>",
             "<b>Number of original files and duplicates:</b> 1 + 1<br>\n",
             "<b>Total size of original files:</b> 4 B<br>\n", "<li>" + data + "</li>\n",
             "    <TR bgcolor=\"#C0DCC0\">\n      <TD>2</TD>\n", "      <TD>a & b.txt</TD>\n",
             "      <TD>\xe4\xbc\x91\xe6\x9a\x87.txt</TD>\n"})
        EXPECT_NE(report.find(line), std::string::npos) << line;
    EXPECT_TRUE(report.ends_with("</html>\n"));
    EXPECT_EQ(report.find('\r'), std::string::npos);
}

TEST(ScanCli, AFailedExportExitsOneAndKeepsTheOldReport) {
    TempTree tree;
    tree.File("data/a", "same");
    tree.File("data/b", "same");
    tree.File("old.html", "old");
    tree.Dir("taken.html");
    auto r =
        Scan({"--format", "tsv", "--export", Q(tree.Path("none/r.html")), Q(tree.Path("data"))});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), 2);
    EXPECT_NE(r.Err.find("pellmora-scan: Directory \"" + tree.Path("none/") + "\" is not exist.\n"),
              std::string::npos)
        << r.Err;
    r = Scan({"--export", Q(tree.Path("taken.html")), Q(tree.Path("data"))});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_NE(r.Err.find("pellmora-scan: I/O error 21.\n"), std::string::npos) << r.Err;
    EXPECT_EQ(FileContent(tree.Path("old.html")), "old");
    r = Scan({"--export"});
    EXPECT_EQ(r.Exit, 2);
}

// A store that cannot be used costs one line on stderr and nothing else; --cache-clear alone
// only empties the store.
TEST(ScanCli, ChecksumCacheOptions) {
    TempTree tree;
    tree.File("d/a", "same");
    tree.File("d/b", "same");
    const std::string bad = tree.File("bad.db", "not a database");
    const ScanResult plain = Scan({Q(tree.Path("d"))});
    const ScanResult passed = Scan({"--cache-file", Q(bad), Q(tree.Path("d"))});
    EXPECT_EQ(passed.Exit, 0);
    EXPECT_EQ(passed.Out, plain.Out);
    EXPECT_EQ(passed.Err, "pellmora-scan: " + bad +
                              ": file is not a database; searching without the cache\n" +
                              plain.Err);
    const ScanResult refused = Scan({"--cache-clear", "--cache-file", Q(bad)});
    EXPECT_EQ(refused.Exit, 1);
    EXPECT_EQ(refused.Out, "");

    const std::string good = tree.Path("c/s.db");
    EXPECT_EQ(Scan({"--cache-file", Q(good), Q(tree.Path("d"))}).Out, plain.Out);
    EXPECT_TRUE(QFile::exists(Q(good)));
    const ScanResult cleared = Scan({"--cache-clear", "--cache-file", Q(good)});
    EXPECT_EQ(cleared.Exit, 0);
    EXPECT_EQ(cleared.Out + cleared.Err, "");
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
    const auto pid = static_cast<pid_t>(process.processId());
    // Interrupt only once the program catches the signal; earlier it would simply die of it.
    for (int k = 0; k < 500 && !CatchesSigint(pid); ++k)
        QThread::msleep(10);
    ::kill(pid, SIGINT);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    const int code = process.exitCode();
    EXPECT_TRUE(code == 130 || code == 0) << code;
    if (code == 130) {
        EXPECT_TRUE(process.readAllStandardError().startsWith("Search interrupted."));
    }
}

// The act through the real program: the lines on standard output instead of the list, the
// summary as the last line of standard error, and the exit status of a bad combination.
TEST(ScanCli, ActPrintsWhatItDidAndRefusesBadCombinations) {
    TempTree tree;
    tree.File("k/a", "same");
    tree.File("d/a", "same");
    tree.File("d/b", "other");
    const std::string r = tree.Root();
    const ScanResult linked = Scan({"--keep", Q(r + "k"), "--act", "link", Q(r + "d")});
    EXPECT_EQ(linked.Exit, 0) << linked.Err;
    EXPECT_EQ(linked.Out, "link\t" + r + "d/a\t" + r + "k/a\n");
    EXPECT_TRUE(linked.Err.ends_with("\n1 of 1 files were replaced by hard links.\n"))
        << linked.Err;
    struct stat kept {
    }, copy{};
    stat((r + "k/a").c_str(), &kept);
    stat((r + "d/a").c_str(), &copy);
    EXPECT_EQ(kept.st_ino, copy.st_ino);

    const ScanResult bad = Scan({"--dry-run", Q(r + "d")});
    EXPECT_EQ(bad.Exit, 2);
    EXPECT_EQ(bad.Out, "");
    EXPECT_EQ(bad.Err.rfind("pellmora-scan: option --dry-run needs --act\nusage: ", 0), 0u);
}

} // namespace
