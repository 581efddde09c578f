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
    for (int held = 1; ticks.size() < 2 * delays.size(); ++held) {
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
    BannerRotation none;
    StartRotation(none, 0);
    EXPECT_FALSE(StepRotation(none, nullptr));
}

TEST(BannerRotation, ThePictureIsCentredInTheMainWindow) {
    EXPECT_EQ(BannerImageLeft(700), 116);
    EXPECT_EQ(BannerImageLeft(469), 0);
    EXPECT_EQ(BannerImageLeft(389), -39) << "the division truncates toward zero";
    // A 700 wide window counts only columns 116 .. 583; a narrower one all of its own.
    const struct {
        int x, y, windowWidth;
        bool on;
    } points[] = {{115, 10, 700, false}, {116, 10, 700, true},  {583, 61, 700, true},
                  {584, 10, 700, false}, {300, 62, 700, false}, {0, 0, 400, true},
                  {399, 0, 400, true},   {400, 0, 400, false},  {-1, 0, 400, false}};
    for (const auto& p : points) {
        EXPECT_EQ(PointIsOnBannerImage(p.x, p.y, p.windowWidth, 62, p.windowWidth), p.on)
            << p.x << "," << p.y;
    }
    EXPECT_EQ(FallbackIndexFromRandom(0), 7);
    EXPECT_EQ(FallbackIndexFromRandom(0x7FFF), 0);
}

} // namespace
