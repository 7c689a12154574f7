// What the clock window last put on the screen, so that a tick whose frame came out the
// same is not drawn again: most ticks change nothing, and every redraw costs the window
// system far more than composing the frame.
#pragma once

#include <cstdint>

#include "clock/clock_state.h"

namespace pendrick {

constexpr int kColourTableBytes = 256 * 4;

class ShownFrame {
public:
    // True when the frame or its colour table differs from what was last taken, or nothing
    // was taken yet; the frame and table are then taken as the ones on the screen.
    bool TakeIfChanged(const uint8_t* frame, const uint8_t* colourTable);
    // The frame buffer was drawn over outside a tick (the face redrawn after a menu), so
    // the screen may show that: the next tick draws whatever it composes.
    void Forget() { taken_ = false; }

private:
    bool taken_ = false;
    uint8_t frame_[kFrameBytes] = {};
    uint8_t colourTable_[kColourTableBytes] = {};
};

}  // namespace pendrick
