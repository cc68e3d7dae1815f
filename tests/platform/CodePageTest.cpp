#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace pellmora;

namespace {

TEST(CodePage, TheUsersLanguageChoosesTheWindowsPage) {
    const std::pair<QLocale, int> cases[] = {
        {QLocale(QLocale::C), 1252},
        {QLocale(QLocale::English, QLocale::UnitedStates), 1252},
        {QLocale(QLocale::German, QLocale::Germany), 1252},
        {QLocale(QLocale::Polish), 1250},
        {QLocale(QLocale::Czech), 1250},
        {QLocale(QLocale::Russian), 1251},
        {QLocale(QLocale::Ukrainian), 1251},
        {QLocale(QLocale::Serbian, QLocale::CyrillicScript, QLocale::Serbia), 1251},
        {QLocale(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia), 1250},
        {QLocale(QLocale::Greek), 1253},
        {QLocale(QLocale::Turkish), 1254},
        {QLocale(QLocale::Azerbaijani, QLocale::LatinScript, QLocale::Azerbaijan), 1254},
        {QLocale(QLocale::Hebrew), 1255},
        {QLocale(QLocale::Arabic, QLocale::Egypt), 1256},
        {QLocale(QLocale::Persian), 1256},
        {QLocale(QLocale::Lithuanian), 1257},
        {QLocale(QLocale::Vietnamese), 1258},
        {QLocale(QLocale::Thai), 874},
        {QLocale(QLocale::Japanese), 932},
        {QLocale(QLocale::Chinese, QLocale::China), 936},
        {QLocale(QLocale::Chinese, QLocale::Taiwan), 950},
        {QLocale(QLocale::Chinese, QLocale::HongKong), 950},
        {QLocale(QLocale::Korean), 949},
        {QLocale(QLocale::Swahili), 1252},
    };
    for (const auto& [locale, page] : cases)
        EXPECT_EQ(AnsiCodePage(locale), page) << locale.name().toStdString();
}

TEST(CodePage, EachCharacterWithoutAMappingBecomesOneQuestionMark) {
    struct Case {
        int Page;
        QString Text;
        std::string Bytes;
        int Unmapped;
    } cases[] = {
        {1252, QStringLiteral("caf\u00e9 & \u20ac"), "caf\xe9 & \x80", 0},
        {1252, QStringLiteral("\u03a9mega \u65e5"), "?mega ?", 2},
        {1252, QString::fromUtf8("a\xf0\x9f\x98\x80z"), "a?z", 1}, // one character, two halves
        {1252, QString(QChar(0xfffd)), "?", 1},
        {1251, QStringLiteral("\u0416 \u00e9"), "\xc6 ?", 1},
        {932, QStringLiteral("\u65e5\u672c x"), "\x93\xfa\x96\x7b x", 0},
        {936, QStringLiteral("\u4e2d\u6587"), "\xd6\xd0\xce\xc4", 0},
        {950, QStringLiteral("\u4e2d"), "\xa4\xa4", 0},
        {949, QStringLiteral("\ud55c"), "\xc7\xd1", 0},
        {949, QStringLiteral("\u0e01"), "?", 1},
        {1252, QString(), "", 0},
    };
    for (const Case& c : cases) {
        CodePageEncoder encoder(c.Page);
        int unmapped = -1;
        EXPECT_EQ(encoder.Encode(c.Text, &unmapped), c.Bytes) << c.Page;
        EXPECT_EQ(unmapped, c.Unmapped) << c.Page;
    }
}

TEST(CodePage, ALongTextIsConvertedWhole) {
    CodePageEncoder encoder(932);
    const QString text = QString(100000, QChar(0x65e5)) + QChar(0x03a9) + QStringLiteral("end");
    const std::string bytes = encoder.Encode(text);
    ASSERT_EQ(bytes.size(), 200000u + 2u + 3u); // Omega is in the Japanese page
    EXPECT_EQ(bytes.substr(bytes.size() - 3), "end");
}

} // namespace
