// Block operations of the frame composer. A frame is composed fifty times a second, so
// pixels move sixteen or eight at a time instead of one at a time.
#pragma once

#include <cstdint>

namespace pendrick {

// A block of `rows` rows of `width` pixels; consecutive rows lie `stride` bytes apart.
struct PixelBlock {
    const uint8_t* src;
    int srcStride;
    uint8_t* dst;
    int dstStride;
    int width, rows;
};

// True when the colour map leaves every index as it is (every display but an 8-bit one).
bool IsIdentityMap(const uint8_t map[256]);
// dst = map[src] for every pixel, transparent ones included; a null map copies as is.
void CopyBlock(const PixelBlock& block, const uint8_t* map);
// The same for the pixels of src that are not transparent; the others keep dst's pixel.
void OverlayBlock(const PixelBlock& block, const uint8_t* map);
// OverlayBlock without the processor's vector instructions, as a 32-bit build without
// them runs it.
void OverlayBlockPortable(const PixelBlock& block, const uint8_t* map);

}  // namespace pendrick
