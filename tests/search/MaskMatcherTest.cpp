#include "search/MaskMatcher.h"

#include <gtest/gtest.h>

namespace pellmora {
namespace {

bool Match(const std::string& mask, const std::string& name) {
    return MaskMatcher(mask).Matches(name);
}

TEST(MaskMatcherTest, StarDotStarAloneMatchesEveryName) {
    for (const char* name : {"a", "a.b", ".hidden", "noext", "x.y.z"})
        EXPECT_TRUE(Match("*.*", name)) << name;
    EXPECT_TRUE(Match("*", "noext"));
    // Inside a longer mask the dot is an ordinary character.
    EXPECT_FALSE(Match("a*.*", "abc"));
    EXPECT_TRUE(Match("a*.*", "abc.d"));
    EXPECT_FALSE(Match("*.*.*", "a.b"));
}

TEST(MaskMatcherTest, EmptyMaskMatchesNothing) {
    EXPECT_FALSE(Match("", ""));
    EXPECT_FALSE(Match("", "a.txt"));
}

TEST(MaskMatcherTest, SuffixMasksIgnoreAsciiCaseAndMatchWholeName) {
    EXPECT_TRUE(Match("*.jpg", "a.JPG"));
    EXPECT_TRUE(Match("*.JPG", "a.jpg"));
    EXPECT_TRUE(Match("*.jpg", ".jpg"));
    EXPECT_FALSE(Match("*.jpg", "a.jpgx"));
    EXPECT_FALSE(Match("*.jpg", "jpg"));
    EXPECT_TRUE(Match("*.jpg", "caf\xc3\xa9.JPG")); // non-ASCII name, decoded path
}

TEST(MaskMatcherTest, QuestionMarkIsOneCharacterNotOneByte) {
    EXPECT_TRUE(Match("a?c.txt", "abc.txt"));
    EXPECT_TRUE(Match("a?c.txt", "a\xc3\xa9"
                                 "c.txt")); // é: two bytes
    EXPECT_TRUE(Match("a?c", "a\xf0\x9f\x98\x80"
                             "c")); // emoji: four bytes, two UTF-16 units
    EXPECT_FALSE(Match("a?c.txt", "ac.txt"));
    EXPECT_FALSE(Match("a?c.txt", "abbc.txt"));
}

TEST(MaskMatcherTest, LettersMatchWithUnicodeCaseFolding) {
    EXPECT_TRUE(Match("CAF\xc3\x89*", "caf\xc3\xa9.txt")); // CAFÉ* / café.txt
    EXPECT_TRUE(Match("*.\xc3\x84", "x.\xc3\xa4"));        // *.Ä / x.ä
    EXPECT_FALSE(Match("CAF\xc3\x89*", "cafe.txt"));
    // KELVIN SIGN folds onto an ASCII k, so an ASCII mask must not take the byte shortcut.
    EXPECT_TRUE(Match("*.k", "x.\xe2\x84\xaa"));
    EXPECT_TRUE(Match("?.k", "x.\xe2\x84\xaa"));
}

TEST(MaskMatcherTest, BracketsAreLiteralAndStarsBacktrack) {
    EXPECT_TRUE(Match("[a].txt", "[a].txt"));
    EXPECT_FALSE(Match("[a].txt", "a.txt"));
    EXPECT_TRUE(Match("*a*b*", "xxaxxbxx"));
    EXPECT_FALSE(Match("*a*b*", "xxbxxa"));
    EXPECT_TRUE(Match("*ab", "aab"));
    EXPECT_TRUE(Match("readme.TXT", "README.txt"));
    EXPECT_FALSE(Match("readme.txt", "readme.txt.bak"));
}

TEST(MaskMatcherTest, InvalidUtf8NameIsStillMatched) {
    EXPECT_TRUE(Match("*.txt", "bad\xff.txt"));
    EXPECT_TRUE(Match("bad?.txt", "bad\xff.txt"));
    EXPECT_FALSE(Match("bad.txt", "bad\xff.txt"));
}

TEST(MaskMatcherTest, SystemFileNames) {
    for (const char* name : {"LIB.DLL", "driver.Sys", "x.ocx", "a.DrV", ".dll"})
        EXPECT_TRUE(IsSystemFileName(name)) << name;
    for (const char* name : {"lib.dll.bak", "dll", "x.dl", "sys", "a.drvx", ""})
        EXPECT_FALSE(IsSystemFileName(name)) << name;
}

} // namespace
} // namespace pellmora
