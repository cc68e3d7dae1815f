// The mask catalogue's rules: taking entries apart, the check marks, loading and new entries.

#include "settings/MaskCatalogue.h"

#include <gtest/gtest.h>

using namespace pellmora;

namespace {

TEST(MaskCatalogueTest, EntriesTakenApartAtTheLastBar) {
    const struct {
        const char* entry;
        const char* mask;
        const char* description;
    } cases[] = {{"JPEG Images | *.jpg", "*.jpg", "JPEG Images"},
                 {" *.txt\t", "*.txt", ""},
                 {"a | b | *.c", "*.c", "a | b"},
                 {"Ends |", "", "Ends"},
                 {"", "", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(MaskOf(c.entry), c.mask) << c.entry;
        EXPECT_EQ(DescriptionOf(c.entry), c.description) << c.entry;
    }
}

MaskCatalogue Catalogue(const QStringList& lines) {
    MaskCatalogue catalogue;
    catalogue.Load(lines);
    return catalogue;
}

TEST(MaskCatalogueTest, BuiltInEntriesBeforeAnyFile) {
    EXPECT_EQ(MaskCatalogue().Lines(), QStringList({"Any Fle | *.*", "JPEG Images | *.jpg"}));
}

TEST(MaskCatalogueTest, LoadingSortsDropsCatchAllsAndRefusedAndAddsAnyFile) {
    const MaskCatalogue c = Catalogue({"text | *.txt", "Any Fle | *.*", "*.*", "bad | a:b",
                                       "Bilder | *.png", "", "slash | a/b", "jpeg | *.JPG"});
    EXPECT_EQ(c.Lines(), QStringList({"", "Any File | *.*", "Bilder | *.png", "jpeg | *.JPG",
                                      "text | *.txt"}));
    for (const MaskEntry& e : c.Entries())
        EXPECT_FALSE(e.Checked);
}

TEST(MaskCatalogueTest, CheckMarksFromTheSearchField) {
    const QStringList lines = {"Text | *.txt", "JPEG Images | *.jpg"};
    const struct {
        const char* fileTypes;
        std::vector<bool> checked; // Any File, JPEG Images, Text
    } cases[] = {{"*.jpg|*.txt", {false, true, true}}, {"*.jpg | *.txt", {false, false, false}},
                 {"*.JPG", {false, false, false}},     {"*.*", {true, false, false}},
                 {"|| *.txt", {false, false, false}},  {"*.txt|", {false, false, true}}};
    for (const auto& k : cases) {
        MaskCatalogue c = Catalogue(lines);
        c.CheckFrom(k.fileTypes);
        std::vector<bool> checked;
        for (const MaskEntry& e : c.Entries())
            checked.push_back(e.Checked);
        EXPECT_EQ(checked, k.checked) << k.fileTypes;
    }
}

TEST(MaskCatalogueTest, CatchAllStaysAlone) {
    MaskCatalogue c = Catalogue({"Text | *.txt", "JPEG Images | *.jpg"});
    c.SetChecked(1, true); // JPEG
    c.SetChecked(0, true); // Any File
    EXPECT_TRUE(c.Entries()[0].Checked);
    EXPECT_FALSE(c.Entries()[1].Checked);
    c.SetChecked(1, true);
    EXPECT_FALSE(c.Entries()[0].Checked);
    c.SetChecked(2, true);
    EXPECT_EQ(c.CheckedMasks(), "*.jpg|*.txt");
    c.SetChecked(1, false);
    EXPECT_EQ(c.CheckedMasks(), "*.txt");
}

TEST(MaskCatalogueTest, EmptyMasksAreNotASelection) {
    MaskCatalogue c = Catalogue({"", "Ends |", "Text | *.txt"});
    c.SetChecked(0, true);
    EXPECT_EQ(c.CheckedMasks(), "");
    c.SetChecked(1 + 1, true); // "Ends |"
    EXPECT_EQ(c.CheckedMasks(), "");
    c.SetChecked(3, true);
    EXPECT_EQ(c.CheckedMasks(), "*.txt");
}

TEST(MaskCatalogueTest, NewEntriesAndTheirChecks) {
    EXPECT_EQ(BuildMaskEntry(" *.txt ", "Text|Files"), "Text_Files | *.txt");
    EXPECT_EQ(BuildMaskEntry(" *.txt ", "  "), "*.txt");
    EXPECT_EQ(MaskRefusal("a:b"), RefusedSymbolsMessage);
    EXPECT_EQ(MaskRefusal("   "), EmptyMaskMessage);
    EXPECT_EQ(MaskRefusal(" *.txt "), std::nullopt);
    EXPECT_EQ(RefusedSymbolsMessage,
              "Please remove following symbols from the mask:\n\r \\ / : \" < > | ");
    MaskCatalogue c;
    c.SetChecked(1, true);
    EXPECT_EQ(c.Add("Text | *.txt"), 2);
    EXPECT_EQ(c.Add("bmp | *.bmp"), 1);
    EXPECT_TRUE(c.Entries()[2].Checked); // JPEG moved down with its mark
    c.Replace(0, "zzz | *.z");           // edited in place
    EXPECT_EQ(c.Lines().front(), "zzz | *.z");
}

} // namespace
