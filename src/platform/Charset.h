#pragma once
// The text of the reports in the character set of the user's locale, through iconv: a path
// list that a script reads, and a page that a browser shows, as the rest of the desktop writes
// them.

#include <QString>

#include <iconv.h>
#include <string>

namespace pellmora {

// The character set of the locale's character type (LC_CTYPE), as iconv and <meta charset>
// name it: "UTF-8" on every current system.
std::string LocaleCharset();

// Converts text to one character set. Each character the set lacks becomes "?".
class CharsetEncoder {
  public:
    explicit CharsetEncoder(std::string charset);
    ~CharsetEncoder();
    CharsetEncoder(const CharsetEncoder&) = delete;
    CharsetEncoder& operator=(const CharsetEncoder&) = delete;

    const std::string& Charset() const { return charset_; }

    // unmapped, when given, receives the number of characters written as "?" for want of a
    // mapping.
    std::string Encode(const QString& text, int* unmapped = nullptr);

  private:
    std::string EncodeAscii(const std::wstring& wide, int* unmapped) const;

    std::string charset_;
    iconv_t cd_;
};

} // namespace pellmora
