// What the rest of the program may do at each value of the send state.
#include <gtest/gtest.h>

#include "mail/send_state.h"

namespace {

TEST(SendStateRules, EachStateAnswersEveryQuestion) {
    const struct {
        uint32_t state;
        bool cancellable;
        bool ended;
        bool inProgress;
        bool blocksRecording;
    } cases[] = {
        {0, false, true, false, false},           // idle
        {1, true, false, true, false},            // started
        {0x3, true, false, true, false},          // looking up the host
        {0x4, true, false, true, true},           // connecting
        {0x8, true, false, true, true},           // connected
        {0x40407, true, false, true, true},       // the last stage before the end-of-data mark
        {0x40408, false, false, true, true},      // the end-of-data mark
        {0xFFFFFF, false, false, true, true},     // the highest stage
        {0x1000000, false, true, true, false},    // the lowest error value
        {0xFF000208u, false, true, true, true},   // an error with its stage bits left
        {0xFF000000u, false, true, false, false}, // an error alone: the session is over
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.state);
        EXPECT_EQ(SendCanBeCancelled(c.state), c.cancellable);
        EXPECT_EQ(SendHasEnded(c.state), c.ended);
        EXPECT_EQ(SendIsInProgress(c.state), c.inProgress);
        EXPECT_EQ(SendBlocksRecording(c.state), c.blocksRecording);
    }
}

} // namespace
