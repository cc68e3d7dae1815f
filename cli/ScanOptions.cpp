#include "ScanOptions.h"

#include <QRegularExpression>

namespace pellmora::cli {

const char* UsageText() {
    return "usage: pellmora-scan [options] DIR...\n"
           "Finds files of identical content in the given folders.\n"
           "  --masks TEXT            masks joined by \"|\" (default \"*.*\")\n"
           "  --min-size N[B|KB|MB]   smallest size taken (unit default KB)\n"
           "  --max-size N[B|KB|MB]   largest size taken (unit default KB)\n"
           "  --include-empty         do not skip zero-size files\n"
           "  --no-protect-folders    do not protect system folders\n"
           "  --no-protect-files      do not skip *.sys, *.ocx, *.drv, *.dll\n"
           "  --byte-compare          read and compare every byte (default: size, CRC-32 and\n"
           "                          a 128-bit hash, XXH3-128, must all agree)\n"
           "  --keep DIR              search DIR too and keep its files: they are listed, never\n"
           "                          acted on; a group of kept files alone is not listed\n"
           "                          (may be repeated)\n"
           "  --only-with-kept        list only the groups that hold a kept file\n"
           "  --skip-folders TEXT     folder masks joined by \"|\", never entered: a folder name\n"
           "                          at any depth, or its full path when the mask holds a \"/\";\n"
           "                          \"*\" and \"?\" never match a \"/\", case counts\n"
           "  --act trash|delete|link|share\n"
           "                          after the search, act on every copy but the kept ones:\n"
           "                          to the trash, deleted for good, a hard link to the kept\n"
           "                          copy, or the kept copy's data shared; prints\n"
           "                          \"ACT<TAB>PATH<TAB>KEPT COPY\" per file instead of the list\n"
           "  --keep-copy first|oldest|newest\n"
           "                          the copy a group without kept files keeps (default first)\n"
           "  --dry-run               print what --act would do; change nothing\n"
           "  --format text|tsv|json  output format (default text)\n"
           "  --export FILE           also write the report (\".txt\": list of paths, else HTML),\n"
           "                          in the locale's character set, LF line ends\n"
           "  --cache                 remember checksums between searches (~/.cache/Pellmora/)\n"
           "  --cache-file FILE       remember them in FILE instead (implies --cache)\n"
           "  --cache-clear           empty the store first; without a DIR, only that\n"
           "  --help, --version\n";
}

namespace {

// "1.5", "1,5KB", "200 MB": the number and its unit; "." or "," as the decimal separator.
bool ParseSize(const std::string& text, const QLocale& numbers, SizeLimitInput& limit) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([0-9]+(?:[.,][0-9]*)?|[.,][0-9]+)\\s*(B|KB|MB)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(QString::fromStdString(text));
    if (!match.hasMatch()) return false;
    QString number = match.captured(1);
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    // The search reads the number with the locale's decimal separator.
    number.replace(QLatin1Char('.'), numbers.decimalPoint());
    const QString unit = match.captured(2).toUpper();
    limit.Checked = true;
    limit.Text = number;
    limit.Unit = unit == QLatin1String("B")    ? SizeUnit::B
                 : unit == QLatin1String("MB") ? SizeUnit::MB
                                               : SizeUnit::KB;
    return true;
}

bool ParseFormat(const std::string& text, OutputFormat& format) {
    if (text == "text")
        format = OutputFormat::Text;
    else if (text == "tsv")
        format = OutputFormat::Tsv;
    else if (text == "json")
        format = OutputFormat::Json;
    else
        return false;
    return true;
}

bool ParseAct(const std::string& text, ScanOptions& options) {
    static const std::pair<const char*, DeleteChoice> acts[] = {
        {"trash", DeleteChoice::Trash},
        {"delete", DeleteChoice::WithoutBackup},
        {"link", DeleteChoice::HardLink},
        {"share", DeleteChoice::SharedData}};
    for (const auto& [word, choice] : acts)
        if (text == word) {
            options.Act = choice;
            options.ActWord = word;
            return true;
        }
    return false;
}

bool ParseKeepCopy(const std::string& text, ScanOptions& options) {
    if (text == "first")
        options.KeepCopy = KeepCopyRule::First;
    else if (text == "oldest")
        options.KeepCopy = KeepCopyRule::Oldest;
    else if (text == "newest")
        options.KeepCopy = KeepCopyRule::Newest;
    else
        return false;
    return true;
}

// Options that make sense only together, or not at all together; empty when all is well.
std::string Contradiction(const ScanOptions& options) {
    if (options.Inputs.OnlyWithKept && options.Inputs.KeepDirectories.empty())
        return "option --only-with-kept needs a --keep folder";
    if (options.DryRun && !options.Act) return "option --dry-run needs --act";
    if (options.KeepCopy && !options.Act) return "option --keep-copy needs --act";
    if (options.Act && options.ExportFile) return "options --act and --export exclude each other";
    return {};
}

} // namespace

std::optional<ScanOptions> ParseOptions(const std::vector<std::string>& args,
                                        const QLocale& numbers, std::string& error) {
    ScanOptions options;
    bool onlyDirs = false;
    for (size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        auto value = [&](std::string& out) {
            if (k + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            out = args[++k];
            return true;
        };
        std::string v;
        if (onlyDirs || arg.empty() || arg[0] != '-' || arg == "-") {
            options.Inputs.Directories.push_back(arg);
        } else if (arg == "--") {
            onlyDirs = true;
        } else if (arg == "--help" || arg == "-h") {
            options.Help = true;
        } else if (arg == "--version") {
            options.Version = true;
        } else if (arg == "--include-empty") {
            options.Inputs.ExcludeZero = false;
        } else if (arg == "--no-protect-folders") {
            options.Inputs.ProtectSysFolders = false;
        } else if (arg == "--no-protect-files") {
            options.Inputs.ProtectSysFiles = false;
        } else if (arg == "--byte-compare") {
            options.CompareMode = 1;
        } else if (arg == "--keep") {
            if (!value(v)) return std::nullopt;
            options.Inputs.Directories.push_back(v);
            options.Inputs.KeepDirectories.push_back(v);
        } else if (arg == "--only-with-kept") {
            options.Inputs.OnlyWithKept = true;
        } else if (arg == "--skip-folders") {
            if (!value(v)) return std::nullopt;
            options.Inputs.SkipFolders = QString::fromStdString(v);
        } else if (arg == "--masks") {
            if (!value(v)) return std::nullopt;
            options.Inputs.MaskText = QString::fromStdString(v);
        } else if (arg == "--min-size" || arg == "--max-size") {
            if (!value(v)) return std::nullopt;
            auto& limit = arg == "--min-size" ? options.Inputs.MinSize : options.Inputs.MaxSize;
            if (!ParseSize(v, numbers, limit)) {
                error = "invalid size '" + v + "' for " + arg + " (a number, then B, KB or MB)";
                return std::nullopt;
            }
        } else if (arg == "--format") {
            if (!value(v)) return std::nullopt;
            if (!ParseFormat(v, options.Format)) {
                error = "invalid format '" + v + "' (text, tsv or json)";
                return std::nullopt;
            }
        } else if (arg == "--export") {
            if (!value(v)) return std::nullopt;
            options.ExportFile = v;
        } else if (arg == "--cache") {
            options.Cache = true;
        } else if (arg == "--cache-file") {
            if (!value(v)) return std::nullopt;
            if (v.empty()) {
                error = "option --cache-file needs a file name";
                return std::nullopt;
            }
            options.Cache = true;
            options.CacheFile = v;
        } else if (arg == "--cache-clear") {
            options.CacheClear = true;
        } else if (arg == "--act") {
            if (!value(v)) return std::nullopt;
            if (!ParseAct(v, options)) {
                error = "invalid act '" + v + "' (trash, delete, link or share)";
                return std::nullopt;
            }
        } else if (arg == "--keep-copy") {
            if (!value(v)) return std::nullopt;
            if (!ParseKeepCopy(v, options)) {
                error = "invalid rule '" + v + "' for --keep-copy (first, oldest or newest)";
                return std::nullopt;
            }
        } else if (arg == "--dry-run") {
            options.DryRun = true;
        } else {
            error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    error = Contradiction(options);
    if (!error.empty()) return std::nullopt;
    return options;
}

} // namespace pellmora::cli
