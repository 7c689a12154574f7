// A clock that lets its resting ticks pass must show what a clock composing every tick
// shows, at every tick, and play the same sounds at the same ticks.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "clock/tick_sleep.h"
#include "tests/unit/clock_test_support.h"

using namespace pendrick;

namespace {

constexpr uint32_t kTickMs = 20;
constexpr uint32_t kDayMs = 24u * 3600u * 1000u;

uint64_t Fnv(const void* data, size_t n, uint64_t h = 1469598103934665603ull) {
    auto p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

// Time of day from a millisecond counter; hand lines and sounds are remembered per tick.
class TimeHost : public ClockHost {
public:
    uint32_t ms = 0;
    uint64_t lines = 0;
    std::vector<std::string> sounds;

    LocalTime ReadLocalTime() override {
        uint32_t t = ms % kDayMs;
        LocalTime lt;
        lt.hour = int(t / 3600000);
        lt.minute = int(t / 60000 % 60);
        lt.second = int(t / 1000 % 60);
        lt.millisecond = int(t % 1000);
        return lt;
    }
    uint32_t Milliseconds() override { return ms; }
    void PlaySoundFile(const char* path) override { sounds.push_back(path); }
    void DrawHandLine(int pen, int x0, int y0, int x1, int y1) override {
        int v[5] = {pen, x0, y0, x1, y1};
        lines = Fnv(v, sizeof v, lines);
    }
};

// An action on the clock at a given tick, as a user's click or menu choice would make it.
using Action = std::pair<uint32_t, std::function<void(ClockState&)>>;

struct Run {
    std::vector<uint64_t> screen;                          // what is shown after each tick
    std::vector<std::pair<uint32_t, std::string>> sounds;  // tick, file
    uint32_t composed = 0;
};

class Scene {
public:
    Scene(int h, int m, int s, std::function<void(ClockState&)> setUp = nullptr)
        : startMs_(uint32_t((h * 3600 + m * 60 + s) * 1000)), setUp_(std::move(setUp)) {}
    Scene& At(uint32_t tick, std::function<void(ClockState&)> action) {
        actions_.push_back({tick, std::move(action)});
        return *this;
    }

    // letPass: whether resting ticks are let pass.
    Run Play(uint32_t ticks, bool letPass) const {
        std::vector<uint8_t> frame(kFrameBytes, 0xAA);
        ClockState c;
        c.sheet = sheet_.data();
        c.frame = frame.data();
        BuildSoundPaths("C:\\CLOCK\\PENDRICK.EXE", c.soundPaths);
        TimeHost host;
        host.ms = startMs_;
        c.now = host.ReadLocalTime();
        if (setUp_) setUp_(c);

        Run run;
        TickSleep sleep;
        size_t nextAction = 0;
        uint64_t shown = 0;
        uint32_t wakeAtMs = 0;
        for (uint32_t k = 0; k < ticks; ++k) {
            host.ms = startMs_ + k * kTickMs;
            while (nextAction < actions_.size() && actions_[nextAction].first == k) {
                // The input arrives just before this tick is due.
                if (sleep.Asleep()) LetTicksPass(c, sleep.EndEarly(host.ms - 1, kTickMs));
                actions_[nextAction++].second(c);
            }
            if (sleep.Asleep()) {
                if (host.ms - startMs_ < wakeAtMs) {
                    run.screen.push_back(shown);
                    continue;
                }
                LetTicksPass(c, sleep.EndByTimer());
            }
            host.lines = 0;
            const TickInputs before = TickInputsOf(c);
            size_t soundsBefore = host.sounds.size();
            ComposeFrame(c, host);
            ++run.composed;
            for (size_t i = soundsBefore; i < host.sounds.size(); ++i) run.sounds.push_back({k, host.sounds[i]});
            shown = Fnv(frame.data(), frame.size(), host.lines);
            run.screen.push_back(shown);
            if (!letPass) continue;
            uint32_t pass = TicksToLetPass(before, c, host.ReadLocalTime(), kTickMs);
            if (pass) {
                sleep.Begin(pass, host.ms);
                wakeAtMs = host.ms - startMs_ + sleep.WakeAfterMs(kTickMs);
            }
        }
        return run;
    }

private:
    std::vector<uint8_t> sheet_ = clocktest::PatternSheet();
    uint32_t startMs_;
    std::function<void(ClockState&)> setUp_;
    std::vector<Action> actions_;
};

void ExpectSameAsEveryTick(const Scene& scene, uint32_t ticks, const char* name, uint32_t maxComposed) {
    const Run every = scene.Play(ticks, false);
    const Run resting = scene.Play(ticks, true);
    ASSERT_EQ(every.screen.size(), resting.screen.size()) << name;
    for (size_t k = 0; k < every.screen.size(); ++k)
        ASSERT_EQ(every.screen[k], resting.screen[k]) << name << ": tick " << k << " shows another frame";
    EXPECT_EQ(every.sounds, resting.sounds) << name;
    EXPECT_LE(resting.composed, maxComposed) << name << ": the clock did not rest";
}

void AtRest(ClockState& c) { c.lastHour = c.now.hour; }

}  // namespace

TEST(ClockTickSleep, AnalogShowsEveryTickFrameThroughChimesAndMinutes) {
    // Start-up chime, the chime of eleven, the marker's minute animation, hand lines on.
    ExpectSameAsEveryTick(Scene(10, 59, 30), 90 * 50, "analog from 10:59:30", 90 * 50);
    // Resting analog clock: a new second and the marker's wobbles, the tick that settles it
    // resting at once.
    // Steps of the wobble that leave the marker where it was drawn are let pass too.
    ExpectSameAsEveryTick(Scene(13, 14, 40, AtRest), 60 * 50, "analog at rest", 60 * 4 + 10);
    ExpectSameAsEveryTick(Scene(13, 14, 40,
                                [](ClockState& c) {
                                    AtRest(c);
                                    c.settings.handLines = 0;
                                }),
                          30 * 50, "analog without lines", 30 * 4 + 10);
}

TEST(ClockTickSleep, InputDuringTheMarkersWobbleKeepsItsSteps) {
    // Mouse moves wake the clock on every tick around new seconds, in the middle of the
    // wobble's steps and of the ticks let pass between them: the steps still come in order.
    Scene moves(13, 14, 40, AtRest);
    for (uint32_t second = 1; second < 40; ++second)
        for (uint32_t k = 50 * second + second % 7; k < 50 * second + 12; k += 1 + second % 3)
            moves.At(k, [k](ClockState& c) { c.mouseX = int(k % 16) * 8; });
    ExpectSameAsEveryTick(moves, 40 * 50, "mouse moves during the wobble", 40 * 50);
}

TEST(ClockTickSleep, DigitalFacesRestBetweenSeconds) {
    for (int mode : {kModeDigital12, kModeDigital24}) {
        auto digital = [mode](ClockState& c) {
            AtRest(c);
            c.settings.mode = mode;
        };
        // One tick a second: the one that shows the new second rests straight away.
        ExpectSameAsEveryTick(Scene(21, 15, 50, digital), 30 * 50, "digital at rest", 30 + 1);
        // Midnight's chime keeps every tick until it ends.
        ExpectSameAsEveryTick(Scene(23, 59, 50, digital), 30 * 50, "digital across midnight", 30 * 50);
    }
}

TEST(ClockTickSleep, FaceChangedFromTheMenuShowsAtOnceAndRestsAgain) {
    // Each choice lands while the clock rests; the tick it wakes changes the frame and rests
    // straight away, so any tick after it that composed something else would show here.
    Scene menu(6, 45, 20, AtRest);
    menu.At(130, [](ClockState& c) { c.settings.handLines = 0; })
        .At(333, [](ClockState& c) { c.settings.mode = kModeDigital12; })
        .At(421, [](ClockState& c) { c.settings.mode = kModeAnalog; })
        .At(422, [](ClockState& c) { c.settings.handLines = 1; })
        .At(777, [](ClockState& c) { c.settings.mode = kModeDigital24; });
    ExpectSameAsEveryTick(menu, 20 * 50, "faces from the menu", 20 * 6);
}

TEST(ClockTickSleep, AlarmAndKitchenTimerKeepEveryTick) {
    ExpectSameAsEveryTick(Scene(17, 29, 50,
                                [](ClockState& c) {
                                    AtRest(c);
                                    c.settings.alarmHour = 17;
                                    c.settings.alarmMinute = 30;
                                    c.settings.soundOn = 1;
                                }),
                          30 * 50, "alarm at 17:30", 30 * 50);
    // The kitchen timer is set by clicks that arrive while the clock rests.
    Scene timer(8, 20, 10, AtRest);
    timer.At(101, [](ClockState& c) { EnterTimerSetting(c.timer); })
        .At(170,
            [](ClockState& c) {
                c.mouseX = 96;
                c.mouseY = 32;
                TimerClick(c, +1);
                TimerClick(c, +1);
            })
        .At(233, [](ClockState& c) {
            c.mouseX = 32;
            c.mouseY = 64;
            TimerClick(c, +1);  // start: two seconds
        });
    ExpectSameAsEveryTick(timer, 20 * 50, "kitchen timer", 20 * 50);
}

TEST(ClockTickSleep, ResumesTheTickCountItOwes) {
    TickSleep sleep;
    EXPECT_FALSE(sleep.Asleep());
    sleep.Begin(40, 1000);
    EXPECT_TRUE(sleep.Asleep());
    EXPECT_EQ(sleep.WakeAfterMs(20), 820u);
    EXPECT_EQ(sleep.EndByTimer(), 40u);  // even when the timer fires a little early
    EXPECT_FALSE(sleep.Asleep());
    sleep.Begin(40, 0xFFFFFF00u);  // the millisecond counter wraps
    EXPECT_EQ(sleep.EndEarly(0xFFFFFF00u + 130, 20), 6u);
    sleep.Begin(3, 0);
    EXPECT_EQ(sleep.EndEarly(5000, 20), 3u);  // never more than were let pass
}
