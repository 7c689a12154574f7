// A clock at rest composes the same frame tick after tick until the time it reads shows a
// new second: in between only the tick count moves. Waking the program fifty times a second
// for that costs more than everything it draws, so a resting clock lets those ticks pass
// uncomposed (only counted) and wakes for the first tick that reads the time after the next
// second begins: the same tick, at the same moment, that would have shown the change.
// Whatever moves between seconds (a chime, the alarm's flashing, the kitchen timer, the
// second marker's wobble and its minute animation) keeps every tick.
#pragma once

#include <cstdint>

#include "clock/clock_state.h"

namespace pendrick {

// What, besides the time read and the settings, decides the next tick's frame.
struct TickInputs {
    bool chime = false, timer = false;
    int flashCount = 0, wobbleIndex = 0, markerFrameCounter = 0, mode = 0;
    bool operator==(const TickInputs& o) const {
        return chime == o.chime && timer == o.timer && flashCount == o.flashCount && wobbleIndex == o.wobbleIndex &&
               markerFrameCounter == o.markerFrameCounter && mode == o.mode;
    }
};
TickInputs TickInputsOf(const ClockState& clock);

// True when, the time read staying the same, every coming tick composes the frame the last
// one composed: that tick left what decides the next frame as it found it, and nothing that
// moves by itself is running. A tick that showed a new second can be such a tick: the frame
// follows from those inputs and the time, so the next one composes the same picture again.
// beforeTick: the inputs the last tick started from.
bool ClockAtRest(const TickInputs& beforeTick, const ClockState& clock);

// The ticks to let pass before the next tick to compose, ticks being tickMs apart and the
// next one due in tickMs: the first tick that reads the time once the second the clock
// shows has ended (timeNow: the time of day now), or before it the first step of the
// second marker's wobble that moves the marker (a step of under a pixel leaves the frame
// as it is). 0 when the next tick would compose another frame.
uint32_t TicksToLetPass(const TickInputs& beforeTick, const ClockState& clock, const LocalTime& timeNow,
                        uint32_t tickMs);

// What the ticks let pass would have left behind: their count and the wobble's steps.
void LetTicksPass(ClockState& clock, uint32_t ticks);

// The ticks a sleeping clock owes its tick count.
class TickSleep {
public:
    void Begin(uint32_t ticks, uint32_t nowMs) {
        ticks_ = ticks;
        startMs_ = nowMs;
    }
    bool Asleep() const { return ticks_ != 0; }
    // When the timer should fire to end the sleep.
    uint32_t WakeAfterMs(uint32_t tickMs) const { return (ticks_ + 1) * tickMs; }
    // The timer fired: every tick let pass is counted, even if the timer came a little
    // early, so that the tick now composed is the one that reads the time.
    uint32_t EndByTimer();
    // Something else woke the clock (input, a menu): only the ticks whose time has come.
    uint32_t EndEarly(uint32_t nowMs, uint32_t tickMs);

private:
    uint32_t ticks_ = 0;
    uint32_t startMs_ = 0;
};

}  // namespace pendrick
