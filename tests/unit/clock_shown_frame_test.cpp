// The window's record of the frame on the screen: what counts as a change, and how few of
// the fifty ticks a second need a redraw on the analog and the digital face.
#include <gtest/gtest.h>

#include <vector>

#include "clock/shown_frame.h"
#include "tests/unit/clock_test_support.h"

using namespace pendrick;

TEST(ClockShownFrame, FirstFrameAnyPixelAndAnyColourAreChanges) {
    std::vector<uint8_t> frame(kFrameBytes, 7);
    std::vector<uint8_t> table(kColourTableBytes, 1);
    ShownFrame shown;
    EXPECT_TRUE(shown.TakeIfChanged(frame.data(), table.data()));
    EXPECT_FALSE(shown.TakeIfChanged(frame.data(), table.data()));
    frame[kFrameBytes - 1] = 8;
    EXPECT_TRUE(shown.TakeIfChanged(frame.data(), table.data()));
    EXPECT_FALSE(shown.TakeIfChanged(frame.data(), table.data()));
    table[4 * 200 + 2] = 9;  // a palette change alone redraws
    EXPECT_TRUE(shown.TakeIfChanged(frame.data(), table.data()));
    EXPECT_FALSE(shown.TakeIfChanged(frame.data(), table.data()));
    shown.Forget();  // the buffer was drawn over between ticks
    EXPECT_TRUE(shown.TakeIfChanged(frame.data(), table.data()));
}

TEST(ClockShownFrame, AMinuteOfEitherFaceRedrawsOnlyWhenTheFrameMoves) {
    for (int mode : {kModeAnalog, kModeDigital24}) {
        clocktest::TestClock c;
        c.state.settings.mode = mode;
        c.state.lastHour = 9;  // no chime
        c.SetTime(9, 41, 0);
        const std::vector<uint8_t> table(kColourTableBytes, 0);
        ShownFrame shown;
        std::vector<uint8_t> previous;
        int redraws = 0;
        for (int tick = 0; tick < 3000; ++tick) {
            c.host.time.second = tick / 50 % 60;
            c.host.time.minute = 41 + tick / 3000;
            c.Tick();
            const bool changed = shown.TakeIfChanged(c.frame.data(), table.data());
            EXPECT_EQ(changed, c.frame != previous) << "tick " << tick;
            previous = c.frame;
            redraws += changed;
        }
        // Analog: the marker's wobble settles within a few ticks of each second; digital:
        // one new picture a second.
        EXPECT_LE(redraws, mode == kModeAnalog ? 60 * 5 + 10 : 61) << "mode " << mode;
        EXPECT_GE(redraws, 60) << "mode " << mode;
    }
}
