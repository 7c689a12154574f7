// The alarm's trigger and flashing, and the kitchen timer's cells, countdown and ripple.
#include <gtest/gtest.h>

#include "tests/unit/clock_test_support.h"

using namespace pendrick;
using clocktest::TestClock;

namespace {

// Counts the ticks whose frame was filled with the flash colour.
int CountFlashTicks(TestClock& c, int ticks) {
    int flashes = 0;
    for (int i = 0; i < ticks; ++i) {
        c.Tick();
        flashes += c.frame[0] == kFlashIndex && c.frame[kFrameBytes - 1] == kFlashIndex;
    }
    return flashes;
}

void ClickCell(TestClock& c, int x, int y, int delta) {
    c.state.mouseX = x;
    c.state.mouseY = y;
    TimerClick(c.state, delta);
}

std::string Digits(const KitchenTimer& t) {
    return std::to_string(t.digits[0]) + std::to_string(t.digits[1]) + ":" + std::to_string(t.digits[2]) +
           std::to_string(t.digits[3]);
}

}  // namespace

TEST(ClockAlarm, StartedDuringTheAlarmMinuteFiresOnFirstTickAndFlashes18Of48) {
    TestClock c;
    c.SetTime(17, 30, 40);
    c.state.lastHour = 17;  // keep the chime's tune out of the sound list
    c.Tick();
    EXPECT_EQ(c.state.signal.flashCount, 3);
    ASSERT_EQ(c.host.sounds.size(), 1u);
    EXPECT_EQ(c.host.sounds[0], "C:\\CLOCK\\alarm.wav");
    EXPECT_EQ(CountFlashTicks(c, 48), 18);  // alarm ticks 1-48
    EXPECT_EQ(c.state.signal.flashCount, 0);
    EXPECT_EQ(c.host.sounds.size(), 3u);  // ticks 0, 16 and 32
    EXPECT_EQ(CountFlashTicks(c, 100), 0);
}

TEST(ClockAlarm, SoundOffStillFlashesAndOffOrOtherMinuteDoesNothing) {
    TestClock c;
    c.state.settings.soundOn = 0;
    c.state.lastHour = 17;
    c.SetTime(17, 30, 0);
    EXPECT_EQ(CountFlashTicks(c, 48), 18);
    EXPECT_TRUE(c.host.sounds.empty());

    TestClock off;
    off.state.settings.alarmOn = 0;
    off.state.lastHour = 17;
    off.SetTime(17, 30, 0);
    EXPECT_EQ(CountFlashTicks(off, 48), 0);

    // The test is made only on a minute change: the alarm fires once.
    TestClock once;
    once.state.lastHour = 17;
    once.SetTime(17, 29, 59);
    once.Tick(4);
    once.host.time.minute = 30;
    once.host.time.second = 0;
    once.Tick(4);
    EXPECT_NE(once.state.signal.flashCount, 0);
    once.Tick(200);
    EXPECT_EQ(once.state.signal.flashCount, 0);
}

TEST(ClockAlarm, FullHourAlarmSharesTheTickWithTheChime) {
    TestClock c;
    c.state.settings.alarmHour = 8;
    c.state.settings.alarmMinute = 0;
    c.SetTime(8, 0, 0);
    c.Tick(17);
    std::vector<std::string> want = {"C:\\CLOCK\\alarm.wav", "C:\\CLOCK\\MUSIC3.WAV", "C:\\CLOCK\\alarm.wav"};
    EXPECT_EQ(c.host.sounds, want);
}

TEST(KitchenTimer, CountsThreeSecondsDownThenSignalsOnce) {
    TestClock c;
    c.state.lastHour = 12;
    c.SetTime(12, 10, 0);
    c.Tick();
    EnterTimerSetting(c.state.timer);
    ClickCell(c, 96, 32, +1);
    ClickCell(c, 96, 32, +1);
    ClickCell(c, 96, 32, +1);
    ClickCell(c, 32, 64, +1);  // start
    ASSERT_TRUE(c.state.timer.running);
    EXPECT_EQ(c.state.timer.remaining, 3);
    std::vector<std::string> shown;
    for (int s = 1; s <= 3; ++s) {
        c.host.time.second = s;
        c.state.now = c.host.time;
        c.Tick();
        shown.push_back(Digits(c.state.timer));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"00:02", "00:01", "00:00"}));
    EXPECT_TRUE(c.state.timer.running);
    c.host.time.second = 4;
    c.state.now = c.host.time;
    c.Tick();
    EXPECT_FALSE(c.state.timer.running);
    EXPECT_FALSE(c.state.timer.setting);
    EXPECT_EQ(c.state.signal.flashCount, 2);
    EXPECT_EQ(CountFlashTicks(c, 16), 6);
    EXPECT_EQ(c.host.sounds, std::vector<std::string>{"C:\\CLOCK\\alarm.wav"});
}

TEST(KitchenTimer, DigitsWrapBothWaysAndOnlyTheirCellsTakeClicks) {
    TestClock c;
    EnterTimerSetting(c.state.timer);
    ClickCell(c, 0, 32, -1);
    EXPECT_EQ(c.state.timer.digits[0], 5);  // tens of minutes 0 - 1 wraps to 5
    for (int i = 0; i < 9; ++i) ClickCell(c, 96, 40, +1);
    EXPECT_EQ(c.state.timer.digits[3], 9);
    ClickCell(c, 120, 56, +1);
    EXPECT_EQ(c.state.timer.digits[3], 0);  // seconds 9 + 1 wraps to 0
    ClickCell(c, 64, 32, -1);
    EXPECT_EQ(c.state.timer.digits[2], 5);
    ClickCell(c, 32, 32, -1);
    EXPECT_EQ(c.state.timer.digits[1], 9);
    c.state.mouseX = 64;
    c.state.mouseY = 64;  // right of the buttons
    EXPECT_EQ(TimerClick(c.state, +1), 0);
    c.state.mouseY = 0;
    EXPECT_EQ(TimerClick(c.state, +1), 0);
    c.state.mouseY = 96;
    EXPECT_EQ(TimerClick(c.state, +1), 0);
}

TEST(KitchenTimer, ResetAndStartButtonsActOnlyOnLeftClicks) {
    TestClock c;
    EnterTimerSetting(c.state.timer);
    ClickCell(c, 32, 32, +1);
    ClickCell(c, 0, 64, -1);  // right click on reset: nothing
    EXPECT_EQ(c.state.timer.digits[1], 1);
    c.state.mouseX = 32;
    c.state.mouseY = 64;
    EXPECT_TRUE(TimerRightButton(c.state));  // right click on start: used, no cancel
    EXPECT_TRUE(c.state.timer.setting);
    EXPECT_FALSE(c.state.timer.running);
    ClickCell(c, 0, 64, +1);
    EXPECT_EQ(c.state.timer.digits[1], 0);
    ClickCell(c, 32, 64, +1);
    EXPECT_TRUE(c.state.timer.running);
    EXPECT_EQ(c.state.timer.bounce[4], kBounceHidden);
    EXPECT_EQ(c.state.timer.bounce[5], kBounceHidden);
    EXPECT_EQ(c.state.timer.remaining, 0);  // a start at 00:00 is allowed
}

TEST(KitchenTimer, RightButtonCancelsOutsideTheCellsAndWhileRunning) {
    TestClock c;
    EXPECT_FALSE(TimerRightButton(c.state));  // idle: the clock menu opens
    EnterTimerSetting(c.state.timer);
    c.state.mouseX = 8;
    c.state.mouseY = 8;  // top row of the clock
    EXPECT_TRUE(TimerRightButton(c.state));
    EXPECT_FALSE(c.state.timer.setting);
    EnterTimerSetting(c.state.timer);
    ClickCell(c, 32, 64, +1);
    c.state.mouseX = 0;
    c.state.mouseY = 32;  // even on a digit
    EXPECT_TRUE(TimerRightButton(c.state));
    EXPECT_FALSE(c.state.timer.running);
    EXPECT_EQ(c.state.timer.digits[0], 0);
}

TEST(KitchenTimer, StartFromTenMinutesRipplesLeftToRight) {
    TestClock c;
    c.state.lastHour = 12;
    c.SetTime(12, 0, 0);
    c.Tick();
    EnterTimerSetting(c.state.timer);
    ClickCell(c, 0, 32, +1);
    ClickCell(c, 32, 64, +1);
    // Let the start-up bounces settle.
    for (int i = 0; i < 20; ++i) c.Tick();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.state.timer.bounce[i], 8);
    c.host.time.second = 1;
    c.state.now = c.host.time;
    c.Tick();
    EXPECT_EQ(Digits(c.state.timer), "09:59");
    // All four digits and the colon restarted; A0 advanced at once, the others wait for it.
    std::vector<std::vector<int>> rows;
    for (int t = 0; t < 4; ++t) {
        rows.push_back({c.state.timer.bounce[0], c.state.timer.bounce[1], c.state.timer.bounce[2],
                        c.state.timer.bounce[3], c.state.timer.bounce[6]});
        c.Tick();
    }
    std::vector<std::vector<int>> want = {{1, 1, 0, 0, 0}, {2, 2, 1, 0, 0}, {3, 3, 2, 1, 0}, {4, 4, 3, 2, 0}};
    EXPECT_EQ(rows, want);
    for (int t = 0; t < 6; ++t) c.Tick();
    EXPECT_EQ(c.state.timer.bounce[6], 6);  // the colon waited for A0 to reach 6
}

TEST(KitchenTimer, OverlayDrawsBouncedGlyphsOverTheFace) {
    TestClock c;
    c.state.lastHour = 12;
    c.SetTime(12, 0, 0);
    EnterTimerSetting(c.state.timer);
    c.Tick();
    // First pass: every item shown with offset k = 0 (-1 pixel); the start glyph (11) sits
    // at (32, 63). Check one opaque pixel of it.
    int gx = 0, gy = 0;
    for (gy = 0; gy < 32; ++gy) {
        for (gx = 0; gx < 32; ++gx)
            if (clocktest::SheetPixel(11 * 32 + gx, 592 + gy) != kTransparentIndex) break;
        if (gx < 32) break;
    }
    EXPECT_EQ(c.frame[(63 + gy) * 128 + 32 + gx], clocktest::SheetPixel(11 * 32 + gx, 592 + gy));
}

#include "clock/dialog_rules.h"

TEST(AlarmDialogValues, OutOfRangeUpDownAnswerKeepsTheStoredValue) {
    EXPECT_EQ(ValueFromUpDown(0x00000017, 9, 24), 23);
    EXPECT_EQ(ValueFromUpDown(0x00010017, 9, 24), 9);  // error flag set: keep 9
    EXPECT_EQ(ValueFromUpDown(0x00010000, 30, 60), 30);
    EXPECT_EQ(ValueFromUpDown(0x0000003C, 30, 60), 0);  // 60 reduced modulo 60
    EXPECT_EQ(FontSizeFromSelection(-1), 5);
    EXPECT_EQ(FontWeightFromSelection(-1), -100);
    EXPECT_EQ(SelectionForFontSize(16), 10);
    EXPECT_EQ(SelectionForFontWeight(700), 7);
}
