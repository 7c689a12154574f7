// The frame composer: hand arithmetic, sprite frames, digital glyphs, the chime, and whole
// frames compared with an independently computed picture.
#include <gtest/gtest.h>

#include "tests/unit/clock_test_support.h"

using namespace pendrick;
using clocktest::SheetPixel;
using clocktest::TestClock;

namespace {

// One block drawn over the frame: sheet origin, size, frame origin.
struct Layer {
    int sx, sy, w, h, dx, dy;
};

// The expected frame, pixel by pixel: the topmost layer with an opaque pixel wins,
// otherwise the face variant shows (its transparent pixels included).
std::vector<uint8_t> ExpectedFrame(int variant, const std::vector<Layer>& layers) {
    std::vector<uint8_t> out(kFrameBytes);
    for (int py = 0; py < 128; ++py)
        for (int px = 0; px < 128; ++px) {
            uint8_t v = SheetPixel(variant * 128 + px, py);
            for (const Layer& l : layers) {
                if (px < l.dx || px >= l.dx + l.w || py < l.dy || py >= l.dy + l.h) continue;
                uint8_t s = SheetPixel(l.sx + px - l.dx, l.sy + py - l.dy);
                if (s != kTransparentIndex) v = s;
            }
            out[py * 128 + px] = v;
        }
    return out;
}

Layer Sprite(int row, int frame, int x, int y) { return {16 * frame, 512 + 16 * row, 16, 16, x - 8, y - 8}; }
Layer Character(int frame) { return {96 * (frame % 4), frame < 4 ? 128 : 192, 96, 64, 16, 32}; }
Layer Glyph(int g, int x) { return {32 * g, 560, 32, 32, x, 96}; }

int CountDifferences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

}  // namespace

TEST(ClockHands, HourSpriteFramesAtTheQuarterHours) {
    EXPECT_EQ(HourHand(12, 0).frame, 24);
    EXPECT_EQ(HourHand(0, 0).frame, 24);
    EXPECT_EQ(HourHand(9, 0).frame, 16);
    EXPECT_EQ(HourHand(3, 0).frame, 0);
    EXPECT_EQ(HourHand(2, 38).frame, 0);  // h = -22 truncates towards zero
    EXPECT_EQ(HourHand(6, 0).frame, 8);
    // Noon points straight up: x stays on the centre line despite 3.14.
    EXPECT_EQ(HourHand(12, 0).x, 64);
    EXPECT_EQ(HourHand(12, 0).y, 32);
    EXPECT_EQ(HourHand(3, 0).x, 96);
    EXPECT_EQ(HourHand(3, 0).y, 64);
}

TEST(ClockHands, MinuteAndSecondMarkerAtTenFifteenSeven) {
    HandPoint m = MinuteHand(15);
    EXPECT_EQ(m.frame, 0);
    EXPECT_EQ(m.x, 110);
    EXPECT_EQ(m.y, 64);
    EXPECT_EQ(MinuteHand(0).frame, 24);  // m = -15: -8 AND 31
    EXPECT_EQ(MinuteHand(14).frame, 0);  // m = -1: -32 / 60 truncates to 0
    HandPoint s = SecondMarker(7, +1);   // (70 - 150 + 1) x 3.14 / 300
    EXPECT_EQ(s.x, 101);
    EXPECT_EQ(s.y, 22);
}

TEST(ClockFrame, AnalogFirstTickMatchesIndependentPicture) {
    TestClock c;
    c.state.settings.handLines = 0;
    c.SetTime(10, 15, 7);
    c.Tick();
    // Chime on (first tick), character frame 0, hour (38, 44) frame 19, minute (110, 64)
    // frame 0, marker at wobble +1: (101, 22) frame 0.
    auto want = ExpectedFrame(1, {Character(0), Sprite(1, 19, 38, 44), Sprite(2, 0, 110, 64), Sprite(0, 0, 101, 22)});
    EXPECT_EQ(CountDifferences(c.frame, want), 0);
}

TEST(ClockFrame, AnalogLaterTicksFollowWobbleAndMarkerFrames) {
    TestClock c;
    c.state.settings.handLines = 1;
    c.SetTime(21, 47, 33);
    c.state.chime.on = false;
    c.state.lastHour = 21;  // no chime: the hour has been seen
    c.Tick();               // new second: wobble index 0 (+1) used, marker frame 0
    c.Tick();               // same second: wobble index 1 (-1), marker frame 1
    // (330 - 150 - 1) = 179 tenths of the turn's half: (46, 117) moves to (47, 117).
    auto want = ExpectedFrame(0, {Sprite(1, 18, 34, 51), Sprite(2, 17, 18, 54), Sprite(0, 1, 47, 117)});
    EXPECT_EQ(CountDifferences(c.frame, want), 0);
    ASSERT_EQ(c.host.lines.size(), 4u);
    EXPECT_EQ(c.host.lines[2].pen, 0);  // minute line first
    EXPECT_EQ(c.host.lines[2].x1, 18);
    EXPECT_EQ(c.host.lines[2].y1, 54);
    EXPECT_EQ(c.host.lines[3].pen, 1);
    EXPECT_EQ(c.host.lines[3].x1, 34);
    EXPECT_EQ(c.host.lines[3].y1, 51);
}

TEST(ClockFrame, SecondMarkerPlaysEightFramesAtTheFullMinuteThenRests) {
    TestClock c;
    c.state.lastHour = 8;
    c.SetTime(8, 0, 59);
    c.Tick(20);  // start-up animation played out
    c.host.time.second = 0;
    c.host.time.minute = 1;
    std::vector<int> frames;
    for (int i = 0; i < 12; ++i) {
        c.state.now = c.host.time;
        c.Tick();
        frames.push_back(c.state.markerFrameCounter);
    }
    // The full minute restarts the counter: frames 0-7 shown on eight ticks, then frame 0.
    std::vector<int> want = {1, 2, 3, 4, 5, 6, 7, 8, 8, 8, 8, 8};
    EXPECT_EQ(frames, want);
}

TEST(ClockFrame, DigitalTwelveHourShowsOneDigitAtNoon) {
    TestClock c;
    c.state.settings.mode = kModeDigital12;
    c.state.lastHour = 12;
    c.SetTime(12, 5, 9);
    c.Tick();
    // "0:05:09" with the tens glyph left out; glyph i at 14 x i.
    auto want = ExpectedFrame(2, {Glyph(0, 14), Glyph(12, 28), Glyph(0, 42), Glyph(5, 56), Glyph(12, 70), Glyph(0, 84),
                                  Glyph(9, 98)});
    EXPECT_EQ(CountDifferences(c.frame, want), 0);
}

TEST(ClockFrame, DigitalUnitsGlyphStaysInPlaceWithoutTens) {
    for (int mode : {kModeDigital12, kModeDigital24}) {
        TestClock c;
        c.state.settings.mode = mode;
        c.state.lastHour = 9;
        c.SetTime(9, 5, 0);
        c.Tick();
        auto want = ExpectedFrame(2, {Glyph(9, 14), Glyph(12, 28), Glyph(0, 42), Glyph(5, 56), Glyph(12, 70),
                                      Glyph(0, 84), Glyph(0, 98)});
        EXPECT_EQ(CountDifferences(c.frame, want), 0) << "mode " << mode;
    }
    TestClock c;
    c.state.settings.mode = kModeDigital24;
    c.state.lastHour = 23;
    c.SetTime(23, 59, 58);
    c.Tick();
    auto want = ExpectedFrame(2, {Glyph(2, 0), Glyph(3, 14), Glyph(12, 28), Glyph(5, 42), Glyph(9, 56), Glyph(12, 70),
                                  Glyph(5, 84), Glyph(8, 98)});
    EXPECT_EQ(CountDifferences(c.frame, want), 0);
}

TEST(ClockChime, StartsOnFirstTickLoopsWhileTimeLastsAndEndsAtLoopEnd) {
    TestClock c;
    c.SetTime(7, 59, 0);  // variant 7 mod 3 = 1: MUSIC2, 18 s
    c.host.ms = 5000;
    c.Tick();
    ASSERT_TRUE(c.state.chime.on);
    EXPECT_EQ(c.state.chime.variant, 1);
    EXPECT_EQ(c.state.chime.endTime, 23000u);
    c.Tick(5);
    EXPECT_TRUE(c.host.sounds.empty());
    c.Tick();  // step 6
    ASSERT_EQ(c.host.sounds.size(), 1u);
    EXPECT_EQ(c.host.sounds[0], "C:\\CLOCK\\MUSIC2.WAV");
    // While time lasts the frame position wraps below 16 and the chime stays on.
    for (int i = 0; i < 200; ++i) {
        c.Tick();
        ASSERT_TRUE(c.state.chime.on);
        ASSERT_LT(c.state.chime.framePosition, 16);
    }
    c.host.ms = 23000;  // time is up: the current loop finishes
    int ticks = 0;
    while (c.state.chime.on && ticks < 100) {
        c.Tick();
        ++ticks;
    }
    EXPECT_FALSE(c.state.chime.on);
    EXPECT_LE(ticks, 32);
    EXPECT_EQ(c.host.sounds.size(), 1u);  // the tune starts once
}

TEST(ClockChime, ShowsTheFrameSequenceOneStepEverySecondTick) {
    TestClock c;
    c.SetTime(3, 0, 0);
    std::vector<int> shown;
    for (int i = 0; i < 32; ++i) {
        shown.push_back(ChimeFrame(c.state.chime.framePosition));
        c.Tick();
    }
    // Position before each tick: 0 (not started), then the sequence at two ticks a step.
    std::vector<int> want = {0, 1, 1, 1, 1, 2, 2, 3, 3, 4, 4, 4, 4, 5, 5, 5,
                             5, 5, 5, 6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 0, 0, 0};
    EXPECT_EQ(shown, want);
}

TEST(ClockChime, NewHourRestartsWithTheHoursVariant) {
    TestClock c;
    c.SetTime(10, 59, 59);
    c.Tick(8);
    c.host.ms += 30000;
    c.Tick(40);
    ASSERT_FALSE(c.state.chime.on);
    c.host.time.hour = 11;
    c.host.time.minute = 0;
    c.Tick(4);  // the time is read again on the fourth tick
    EXPECT_TRUE(c.state.chime.on);
    EXPECT_EQ(c.state.chime.variant, 2);
}

TEST(ClockFrame, TimeIsReadOnlyOnEveryFourthTick) {
    TestClock c;
    c.SetTime(1, 0, 0);
    c.Tick(16);
    EXPECT_EQ(c.host.timeReads, 4);
}

TEST(ClockFrame, NothingHappensWithoutFrame) {
    TestClock c;
    c.state.frame = nullptr;
    c.Tick(3);
    EXPECT_EQ(c.state.tick, 0u);
}

TEST(ClockFrame, SoundPathsTooLongStaySilentAndFoldersEndAtRealBackslashes) {
    std::string longFolder = "C:\\" + std::string(246, 'A') + "\\PENDRICK.EXE";
    char paths[4][kPathBufferSize];
    BuildSoundPaths(longFolder.c_str(), paths);
    // 250 bytes of folder: "alarm.wav" (9) fits in 259, "MUSIC1.WAV" (10) does not.
    EXPECT_EQ(std::strlen(paths[kSoundAlarm]), 259u);
    EXPECT_STREQ(paths[kSoundMusic1], "");
    BuildSoundPaths("PENDRICK.EXE", paths);
    EXPECT_STREQ(paths[kSoundMusic3], "MUSIC3.WAV");
    // The second byte of 表 is 0x5C: the folder still ends at the real backslash.
    BuildSoundPaths("C:\\時計\\表.EXE", paths);
    EXPECT_STREQ(paths[kSoundAlarm], "C:\\時計\\alarm.wav");

    TestClock c;
    BuildSoundPaths(longFolder.c_str(), c.state.soundPaths);
    c.SetTime(0, 0, 0);
    c.Tick(10);
    EXPECT_TRUE(c.host.sounds.empty());
}

TEST(ClockShape, RunsOfOpaquePixelsBecomeOneRowRectangles) {
    std::vector<uint8_t> frame(kFrameBytes, kTransparentIndex);
    for (int x = 10; x < 20; ++x) frame[0 * 128 + x] = 40;
    for (int x = 30; x < 128; ++x) frame[0 * 128 + x] = 41;
    frame[5 * 128 + 0] = 42;
    auto rects = BuildWindowShape(frame.data());
    std::vector<ShapeRect> want = {{10, 0, 20, 1}, {30, 0, 128, 1}, {0, 5, 1, 6}};
    EXPECT_EQ(rects, want);
}

TEST(ClockShape, AnalogAndDigitalOutlinesDifferAndChimeVariantsShareBackground) {
    TestClock c;
    CopyBackground(c.state, 0);
    auto analog = BuildWindowShape(c.state.frame);
    CopyBackground(c.state, 2);
    auto digital = BuildWindowShape(c.state.frame);
    EXPECT_NE(analog, digital);
    // The transparent test is made on the sheet index, before mapping.
    for (int i = 0; i < 256; ++i) c.state.colourMap[i] = uint8_t(255 - i);
    c.state.colourMap[kTransparentIndex] = kTransparentIndex;
    CopyBackground(c.state, 0);
    EXPECT_EQ(BuildWindowShape(c.state.frame), analog);
}

TEST(ClockPlacement, ClampsOntoTheScreenAndSnapsNearTheEdges) {
    ScreenPoint a = ClampToScreen(50, 300, 640, 480);
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(a.y, 300);
    ScreenPoint b = ClampToScreen(600, 400, 640, 480);
    EXPECT_EQ(b.x, 512);
    EXPECT_EQ(b.y, 352);
    ScreenPoint c = ClampToScreen(-500, 200, 640, 480);
    EXPECT_EQ(c.x, 0);
    ScreenPoint d = ClampToScreen(300, 200, 640, 480);
    EXPECT_EQ(d.x, 300);
    EXPECT_EQ(d.y, 200);
}

TEST(ClockPlacement, AStoredPositionAtTheLimitsOfItsRangeLandsOnTheScreen) {
    ScreenPoint far = ClampToScreen(INT32_MAX, INT32_MAX, 640, 480);
    EXPECT_EQ(far.x, 512);
    EXPECT_EQ(far.y, 352);
    ScreenPoint before = ClampToScreen(INT32_MIN, INT32_MIN, 640, 480);
    EXPECT_EQ(before.x, 0);
    EXPECT_EQ(before.y, 0);
}

TEST(ClockFrame, BackgroundGoesThroughARemappedColourMap) {
    TestClock c;
    for (int i = 0; i < 256; ++i) c.state.colourMap[i] = uint8_t(i ^ 0x80);
    c.state.colourMap[kTransparentIndex] = kTransparentIndex;
    CopyBackground(c.state, 3);
    for (int y = 0; y < 128; y += 7)
        for (int x = 0; x < 128; x += 5) {
            uint8_t s = SheetPixel(384 + x, y);
            ASSERT_EQ(c.frame[y * 128 + x], s == kTransparentIndex ? s : uint8_t(s ^ 0x80)) << x << "," << y;
        }
}

TEST(ClockChime, LoopsThroughTheMillisecondClockWrap) {
    TestClock c;
    c.SetTime(9, 0, 0);              // variant 0: 7 seconds
    c.host.ms = 0xFFFFFFFFu - 1000;  // the end time wraps past zero
    c.Tick();
    ASSERT_EQ(c.state.chime.endTime, 5999u);
    c.host.ms = 0xFFFFFFFFu - 500;
    c.Tick(40);  // more than one loop of the animation
    EXPECT_TRUE(c.state.chime.on);
    c.host.ms = 3000;  // after the wrap, still within the 7 seconds
    c.Tick(40);
    EXPECT_TRUE(c.state.chime.on);
    c.host.ms = 6000;
    c.Tick(40);
    EXPECT_FALSE(c.state.chime.on);
}
