#include "platform/Charset.h"

#include <cerrno>
#include <langinfo.h>
#include <utility>

namespace pellmora {

std::string LocaleCharset() {
    const char* charset = nl_langinfo(CODESET);
    return charset && *charset ? charset : "UTF-8";
}

CharsetEncoder::CharsetEncoder(std::string charset)
    : charset_(std::move(charset)), cd_(iconv_open(charset_.c_str(), "WCHAR_T")) {}

CharsetEncoder::~CharsetEncoder() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
}

// Without the conversion module (a stripped system) the report still comes out readable.
std::string CharsetEncoder::EncodeAscii(const std::wstring& wide, int* unmapped) const {
    std::string out;
    out.reserve(wide.size());
    for (const wchar_t c : wide) {
        const bool ascii = static_cast<uint32_t>(c) < 0x80;
        out += ascii ? static_cast<char>(c) : '?';
        if (!ascii && unmapped) ++*unmapped;
    }
    return out;
}

std::string CharsetEncoder::Encode(const QString& text, int* unmapped) {
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
