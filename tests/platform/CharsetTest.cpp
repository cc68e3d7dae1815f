#include "platform/Charset.h"

#include <clocale>
#include <gtest/gtest.h>

using namespace pellmora;

namespace {

TEST(Charset, EachCharacterWithoutAMappingBecomesOneQuestionMark) {
    struct Case {
        const char* Charset;
        QString Text;
        std::string Bytes;
        int Unmapped;
    } cases[] = {
        {"UTF-8", QStringLiteral("\u5199\u771f/caf\u00e9 & \u20ac"),
         "\xe5\x86\x99\xe7\x9c\x9f/caf\xc3\xa9 & \xe2\x82\xac", 0},
        {"UTF-8", QString::fromUtf8("a\xf0\x9f\x98\x80z"), "a\xf0\x9f\x98\x80z", 0},
        {"ISO-8859-1", QStringLiteral("caf\u00e9 \u20ac"), "caf\xe9 ?", 1},
        {"ISO-8859-15", QStringLiteral("\u20ac \u03a9"), "\xa4 ?", 1},
        {"ANSI_X3.4-1968", QStringLiteral("\u5199\u771f/x"),
         "??"
         "/x",
         2},
        {"EUC-JP", QStringLiteral("\u65e5\u672c x"), "\xc6\xfc\xcb\xdc x", 0},
        {"UTF-8", QString(), "", 0},
    };
    for (const Case& c : cases) {
        CharsetEncoder encoder(c.Charset);
        int unmapped = -1;
        EXPECT_EQ(encoder.Encode(c.Text, &unmapped), c.Bytes) << c.Charset;
        EXPECT_EQ(unmapped, c.Unmapped) << c.Charset;
    }
}

TEST(Charset, ALongTextIsConvertedWhole) {
    CharsetEncoder encoder("UTF-8");
    const QString text = QString(100000, QChar(0x65e5)) + QChar(0x03a9) + QStringLiteral("end");
    const std::string bytes = encoder.Encode(text);
    ASSERT_EQ(bytes.size(), 300000u + 2u + 3u);
    EXPECT_EQ(bytes.substr(bytes.size() - 3), "end");
}

TEST(Charset, TheLocalesCharacterTypeNamesTheSet) {
    const std::string before = std::setlocale(LC_CTYPE, nullptr);
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) GTEST_SKIP() << "no C.UTF-8 locale";
    EXPECT_EQ(LocaleCharset(), "UTF-8");
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(LocaleCharset(), "ANSI_X3.4-1968");
    std::setlocale(LC_CTYPE, before.c_str());
}

} // namespace
