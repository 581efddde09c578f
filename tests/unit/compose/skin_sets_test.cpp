// The skin image table: each set's images are numbered on from its first id, and nothing
// outside a set has an id.
#include "compose/skin_sets.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinSets, IdsRunOnFromEachSetsFirstAndEndWithTheSet) {
    for (int set = 0; set < kSkinSetCount; ++set) {
        SCOPED_TRACE(set);
        const SkinSetSpec& spec = kSkinSets[set];
        EXPECT_LE(spec.count, kSkinSetMaxImages);
        EXPECT_EQ(SkinResourceId(set, 0), spec.firstId);
        EXPECT_EQ(SkinResourceId(set, spec.count - 1), spec.firstId + spec.count - 1);
        EXPECT_EQ(SkinResourceId(set, spec.count), -1);
    }
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
