#include "platform/PrivateProfile.h"

#include "platform/SmallFile.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringList>

#include <cerrno>

#include <sys/stat.h>
#include <utility>
#include <vector>

namespace pellmora {

namespace {

struct Line {
    QByteArray Text; // without its line break
    const char* End; // "\n", "\r\n", or "" for a last line without one
};

struct Profile {
    QByteArray Buffer; // the file as read; unchanged lines point into it
    bool Utf8Mark = false;
    const char* NewLine = "\n";
    std::vector<Line> Lines;
};

enum class LineKind { Other, Header, Pair };

struct ParsedLine {
    LineKind Kind = LineKind::Other;
    QString Name;
    qsizetype ValueStart = 0;
};

struct Range {
    size_t Header = 0;
    size_t End = 0; // the next header, or the end of the file
};

// A file saved as UTF-16 by another editor is read as text too; it is written back as UTF-8.
QByteArray AsUtf8(const QByteArray& bytes, bool& utf8Mark) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        utf8Mark = true;
        return bytes.mid(3);
    }
    const bool little = bytes.startsWith("\xFF\xFE");
    if (!little && !bytes.startsWith("\xFE\xFF")) return bytes;
    QStringDecoder decode(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    const QString text = decode(QByteArrayView(bytes).sliced(2));
    return text.toUtf8();
}

Profile Parse(const QByteArray& bytes) {
    Profile profile;
    profile.Buffer = AsUtf8(bytes, profile.Utf8Mark);
    const QByteArray& text = profile.Buffer;
    profile.Lines.reserve(static_cast<size_t>(text.count('\n')) + 1);
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype feed = text.indexOf('\n', start);
        const qsizetype stop = feed < 0 ? text.size() : feed;
        const bool crlf = feed >= 0 && stop > start && text[stop - 1] == '\r';
        // A file of a million short lines is read thirteen times at start: no copies.
        Line line{QByteArray::fromRawData(text.constData() + start, stop - start - (crlf ? 1 : 0)),
                  crlf       ? "\r\n"
                  : feed < 0 ? ""
                             : "\n"};
        profile.Lines.push_back(std::move(line));
        start = stop + 1;
    }
    if (!profile.Lines.empty() && *profile.Lines.front().End == '\r') profile.NewLine = "\r\n";
    return profile;
}

// Nothing when a file stands at path but cannot be taken (unreadable, too large, a folder).
std::optional<Profile> Load(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return Profile();
    const std::optional<QByteArray> bytes = ReadSmallFile(path);
    if (!bytes) return std::nullopt;
    return Parse(*bytes);
}

ParsedLine Classify(const QByteArray& text) {
    const QByteArrayView trimmed = QByteArrayView(text).trimmed();
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.indexOf(']');
        if (close < 0) return {};
        return {LineKind::Header, QString::fromUtf8(trimmed.sliced(1, close - 1)).trimmed(), 0};
    }
    if (trimmed.startsWith(';') || trimmed.startsWith('#')) return {};
    const qsizetype equals = text.indexOf('=');
    if (equals < 0) return {};
    const QString name = QString::fromUtf8(QByteArrayView(text).first(equals)).trimmed();
    if (name.isEmpty()) return {};
    return {LineKind::Pair, name, equals + 1};
}

bool SameName(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

bool Quoted(const QString& v) {
    return v.size() >= 2 && v.front() == u'"' && v.back() == u'"';
}

QString ValueOf(const QByteArray& text, qsizetype start) {
    const QString value = QString::fromUtf8(text.sliced(start)).trimmed();
    return Quoted(value) ? value.sliced(1, value.size() - 2) : value;
}

QString Stored(const QString& value) {
    const bool padded = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    return padded || Quoted(value) ? u'"' + value + u'"' : value;
}

std::optional<Range> FindSection(const Profile& profile, const QString& section) {
    for (size_t i = 0; i < profile.Lines.size(); ++i) {
        const ParsedLine line = Classify(profile.Lines[i].Text);
        if (line.Kind != LineKind::Header || !SameName(line.Name, section)) continue;
        size_t end = i + 1;
        while (end < profile.Lines.size() &&
               Classify(profile.Lines[end].Text).Kind != LineKind::Header)
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const Profile& profile, Range range, const QString& key) {
    for (size_t i = range.Header + 1; i < range.End; ++i) {
        const ParsedLine line = Classify(profile.Lines[i].Text);
        if (line.Kind == LineKind::Pair && SameName(line.Name, key)) return i;
    }
    return std::nullopt;
}

QString Cut(const QString& text, qsizetype bufferSize) {
    return text.left(std::max<qsizetype>(bufferSize - 1, 0));
}

QString NameList(const QStringList& names, qsizetype bufferSize) {
    QString list;
    for (const QString& name : names)
        list += name + QChar(0);
    if (list.size() > bufferSize - 1) {
        list.truncate(std::max<qsizetype>(bufferSize - 2, 0));
        list += QChar(0);
    }
    return list;
}

QStringList SectionNames(const Profile& profile) {
    QStringList names;
    for (const Line& line : profile.Lines) {
        const ParsedLine parsed = Classify(line.Text);
        if (parsed.Kind == LineKind::Header) names.push_back(parsed.Name);
    }
    return names;
}

QStringList KeyNames(const Profile& profile, Range range) {
    QStringList names;
    for (size_t i = range.Header + 1; i < range.End; ++i) {
        const ParsedLine parsed = Classify(profile.Lines[i].Text);
        if (parsed.Kind == LineKind::Pair) names.push_back(parsed.Name);
    }
    return names;
}

bool HasLineBreakOrZero(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(0));
}

bool SectionFits(const QString& section) {
    return !HasLineBreakOrZero(section) && !section.contains(u']');
}

bool KeyFits(const QString& key) {
    const QString name = key.trimmed();
    return !name.isEmpty() && !HasLineBreakOrZero(name) && !name.contains(u'=') &&
           !name.startsWith(u'[') && !name.startsWith(u';') && !name.startsWith(u'#');
}

bool Save(const Profile& profile, const std::string& path) {
    QByteArray bytes = profile.Utf8Mark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (const Line& line : profile.Lines)
        bytes += line.Text + line.End;
    return ReplaceSmallFile(path, bytes) == 0;
}

void EndLastLine(Profile& profile) {
    if (!profile.Lines.empty() && *profile.Lines.back().End == '\0')
        profile.Lines.back().End = profile.NewLine;
}

void SetValue(Profile& profile, const QString& section, const QString& key, const QString& value) {
    const QByteArray text = (key.trimmed() + u'=' + Stored(value)).toUtf8();
    const std::optional<Range> range = FindSection(profile, section);
    if (!range) {
        EndLastLine(profile);
        profile.Lines.push_back({(u'[' + section.trimmed() + u']').toUtf8(), profile.NewLine});
        profile.Lines.push_back({text, profile.NewLine});
        return;
    }
    if (const std::optional<size_t> at = FindKey(profile, *range, key)) {
        profile.Lines[*at].Text = text;
        return;
    }
    size_t after = range->Header;
    for (size_t i = range->Header + 1; i < range->End; ++i)
        if (!profile.Lines[i].Text.trimmed().isEmpty()) after = i;
    if (*profile.Lines[after].End == '\0') profile.Lines[after].End = profile.NewLine;
    profile.Lines.insert(profile.Lines.begin() + static_cast<std::ptrdiff_t>(after + 1),
                         Line{text, profile.NewLine});
}

// False when nothing was there to remove, so the file need not be written.
bool Remove(Profile& profile, const QString& section, const std::optional<QString>& key) {
    const std::optional<Range> range = FindSection(profile, section);
    if (!range) return false;
    auto begin = profile.Lines.begin();
    if (!key) {
        profile.Lines.erase(begin + static_cast<std::ptrdiff_t>(range->Header),
                            begin + static_cast<std::ptrdiff_t>(range->End));
        return true;
    }
    const std::optional<size_t> at = FindKey(profile, *range, *key);
    if (!at) return false;
    profile.Lines.erase(begin + static_cast<std::ptrdiff_t>(*at));
    return true;
}

} // namespace

QString GetPrivateProfileString(const std::optional<QString>& section,
                                const std::optional<QString>& key, const QString& defaultValue,
                                qsizetype bufferSize, const std::string& path) {
    const std::optional<Profile> profile = Load(path);
    if (!section) return NameList(profile ? SectionNames(*profile) : QStringList(), bufferSize);
    const std::optional<Range> range = profile ? FindSection(*profile, *section) : std::nullopt;
    if (!key) return NameList(range ? KeyNames(*profile, *range) : QStringList(), bufferSize);
    const std::optional<size_t> at = range ? FindKey(*profile, *range, *key) : std::nullopt;
    if (!at) return Cut(defaultValue, bufferSize);
    const Line& line = profile->Lines[*at];
    return Cut(ValueOf(line.Text, Classify(line.Text).ValueStart), bufferSize);
}

bool WritePrivateProfileString(const std::optional<QString>& section,
                               const std::optional<QString>& key,
                               const std::optional<QString>& value, const std::string& path) {
    if (!section) return !key && !value; // a flush: nothing is kept back
    if (!SectionFits(*section) || (key && !KeyFits(*key)) || (value && HasLineBreakOrZero(*value)))
        return false;
    std::optional<Profile> profile = Load(path);
    if (!profile) return false;
    if (key && value) {
        SetValue(*profile, *section, *key, *value);
    } else if (!Remove(*profile, *section, key)) {
        return true;
    }
    return Save(*profile, path);
}

} // namespace pellmora
