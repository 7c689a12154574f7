// The background picture on the screen: drawing the picture, the palette made from it,
// the tiled backdrop and the palette-query answer shared by the installer's windows.
#pragma once

#include "platform/win32/windows_clean.h"

#include "installer/dib.h"

namespace installer {

class Background {
public:
    explicit Background(CDib& picture) : picture_(picture) {}
    ~Background();

    CDib& picture() { return picture_; }
    HPALETTE palette() const { return palette_; }

    // Deletes the old palette and makes one from the picture's colour table (none for a
    // picture without one).
    void RemakePalette();

    void Draw(HDC dc, int x, int y) const;
    void DrawWithPalette(HDC dc, int x, int y) const;
    // Covers width x height from (0, 0) with copies of the picture.
    void DrawTiled(HDC dc, int width, int height) const;
    // Realizes the palette for window and repaints it when entries changed.
    BOOL RealizeOnQuery(HWND window) const;

private:
    CDib& picture_;
    HPALETTE palette_ = nullptr;
};

}  // namespace installer
