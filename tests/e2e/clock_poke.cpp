// CLOCKPOKE.EXE: what the clock's end-to-end tests need beyond UIAUTO.EXE: posting mouse
// and session messages to the clock and its memos, reading window regions and rectangles,
// moving a memo, and setting a dialog control's text. Built by the tests with MinGW.
//
//   post CLASS MSG WPARAM LPARAM     PostMessage to the first window of CLASS (or 0xHWND)
//   keys CLASS VK...                 post key down/up pairs to the window
//   region CLASS                     {"rects": N, "box": [l,t,r,b], "hash": H} of its region
//   rect CLASS                       {"left":..,"top":..,"right":..,"bottom":..}
//   list CLASS                       one {"hwnd":..,"rect":[...]} line per top-level window
//   move HWND X Y                    move a window, size unchanged
//   settext TITLE ID TEXT            WM_SETTEXT on a control of the dialog titled TITLE
//   pixel X Y                        screen pixel as RRGGBB
//   foreign-memo MS                  a window of the memo class owned by this process, which
//                                    refuses WM_CLOSE, kept for MS ms
//   watch CLASS MS FILE X Y...       waits for the window, samples its pixels at (X, Y)...
//                                    for MS ms; prints how many sample sets differed from
//                                    the first and saves the window's area as FILE (a BMP)
//                                    when the first difference is seen
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

HWND FindTarget(const wchar_t* what) {
    if (wcsncmp(what, L"0x", 2) == 0) return reinterpret_cast<HWND>(static_cast<uintptr_t>(wcstoul(what, nullptr, 16)));
    return FindWindowW(what, nullptr);
}

long Number(const wchar_t* text) { return wcstol(text, nullptr, 0); }

void PrintRect(const RECT& r) { std::printf("[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom); }

int Region(HWND w) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(w, rgn);
    if (kind == ERROR) {
        std::printf("{\"rects\": 0}\n");
        return 1;
    }
    DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<char> data(size);
    GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(data.data()));
    const RGNDATA* rd = reinterpret_cast<const RGNDATA*>(data.data());
    const RECT* rects = reinterpret_cast<const RECT*>(rd->Buffer);
    unsigned long hash = 5381;
    long area = 0;
    for (DWORD i = 0; i < rd->rdh.nCount; ++i) {
        const RECT& r = rects[i];
        area += (r.right - r.left) * (r.bottom - r.top);
        for (long v : {r.left, r.top, r.right, r.bottom}) hash = hash * 33 + unsigned(v);
    }
    std::printf("{\"rects\": %lu, \"area\": %ld, \"hash\": %lu, \"box\": ", rd->rdh.nCount, area, hash);
    PrintRect(rd->rdh.rcBound);
    std::printf("}\n");
    DeleteObject(rgn);
    return 0;
}

struct ListState {
    std::wstring cls;
};

BOOL CALLBACK ListOne(HWND w, LPARAM p) {
    const ListState* s = reinterpret_cast<const ListState*>(p);
    wchar_t name[260] = {};
    GetClassNameW(w, name, 259);
    if (s->cls == name) {
        RECT r;
        GetWindowRect(w, &r);
        std::printf("{\"hwnd\": \"0x%lx\", \"visible\": %d, \"rect\": ",
                    static_cast<unsigned long>(reinterpret_cast<uintptr_t>(w)), IsWindowVisible(w) ? 1 : 0);
        PrintRect(r);
        std::printf("}\n");
    }
    return TRUE;
}

bool SaveWindowArea(HWND w, const wchar_t* file) {
    RECT r;
    GetWindowRect(w, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + width * height * 4;
    FILE* f = _wfopen(file, L"wb");
    bool ok = f != nullptr;
    if (f) {
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        fwrite(bits, 4, size_t(width) * height, f);
        fclose(f);
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

LRESULT CALLBACK StubbornProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CLOSE) return 0;  // never closes
    return DefWindowProcW(w, m, wp, lp);
}

int ForeignMemo(DWORD ms) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = StubbornProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QUICKMEMO";
    if (!RegisterClassW(&wc)) return 3;
    HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, L"QUICKMEMO", L"Foreign", WS_POPUP | WS_VISIBLE, 700, 600, 64, 32,
                             nullptr, nullptr, wc.hInstance, nullptr);
    if (!w) return 3;
    std::printf("{\"hwnd\": \"0x%lx\"}\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(w)));
    std::fflush(stdout);
    DWORD until = GetTickCount() + ms;
    MSG msg;
    while (GetTickCount() < until) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
    return 0;
}

bool AllDiffer(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] == b[i]) return false;
    return true;
}

int Watch(int argc, wchar_t** argv) {
    HWND w = nullptr;
    for (int i = 0; i < 1000 && !(w = FindWindowW(argv[2], nullptr)); ++i) Sleep(10);
    if (!w) return 1;
    DWORD until = GetTickCount() + DWORD(Number(argv[3]));
    std::vector<COLORREF> first;
    int differing = 0, samples = 0;
    bool saved = false;
    HDC dc = GetDC(nullptr);
    while (GetTickCount() < until) {
        RECT r;
        GetWindowRect(w, &r);
        std::vector<COLORREF> now;
        for (int i = 5; i + 1 < argc; i += 2)
            now.push_back(GetPixel(dc, r.left + Number(argv[i]), r.top + Number(argv[i + 1])));
        ++samples;
        if (first.empty()) {
            first = now;
        } else if (AllDiffer(now, first)) {
            ++differing;
            if (!saved) saved = SaveWindowArea(w, argv[4]);
        }
        Sleep(3);
    }
    ReleaseDC(nullptr, dc);
    std::printf("{\"samples\": %d, \"differing\": %d, \"saved\": %d}\n", samples, differing, saved ? 1 : 0);
    return 0;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) return 2;
    std::wstring cmd = argv[1];
    if (cmd == L"list" && argc >= 3) {
        ListState s{argv[2]};
        EnumWindows(ListOne, reinterpret_cast<LPARAM>(&s));
        return 0;
    }
    if (cmd == L"watch" && argc >= 7) return Watch(argc, argv);
    if (cmd == L"foreign-memo" && argc >= 3) return ForeignMemo(DWORD(Number(argv[2])));
    if (cmd == L"pixel" && argc >= 4) {
        HDC dc = GetDC(nullptr);
        COLORREF c = GetPixel(dc, Number(argv[2]), Number(argv[3]));
        ReleaseDC(nullptr, dc);
        std::printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
        return 0;
    }
    if (cmd == L"settext" && argc >= 5) {
        HWND dlg = FindWindowW(L"#32770", argv[2]);
        HWND ctl = dlg ? GetDlgItem(dlg, Number(argv[3])) : nullptr;
        if (!ctl) return 1;
        SendMessageW(ctl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        return 0;
    }
    if (argc < 3) return 2;
    HWND w = FindTarget(argv[2]);
    if (!w) {
        std::fprintf(stderr, "no window %ls\n", argv[2]);
        return 1;
    }
    if (cmd == L"post" && argc >= 6) {
        return PostMessageW(w, UINT(Number(argv[3])), WPARAM(Number(argv[4])), LPARAM(Number(argv[5]))) ? 0 : 3;
    }
    if (cmd == L"keys") {
        for (int i = 3; i < argc; ++i) {
            WPARAM vk = WPARAM(Number(argv[i]));
            PostMessageW(w, WM_KEYDOWN, vk, 1);
            PostMessageW(w, WM_KEYUP, vk, 0xC0000001);
            Sleep(60);
        }
        return 0;
    }
    if (cmd == L"region") return Region(w);
    if (cmd == L"rect") {
        RECT r;
        GetWindowRect(w, &r);
        std::printf("{\"left\": %ld, \"top\": %ld, \"right\": %ld, \"bottom\": %ld}\n", r.left, r.top, r.right,
                    r.bottom);
        return 0;
    }
    if (cmd == L"move" && argc >= 5) {
        RECT r;
        GetWindowRect(w, &r);
        return SetWindowPos(w, nullptr, Number(argv[3]), Number(argv[4]), 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 3;
    }
    return 2;
}
