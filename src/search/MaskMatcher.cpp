#include "search/MaskMatcher.h"

#include "model/NativeText.h"

#include <QFile>
#include <QString>

namespace pellmora {

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool IsAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool EndsWithAsciiCaseless(std::string_view name, std::string_view lowerSuffix) {
    return name.size() >= lowerSuffix.size() &&
           EqualsAsciiCaseless(name.substr(name.size() - lowerSuffix.size()), lowerSuffix);
}

// Whole-text wildcard match; on a mismatch after "*" the star takes one more character. Linear
// in practice, and never worse than the product of the lengths.
template <typename Char, typename Fold>
bool WildcardMatch(std::basic_string_view<Char> mask, std::basic_string_view<Char> name,
                   Fold fold) {
    size_t m = 0;
    size_t n = 0;
    size_t star = std::basic_string_view<Char>::npos;
    size_t resume = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == Char('*')) {
            star = m++;
            resume = n;
        } else if (m < mask.size() && (mask[m] == Char('?') || mask[m] == fold(name[n]))) {
            ++m;
            ++n;
        } else if (star != std::basic_string_view<Char>::npos) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == Char('*'))
        ++m;
    return m == mask.size();
}

std::u32string FoldedCodePoints(const QString& text) {
    const QList<uint> points = text.toCaseFolded().toUcs4();
    return std::u32string(points.begin(), points.end());
}

bool OnlyStars(std::string_view mask) {
    return mask.find_first_not_of('*') == mask.npos;
}

} // namespace

MaskMatcher::MaskMatcher(const std::string& mask) {
    asciiMask_ = IsAscii(mask);
    foldedMask_ =
        FoldedCodePoints(QString::fromUtf8(mask.data(), static_cast<qsizetype>(mask.size())));
    if (asciiMask_)
        for (const char c : mask)
            asciiLowerMask_.push_back(AsciiLower(c));
    if (mask.empty())
        kind_ = Kind::Nothing;
    else if (mask == "*.*" || OnlyStars(mask))
        kind_ = Kind::Everything;
    else if (asciiMask_ && mask.size() > 1 && mask[0] == '*' &&
             mask.find_first_of("*?", 1) == std::string::npos)
        kind_ = Kind::AsciiSuffix;
    else
        kind_ = Kind::Pattern;
}

bool MaskMatcher::Matches(std::string_view name) const {
    switch (kind_) {
    case Kind::Nothing:
        return false;
    case Kind::Everything:
        return true;
    case Kind::AsciiSuffix:
        if (!IsAscii(name)) return MatchesDecoded(name);
        return EndsWithAsciiCaseless(name, std::string_view(asciiLowerMask_).substr(1));
    case Kind::Pattern:
        // Outside ASCII, case folding can map a letter onto an ASCII one (KELVIN SIGN onto k).
        if (!asciiMask_ || !IsAscii(name)) return MatchesDecoded(name);
        return WildcardMatch<char>(asciiLowerMask_, name, AsciiLower);
    }
    return false;
}

bool MaskMatcher::MatchesDecoded(std::string_view name) const {
    const QString decoded = Decoded(name);
    const std::u32string folded = FoldedCodePoints(decoded);
    return WildcardMatch<char32_t>(foldedMask_, folded, [](char32_t c) { return c; });
}

bool EqualsAsciiCaseless(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

bool IsSystemFileName(std::string_view name) {
    static constexpr std::string_view systemSuffixes[] = {".dll", ".sys", ".ocx", ".drv"};
    for (const std::string_view suffix : systemSuffixes)
        if (EndsWithAsciiCaseless(name, suffix)) return true;
    return false;
}

} // namespace pellmora
