// The stored form of line lists: the directory list of the settings and "masks.ini".

#include "settings/LineListText.h"

#include <gtest/gtest.h>

using namespace pellmora;

namespace {

QByteArray Hex(const char* hex) {
    return QByteArray::fromHex(hex);
}

TEST(LineListTextTest, WritesUtf16WithMarkAndCrLfAfterEveryLine) {
    EXPECT_EQ(LineListBytes({}).toHex().toUpper(), "FFFE");
    EXPECT_EQ(LineListBytes({"/data/"}).toHex().toUpper(), "FFFE2F0064006100740061002F000D000A00");
    EXPECT_EQ(LineListBytes({"", "\u00e9"}).toHex().toUpper(), "FFFE0D000A00E9000D000A00");
}

TEST(LineListTextTest, ReadsByTheMarkOrAsEightBitText) {
    const struct {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {Hex("FFFE43003A005C0044006100740061005C000D000A00"), {"C:\\Data\\"}},
        {Hex("FEFF0041000D000A0042"), {"A", "B"}},
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9\n",
         {"caf\u00e9"}},
        {"caf\xC3\xA9", {"caf\u00e9"}},
        {"Bilder \xE4\x80", {"Bilder \u00e4\u20ac"}}, // not UTF-8: Windows-1252
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"\r\n", {""}},
        {Hex("FFFE41002820420028204300"), {"A", "B", "C"}},
        {QByteArray("\xFF\xFE\x41\x00\x42\x00\x43", 7),
         {"AB"}}, // odd length: the last byte is ignored
        {Hex("FFFE"), {}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinesOfText(c.bytes), c.lines) << c.bytes.toHex().toStdString();
}

TEST(LineListTextTest, NativePathsSurviveWhateverTheirBytes) {
    const std::string paths[] = {
        "/home/u/Fotos/",     "/tmp/caf\xC3\xA9/",  "/tmp/\xE9t\xE9/",
        "/tmp/a\nb/",         "/tmp/\xE2\x80\xA8/", "/tmp/\xF0\x9F\x98\x80/",
        "/tmp/\xED\xA0\x80/", "/tmp/\xC0\xAF/",     "/tmp/\xF4\x90\x80\x80"};
    for (const std::string& path : paths) {
        const QString line = EscapedPath(path);
        EXPECT_EQ(LinesOfText(LineListBytes({line})).size(), 1) << path;
        EXPECT_EQ(NativePaths(LinesOfText(LineListBytes({line}))), TStringArr{path}) << path;
    }
    EXPECT_EQ(EscapedPath("/tmp/caf\xC3\xA9/"), "/tmp/caf\u00e9/");
}

} // namespace
