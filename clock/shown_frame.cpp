// The comparison of a composed frame with the one on the screen.
#include "clock/shown_frame.h"

#include <cstring>

namespace pendrick {

namespace {

bool RowDiffers(const uint8_t* a, const uint8_t* b, int y) {
    return std::memcmp(a + y * kFrameSize, b + y * kFrameSize, kFrameSize) != 0;
}

// The bounds of the differing pixels; an empty rectangle when there are none.
FrameRect DifferingPart(const uint8_t* shown, const uint8_t* frame) {
    FrameRect r;
    int top = 0;
    while (top < kFrameSize && !RowDiffers(shown, frame, top)) ++top;
    if (top == kFrameSize) return r;
    int bottom = kFrameSize;
    while (!RowDiffers(shown, frame, bottom - 1)) --bottom;
    int left = kFrameSize, right = 0;
    for (int y = top; y < bottom; ++y) {
        const uint8_t* a = shown + y * kFrameSize;
        const uint8_t* b = frame + y * kFrameSize;
        for (int x = 0; x < left; ++x)
            if (a[x] != b[x]) {
                left = x;
                break;
            }
        for (int x = kFrameSize - 1; x >= right; --x)
            if (a[x] != b[x]) {
                right = x + 1;
                break;
            }
    }
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

}  // namespace

bool ShownFrame::TakeIfChanged(const uint8_t* frame, const uint8_t* colourTable, FrameRect* changed) {
    FrameRect part = {0, 0, kFrameSize, kFrameSize};
    if (taken_ && std::memcmp(colourTable_, colourTable, kColourTableBytes) == 0) {
        part = DifferingPart(frame_, frame);
        if (part.right <= part.left) return false;
    }
    std::memcpy(frame_, frame, kFrameBytes);
    std::memcpy(colourTable_, colourTable, kColourTableBytes);
    taken_ = true;
    if (changed) *changed = part;
    return true;
}

}  // namespace pendrick
