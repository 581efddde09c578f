// Which send states refuse recording and which can be cancelled.
#include <gtest/gtest.h>

#include "mail/send_state.h"

namespace {

TEST(SendStateRules, RecordingWaitsOnlyWhileTheConnectionIsMadeOrOpen) {
    EXPECT_FALSE(SendBlocksRecording(0));
    EXPECT_TRUE(SendBlocksRecording(0x4));
    EXPECT_TRUE(SendBlocksRecording(0x8));
    EXPECT_TRUE(SendBlocksRecording(0x40408));
    EXPECT_FALSE(SendBlocksRecording(0x3)); // looking up the host
    EXPECT_FALSE(SendBlocksRecording(0xFF000000u));
}

TEST(SendStateRules, CancelActsBetweenTheStartAndTheLastStages) {
    EXPECT_FALSE(SendCanBeCancelled(0));
    EXPECT_TRUE(SendCanBeCancelled(1));
    EXPECT_TRUE(SendCanBeCancelled(0x40407));
    EXPECT_FALSE(SendCanBeCancelled(0x40408));
    EXPECT_FALSE(SendCanBeCancelled(0xFF000000u));
}

} // namespace
