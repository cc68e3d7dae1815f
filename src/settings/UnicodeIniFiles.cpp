#include "settings/UnicodeIniFiles.h"

#include "platform/PrivateProfile.h"

#include <QFile>
#include <QIODevice>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace pellmora {

namespace {

constexpr qsizetype TextBuffer = 2048;
constexpr qsizetype NameBuffer = 8192;

int HexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    return -1;
}

bool AllDigits(QStringView digits, int base) {
    for (QChar c : digits) {
        const int value = HexDigit(c);
        if (value < 0 || value >= base) return false;
    }
    return !digits.isEmpty();
}

// A hexadecimal value is a 32-bit pattern ($FFFFFFFF is -1); a decimal one must fit.
std::optional<int32_t> Within32Bits(qulonglong magnitude, bool negative, int base) {
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFull) return std::nullopt;
        const auto pattern = static_cast<uint32_t>(magnitude);
        return static_cast<int32_t>(negative ? 0u - pattern : pattern);
    }
    if (magnitude > (negative ? 2147483648ull : 2147483647ull)) return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<qlonglong>(magnitude)
                                         : static_cast<qlonglong>(magnitude));
}

// Optional blanks and sign, then decimal digits, or hexadecimal ones after "$", "x" or "0x".
std::optional<int32_t> ParseNumber(QString text) {
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text.replace(0, 2, u'$');
    QStringView rest(text);
    while (!rest.isEmpty() && rest.front() == u' ')
        rest = rest.sliced(1);
    const bool negative = rest.startsWith(u'-');
    if (negative || rest.startsWith(u'+')) rest = rest.sliced(1);
    int base = 10;
    if (rest.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        rest = rest.sliced(2);
    } else if (rest.startsWith(u'$') || rest.startsWith(u'x', Qt::CaseInsensitive)) {
        base = 16;
        rest = rest.sliced(1);
    }
    if (!AllDigits(rest, base)) return std::nullopt;
    bool ok = false;
    const qulonglong magnitude = rest.toULongLong(&ok, base);
    if (!ok) return std::nullopt;
    return Within32Bits(magnitude, negative, base);
}

QByteArray DecodeHex(const QString& text) {
    QByteArray bytes;
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) break;
        bytes.append(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

// The long time form without its time zone, which a clock time does not have and which does
// not parse back.
QString ClockFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return format.trimmed();
}

QString DateTimeFormat(const QLocale& locale) {
    return locale.dateFormat(QLocale::ShortFormat) + u' ' + ClockFormat(locale);
}

QStringList SplitNames(const QString& list) {
    QStringList names;
    for (const QString& name : list.split(QChar(0))) {
        if (name.isEmpty()) break;
        names.push_back(name);
    }
    return names;
}

void FillList(TWideStrings& list, const QString& names) {
    list.Clear();
    for (const QString& name : SplitNames(names))
        list.Add(name);
}

} // namespace

EIniFileException::EIniFileException(const QString& path)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString()),
      message_(QStringLiteral("Unable to write to %1").arg(path)) {}

int TWideStrings::Add(const QString& text) {
    items_.push_back(text);
    return Count() - 1;
}

TCustomIniFile::TCustomIniFile(QString fileName, QLocale locale)
    : fileName_(std::move(fileName)), locale_(std::move(locale)) {
    locale_.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
}

QString TCustomIniFile::ReadWholeText(const QString& section, const QString& key) {
    return ReadText(section, key, QString());
}

int32_t TCustomIniFile::ReadNumber(const QString& section, const QString& key,
                                   int32_t defaultValue) {
    return ParseNumber(ReadText(section, key, QString())).value_or(defaultValue);
}

void TCustomIniFile::WriteNumber(const QString& section, const QString& key, int32_t value) {
    WriteText(section, key, QString::number(value));
}

bool TCustomIniFile::ReadFlag(const QString& section, const QString& key, bool defaultValue) {
    return ReadNumber(section, key, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteFlag(const QString& section, const QString& key, bool value) {
    WriteText(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

qint64 TCustomIniFile::ReadHexStream(const QString& section, const QString& key,
                                     QIODevice& stream) {
    const QString text = ReadWholeText(section, key);
    if (text.isEmpty()) return 0;
    const qint64 position = stream.pos();
    stream.write(DecodeHex(text));
    stream.seek(position);
    return stream.size() - position;
}

void TCustomIniFile::WriteHexStream(const QString& section, const QString& key, QIODevice& stream) {
    const qint64 position = stream.pos();
    const QByteArray bytes = stream.readAll();
    stream.seek(position);
    WriteText(section, key, QString::fromLatin1(bytes.toHex().toUpper()));
}

QString TCustomIniFile::RealText(double value, const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 15);
}

// Non-finite values are refused: "inf" in a size field would mean nothing to the search.
std::optional<double> TCustomIniFile::ParseReal(const QString& text, const QLocale& locale) {
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

double TCustomIniFile::ReadReal(const QString& section, const QString& key, double defaultValue) {
    const QString text = ReadText(section, key, QString());
    if (text.isEmpty()) return defaultValue;
    return ParseReal(text, locale_).value_or(defaultValue);
}

void TCustomIniFile::WriteReal(const QString& section, const QString& key, double value) {
    WriteText(section, key, RealText(value, locale_));
}

QDate TCustomIniFile::ReadCalendarDate(const QString& section, const QString& key,
                                       const QDate& defaultValue) {
    const QDate date = locale_.toDate(ReadText(section, key, QString()), QLocale::ShortFormat);
    return date.isValid() ? date : defaultValue;
}

QDateTime TCustomIniFile::ReadDateAndTime(const QString& section, const QString& key,
                                          const QDateTime& defaultValue) {
    const QDateTime moment =
        locale_.toDateTime(ReadText(section, key, QString()), DateTimeFormat(locale_));
    return moment.isValid() ? moment : defaultValue;
}

QTime TCustomIniFile::ReadClockTime(const QString& section, const QString& key,
                                    const QTime& defaultValue) {
    const QTime time = locale_.toTime(ReadText(section, key, QString()), ClockFormat(locale_));
    return time.isValid() ? time : defaultValue;
}

void TCustomIniFile::WriteCalendarDate(const QString& section, const QString& key,
                                       const QDate& value) {
    WriteText(section, key, locale_.toString(value, QLocale::ShortFormat));
}

void TCustomIniFile::WriteDateAndTime(const QString& section, const QString& key,
                                      const QDateTime& value) {
    WriteText(section, key, locale_.toString(value, DateTimeFormat(locale_)));
}

void TCustomIniFile::WriteClockTime(const QString& section, const QString& key,
                                    const QTime& value) {
    WriteText(section, key, locale_.toString(value, ClockFormat(locale_)));
}

// ---- TIniFile ----

TIniFile::~TIniFile() {
    FlushFile();
}

std::string TIniFile::NativePath() const {
    return QFile::encodeName(FileName()).toStdString();
}

QString TIniFile::ReadText(const QString& section, const QString& key,
                           const QString& defaultValue) {
    return GetPrivateProfileString(section, key, defaultValue, TextBuffer, NativePath());
}

QString TIniFile::ReadWholeText(const QString& section, const QString& key) {
    return GetPrivateProfileString(section, key, QString(), std::numeric_limits<qsizetype>::max(),
                                   NativePath());
}

void TIniFile::WriteText(const QString& section, const QString& key, const QString& value) {
    if (!WritePrivateProfileString(section, key, value, NativePath()))
        throw EIniFileException(FileName());
}

void TIniFile::ListSectionKeys(const QString& section, TWideStrings& list) {
    FillList(list,
             GetPrivateProfileString(section, std::nullopt, QString(), NameBuffer, NativePath()));
}

void TIniFile::ListSections(TWideStrings& list) {
    FillList(list, GetPrivateProfileString(std::nullopt, std::nullopt, QString(), NameBuffer,
                                           NativePath()));
}

void TIniFile::ListSectionPairs(const QString& section, TWideStrings& list) {
    TWideStrings keys;
    ListSectionKeys(section, keys);
    list.Clear();
    for (int i = 0; i < keys.Count(); ++i)
        list.Add(keys.Get(i) + u'=' + ReadText(section, keys.Get(i), QString()));
}

void TIniFile::RemoveSection(const QString& section) {
    if (!WritePrivateProfileString(section, std::nullopt, std::nullopt, NativePath()))
        throw EIniFileException(FileName());
}

void TIniFile::RemoveKey(const QString& section, const QString& key) {
    WritePrivateProfileString(section, key, std::nullopt, NativePath());
}

void TIniFile::FlushFile() {
    WritePrivateProfileString(std::nullopt, std::nullopt, std::nullopt, NativePath());
}

} // namespace pellmora
