// Frames of a simulated day, pinned by hash: every face, the chimes, the alarm, the
// kitchen timer and a remapped palette, tick by tick, with the lines and sounds each tick
// asks for. A change to how frames are composed must keep every pixel at its moment.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/unit/clock_test_support.h"

using namespace pendrick;

namespace {

constexpr uint32_t kTickMs = 20;  // the window's timer
constexpr uint32_t kDayMs = 24u * 3600u * 1000u;

struct Fnv {
    uint64_t h = 1469598103934665603ull;
    void Bytes(const void* data, size_t n) {
        auto p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    }
    void Int(int64_t v) { Bytes(&v, sizeof v); }
};

// A sheet with wide transparent and opaque areas as well as scattered holes, so that every
// kind of run a blit can meet occurs in faces, sprites, characters and glyphs.
std::vector<uint8_t> MixedSheet() {
    std::vector<uint8_t> sheet(kSheetBytes);
    for (int y = 0; y < kSheetHeight; ++y)
        for (int x = 0; x < kSheetWidth; ++x) {
            const int area = (x / 5 + y / 3) % 6;
            uint8_t v = uint8_t(16 + (x * 31 + y * 17) % 200);
            if (area == 0 || area == 3) v = kTransparentIndex;
            if (area == 4 && (x + 2 * y) % 7 == 0) v = kTransparentIndex;
            if (area == 5 && v == 0x80) v = 0x7F;
            sheet[y * kSheetWidth + x] = v;
        }
    return sheet;
}

// A host whose clock runs from a given time of day; it hashes what the composer asks of it.
class DayHost : public ClockHost {
public:
    uint32_t ms = 0;  // milliseconds since midnight, also the millisecond counter
    Fnv calls;

    LocalTime ReadLocalTime() override {
        uint32_t t = ms % kDayMs;
        LocalTime lt;
        lt.year = 2026;
        lt.month = 12;
        lt.day = 8;
        lt.hour = int(t / 3600000);
        lt.minute = int(t / 60000 % 60);
        lt.second = int(t / 1000 % 60);
        lt.millisecond = int(t % 1000);
        return lt;
    }
    uint32_t Milliseconds() override { return ms; }
    void PlaySoundFile(const char* path) override {
        calls.Int(-1);
        calls.Bytes(path, std::strlen(path));
    }
    void DrawHandLine(int pen, int x0, int y0, int x1, int y1) override {
        for (int v : {-2, pen, x0, y0, x1, y1}) calls.Int(v);
    }
};

struct Scene {
    const char* name;
    uint64_t expected;
};

class DayClock {
public:
    explicit DayClock(const std::vector<uint8_t>& sheet) : frame_(kFrameBytes, 0xAA) {
        state.sheet = sheet.data();
        state.frame = frame_.data();
        BuildSoundPaths("C:\\CLOCK\\PENDRICK.EXE", state.soundPaths);
    }
    void StartAt(int h, int m, int s) {
        host.ms = uint32_t((h * 3600 + m * 60 + s) * 1000);
        state.now = host.ReadLocalTime();
    }
    // Runs the ticks and folds each frame, with what the tick asked of the host, into the
    // scene's hash.
    void Run(int ticks) {
        for (int i = 0; i < ticks; ++i) {
            host.calls = Fnv{};
            ComposeFrame(state, host);
            Fnv frameHash;
            frameHash.Bytes(frame_.data(), frame_.size());
            scene_.Int(int64_t(frameHash.h));
            scene_.Int(int64_t(host.calls.h));
            host.ms += kTickMs;
        }
    }
    void RunSeconds(int seconds) { Run(seconds * 1000 / int(kTickMs)); }
    uint64_t SceneHash() const { return scene_.h; }

    ClockState state;
    DayHost host;

private:
    std::vector<uint8_t> frame_;
    Fnv scene_;
};

void ExpectScene(const DayClock& c, const Scene& s) {
    EXPECT_EQ(c.SceneHash(), s.expected) << s.name << ": got 0x" << std::hex << c.SceneHash();
}

// Puts the mouse on a timer cell and clicks it n times with the left (+1) or right (-1) button.
void ClickCell(ClockState& c, int cellX, int cellY, int delta, int n) {
    c.mouseX = cellX;
    c.mouseY = cellY;
    for (int i = 0; i < n; ++i) TimerClick(c, delta);
}

}  // namespace

TEST(ClockDayFrames, AnalogFaceThroughStartUpChimesAndMinutes) {
    const std::vector<uint8_t> sheet = MixedSheet();
    {
        DayClock c(sheet);
        c.StartAt(0, 0, 0);  // start-up chime, variant 0
        c.RunSeconds(12);
        ExpectScene(c, {"midnight start-up", 0x291c59fbde43cf7eull});
    }
    {
        DayClock c(sheet);
        c.StartAt(10, 59, 54);  // chime of the hour, variant 2, after the start-up one
        c.RunSeconds(30);
        ExpectScene(c, {"eleven o'clock chime", 0x6c60ba29cfff4ceaull});
    }
    {
        DayClock c(sheet);
        c.state.settings.handLines = 0;
        c.state.lastHour = 13;  // the hour has been seen: no start-up chime
        c.StartAt(13, 14, 57);
        c.RunSeconds(6);  // the marker's eight frames at the full minute
        ExpectScene(c, {"analog without lines", 0xd49a4c3303ab7916ull});
    }
}

TEST(ClockDayFrames, DigitalFacesAcrossHoursAndTheDayBoundary) {
    const std::vector<uint8_t> sheet = MixedSheet();
    {
        DayClock c(sheet);
        c.state.settings.mode = kModeDigital12;
        c.StartAt(12, 59, 56);
        c.RunSeconds(12);
        ExpectScene(c, {"digital 12 at one", 0x4be25f5d47080e19ull});
    }
    {
        DayClock c(sheet);
        c.state.settings.mode = kModeDigital24;
        c.state.lastHour = 23;
        c.StartAt(23, 59, 57);
        c.RunSeconds(10);
        ExpectScene(c, {"digital 24 at midnight", 0x866650830f2e254eull});
    }
    {
        // A sweep over the whole day, switching faces as a user would.
        DayClock c(sheet);
        c.StartAt(0, 0, 0);
        for (int step = 0; step < 84; ++step) {
            c.state.settings.mode = step % 3;
            c.state.settings.handLines = step % 5 != 0;
            c.host.ms += 1043000;  // 17 min 23 s
            c.Run(12);
        }
        ExpectScene(c, {"day sweep", 0x3e19e01ed3928b1aull});
    }
}

TEST(ClockDayFrames, AlarmFlashesAndSoundsOnEveryFace) {
    const std::vector<uint8_t> sheet = MixedSheet();
    for (int mode : {kModeAnalog, kModeDigital24}) {
        DayClock c(sheet);
        c.state.settings.mode = mode;
        c.state.settings.alarmHour = 17;
        c.state.settings.alarmMinute = 30;
        c.state.settings.soundOn = mode == kModeAnalog;
        c.state.lastHour = 17;
        c.StartAt(17, 29, 58);
        c.RunSeconds(6);
        const bool analog = mode == kModeAnalog;
        ExpectScene(c, {analog ? "alarm, analog" : "alarm, digital 24 silent",
                        analog ? 0x6b7046f8b1e8d693ull : 0x67568991ce0ecd42ull});
    }
}

TEST(ClockDayFrames, KitchenTimerSetRunAndRing) {
    const std::vector<uint8_t> sheet = MixedSheet();
    DayClock c(sheet);
    c.state.lastHour = 8;
    c.StartAt(8, 20, 10);
    EnterTimerSetting(c.state.timer);
    c.Run(30);                          // the items bounce in
    ClickCell(c.state, 96, 32, +1, 3);  // seconds 3
    c.Run(12);
    ClickCell(c.state, 64, 32, +1, 1);  // tens of seconds 1
    ClickCell(c.state, 64, 32, -1, 2);  // and back past 0 to 5
    c.Run(12);
    ClickCell(c.state, 32, 64, +1, 1);  // start: 0:53
    c.RunSeconds(60);                   // counts down, ends and rings
    ExpectScene(c, {"kitchen timer", 0x465ef5a92eca3820ull});
}

TEST(ClockDayFrames, RemappedPaletteOnEveryFace) {
    const std::vector<uint8_t> sheet = MixedSheet();
    DayClock c(sheet);
    for (int i = 0; i < 256; ++i) c.state.colourMap[i] = uint8_t(i * 7 + 3);
    c.state.colourMap[kTransparentIndex] = kTransparentIndex;
    c.StartAt(6, 59, 58);
    c.RunSeconds(4);
    c.state.settings.mode = kModeDigital12;
    c.RunSeconds(3);
    c.state.settings.mode = kModeDigital24;
    c.RunSeconds(3);
    ExpectScene(c, {"remapped palette", 0x5e3358a20b979427ull});
}
