// Drawing the background picture with the platform's device-independent copy.
#include "installer/win32/background.h"

#include <vector>

#include "installer/launcher.h"

namespace installer {

Background::~Background() {
    if (palette_) DeleteObject(palette_);
}

void Background::RemakePalette() {
    if (palette_) DeleteObject(palette_);
    palette_ = nullptr;
    PaletteEntry entries[256];
    int n = picture_.MakePaletteEntries(entries);
    if (n == 0) return;
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * n);
    LOGPALETTE* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(n);
    for (int k = 0; k < n; ++k) {
        logical->palPalEntry[k].peRed = entries[k].red;
        logical->palPalEntry[k].peGreen = entries[k].green;
        logical->palPalEntry[k].peBlue = entries[k].blue;
        logical->palPalEntry[k].peFlags = entries[k].flags;
    }
    palette_ = CreatePalette(logical);
}

void Background::Draw(HDC dc, int x, int y) const {
    // Source and destination sizes are equal: nothing is scaled. A top-down picture keeps
    // its negative height in the header and is copied with its absolute size.
    int width = picture_.Width(), height = picture_.Height();
    StretchDIBits(dc, x, y, width, height, 0, 0, width, height, picture_.Pixels(),
                  reinterpret_cast<const BITMAPINFO*>(picture_.InfoBlock()), DIB_RGB_COLORS, SRCCOPY);
}

void Background::DrawWithPalette(HDC dc, int x, int y) const {
    HPALETTE old = nullptr;
    if (palette_) {
        old = SelectPalette(dc, palette_, FALSE);
        RealizePalette(dc);
    }
    Draw(dc, x, y);
    if (old) SelectPalette(dc, old, FALSE);
}

void Background::DrawTiled(HDC dc, int width, int height) const {
    int columns = 0, rows = 0;
    int w = picture_.Width(), h = picture_.Height();
    TileCounts(width, height, w, h, &columns, &rows);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) Draw(dc, column * w, row * h);
}

BOOL Background::RealizeOnQuery(HWND window) const {
    if (!palette_) return FALSE;
    HDC dc = GetDC(window);
    HPALETTE old = SelectPalette(dc, palette_, FALSE);
    UINT changed = RealizePalette(dc);
    SelectPalette(dc, old, FALSE);
    ReleaseDC(window, dc);
    if (changed) InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}

}  // namespace installer
