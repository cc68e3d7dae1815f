#include "platform/CodePage.h"

#include <cerrno>
#include <set>

namespace pellmora {

namespace {

using L = QLocale::Language;

const std::set<L> CentralEuropean = {L::Polish,    L::Czech,        L::Slovak,      L::Hungarian,
                                     L::Slovenian, L::Croatian,     L::Romanian,    L::Albanian,
                                     L::Turkmen,   L::LowerSorbian, L::UpperSorbian};
const std::set<L> Cyrillic = {L::Russian,    L::Ukrainian, L::Belarusian, L::Bulgarian,
                              L::Macedonian, L::Kazakh,    L::Kyrgyz,     L::Tatar,
                              L::Mongolian,  L::Bashkir,   L::Tajik,      L::Sakha};
const std::set<L> Arabic = {L::Arabic, L::Persian, L::Urdu,          L::Uyghur,
                            L::Pashto, L::Sindhi,  L::CentralKurdish};
const std::set<L> Baltic = {L::Estonian, L::Latvian, L::Lithuanian};

// Serbian, Bosnian, Azerbaijani and Uzbek are written in Latin or Cyrillic letters, and the
// page follows the script.
int PageOfScriptLanguage(const QLocale& locale) {
    const bool cyrillic = locale.script() == QLocale::CyrillicScript;
    switch (locale.language()) {
    case L::Serbian:
    case L::Bosnian:
        return cyrillic ? 1251 : 1250;
    case L::Azerbaijani:
    case L::Uzbek:
        return cyrillic ? 1251 : 1254;
    default:
        return 0;
    }
}

int PageOfChinese(const QLocale& locale) {
    const auto territory = locale.territory();
    const bool traditional = locale.script() == QLocale::TraditionalChineseScript ||
                             territory == QLocale::Taiwan || territory == QLocale::HongKong ||
                             territory == QLocale::Macao;
    return traditional ? 950 : 936;
}

int PageOfSingleLanguage(L language) {
    switch (language) {
    case L::Greek:
        return 1253;
    case L::Turkish:
        return 1254;
    case L::Hebrew:
    case L::Yiddish:
        return 1255;
    case L::Vietnamese:
        return 1258;
    case L::Thai:
        return 874;
    case L::Japanese:
        return 932;
    case L::Korean:
        return 949;
    default:
        break;
    }
    if (CentralEuropean.count(language)) return 1250;
    if (Cyrillic.count(language)) return 1251;
    if (Arabic.count(language)) return 1256;
    if (Baltic.count(language)) return 1257;
    return 1252;
}

} // namespace

int AnsiCodePage(const QLocale& locale) {
    if (locale.language() == L::Chinese) return PageOfChinese(locale);
    if (const int page = PageOfScriptLanguage(locale)) return page;
    return PageOfSingleLanguage(locale.language());
}

CodePageEncoder::CodePageEncoder(int codePage)
    : cd_(iconv_open(("CP" + std::to_string(codePage)).c_str(), "WCHAR_T")) {}

CodePageEncoder::~CodePageEncoder() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
}

// Without the conversion module (a stripped system) the report still comes out readable.
std::string CodePageEncoder::EncodeAscii(const std::wstring& wide, int* unmapped) const {
    std::string out;
    out.reserve(wide.size());
    for (const wchar_t c : wide) {
        const bool ascii = static_cast<uint32_t>(c) < 0x80;
        out += ascii ? static_cast<char>(c) : '?';
        if (!ascii && unmapped) ++*unmapped;
    }
    return out;
}

std::string CodePageEncoder::Encode(const QString& text, int* unmapped) {
    if (unmapped) *unmapped = 0;
    std::wstring wide = text.toStdWString();
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return EncodeAscii(wide, unmapped);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(wide.size() * 2 + 16, '\0');
    auto* in = reinterpret_cast<char*>(wide.data());
    size_t inLeft = wide.size() * sizeof(wchar_t);
    size_t used = 0;
    while (inLeft > 0) {
        char* dst = out.data() + used;
        size_t outLeft = out.size() - used;
        const size_t done = iconv(cd_, &in, &inLeft, &dst, &outLeft);
        used = out.size() - outLeft;
        if (done != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else { // EILSEQ or EINVAL: this character has no mapping
            out.resize(std::max(out.size(), used + 1));
            out[used++] = '?';
            in += sizeof(wchar_t);
            inLeft -= sizeof(wchar_t);
            if (unmapped) ++*unmapped;
            if (out.size() - used < 8) out.resize(out.size() * 2);
        }
    }
    out.resize(used);
    return out;
}

} // namespace pellmora
