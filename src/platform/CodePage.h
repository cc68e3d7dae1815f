#pragma once
// The 8-bit text of the reports: the Windows code page of the user's language, through iconv,
// so that a report reads the same as one written on that platform.

#include <QLocale>
#include <QString>

#include <iconv.h>
#include <string>

namespace pellmora {

// 1252 for Western European languages and any language without a page of its own; 1250, 1251,
// 1253 to 1258 and 874 for the other alphabets; 932, 936, 950 and 949 for Japanese, Chinese
// (Simplified, Traditional) and Korean.
int AnsiCodePage(const QLocale& locale);

// Converts text to one code page. Each character the page lacks becomes "?".
class CodePageEncoder {
  public:
    explicit CodePageEncoder(int codePage);
    ~CodePageEncoder();
    CodePageEncoder(const CodePageEncoder&) = delete;
    CodePageEncoder& operator=(const CodePageEncoder&) = delete;

    // unmapped, when given, receives the number of characters written as "?" for want of a
    // mapping.
    std::string Encode(const QString& text, int* unmapped = nullptr);

  private:
    std::string EncodeAscii(const std::wstring& wide, int* unmapped) const;

    iconv_t cd_;
};

} // namespace pellmora
