// The clock's palette objects on Win32: the logical palette, the sheet resource, and the
// answers to the palette messages of 8-bit displays.
#include <cstring>

#include "clock/win32/clock_app.h"

namespace pendrick {

namespace {

void ReadSystemPalette(HDC dc, Rgb out[256], bool* ok) {
    PALETTEENTRY entries[256] = {};
    *ok = GetSystemPaletteEntries(dc, 0, 256, entries) == 256;
    for (int i = 0; i < 256; ++i) out[i] = Rgb{entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
}

void CopyTableToFrame(ClockApp& app) {
    if (!app.memoryDC) return;
    RGBQUAD quads[256];
    std::memcpy(quads, app.colours.colourTable, sizeof quads);
    SetDIBColorTable(app.memoryDC, kFirstImageColour, kLastImageColour - kFirstImageColour + 1,
                     quads + kFirstImageColour);
}

}  // namespace

bool CreateColourObjects(ClockApp& app) {
    Rgb system[256];
    bool havePalette = false;
    HDC screen = GetDC(nullptr);
    if (screen) {
        ReadSystemPalette(screen, system, &havePalette);
        ReleaseDC(nullptr, screen);
    }
    MakeInitialColours(&app.colours, havePalette ? system : nullptr);
    struct {
        WORD version, count;
        PALETTEENTRY entries[256];
    } logical;
    logical.version = 0x300;
    logical.count = 256;
    std::memcpy(logical.entries, app.colours.palette, sizeof logical.entries);
    app.palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    return app.palette != nullptr;
}

void SetPaletteRange(ClockApp& app, int first, int last, const Rgb* values) {
    SetColourEntries(&app.colours, first, last, values);
    if (app.palette)
        SetPaletteEntries(app.palette, first, last - first + 1,
                          reinterpret_cast<const PALETTEENTRY*>(app.colours.palette[first]));
}

bool LoadSheetResource(ClockApp& app) {
    IdentityColourMap(app.clock.colourMap);
    HRSRC found = FindResourceW(app.instance, MAKEINTRESOURCEW(kSheetResourceId), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(app.instance, found);
    const uint8_t* dib = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    uint8_t table[1024];
    if (!dib || !LoadSheet(dib, SizeofResource(app.instance, found), &app.sheet, table)) return false;
    TakeSheetColours(&app.colours, table);
    if (app.palette)
        SetPaletteEntries(app.palette, kFirstImageColour, kLastImageColour - kFirstImageColour + 1,
                          reinterpret_cast<const PALETTEENTRY*>(app.colours.palette[kFirstImageColour]));
    app.clock.sheet = app.sheet.data();
    return true;
}

LRESULT OnQueryNewPalette(ClockApp& app) {
    HDC dc = GetDC(app.window);
    if (!dc) return 0;
    HPALETTE old = SelectPalette(dc, app.palette, FALSE);
    IdentityColourMap(app.clock.colourMap);
    SetPaletteRange(app, kFirstImageColour, kLastImageColour, &app.colours.image[kFirstImageColour]);
    CopyTableToFrame(app);
    RealizePalette(dc);
    SelectPalette(dc, old, FALSE);
    ReleaseDC(app.window, dc);
    return 1;
}

void OnPaletteChanged(ClockApp& app, HWND changer) {
    if (changer == app.window) return;
    if (app.bitsPerPixel <= 8) {
        HDC dc = GetDC(app.window);
        if (!dc) return;
        Rgb system[256];
        bool ok = false;
        ReadSystemPalette(dc, system, &ok);
        ReleaseDC(app.window, dc);
        RemapColourMap(app.colours.image, system, app.clock.colourMap);
        SetPaletteRange(app, kFirstImageColour, kLastImageColour, &system[kFirstImageColour]);
        CopyTableToFrame(app);
    }
    RepaintNow(app.window);
}

}  // namespace pendrick
