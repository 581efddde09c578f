// The format bar's look-ups, the twips it converts and the rules of its font list.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "compose/font_faces.h"
#include "compose/format_tables.h"

namespace {

TEST(FormatTables, EveryColourAndSizeIsFoundAtItsOwnEntry) {
    for (int i = 0; i < kFormatColourCount; ++i) {
        EXPECT_EQ(kFormatColours[i] >> 24, 0u) << i;
        EXPECT_EQ(FindColourEntry(kFormatColours[i]), i);
    }
    EXPECT_EQ(PackColour(0x12, 0x34, 0x56), 0x00563412u); // red in the low byte
    EXPECT_EQ(FindColourEntry(PackColour(1, 2, 3)), -1);
    EXPECT_EQ(kFormatColours[kDefaultColourEntry], 0u); // black
    for (int i = 0; i < kFormatSizeCount; ++i) {
        EXPECT_EQ(FindSizeEntry(PointsFromTwips(TwipsFromPoints(kFormatSizes[i]))), i);
    }
    EXPECT_EQ(kFormatSizes[kDefaultSizeEntry], 10);
    EXPECT_EQ(TwipsFromPoints(24), 480);
    // Heights between whole points are cut down; 11 points is not an entry.
    EXPECT_EQ(PointsFromTwips(239), 11);
    EXPECT_EQ(PointsFromTwips(219), 10);
    for (int notAnEntry : {11, 0, -8}) {
        EXPECT_EQ(FindSizeEntry(notAnEntry), -1);
    }
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
