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

uint32_t TicksToLetPass(const TickInputs& beforeTick, const ClockState& c, uint32_t msToNextSecond, uint32_t tickMs) {
    if (!ClockAtRest(beforeTick, c) || tickMs == 0) return 0;
    msToNextSecond = std::min(msToNextSecond, 1000u);  // a second is never further away
    // Tick c.tick + j is due (j + 1) * tickMs from now.
    uint32_t j = 0;
    while (!(ReadsTime(c.tick + j) && (j + 1) * tickMs >= msToNextSecond)) ++j;
    return j;
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
