// Saves the screen area of one window (or the whole screen) as a 24-bit BMP file, for
// tests that check pixels; whole-screen pictures for people come from the harness.
#include "tools/uiauto/uiauto.h"

#include <cstdio>

namespace uiauto {

int CmdScreenshot(const Args& args) {
    if (args.file.empty()) {
        PrintError(L"screenshot needs --file");
        return kExitUsage;
    }
    RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (args.hwnd || args.msgbox || !args.title.empty() || !args.contains.empty() || !args.className.empty()) {
        HWND hwnd = FindTargetOrControl(args);
        if (!hwnd) return kExitNotFound;
        GetWindowRect(hwnd, &r);
    }
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) {
        PrintError(L"the window has no area");
        return kExitFailed;
    }
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);

    int stride = (w * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * h);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = h;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(pixels.size());
    GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* f = _wfopen(args.file.c_str(), L"wb");
    if (!f) {
        PrintError(L"cannot write " + args.file);
        return kExitFailed;
    }
    bool ok = fwrite(&file, sizeof file, 1, f) == 1 && fwrite(&header, sizeof header, 1, f) == 1 &&
              fwrite(pixels.data(), 1, pixels.size(), f) == pixels.size();
    ok = fclose(f) == 0 && ok;
    return ok ? kExitOk : kExitFailed;
}

}  // namespace uiauto
