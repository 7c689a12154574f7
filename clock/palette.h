// The clock's colours: the logical palette and the frame buffer's colour table built from
// the sheet's colours, and the colour map that adapts the sheet to a shared 8-bit palette.
#pragma once

#include <cstdint>

namespace pendrick {

constexpr int kFirstImageColour = 10;
constexpr int kLastImageColour = 245;
constexpr uint8_t kPcReserved = 0x01;

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

struct ColourObjects {
    // Logical palette entries: red, green, blue, flags.
    uint8_t palette[256][4] = {};
    // Colour table entries: blue, green, red, 0 (the bitmap header's order).
    uint8_t colourTable[256][4] = {};
    // The sheet's own colours, kept to restore them after a remap.
    Rgb image[256] = {};
};

// Fills the placeholder entries 16-239 and takes the static colours 0-9 and 246-255 from
// the display's system palette (null: a display without a palette, they stay black).
void MakeInitialColours(ColourObjects* colours, const Rgb* systemPalette256);
// Entries first..last of palette and colour table get colours[0..last-first].
void SetColourEntries(ColourObjects* colours, int first, int last, const Rgb* values);
// Takes the sheet's colour table (blue, green, red, 0 for 256 entries) for entries 10-245.
void TakeSheetColours(ColourObjects* colours, const uint8_t sheetTable[256 * 4]);

void IdentityColourMap(uint8_t map[256]);
// For every sheet index but the transparent one, the system entry closest in all three
// channels; among equal candidates the last one wins.
void RemapColourMap(const Rgb image[256], const Rgb system[256], uint8_t map[256]);

}  // namespace pendrick
