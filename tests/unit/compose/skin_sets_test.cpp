// The skin image table's sets: resource ids, counts, kinds and the icon sizes the buttons and
// windows are drawn at.
#include "compose/skin_sets.h"

#include <gtest/gtest.h>

namespace {

struct ExpectedSet {
    int firstId;
    int count;
    bool icon;
    int width;
    int height;
};

// Set k holds 100 * (k + 1) onwards.
const ExpectedSet kExpected[kSkinSetCount] = {
    {100, 5, true, 55, 40},    {200, 5, true, 55, 40},  {300, 4, true, 55, 40},
    {400, 4, true, 55, 40},    {500, 4, true, 55, 40},  {600, 2, true, 25, 25},
    {700, 2, true, 25, 25},    {800, 2, true, 25, 25},  {900, 31, false, 0, 0},
    {1000, 4, false, 0, 0},    {1100, 4, false, 0, 0},  {1200, 4, false, 0, 0},
    {1300, 2, true, 37, 25},   {1400, 2, true, 37, 25}, {1500, 2, true, 37, 25},
    {1600, 13, true, 40, 40},  {1700, 9, true, 40, 40}, {1800, 4, false, 0, 0},
    {1900, 4, true, 50, 20},   {2000, 4, true, 50, 20}, {2100, 4, true, 50, 20},
    {2200, 2, true, 38, 25},   {2300, 2, true, 38, 25}, {2400, 2, true, 38, 25},
    {2500, 1, false, 0, 0},    {2600, 8, false, 0, 0},  {2700, 4, false, 0, 0},
    {2800, 2, true, 100, 100},
};

TEST(SkinSets, HoldTheResourcesOfEverySetAtTheirSizes) {
    for (int set = 0; set < kSkinSetCount; ++set) {
        SCOPED_TRACE(set);
        const SkinSetSpec& spec = kSkinSets[set];
        const ExpectedSet& want = kExpected[set];
        EXPECT_EQ(spec.firstId, want.firstId);
        EXPECT_EQ(spec.count, want.count);
        EXPECT_LE(spec.count, kSkinSetMaxImages);
        EXPECT_EQ(spec.kind, want.icon ? SkinImageKind::Icon : SkinImageKind::Bitmap);
        if (want.icon) {
            EXPECT_EQ(spec.width, want.width);
            EXPECT_EQ(spec.height, want.height);
        }
        EXPECT_EQ(SkinResourceId(set, 0), want.firstId);
        EXPECT_EQ(SkinResourceId(set, want.count - 1), want.firstId + want.count - 1);
        EXPECT_EQ(SkinResourceId(set, want.count), -1);
    }
    EXPECT_EQ(SkinResourceId(8, 30), 930); // the last logo frame
    EXPECT_EQ(SkinResourceId(-1, 0), -1);
    EXPECT_EQ(SkinResourceId(kSkinSetCount, 0), -1);
    EXPECT_EQ(SkinResourceId(0, -1), -1);
}

TEST(SkinSets, ImagesAreLoadedByTheirNumberAsAName) {
    char name[8];
    ASSERT_TRUE(FormatSkinResourceName(930, name, sizeof name));
    EXPECT_STREQ(name, "#930");
    ASSERT_TRUE(FormatSkinResourceName(2801, name, 6));
    EXPECT_STREQ(name, "#2801");
    EXPECT_FALSE(FormatSkinResourceName(2801, name, 5)); // no room for the terminator
    EXPECT_STREQ(name, "");
}

} // namespace
