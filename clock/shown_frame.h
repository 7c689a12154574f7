// What the clock window last put on the screen, so that a tick whose frame came out the
// same is not drawn again, and one that changed redraws only the part that moved: most
// ticks change nothing, and every redraw costs the window system far more than composing
// the frame.
#pragma once

#include <cstdint>

#include "clock/clock_state.h"

namespace pendrick {

constexpr int kColourTableBytes = 256 * 4;

// A part of the frame, right and bottom exclusive.
struct FrameRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const FrameRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

class ShownFrame {
public:
    // True when the frame or its colour table differs from what was last taken, or nothing
    // was taken yet; the frame and table are then taken as the ones on the screen, and
    // *changed (when given) is the smallest rectangle that holds every pixel that differs:
    // the whole frame when nothing was taken yet or the colours changed.
    bool TakeIfChanged(const uint8_t* frame, const uint8_t* colourTable, FrameRect* changed = nullptr);
    // The frame buffer was drawn over outside a tick (the face redrawn after a menu), so
    // the screen may show that: the next tick draws whatever it composes.
    void Forget() { taken_ = false; }

private:
    bool taken_ = false;
    uint8_t frame_[kFrameBytes] = {};
    uint8_t colourTable_[kColourTableBytes] = {};
};

}  // namespace pendrick
