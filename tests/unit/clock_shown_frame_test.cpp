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

TEST(ClockShownFrame, ChangedPartIsTheBoundsOfTheDifferingPixels) {
    std::vector<uint8_t> frame(kFrameBytes, 7);
    std::vector<uint8_t> table(kColourTableBytes, 1);
    ShownFrame shown;
    const FrameRect whole = {0, 0, kFrameSize, kFrameSize};
    const FrameRect garbage = {-5, -5, -5, -5};
    FrameRect part = garbage;
    EXPECT_TRUE(shown.TakeIfChanged(frame.data(), table.data(), &part));
    EXPECT_EQ(part, whole);  // nothing was on the screen yet

    part = garbage;
    frame[37 * kFrameSize + 90] = 8;
    EXPECT_TRUE(shown.TakeIfChanged(frame.data(), table.data(), &part));
    EXPECT_EQ(part, (FrameRect{90, 37, 91, 38}));

    // Two pixels far apart, at the frame's corners of their rows: one rectangle holding both.
    frame[5 * kFrameSize + kFrameSize - 1] = 9;
    frame[120 * kFrameSize + 0] = 9;
    EXPECT_TRUE(shown.TakeIfChanged(frame.data(), table.data(), &part));
    EXPECT_EQ(part, (FrameRect{0, 5, kFrameSize, 121}));

    part = garbage;
    EXPECT_FALSE(shown.TakeIfChanged(frame.data(), table.data(), &part));
    EXPECT_EQ(part, garbage);  // left alone when nothing changed

    table[4 * 40] = 2;  // every pixel of colour 40 looks different now
    EXPECT_TRUE(shown.TakeIfChanged(frame.data(), table.data(), &part));
    EXPECT_EQ(part, whole);

    frame[0] = 1;
    frame[kFrameBytes - 1] = 1;
    EXPECT_TRUE(shown.TakeIfChanged(frame.data(), table.data(), &part));
    EXPECT_EQ(part, whole);

    shown.Forget();
    EXPECT_TRUE(shown.TakeIfChanged(frame.data(), table.data(), &part));
    EXPECT_EQ(part, whole);
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
        // What the window shows when each redraw copies only the changed part.
        std::vector<uint8_t> screen(kFrameBytes, 0xEE);
        int redraws = 0;
        long redrawnPixels = 0;
        for (int tick = 0; tick < 3000; ++tick) {
            c.host.time.second = tick / 50 % 60;
            c.host.time.minute = 41 + tick / 3000;
            c.Tick();
            FrameRect part;
            const bool changed = shown.TakeIfChanged(c.frame.data(), table.data(), &part);
            ASSERT_EQ(changed, c.frame != previous) << "tick " << tick;
            if (changed) {
                for (int y = part.top; y < part.bottom; ++y)
                    for (int x = part.left; x < part.right; ++x)
                        screen[y * kFrameSize + x] = c.frame[y * kFrameSize + x];
                redrawnPixels += long(part.right - part.left) * (part.bottom - part.top);
            }
            ASSERT_EQ(screen, c.frame) << "mode " << mode << ", tick " << tick << ": the screen shows another frame";
            previous = c.frame;
            redraws += changed;
        }
        // Past the first picture, a second's change is the marker or the seconds' digits.
        EXPECT_LT(redrawnPixels - kFrameBytes, long(redraws) * kFrameBytes / 8) << "mode " << mode;
        // Analog: the marker's wobble settles within a few ticks of each second; digital:
        // one new picture a second.
        EXPECT_LE(redraws, mode == kModeAnalog ? 60 * 5 + 10 : 61) << "mode " << mode;
        EXPECT_GE(redraws, 60) << "mode " << mode;
    }
}
