#include "settings/ProgramSettings.h"

#include "settings/LineListText.h"
#include "settings/UnicodeIniFiles.h"

#include <QBuffer>
#include <QFile>

namespace pellmora {

namespace {

const QString Main = QStringLiteral("Main");
const QString Masks = QStringLiteral("Masks");
const QString Compare = QStringLiteral("Compare Mode");
const QString Exclude = QStringLiteral("Exclude Files");
const QString FileSize = QStringLiteral("FileSize Options");
const QString Directories = QStringLiteral("Directories");
const QString Cache = QStringLiteral("Checksum Cache");
const QString Window = QStringLiteral("Window");
// No value can hold a line break, so this default tells a missing key from an empty one.
const QString Missing = QStringLiteral("\n");

struct SizeKeys {
    QString Enable, Size, Unit;
};
const SizeKeys MinKeys{QStringLiteral("MinSizeEnable"), QStringLiteral("MinSize"),
                       QStringLiteral("MinSizeUnit")};
const SizeKeys MaxKeys{QStringLiteral("MaxSizeEnable"), QStringLiteral("MaxSize"),
                       QStringLiteral("MaxSizeUnit")};

// An emptied size field (no limit) is stored empty and comes back empty; any other text
// comes back in the locale's number form.
void ReadSizeLimit(TCustomIniFile& ini, const SizeKeys& keys, SizeLimitInput& limit,
                   const QLocale& locale) {
    limit.Checked = ini.ReadFlag(FileSize, keys.Enable, false);
    if (ini.ReadText(FileSize, keys.Size, Missing).isEmpty())
        limit.Text.clear();
    else
        limit.Text = TCustomIniFile::RealText(ini.ReadReal(FileSize, keys.Size, 0), locale);
    const int32_t unit = ini.ReadNumber(FileSize, keys.Unit, 1);
    if (unit >= 0 && unit <= 2) limit.Unit = static_cast<SizeUnit>(unit);
}

// The field as the search reads it: the locale's separator, or "." or "," for it.
std::optional<double> SizeValue(const QString& text, const QLocale& locale) {
    if (auto value = TCustomIniFile::ParseReal(text, locale)) return value;
    QString unified = text;
    unified.replace(u'.', locale.decimalPoint()).replace(u',', locale.decimalPoint());
    return TCustomIniFile::ParseReal(unified, locale);
}

void WriteSizeLimit(TCustomIniFile& ini, const SizeKeys& keys, const SizeLimitInput& limit,
                    const QLocale& locale) {
    ini.WriteFlag(FileSize, keys.Enable, limit.Checked);
    if (const std::optional<double> value = SizeValue(limit.Text, locale))
        ini.WriteReal(FileSize, keys.Size, *value);
    else
        ini.WriteText(FileSize, keys.Size, QString());
    ini.WriteNumber(FileSize, keys.Unit, static_cast<int32_t>(limit.Unit));
}

// key "Lines": the directory list; key "Keep": its ticked entries, by path, so that a list
// changed by a program that knows no keep folders keeps the marks of the folders left in it.
TStringArr ReadDirectories(TCustomIniFile& ini, const QString& key) {
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    ini.ReadHexStream(Directories, key, stream);
    return NativePaths(LinesOfText(stream.data()));
}

void WriteDirectories(TCustomIniFile& ini, const QString& key, const TStringArr& directories) {
    QByteArray bytes = LineListBytes(EscapedPaths(directories));
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadWrite);
    ini.WriteHexStream(Directories, key, stream);
}

WindowPlacement ReadWindow(TCustomIniFile& ini) {
    WindowPlacement window;
    window.Left = ini.ReadNumber(Window, QStringLiteral("Left"), 0);
    window.Top = ini.ReadNumber(Window, QStringLiteral("Top"), 0);
    window.Width = ini.ReadNumber(Window, QStringLiteral("Width"), 0);
    window.Height = ini.ReadNumber(Window, QStringLiteral("Height"), 0);
    window.Maximized = ini.ReadFlag(Window, QStringLiteral("Maximized"), false);
    return window;
}

void WriteWindow(TCustomIniFile& ini, const WindowPlacement& window) {
    if (!window.Known()) return;
    ini.WriteNumber(Window, QStringLiteral("Left"), window.Left);
    ini.WriteNumber(Window, QStringLiteral("Top"), window.Top);
    ini.WriteNumber(Window, QStringLiteral("Width"), window.Width);
    ini.WriteNumber(Window, QStringLiteral("Height"), window.Height);
    ini.WriteFlag(Window, QStringLiteral("Maximized"), window.Maximized);
}

} // namespace

void ReadProgramSettings(TCustomIniFile& ini, ProgramSettings& settings) {
    const QLocale& locale = ini.Locale();
    settings.SaveState = ini.ReadFlag(Main, QStringLiteral("SaveState"), true);
    if (!settings.SaveState) return;
    SearchInputs& o = settings.Options;
    o.MaskText = ini.ReadText(Masks, QStringLiteral("FileTypes"), QStringLiteral("*.*"));
    settings.CompareMode = ini.ReadNumber(Compare, QStringLiteral("CompareMode"), 0) == 1 ? 1 : 0;
    o.ExcludeZero = ini.ReadFlag(Exclude, QStringLiteral("SkipZero"), true);
    o.ProtectSysFolders = ini.ReadFlag(Exclude, QStringLiteral("SkipSysFolders"), true);
    o.ProtectSysFiles = ini.ReadFlag(Exclude, QStringLiteral("SkipSysFiles"), true);
    o.SkipFolders = ini.ReadText(Exclude, QStringLiteral("SkipFolders"), QString());
    ReadSizeLimit(ini, MinKeys, o.MinSize, locale);
    ReadSizeLimit(ini, MaxKeys, o.MaxSize, locale);
    o.Directories = ReadDirectories(ini, QStringLiteral("Lines"));
    o.KeepDirectories = ReadDirectories(ini, QStringLiteral("Keep"));
    o.OnlyWithKept = ini.ReadFlag(Directories, QStringLiteral("OnlyWithKept"), false);
    settings.CacheEnabled = ini.ReadFlag(Cache, QStringLiteral("Enabled"), false);
    settings.Window = ReadWindow(ini);
}

void WriteProgramSettings(TCustomIniFile& ini, const ProgramSettings& settings) {
    const QLocale& locale = ini.Locale();
    ini.WriteFlag(Main, QStringLiteral("SaveState"), settings.SaveState);
    if (!settings.SaveState) return;
    const SearchInputs& o = settings.Options;
    ini.WriteText(Masks, QStringLiteral("FileTypes"), o.MaskText);
    ini.WriteNumber(Compare, QStringLiteral("CompareMode"), settings.CompareMode == 1 ? 1 : 0);
    ini.WriteFlag(Exclude, QStringLiteral("SkipZero"), o.ExcludeZero);
    ini.WriteFlag(Exclude, QStringLiteral("SkipSysFolders"), o.ProtectSysFolders);
    ini.WriteFlag(Exclude, QStringLiteral("SkipSysFiles"), o.ProtectSysFiles);
    ini.WriteText(Exclude, QStringLiteral("SkipFolders"), o.SkipFolders);
    WriteSizeLimit(ini, MinKeys, o.MinSize, locale);
    WriteSizeLimit(ini, MaxKeys, o.MaxSize, locale);
    WriteDirectories(ini, QStringLiteral("Lines"), o.Directories);
    WriteDirectories(ini, QStringLiteral("Keep"), o.KeepDirectories);
    ini.WriteFlag(Directories, QStringLiteral("OnlyWithKept"), o.OnlyWithKept);
    ini.WriteFlag(Cache, QStringLiteral("Enabled"), settings.CacheEnabled);
    WriteWindow(ini, settings.Window);
}

void LoadProgramSettings(const QString& path, ProgramSettings& settings, const QLocale& locale) {
    if (path.isEmpty() || !QFile::exists(path)) return;
    TIniFile ini(path, locale);
    ReadProgramSettings(ini, settings);
}

QString StoreProgramSettings(const QString& path, const ProgramSettings& settings,
                             const QLocale& locale) {
    if (path.isEmpty()) return {};
    try {
        TIniFile ini(path, locale);
        WriteProgramSettings(ini, settings);
    } catch (const EIniFileException& e) {
        return e.Message();
    }
    return {};
}

} // namespace pellmora
