// Any bytes as a picture file: reading never crashes or reads out of bounds, a refused
// file leaves the previous picture, and a kept picture holds every byte that drawing
// and the palette will read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tests/fuzz/fuzz_checks.h"
#include "installer/dib.h"

namespace {

using fuzzcheck::Require;

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static installer::CDib dib;
    dib.CreateBlank(7, 5);
    installer::MemorySource source(data, size);
    int result = dib.Read(source);
    Require(result >= 0 && result <= 4);
    if (result != installer::CDib::kDone) {
        Require(dib.Width() == 7 && dib.Height() == 5);
        return 0;
    }

    Require(dib.Width() > 0 && dib.Height() > 0);
    const uint8_t* info = dib.InfoBlock();
    Require(Le32(info) == 40);
    // What the platform's copy reads: the colour table entries the header names...
    uint32_t used = Le32(info + 32);
    Require(used <= 256);
    volatile uint8_t sink = 0;
    for (uint32_t k = 0; k < (used ? used : 256) * 4; ++k) sink = sink + info[40 + k];
    // ...and, for uncompressed rows, every row of the pixel block.
    uint32_t compression = Le32(info + 16);
    if (compression == 0 || compression == 3) {
        uint64_t need = installer::DibRowBytes(dib.Width(), dib.BitsPerPixel()) * static_cast<uint64_t>(dib.Height());
        Require(dib.PixelBytes() >= need);
        const uint8_t* pixels = dib.Pixels();
        for (uint64_t i = 0; i < need; i += 61) sink = sink + pixels[i];
        if (need) sink = sink + pixels[need - 1];
    } else {
        Require(Le32(info + 20) == dib.PixelBytes());
    }
    installer::PaletteEntry entries[256];
    int n = dib.MakePaletteEntries(entries);
    Require(n >= 0 && n <= 256 && n == dib.ColourCount());
    return 0;
}
