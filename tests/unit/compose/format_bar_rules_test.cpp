// The format bar's tables, the twips it converts and the rules of its font list.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "compose/font_faces.h"
#include "compose/format_tables.h"

namespace {

TEST(FormatTables, ColoursAreStoredRedInTheLowByte) {
    // (red, green, blue) of every entry, in box order.
    const int expected[kFormatColourCount][3] = {
        {0, 0, 0},     {0, 0, 255},   {0, 255, 0},   {255, 0, 0},     {0, 255, 255},
        {255, 0, 255}, {255, 255, 0}, {0, 0, 128},   {0, 128, 0},     {128, 0, 0},
        {128, 0, 128}, {0, 128, 128}, {128, 128, 0}, {128, 128, 128}, {192, 192, 192}};
    for (int i = 0; i < kFormatColourCount; ++i) {
        const uint32_t colour = kFormatColours[i];
        EXPECT_EQ(static_cast<int>(colour & 0xFF), expected[i][0]) << i;
        EXPECT_EQ(static_cast<int>(colour >> 8 & 0xFF), expected[i][1]) << i;
        EXPECT_EQ(static_cast<int>(colour >> 16 & 0xFF), expected[i][2]) << i;
        EXPECT_EQ(colour >> 24, 0u) << i;
        EXPECT_EQ(FindColourEntry(colour), i);
    }
    EXPECT_EQ(PackColour(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(FindColourEntry(PackColour(1, 2, 3)), -1);
    EXPECT_EQ(kFormatColours[kDefaultColourEntry], 0u);
}

TEST(FormatTables, SizesAreFoundOnlyForWholeEntries) {
    const int sizes[] = {8, 10, 12, 14, 18, 24, 36};
    for (int i = 0; i < kFormatSizeCount; ++i) {
        EXPECT_EQ(kFormatSizes[i], sizes[i]);
        EXPECT_EQ(FindSizeEntry(PointsFromTwips(TwipsFromPoints(sizes[i]))), i);
    }
    EXPECT_EQ(kFormatSizes[kDefaultSizeEntry], 10);
    EXPECT_EQ(TwipsFromPoints(10), 200);
    EXPECT_EQ(TwipsFromPoints(24), 480);
    // Heights between whole points are cut down; 11 points is not an entry.
    EXPECT_EQ(PointsFromTwips(239), 11);
    EXPECT_EQ(PointsFromTwips(219), 10);
    EXPECT_EQ(FindSizeEntry(11), -1);
    EXPECT_EQ(FindSizeEntry(0), -1);
    EXPECT_EQ(FindSizeEntry(-8), -1);
}

std::vector<std::string> Names(const std::vector<FontFaceName>& faces) {
    std::vector<std::string> names;
    for (const FontFaceName& face : faces) {
        names.push_back(face.text);
    }
    return names;
}

TEST(FontFaces, OffersEveryTrueTypeFaceOnceInNameOrder) {
    std::vector<FontFaceName> faces;
    // As the system lists them: each face once per character set, other kinds mixed in.
    EXPECT_TRUE(AddOfferedFace(faces, "Liberation Sans", true));
    EXPECT_FALSE(AddOfferedFace(faces, "Liberation Sans", true));
    EXPECT_TRUE(AddOfferedFace(faces, "Times New Roman", true));
    EXPECT_TRUE(AddOfferedFace(faces, "Arial", true));
    EXPECT_FALSE(AddOfferedFace(faces, "ARIAL", true));
    EXPECT_FALSE(AddOfferedFace(faces, "MS Sans Serif", false));
    EXPECT_FALSE(AddOfferedFace(faces, "@MS Mincho", true));
    EXPECT_FALSE(AddOfferedFace(faces, "", true));
    EXPECT_TRUE(AddOfferedFace(faces, "arial Black", true));
    EXPECT_TRUE(AddOfferedFace(faces, "Courier New", true));
    EXPECT_EQ(Names(faces), (std::vector<std::string>{"Arial", "arial Black", "Courier New",
                                                      "Liberation Sans", "Times New Roman"}));
}

TEST(FontFaces, RefusesNamesTheSystemCannotHold) {
    const std::string longest(kFaceNameSize - 1, 'x');
    const std::string tooLong(kFaceNameSize, 'y');
    std::vector<FontFaceName> faces;
    EXPECT_TRUE(AddOfferedFace(faces, longest.c_str(), true));
    EXPECT_FALSE(AddOfferedFace(faces, tooLong.c_str(), true));
    EXPECT_FALSE(AddOfferedFace(faces, nullptr, true));
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(std::string(faces[0].text), longest);
    EXPECT_EQ(CompareFaceNames("Arial", "arial"), 0);
    EXPECT_LT(CompareFaceNames("Arial", "Arial Black"), 0);
    EXPECT_GT(CompareFaceNames("Tahoma", "symbol"), 0);
}

} // namespace
