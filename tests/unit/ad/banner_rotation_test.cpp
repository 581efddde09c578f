// Where the banner picture stands, and how long each frame stays up.
#include <gtest/gtest.h>

#include <vector>

#include "ad/banner_rotation.h"

namespace {

// Ticks each frame stays up, for two rounds of the rotation.
std::vector<int> TicksPerFrame(const std::vector<int>& delays) {
    BannerRotation rotation;
    StartRotation(rotation, static_cast<int>(delays.size()));
    std::vector<int> ticks;
    int held = 0;
    while (ticks.size() < 2 * delays.size()) {
        ++held;
        if (StepRotation(rotation, delays.data())) {
            ticks.push_back(held);
            held = 0;
            EXPECT_EQ(rotation.currentFrame, static_cast<int>(ticks.size() % delays.size()));
        }
    }
    return ticks;
}

TEST(BannerRotation, EachFrameStaysPastItsDelayInWholeTicks) {
    // 100, 100, 500 ms stand 200, 200 and 600 ms: four, four and twelve ticks of 50 ms.
    EXPECT_EQ(TicksPerFrame({100, 100, 500}), (std::vector<int>{4, 4, 12, 4, 4, 12}));
    EXPECT_EQ(TicksPerFrame({0, 49, 50, 51}), (std::vector<int>{2, 2, 3, 3, 2, 2, 3, 3}));
    EXPECT_EQ(TicksPerFrame({250}), (std::vector<int>{7, 7}));
}

TEST(BannerRotation, NoFramesNoRotation) {
    BannerRotation rotation;
    StartRotation(rotation, 0);
    const int delay = 0;
    EXPECT_FALSE(StepRotation(rotation, &delay));
    EXPECT_EQ(rotation.currentFrame, 0);
}

TEST(BannerRotation, ThePictureIsCentredInTheMainWindow) {
    EXPECT_EQ(BannerImageLeft(700), 116);
    EXPECT_EQ(BannerImageLeft(469), 0);
    EXPECT_EQ(BannerImageLeft(468), 0);
    EXPECT_EQ(BannerImageLeft(390), -39);
    EXPECT_EQ(BannerImageLeft(389), -39) << "the division truncates toward zero";

    struct Point {
        int x, y;
        bool on;
    };
    // A 700 wide window: the picture covers columns 116 .. 583.
    const Point wide[] = {{115, 10, false}, {116, 10, true}, {583, 59, true},
                          {584, 10, false}, {300, 61, true}, {300, 62, false}};
    for (const Point& p : wide) {
        EXPECT_EQ(PointIsOnBannerImage(p.x, p.y, 700, 62, 700), p.on) << p.x << "," << p.y;
    }
    // A window no wider than the picture counts every column.
    EXPECT_TRUE(PointIsOnBannerImage(0, 0, 400, 62, 400));
    EXPECT_TRUE(PointIsOnBannerImage(399, 0, 400, 62, 400));
    EXPECT_FALSE(PointIsOnBannerImage(400, 0, 400, 62, 400));
    EXPECT_FALSE(PointIsOnBannerImage(-1, 0, 400, 62, 400));
}

TEST(BannerRotation, FallbackIndexCoversTheEightImages) {
    std::vector<int> seen;
    for (int r : {0, 1, 2, 3, 4, 5, 6, 7, 8, 0x7FFF}) {
        seen.push_back(FallbackIndexFromRandom(r));
    }
    EXPECT_EQ(seen, (std::vector<int>{7, 6, 5, 4, 3, 2, 1, 0, 7, 0}));
}

} // namespace
