#include "settings/LineListText.h"

#include <QStringDecoder>

namespace pellmora {

namespace {

constexpr char16_t EscapeBase = 0xDC00;

// Windows-1252 0x80..0x9F; the rest of the page is Latin-1.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString FromUtf16(QByteArrayView bytes, bool littleEndian) {
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<uint8_t>(bytes[i]);
        const auto second = static_cast<uint8_t>(bytes[i + 1]);
        text.append(
            QChar(littleEndian ? char16_t(first | second << 8) : char16_t(second | first << 8)));
    }
    return text;
}

QString FromWindows1252(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const auto b = static_cast<uint8_t>(byte);
        text.append(QChar(b >= 0x80 && b < 0xA0 ? Cp1252High[b - 0x80] : char16_t(b)));
    }
    return text;
}

QString FromEightBit(QByteArrayView bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    return utf8.hasError() ? FromWindows1252(bytes) : text;
}

QString DecodedText(const QByteArray& bytes) {
    const QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE")) return FromUtf16(view.sliced(2), true);
    if (view.startsWith("\xFE\xFF")) return FromUtf16(view.sliced(2), false);
    if (view.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(view.sliced(3));
    return FromEightBit(view);
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at i with its code point, or 0.
size_t Utf8Sequence(const std::string& s, size_t i, char32_t& point) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) return point = lead, 1;
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > s.size()) return 0;
    point = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if (!IsContinuation(c)) return 0;
        point = point << 6 | (c & 0x3F);
    }
    static constexpr char32_t Smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < Smallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

bool BreaksLine(char32_t point) {
    return point == u'\n' || point == u'\r' || point == 0x2028;
}

void AppendUtf8(std::string& out, char32_t point) {
    const QString text = QString::fromUcs4(&point, 1);
    out += text.toUtf8().toStdString();
}

} // namespace

QByteArray LineListBytes(const QStringList& lines) {
    QByteArray bytes("\xFF\xFE", 2);
    for (const QString& line : lines) {
        for (QChar c : line + QStringLiteral("\r\n")) {
            bytes.append(static_cast<char>(c.unicode() & 0xFF));
            bytes.append(static_cast<char>(c.unicode() >> 8));
        }
    }
    return bytes;
}

QStringList LinesOfText(const QByteArray& bytes) {
    const QString text = DecodedText(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n' && c != QChar(0x2028)) continue;
        lines.push_back(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.sliced(start));
    return lines;
}

QString EscapedPath(const std::string& bytes) {
    QString line;
    for (size_t i = 0; i < bytes.size();) {
        char32_t point = 0;
        const size_t length = Utf8Sequence(bytes, i, point);
        if (length > 0 && !BreaksLine(point)) {
            line.append(QString::fromUcs4(&point, 1));
            i += length;
            continue;
        }
        for (size_t end = i + std::max<size_t>(length, 1); i < end; ++i)
            line.append(QChar(char16_t(EscapeBase | static_cast<unsigned char>(bytes[i]))));
    }
    return line;
}

std::string NativePath(const QString& line) {
    std::string bytes;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c.isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate()) {
            AppendUtf8(bytes, QChar::surrogateToUcs4(c, line[i + 1]));
            ++i;
        } else if (c.unicode() >= EscapeBase && c.unicode() <= EscapeBase + 0xFF) {
            bytes += static_cast<char>(c.unicode() - EscapeBase);
        } else {
            AppendUtf8(bytes, c.isSurrogate() ? char32_t(0xFFFD) : char32_t(c.unicode()));
        }
    }
    return bytes;
}

QStringList EscapedPaths(const TStringArr& paths) {
    QStringList lines;
    for (const std::string& path : paths)
        lines.push_back(EscapedPath(path));
    return lines;
}

TStringArr NativePaths(const QStringList& lines) {
    TStringArr paths;
    for (const QString& line : lines)
        paths.push_back(NativePath(line));
    return paths;
}

} // namespace pellmora
