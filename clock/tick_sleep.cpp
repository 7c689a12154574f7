#include "clock/tick_sleep.h"

#include <algorithm>

namespace pendrick {

namespace {

// The composer reads the time on a tick whose count has both low bits set.
bool ReadsTime(uint32_t tick) { return (tick & 3) == 3; }

}  // namespace

TickInputs TickInputsOf(const ClockState& c) {
    TickInputs in;
    in.chime = c.chime.on;
    in.timer = c.timer.setting || c.timer.running;
    in.flashCount = c.signal.flashCount;
    in.wobbleIndex = c.wobbleIndex;
    in.markerFrameCounter = c.markerFrameCounter;
    in.mode = c.settings.mode;
    return in;
}

bool ClockAtRest(const TickInputs& beforeTick, const ClockState& c) {
    const TickInputs now = TickInputsOf(c);
    return now == beforeTick && !now.chime && !now.timer && now.flashCount == 0;
}

namespace {

bool SamePlace(const HandPoint& a, const HandPoint& b) { return a.x == b.x && a.y == b.y && a.frame == b.frame; }

// True when the last tick changed nothing that decides the frame but the marker's wobble
// step, nothing moves by itself, and the marker's minute animation is over.
bool OnlyTheWobbleMoved(const TickInputs& beforeTick, const ClockState& c) {
    TickInputs now = TickInputsOf(c);
    now.wobbleIndex = beforeTick.wobbleIndex;
    return now == beforeTick && !now.chime && !now.timer && now.flashCount == 0 && c.settings.mode == kModeAnalog &&
           beforeTick.markerFrameCounter >= kMarkerFrames;
}

// Whether the wobble step `wobbleIndex` puts the marker where the last tick drew it.
bool MarkerStays(const TickInputs& beforeTick, const ClockState& c, int wobbleIndex) {
    return SamePlace(WobbledMarker(c.now.second, beforeTick.wobbleIndex), WobbledMarker(c.now.second, wobbleIndex));
}

int NextWobble(int wobbleIndex) { return wobbleIndex < kWobbleAtRest ? wobbleIndex + 1 : wobbleIndex; }

}  // namespace

uint32_t TicksToLetPass(const TickInputs& beforeTick, const ClockState& c, const LocalTime& timeNow, uint32_t tickMs) {
    if (tickMs == 0) return 0;
    const bool atRest = ClockAtRest(beforeTick, c);
    if (!atRest && !(OnlyTheWobbleMoved(beforeTick, c) && MarkerStays(beforeTick, c, c.wobbleIndex))) return 0;
    // The clock reads the time only every fourth tick: once the second it shows has ended,
    // the next tick that reads the time shows the new one.
    const bool secondShown = timeNow.second == c.now.second && timeNow.minute == c.now.minute &&
                             timeNow.hour == c.now.hour;
    const uint32_t msToNextSecond = secondShown ? uint32_t(1000 - std::min(std::max(timeNow.millisecond, 0), 999)) : 0u;
    // Tick c.tick + j is due (j + 1) * tickMs from now. A wobbling marker goes on stepping
    // through ticks that are let pass; the first step that moves it ends the sleep.
    uint32_t j = 0;
    int wobble = c.wobbleIndex;
    while (!(ReadsTime(c.tick + j) && (j + 1) * tickMs >= msToNextSecond)) {
        if (!atRest && !MarkerStays(beforeTick, c, wobble)) break;
        wobble = NextWobble(wobble);
        ++j;
    }
    return j;
}

void LetTicksPass(ClockState& c, uint32_t ticks) {
    c.tick += ticks;
    if (c.settings.mode != kModeAnalog) return;
    for (uint32_t i = 0; i < ticks && c.wobbleIndex < kWobbleAtRest; ++i) c.wobbleIndex = NextWobble(c.wobbleIndex);
}

uint32_t TickSleep::EndByTimer() {
    uint32_t passed = ticks_;
    ticks_ = 0;
    return passed;
}

uint32_t TickSleep::EndEarly(uint32_t nowMs, uint32_t tickMs) {
    uint32_t elapsed = nowMs - startMs_;
    uint32_t passed = tickMs ? std::min(ticks_, elapsed / tickMs) : 0;
    ticks_ = 0;
    return passed;
}

}  // namespace pendrick
