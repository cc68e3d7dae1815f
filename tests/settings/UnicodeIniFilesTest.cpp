// The typed values of the INI file, read from texts a user or another program may have left.

#include "settings/UnicodeIniFiles.h"
#include "support/TempTree.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

#include <cmath>

using namespace pellmora;
using pellmora::test::TempTree;

namespace {

struct IniFileTest : ::testing::Test {
    TempTree tree;
    QString path = QString::fromStdString(tree.Path("Pellmora.ini"));

    void Store(const std::string& text) { tree.File("Pellmora.ini", text); }
    QByteArray Stored() {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
};

enum class Kind { Number, Flag, Real, HexStream };

struct Reading {
    Kind kind;
    const char* stored; // nullptr: the key is missing
    double expected;    // number, flag (0/1), real, or the stream's byte count
    const char* bytes;  // the decoded stream, in hex
};

const Reading Readings[] = {
    {Kind::Number, "0x1A", 26, ""},
    {Kind::Number, "0X1a", 26, ""},
    {Kind::Number, "$1A", 26, ""},
    {Kind::Number, "x1A", 26, ""},
    {Kind::Number, "0x", 77, ""},
    {Kind::Number, "$", 77, ""},
    {Kind::Number, "-12", -12, ""},
    {Kind::Number, "+12", 12, ""},
    {Kind::Number, "12abc", 77, ""},
    {Kind::Number, "$FFFFFFFF", -1, ""},
    {Kind::Number, "$100000000", 77, ""},
    {Kind::Number, "2147483647", 2147483647, ""},
    {Kind::Number, "2147483648", 77, ""},
    {Kind::Number, "-2147483648", -2147483648.0, ""},
    {Kind::Number, "99999999999999999999999", 77, ""},
    {Kind::Number, "", 77, ""},
    {Kind::Number, nullptr, 77, ""},
    {Kind::Number, "1 2", 77, ""},
    {Kind::Number, "--1", 77, ""},
    {Kind::Flag, "2", 1, ""},
    {Kind::Flag, "0", 0, ""},
    {Kind::Flag, "yes", 0, ""},
    {Kind::Flag, "", 0, ""},
    {Kind::Flag, "$0", 0, ""},
    {Kind::Real, "2.5", 2.5, ""},
    {Kind::Real, "-1e3", -1000, ""},
    {Kind::Real, "1,5", 7, ""},
    {Kind::Real, "1,000", 7, ""},
    {Kind::Real, "", 7, ""},
    {Kind::Real, "inf", 7, ""},
    {Kind::Real, "nan", 7, ""},
    {Kind::Real, "abc", 7, ""},
    {Kind::HexStream, "FFFE4100", 4, "fffe4100"},
    {Kind::HexStream, "fffe41", 3, "fffe41"},
    {Kind::HexStream, "FFF", 1, "ff"},
    {Kind::HexStream, "41G142", 1, "41"},
    {Kind::HexStream, "", 0, ""},
    {Kind::HexStream, nullptr, 0, ""},
};

TEST_F(IniFileTest, TypedReadingsOfStoredTexts) {
    for (const Reading& r : Readings) {
        Store(r.stored ? std::string("[S]\nk=") + r.stored + "\n" : "[S]\nother=1\n");
        TIniFile ini(path, QLocale::c());
        SCOPED_TRACE(r.stored ? r.stored : "(missing)");
        switch (r.kind) {
        case Kind::Number:
            EXPECT_EQ(ini.ReadNumber("S", "k", 77), r.expected);
            break;
        case Kind::Flag:
            EXPECT_EQ(ini.ReadFlag("S", "k", false), r.expected != 0);
            break;
        case Kind::Real:
            EXPECT_EQ(ini.ReadReal("S", "k", 7), r.expected);
            break;
        case Kind::HexStream: {
            QBuffer stream;
            stream.open(QIODevice::ReadWrite);
            EXPECT_EQ(ini.ReadHexStream("S", "k", stream), r.expected);
            EXPECT_EQ(stream.data().toHex(), QByteArray(r.bytes));
            EXPECT_EQ(stream.pos(), 0);
            break;
        }
        }
    }
}

TEST_F(IniFileTest, KeyWithEmptyValueIsEmptyTextButDefaultForNumbers) {
    Store("[S]\nk=\n");
    TIniFile ini(path, QLocale::c());
    EXPECT_EQ(ini.ReadText("S", "k", "def"), "");
    EXPECT_EQ(ini.ReadText("S", "missing", "def"), "def");
    EXPECT_EQ(ini.ReadNumber("S", "k", 5), 5);
    EXPECT_TRUE(ini.ReadFlag("S", "k", true));
    EXPECT_EQ(ini.ReadReal("S", "k", 1.25), 1.25);
}

TEST_F(IniFileTest, RealsFollowTheLocale) {
    const QLocale comma(QLocale::German, QLocale::Germany);
    {
        TIniFile ini(path, comma);
        ini.WriteReal("S", "half", 1.5);
        ini.WriteReal("S", "zero", 0);
        ini.WriteReal("S", "hundred", 100);
        ini.WriteReal("S", "big", 1234567.25);
        EXPECT_EQ(ini.ReadReal("S", "half", 0), 1.5);
    }
    EXPECT_EQ(Stored(), "[S]\nhalf=1,5\nzero=0\nhundred=100\nbig=1234567,25\n");
    TIniFile point(path, QLocale::c());
    EXPECT_EQ(point.ReadReal("S", "half", -1), -1);
}

TEST_F(IniFileTest, HexStreamsWriteFromThePositionAndKeepIt) {
    TIniFile ini(path, QLocale::c());
    QByteArray bytes("\x00\xFF\xFE", 3);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadWrite);
    stream.seek(1);
    ini.WriteHexStream("S", "k", stream);
    EXPECT_EQ(stream.pos(), 1);
    stream.seek(3);
    ini.WriteHexStream("S", "empty", stream);
    EXPECT_EQ(ini.ReadText("S", "k", ""), "FFFE");
    EXPECT_EQ(ini.ReadText("S", "empty", "def"), "");

    stream.seek(1); // decoding overwrites from the position and reports the rest
    ini.WriteText("S", "k", "4142");
    EXPECT_EQ(ini.ReadHexStream("S", "k", stream), 2);
    EXPECT_EQ(bytes, QByteArray("\x00\x41\x42", 3));
}

// The directory list is one stream; cut at 2047 characters it would lose its last folders.
TEST_F(IniFileTest, HexStreamIsNotCutWhereTextIs) {
    TIniFile ini(path, QLocale::c());
    const QString hex(5000, u'A');
    ini.WriteText("S", "k", hex);
    EXPECT_EQ(ini.ReadText("S", "k", "").size(), 2047);
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    EXPECT_EQ(ini.ReadHexStream("S", "k", stream), 2500);
}

TEST_F(IniFileTest, DatesAndTimesRoundTrip) {
    TIniFile ini(path, QLocale::c());
    const QDate date(2024, 2, 29);
    const QTime time(13, 5, 9);
    ini.WriteCalendarDate("S", "d", date);
    ini.WriteClockTime("S", "t", time);
    ini.WriteDateAndTime("S", "dt", QDateTime(date, time));
    EXPECT_EQ(ini.ReadCalendarDate("S", "d", {}), date);
    EXPECT_EQ(ini.ReadClockTime("S", "t", {}), time);
    EXPECT_EQ(ini.ReadDateAndTime("S", "dt", {}), QDateTime(date, time));
    ini.WriteText("S", "d", "not a date");
    EXPECT_EQ(ini.ReadCalendarDate("S", "d", QDate(2000, 1, 1)), QDate(2000, 1, 1));
}

TEST_F(IniFileTest, SectionListingsAndRemoval) {
    Store("; kept\n[One]\na=1\nb=x=y\n[Two]\nc=3\n");
    TIniFile ini(path, QLocale::c());
    TWideStrings list;
    ini.ListSections(list);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(1), "Two");
    EXPECT_EQ(list.Get(2), "");
    ini.ListSectionPairs("one", list);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(1), "b=x=y");
    ini.ListSectionKeys("none", list);
    EXPECT_EQ(list.Count(), 0);
    ini.RemoveKey("One", "a");
    ini.RemoveSection("Two");
    EXPECT_EQ(Stored(), "; kept\n[One]\nb=x=y\n");
}

TEST_F(IniFileTest, RefusedWriteRaisesWithThePath) {
    tree.Dir("Pellmora.ini"); // a folder where the file should be
    TIniFile ini(path, QLocale::c());
    try {
        ini.WriteFlag("Main", "SaveState", true);
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + path);
    }
    EXPECT_THROW(ini.RemoveSection("Main"), EIniFileException);
    EXPECT_NO_THROW(ini.RemoveKey("Main", "SaveState"));
}

} // namespace
