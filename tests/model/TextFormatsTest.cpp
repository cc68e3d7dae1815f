#include "model/TextFormats.h"

#include <gtest/gtest.h>

namespace pellmora {
namespace {

TEST(TextFormats, SizeTextBoundariesAndLocales) {
    const QLocale c = QLocale::c();
    EXPECT_EQ(SizeText(0, c), "0 B");
    EXPECT_EQ(SizeText(-5, c), "-5 B");
    EXPECT_EQ(SizeText(1023, c), "1023 B");
    EXPECT_EQ(SizeText(1024, c), "1 KB");
    EXPECT_EQ(SizeText(2048, c), "2 KB");
    EXPECT_EQ(SizeText(1048575, c), "1024 KB");
    EXPECT_EQ(SizeText(1048576, c), "1.00 MB");
    EXPECT_EQ(SizeText(1073741823, c), "1024.00 MB");
    EXPECT_EQ(SizeText(1073741824, c), "1.000 GB");
    EXPECT_EQ(SizeText(3221225472, c), "3.000 GB");
    EXPECT_EQ(SizeText(1536LL * 1073741824, c), "1536.000 GB");
    EXPECT_EQ(SizeText(1572864, QLocale(QLocale::German, QLocale::Germany)), "1,50 MB");
}

TEST(TextFormats, CountsElapsedTimeAndTrimming) {
    EXPECT_EQ(FormatCount(1187, QLocale::c()), "1,187");
    EXPECT_EQ(FormatCount(1234567, QLocale(QLocale::German, QLocale::Germany)), "1.234.567");
    EXPECT_EQ(FormatCount(0, QLocale::c()), "0");
    EXPECT_EQ(ElapsedText(0), "00:00:00");
    EXPECT_EQ(ElapsedText(59999), "00:00:59");
    EXPECT_EQ(ElapsedText(3600000), "01:00:00");
    EXPECT_EQ(ElapsedText(3723000), "01:02:03");
    EXPECT_EQ(ElapsedText(100u * 3600000u + 61000u), "00:01:01");
    EXPECT_EQ(TrimBlanks(QStringLiteral("\t *.txt \x01")), "*.txt");
    EXPECT_EQ(TrimBlanks(QStringLiteral(" \n")), "");
}

TEST(TextFormats, LineFeedCarriageReturnIsShownAsOneLineBreak) {
    const std::pair<QString, QString> cases[] = {
        {"Done.\n\rFiles: 3\n\r\n\rEnd", "Done.\nFiles: 3\n\nEnd"},
        {"a\r\nb", "a\r\nb"}, // only the program's own order is a break
        {"\n\r\r", "\n\r"},
        {"", ""}};
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(WithLineBreaks(text), shown) << text.toStdString();
}

} // namespace
} // namespace pellmora
