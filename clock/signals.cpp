// The alarm's trigger and signal counting, and the kitchen timer: its cells, countdown and
// the bouncing overlay drawn over the face.
#include "clock/clock_state.h"

namespace pendrick {

const int8_t kBounceOffsets[8] = {-1, -3, -5, -6, -5, -4, -2, -1};

namespace {

constexpr int kAlarmFlashes = 4;
constexpr int kTimerFlashes = 2;
constexpr int kDigitModulus[4] = {6, 10, 6, 10};

struct Cell {
    int x, y;
};
constexpr Cell kItemCells[7] = {{0, 32}, {32, 32}, {64, 32}, {96, 32}, {0, 64}, {32, 64}, {48, 32}};

void StartSignal(SignalState& signal, int flashes) {
    signal.flashCount = flashes;
    signal.alarmTick = 0;
}

int TimerSeconds(const KitchenTimer& t) {
    return 600 * t.digits[0] + 60 * t.digits[1] + 10 * t.digits[2] + t.digits[3];
}

void SetDigit(KitchenTimer& t, int i, int value) {
    if (t.digits[i] != value) {
        t.digits[i] = int8_t(value);
        t.bounce[i] = 0;
    }
}

}  // namespace

bool FlashNow(const SignalState& s) { return s.flashCount != 0 && (s.alarmTick & 15) >= 6 && (s.alarmTick & 2) != 0; }

void RunAlarmSignal(ClockState& c, ClockHost& host) {
    const ClockSettings& s = c.settings;
    if (c.now.minute != c.lastMinute && s.alarmOn && c.now.hour == s.alarmHour && c.now.minute == s.alarmMinute)
        StartSignal(c.signal, kAlarmFlashes);
    if (c.signal.flashCount == 0) return;
    if ((c.signal.alarmTick & 15) == 0) {
        --c.signal.flashCount;
        if (c.signal.flashCount != 0 && s.soundOn && c.soundPaths[kSoundAlarm][0])
            host.PlaySoundFile(c.soundPaths[kSoundAlarm]);
    }
    ++c.signal.alarmTick;
}

void EnterTimerSetting(KitchenTimer& t) {
    t.setting = true;
    for (uint8_t& a : t.bounce) a = 0;
}

void CancelTimer(KitchenTimer& t) {
    t.setting = false;
    t.running = false;
}

int TimerClick(ClockState& c, int delta) {
    KitchenTimer& t = c.timer;
    int cell = c.mouseX / 32 + (c.mouseY / 32) * 4 - 4;
    if (cell >= 0 && cell <= 3) {
        int m = kDigitModulus[cell];
        int v = (t.digits[cell] + delta) % m;
        if (v < 0) v = m - 1;
        t.digits[cell] = int8_t(v);
        t.bounce[cell] = 0;
        return 1;
    }
    if (cell == 4) {
        if (delta >= 0) {
            for (uint8_t& a : t.bounce) a = 0;
            for (int8_t& d : t.digits) d = 0;
        }
        return 1;
    }
    if (cell == 5) {
        if (delta >= 0) {
            t.setting = false;
            t.running = true;
            t.bounce[4] = t.bounce[5] = kBounceHidden;
            t.remaining = TimerSeconds(t);
        }
        return 1;
    }
    return 0;
}

bool TimerRightButton(ClockState& c) {
    KitchenTimer& t = c.timer;
    if (t.setting && !t.running) {
        if (!TimerClick(c, -1)) CancelTimer(t);
        return true;
    }
    if (t.running) {
        CancelTimer(t);
        return true;
    }
    return false;
}

void RunTimerOverlay(ClockState& c) {
    KitchenTimer& t = c.timer;
    if (c.now.second != c.lastSecond && t.running) {
        int s = TimerSeconds(t) - 1;
        if (s < 0) {
            t.remaining = 0;
            t.running = false;
            StartSignal(c.signal, kTimerFlashes);
            return;
        }
        t.remaining = s;
        t.bounce[6] = 0;
        SetDigit(t, 3, s % 10);
        SetDigit(t, 2, (s % 60) / 10);
        SetDigit(t, 1, (s / 60) % 10);
        SetDigit(t, 0, (s / 600) % 6);
    }
    for (int i = 0; i < 7; ++i) {
        if (t.bounce[i] == kBounceHidden) continue;
        int k = t.bounce[i] & 7;
        // Items advance only once the first digit's bounce has reached their index, so a
        // restart of all items ripples from left to right.
        if (int8_t(t.bounce[0]) >= i) {
            if (t.bounce[i] == 8)
                k = 0;
            else
                ++t.bounce[i];
        }
        int glyph = i < 4 ? t.digits[i] : (i == 4 ? kGlyphReset : i == 5 ? kGlyphStart : kGlyphColon);
        DrawGlyph(c, kGlyphRowTimer, glyph, kItemCells[i].x, kItemCells[i].y + kBounceOffsets[k]);
    }
}

}  // namespace pendrick
