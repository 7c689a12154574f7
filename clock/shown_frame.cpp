// The comparison of a composed frame with the one on the screen.
#include "clock/shown_frame.h"

#include <cstring>

namespace pendrick {

bool ShownFrame::TakeIfChanged(const uint8_t* frame, const uint8_t* colourTable) {
    if (taken_ && std::memcmp(frame_, frame, kFrameBytes) == 0 &&
        std::memcmp(colourTable_, colourTable, kColourTableBytes) == 0)
        return false;
    std::memcpy(frame_, frame, kFrameBytes);
    std::memcpy(colourTable_, colourTable, kColourTableBytes);
    taken_ = true;
    return true;
}

}  // namespace pendrick
