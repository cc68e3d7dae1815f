#include "cli/ScanOptions.h"

#include <gtest/gtest.h>

namespace pellmora::cli {
namespace {

// What a command line should give: an error containing Error, or these fields. Sizes are
// written with "." and expected with the given locale's decimal separator, as the search reads
// them; the table is walked in a locale with "." and in one with ",".
struct Case {
    std::vector<std::string> Args;
    std::string Error;
    std::string Expected; // a summary of the parsed options, see Summary()
};

std::string Limit(const SizeLimitInput& limit, const QLocale& numbers) {
    if (!limit.Checked) return "-";
    QString text = limit.Text;
    text.replace(numbers.decimalPoint(), QStringLiteral("."));
    const char* units[] = {"B", "KB", "MB"};
    return text.toStdString() + units[static_cast<int>(limit.Unit)];
}

std::string Summary(const ScanOptions& o, const QLocale& numbers) {
    std::string s;
    for (const std::string& dir : o.Inputs.Directories)
        s += "dir=" + dir + " ";
    for (const std::string& dir : o.Inputs.KeepDirectories)
        s += "keep=" + dir + " ";
    s += "masks=" + o.Inputs.MaskText.toStdString();
    s += " zero=" + std::string(o.Inputs.ExcludeZero ? "skip" : "keep");
    s += " folders=" + std::string(o.Inputs.ProtectSysFolders ? "on" : "off");
    s += " files=" + std::string(o.Inputs.ProtectSysFiles ? "on" : "off");
    s += " min=" + Limit(o.Inputs.MinSize, numbers) + " max=" + Limit(o.Inputs.MaxSize, numbers);
    s += " mode=" + std::to_string(o.CompareMode);
    s += " format=" + std::to_string(static_cast<int>(o.Format));
    if (o.ExportFile) s += " export=" + *o.ExportFile;
    if (o.Cache) s += " cache=" + (o.CacheFile.empty() ? "default" : o.CacheFile);
    if (o.CacheClear) s += " clear";
    if (o.Help) s += " help";
    if (o.Version) s += " version";
    if (o.Inputs.OnlyWithKept) s += " only-with-kept";
    if (!o.Inputs.SkipFolders.isEmpty()) s += " skip=" + o.Inputs.SkipFolders.toStdString();
    if (o.Act) s += " act=" + o.ActWord + std::to_string(static_cast<int>(*o.Act));
    if (o.KeepCopy) s += " keep-copy=" + std::to_string(static_cast<int>(*o.KeepCopy));
    if (o.DryRun) s += " dry-run";
    return s;
}

const std::string Defaults = "masks=*.* zero=skip folders=on files=on min=- max=- mode=0 format=0";

TEST(ScanOptionsTest, CommandLinesAndTheirInputs) {
    const Case cases[] = {
        {{}, "", Defaults},
        {{"/a", "b"}, "", "dir=/a dir=b " + Defaults},
        {{"-", "--", "--help", "-x"}, "", "dir=- dir=--help dir=-x " + Defaults},
        {{"--include-empty", "--no-protect-folders", "--no-protect-files", "--byte-compare"},
         "",
         "masks=*.* zero=keep folders=off files=off min=- max=- mode=1 format=0"},
        {{"--masks", "*.txt|*.jpg", "--format", "json", "--export", "r.txt", "/d"},
         "",
         "dir=/d masks=*.txt|*.jpg zero=skip folders=on files=on min=- max=- mode=0 format=2 "
         "export=r.txt"},
        {{"--min-size", "1", "--max-size", "2,5MB"},
         "",
         "masks=*.* zero=skip folders=on files=on min=1KB max=2.5MB mode=0 format=0"},
        {{"--min-size", " 200 b ", "--max-size", ".5"},
         "",
         "masks=*.* zero=skip folders=on files=on min=200B max=.5KB mode=0 format=0"},
        {{"-h", "--version"}, "", Defaults + " help version"},
        {{"--format", "tsv"},
         "",
         "masks=*.* zero=skip folders=on files=on min=- max=- "
         "mode=0 format=1"},
        {{"--min-size", "x"}, "invalid size 'x' for --min-size", ""},
        {{"--max-size", "1GB"}, "invalid size '1GB' for --max-size", ""},
        {{"--min-size", "1.2.3"}, "invalid size", ""},
        {{"--format", "xml"}, "invalid format 'xml'", ""},
        {{"/d", "--masks"}, "option --masks needs a value", ""},
        {{"--cache", "/d"}, "", "dir=/d " + Defaults + " cache=default"},
        {{"--cache-file", "/s.db", "--cache"}, "", Defaults + " cache=/s.db"},
        {{"--cache-clear"}, "", Defaults + " clear"},
        {{"--cache-clear", "--cache-file", "--cache"}, "", Defaults + " cache=--cache clear"},
        {{"--cache-file"}, "option --cache-file needs a value", ""},
        {{"--cache-file", ""}, "option --cache-file needs a file name", ""},
        {{"--bogus"}, "unknown option --bogus", ""},
        {{"--keep", "/k", "/d", "--only-with-kept", "--keep", "/m", "--skip-folders", ".git|/x/*"},
         "",
         "dir=/k dir=/d dir=/m keep=/k keep=/m " + Defaults + " only-with-kept skip=.git|/x/*"},
        {{"--only-with-kept", "/d"}, "option --only-with-kept needs a --keep folder", ""},
        {{"/d", "--keep"}, "option --keep needs a value", ""},
        {{"--skip-folders"}, "option --skip-folders needs a value", ""},
        {{"--act", "trash"}, "", Defaults + " act=trash1"},
        {{"--act", "delete", "--keep-copy", "newest", "--dry-run"},
         "",
         Defaults + " act=delete2 keep-copy=2 dry-run"},
        {{"--act", "link", "--keep-copy", "oldest"}, "", Defaults + " act=link3 keep-copy=1"},
        {{"--act", "share", "--keep-copy", "first"}, "", Defaults + " act=share4 keep-copy=0"},
        {{"--act", "erase"}, "invalid act 'erase' (trash, delete, link or share)", ""},
        {{"--act", "link", "--keep-copy", "largest"}, "invalid rule 'largest' for --keep-copy", ""},
        {{"--dry-run"}, "option --dry-run needs --act", ""},
        {{"--keep-copy", "first"}, "option --keep-copy needs --act", ""},
        {{"--act", "trash", "--export", "r.html"},
         "options --act and --export exclude each other",
         ""},
        {{"--act"}, "option --act needs a value", ""},
    };
    for (const QLocale& numbers : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        for (const Case& c : cases) {
            std::string joined = numbers.name().toStdString() + " ";
            for (const std::string& a : c.Args)
                joined += "[" + a + "]";
            std::string error;
            const auto options = ParseOptions(c.Args, numbers, error);
            if (c.Error.empty()) {
                ASSERT_TRUE(options) << joined << ": " << error;
                EXPECT_EQ(Summary(*options, numbers), c.Expected) << joined;
            } else {
                EXPECT_FALSE(options) << joined;
                EXPECT_NE(error.find(c.Error), std::string::npos) << joined << ": " << error;
            }
        }
    }
}

} // namespace
} // namespace pellmora::cli
