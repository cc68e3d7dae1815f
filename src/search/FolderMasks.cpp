#include "search/FolderMasks.h"

#include <QFile>
#include <QStringList>

namespace pellmora {

namespace {

// The bytes of the character at i: a whole UTF-8 sequence, or one byte where there is none.
size_t CharLength(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
    if (i + length > text.size()) return 1;
    for (size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
    return length;
}

} // namespace

SkipFolderMasks::SkipFolderMasks(const QString& text) {
    for (const QString& part : text.split(u'|', Qt::SkipEmptyParts)) {
        const QString mask = part.trimmed();
        if (mask.isEmpty()) continue;
        std::string bytes = QFile::encodeName(mask).toStdString();
        (mask.contains(u'/') ? paths_ : names_).push_back(std::move(bytes));
    }
}

bool SkipFolderMasks::Skips(std::string_view path) const {
    if (Empty()) return false;
    if (!path.empty() && path.back() == '/') path.remove_suffix(1);
    const std::string_view name = path.substr(path.rfind('/') + 1);
    for (const std::string& mask : names_)
        if (MatchesFolderMask(mask, name)) return true;
    for (const std::string& mask : paths_)
        if (MatchesFolderMask(mask, path)) return true;
    return false;
}

// Neither wildcard crosses a "/", so the mask's slashes meet the text's slashes one by one and
// the last star is the only one worth moving on a mismatch.
bool MatchesFolderMask(std::string_view mask, std::string_view text) {
    constexpr size_t None = std::string_view::npos;
    size_t m = 0;
    size_t t = 0;
    size_t starMask = None;
    size_t starText = 0;
    while (t < text.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starText = t;
        } else if (m < mask.size() && mask[m] == '?' && text[t] != '/') {
            ++m;
            t += CharLength(text, t);
        } else if (m < mask.size() && mask[m] != '?' && mask[m] == text[t]) {
            ++m;
            ++t;
        } else if (starMask != None && text[starText] != '/') {
            starText += CharLength(text, starText);
            t = starText;
            m = starMask + 1;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

} // namespace pellmora
