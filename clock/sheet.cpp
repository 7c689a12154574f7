// Turning the embedded bitmap into the top-down sheet the composer copies from.
#include "clock/sheet.h"

#include <cstring>

namespace pendrick {

namespace {
int32_t Read32(const uint8_t* p) { return int32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24); }
int Read16(const uint8_t* p) { return p[0] | p[1] << 8; }
}  // namespace

bool LoadSheet(const uint8_t* dib, size_t size, std::vector<uint8_t>* sheet, uint8_t colourTable[256 * 4]) {
    constexpr size_t kHeader = 40;
    constexpr size_t kTable = 256 * 4;
    if (!dib || size < kHeader + kTable + size_t(kSheetBytes)) return false;
    if (Read32(dib) != int32_t(kHeader)) return false;
    if (Read32(dib + 4) != kSheetWidth || Read32(dib + 8) != kSheetHeight) return false;
    if (Read16(dib + 14) != 8 || Read32(dib + 16) != 0) return false;
    std::memcpy(colourTable, dib + kHeader, kTable);
    sheet->assign(kSheetBytes, kTransparentIndex);
    const uint8_t* pixels = dib + kHeader + kTable;
    for (int r = 0; r < kSheetHeight; ++r)
        std::memcpy(sheet->data() + (kSheetHeight - 1 - r) * kSheetWidth, pixels + r * kSheetWidth, kSheetWidth);
    return true;
}

}  // namespace pendrick
