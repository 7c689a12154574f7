// Palette construction and the 8-bit colour map.
#include "clock/palette.h"

#include <cstdlib>

#include "clock/sheet.h"

namespace pendrick {

void SetColourEntries(ColourObjects* c, int first, int last, const Rgb* values) {
    if (first < 0) first = 0;
    if (last > 255) last = 255;
    for (int i = first; i <= last; ++i) {
        const Rgb& v = values[i - first];
        c->palette[i][0] = v.r;
        c->palette[i][1] = v.g;
        c->palette[i][2] = v.b;
        c->palette[i][3] = kPcReserved;
        c->colourTable[i][0] = v.b;
        c->colourTable[i][1] = v.g;
        c->colourTable[i][2] = v.r;
        c->colourTable[i][3] = 0;
    }
}

void MakeInitialColours(ColourObjects* c, const Rgb* system) {
    *c = ColourObjects{};
    for (int i = 16; i < 240; ++i) {
        int j = (i - 16) & 15;
        uint8_t level = j < 8 ? 255 : 128;
        int bits = j & 7;
        c->palette[i][0] = (bits & 2) ? level : 0;
        c->palette[i][1] = (bits & 4) ? level : 0;
        c->palette[i][2] = (bits & 1) ? level : 0;
        c->palette[i][3] = kPcReserved;
    }
    if (system) {
        for (int i = 0; i < 256; ++i) {
            if (i >= 10 && i < 246) continue;
            c->palette[i][0] = system[i].r;
            c->palette[i][1] = system[i].g;
            c->palette[i][2] = system[i].b;
        }
    }
    for (int i = 0; i < 256; ++i) {
        c->colourTable[i][0] = c->palette[i][2];
        c->colourTable[i][1] = c->palette[i][1];
        c->colourTable[i][2] = c->palette[i][0];
        c->colourTable[i][3] = 0;
    }
}

void TakeSheetColours(ColourObjects* c, const uint8_t table[256 * 4]) {
    for (int i = 0; i < 256; ++i) c->image[i] = Rgb{};
    for (int i = kFirstImageColour; i <= kLastImageColour; ++i)
        c->image[i] = Rgb{table[i * 4 + 2], table[i * 4 + 1], table[i * 4 + 0]};
    SetColourEntries(c, kFirstImageColour, kLastImageColour, &c->image[kFirstImageColour]);
}

void IdentityColourMap(uint8_t map[256]) {
    for (int i = 0; i < 256; ++i) map[i] = uint8_t(i);
}

void RemapColourMap(const Rgb image[256], const Rgb system[256], uint8_t map[256]) {
    for (int i = 0; i < 256; ++i) {
        if (i == kTransparentIndex) continue;
        const Rgb& c = image[i];
        int bestR = 256, bestG = 256, bestB = 256;
        int chosen = 255;
        for (int j = 0; j < 256; ++j) {
            int dr = std::abs(system[j].r - c.r);
            int dg = std::abs(system[j].g - c.g);
            int db = std::abs(system[j].b - c.b);
            if (dr <= bestR && dg <= bestG && db <= bestB) {
                chosen = j;
                bestR = dr;
                bestG = dg;
                bestB = db;
            }
        }
        map[i] = uint8_t(chosen);
    }
}

}  // namespace pendrick
