// The clock window: its messages, the frame buffer it paints from, its shape, the two
// popup menus and the tray icon. What to draw is decided by the portable composer.
#include "platform/win32/windows_clean.h"
#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>

#include "clock/win32/clock_app.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window_text.h"

namespace pendrick {

namespace {

enum ClockMenu : UINT {
    kMenuAlarm = 1,
    kMenuKitchenTimer,
    kMenuTopMost,
    kMenuAnalog,
    kMenuHand,
    kMenuDigital12,
    kMenuDigital24,
    kMenuQuickMemo,
    kMenuQuit,
};
enum TrayMenu : UINT { kTrayQuickMemo = 1, kTrayCallWindow, kTrayQuit };

void StorePosition(ClockApp& app) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (GetWindowPlacement(app.window, &wp)) {
        app.clock.settings.x = wp.rcNormalPosition.left;
        app.clock.settings.y = wp.rcNormalPosition.top;
    }
}

void PlaceTopMost(HWND window, bool topMost) {
    SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

UINT ShowMenuAtCursor(HWND owner, HMENU menu) {
    POINT p;
    GetCursorPos(&p);
    UINT id = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, owner, nullptr));
    DestroyMenu(menu);
    return id;
}

void AppendItem(HMENU menu, UINT id, const char* text, bool checked = false, bool grey = false) {
    AppendMenuW(menu, MF_STRING | (checked ? MF_CHECKED : 0) | (grey ? MF_GRAYED : 0), id, plat::WideArg(text).get());
}

void RunClockMenu(ClockApp& app) {
    ClockSettings& s = app.clock.settings;
    HMENU menu = CreatePopupMenu();
    AppendItem(menu, kMenuAlarm, "Alarm");
    AppendItem(menu, kMenuKitchenTimer, "Kitchen Timer");
    AppendItem(menu, kMenuTopMost, "Top Most", s.topMost != 0);
    AppendItem(menu, kMenuAnalog, "Analog", s.mode == kModeAnalog);
    AppendItem(menu, kMenuHand, "Hand", s.handLines != 0, s.mode != kModeAnalog);
    AppendItem(menu, kMenuDigital12, "Digital 12", s.mode == kModeDigital12);
    AppendItem(menu, kMenuDigital24, "Digital 24", s.mode == kModeDigital24);
    AppendItem(menu, kMenuQuickMemo, "Quick Memo");
    AppendItem(menu, kMenuQuit, "Quit");
    UINT id = ShowMenuAtCursor(app.window, menu);
    switch (id) {
        case kMenuAlarm: RunAlarmDialog(app); break;
        case kMenuKitchenTimer: EnterTimerSetting(app.clock.timer); break;
        case kMenuTopMost:
            s.topMost = !s.topMost;
            PlaceTopMost(app.window, s.topMost != 0);
            break;
        case kMenuAnalog: s.mode = kModeAnalog; break;
        case kMenuHand: s.handLines = !s.handLines; break;
        case kMenuDigital12: s.mode = kModeDigital12; break;
        case kMenuDigital24: s.mode = kModeDigital24; break;
        case kMenuQuickMemo: OpenMemo(app, nullptr, -1); break;
        case kMenuQuit: PostMessageW(app.window, WM_CLOSE, 0, 0); break;
        default: return;
    }
    RedrawBackgroundAndShape(app);
}

void RunTrayMenu(ClockApp& app) {
    HMENU menu = CreatePopupMenu();
    AppendItem(menu, kTrayQuickMemo, "Quick Memo");
    AppendItem(menu, kTrayCallWindow, "Call Window");
    AppendItem(menu, kTrayQuit, "Quit");
    switch (ShowMenuAtCursor(app.window, menu)) {
        case kTrayQuickMemo: OpenMemo(app, nullptr, -1); break;
        case kTrayCallWindow: CallWindowsBack(app); break;
        case kTrayQuit: PostMessageW(app.window, WM_CLOSE, 0, 0); break;
        default: break;
    }
}

void OnPaint(ClockApp& app, HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (app.memoryDC) {
        // Only a palette display maps the frame's colours through the window's palette; on
        // any other the frame's own colour table decides, and selecting costs a round trip.
        const bool paletteDisplay = app.bitsPerPixel <= 8;
        HPALETTE old = nullptr;
        if (paletteDisplay) {
            old = SelectPalette(dc, app.palette, FALSE);
            RealizePalette(dc);
        }
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, app.memoryDC, r.left, r.top, SRCCOPY);
        if (paletteDisplay) SelectPalette(dc, old, TRUE);
    }
    EndPaint(window, &ps);
}

// Straight into the window's own DC: a paint cycle (invalidate, update region, the shaped
// window's visible region, BeginPaint's caret) costs the window system about ten round
// trips for a few hundred pixels. A palette display keeps the paint cycle, which maps the
// frame through the window's palette.
void DrawPartNow(ClockApp& app, const RECT& part) {
    if (!app.windowDC || app.bitsPerPixel <= 8) {
        RepaintNow(app.window, &part);
        return;
    }
    BitBlt(app.windowDC, part.left, part.top, part.right - part.left, part.bottom - part.top, app.memoryDC, part.left,
           part.top, SRCCOPY);
}

void OnTick(ClockApp& app) {
    if (!app.memoryDC) return;
    // A sleeping clock's timer fires at the sleep's end; it goes back to the tick's pace
    // below only if this tick does not rest again, so that a resting second costs one timer.
    const bool woke = app.tickSleep.Asleep();
    if (woke) LetTicksPass(app.clock, app.tickSleep.EndByTimer());
    const TickInputs before = TickInputsOf(app.clock);
    ComposeFrame(app.clock, app.host);
    GdiFlush();
    FrameRect part;
    const bool changed = app.shownFrame.TakeIfChanged(app.frameBits, &app.colours.colourTable[0][0], &part);

    const uint32_t pass = TicksToLetPass(before, app.clock, app.host.ReadLocalTime(), kTickInterval);
    if (pass != 0) {
        app.tickSleep.Begin(pass, timeGetTime());
        SetTimer(app.window, kTickTimer, app.tickSleep.WakeAfterMs(kTickInterval), nullptr);
    } else if (woke) {
        SetTimer(app.window, kTickTimer, kTickInterval, nullptr);
    }
    // Only what moved is drawn again: the rest of the window already shows these pixels.
    if (changed) DrawPartNow(app, RECT{part.left, part.top, part.right, part.bottom});
}

// Anything but the tick itself may change what the next frame shows (a click, a menu
// command, a dialog closing): a resting clock goes back to ticking before and after it.
void WakeTicks(ClockApp& app) {
    if (!app.tickSleep.Asleep()) return;
    LetTicksPass(app.clock, app.tickSleep.EndEarly(timeGetTime(), kTickInterval));
    SetTimer(app.window, kTickTimer, kTickInterval, nullptr);
}

void OnMouseMove(ClockApp& app, WPARAM keys, LPARAM pos) {
    app.clock.mouseX = short(LOWORD(pos)) & ~7;
    app.clock.mouseY = short(HIWORD(pos)) & ~7;
    if (app.clock.timer.setting) return;
    if (keys == MK_LBUTTON && app.anchor.x != -1) {
        POINT cursor;
        GetCursorPos(&cursor);
        MoveWindow(app.window, cursor.x - app.anchor.x + app.anchorRect.left,
                   cursor.y - app.anchor.y + app.anchorRect.top, kFrameSize, kFrameSize, TRUE);
    }
}

// The click's own position, rounded like the mouse moves that normally precede it.
void TakeClickPosition(ClockApp& app, LPARAM pos) {
    app.clock.mouseX = short(LOWORD(pos)) & ~7;
    app.clock.mouseY = short(HIWORD(pos)) & ~7;
}

void OnLeftButtonDown(ClockApp& app, LPARAM pos) {
    TakeClickPosition(app, pos);
    if (app.clock.timer.setting) {
        TimerClick(app.clock, +1);
        return;
    }
    if (GetCapture() != app.window) SetCapture(app.window);
    GetCursorPos(&app.anchor);
    GetWindowRect(app.window, &app.anchorRect);
}

void OnRightButtonDown(ClockApp& app, LPARAM pos) {
    TakeClickPosition(app, pos);
    if (TimerRightButton(app.clock)) return;
    RunClockMenu(app);
}

}  // namespace

// ---- The composer's host --------------------------------------------------------------

LocalTime ClockHostWin32::ReadLocalTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    return t;
}

uint32_t ClockHostWin32::Milliseconds() { return timeGetTime(); }

void ClockHostWin32::PlaySoundFile(const char* path) {
    PlaySoundW(plat::WideArg(path).get(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
}

void ClockHostWin32::DrawHandLine(int pen, int x0, int y0, int x1, int y1) {
    ClockApp& app = app_;
    if (!app.memoryDC) return;
    HGDIOBJ old = SelectObject(app.memoryDC, app.pens[pen & 1]);
    MoveToEx(app.memoryDC, x0, y0, nullptr);
    LineTo(app.memoryDC, x1, y1);
    SelectObject(app.memoryDC, old);
    // The composer writes the frame's bytes directly after this.
    GdiFlush();
}

// ---- Window set-up ---------------------------------------------------------------------

bool RegisterClockClasses(HINSTANCE instance) {
    plat::WideArg clockClass(kClockClass), memoClass(kMemoClass);
    WNDCLASSW wc = {};
    // The clock keeps its DC for the ticks' drawing; a memo window draws only when painted.
    wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpfnWndProc = winui::Window::Procedure;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = clockClass.get();
    if (!RegisterClassW(&wc)) return false;
    wc.style = CS_PARENTDC | CS_HREDRAW | CS_VREDRAW;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = memoClass.get();
    return RegisterClassW(&wc) != 0;
}

HWND ClockWindow::Create(HINSTANCE instance) {
    return winui::Window::Create(WS_EX_TOOLWINDOW, kClockClass, kClockTitle, WS_POPUP, 0, 0, kFrameSize, kFrameSize,
                                 nullptr, instance);
}

bool InitDrawing(ClockApp& app) {
    app.anchor.x = -1;
    HDC dc = GetDC(app.window);
    if (!dc) return false;
    app.memoryDC = CreateCompatibleDC(dc);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = kFrameSize;
    info.header.biHeight = -kFrameSize;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = kFrameBytes;
    // All 256 entries, so that the flash index 255 has a defined colour.
    info.header.biClrUsed = 256;
    std::memcpy(info.colours, app.colours.colourTable, sizeof info.colours);
    void* bits = nullptr;
    if (app.memoryDC)
        app.frameBitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    // The window's own DC stays valid for the window's life (its class asks for one).
    app.windowDC = dc;
    if (!app.memoryDC || !app.frameBitmap) {
        if (app.memoryDC) DeleteDC(app.memoryDC);
        app.memoryDC = nullptr;
        winui::ShowMessageBox(nullptr, "Failed Init...", "エラー", MB_OK);
        return false;
    }
    app.frameBits = static_cast<uint8_t*>(bits);
    app.oldBitmap = SelectObject(app.memoryDC, app.frameBitmap);
    SetBkMode(app.memoryDC, TRANSPARENT);
    SetTextColor(app.memoryDC, RGB(255, 255, 255));
    app.oldPalette = SelectPalette(app.memoryDC, app.palette, FALSE);
    app.pens[0] = CreatePen(PS_SOLID, 0, RGB(255, 255, 255));
    app.pens[1] = CreatePen(PS_SOLID, 0, RGB(255, 255, 255));
    app.clock.frame = app.frameBits;
    std::memset(app.frameBits, kFrameFillIndex, kFrameBytes);

    CopyBackground(app.clock, BackgroundVariant(app.clock.settings));
    RebuildWindowShape(app);
    const ClockSettings& s = app.clock.settings;
    SetWindowPos(app.window, s.topMost ? HWND_TOPMOST : HWND_TOP, s.x, s.y, 0, 0, SWP_NOSIZE);
    MoveClockOntoScreen(app);
    ShowWindow(app.window, SW_SHOW);
    UpdateWindow(app.window);
    return true;
}

void RebuildWindowShape(ClockApp& app) {
    std::vector<ShapeRect> runs = BuildWindowShape(app.clock.frame);
    // One region made from all runs at once instead of one union per run.
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATA* rd = reinterpret_cast<RGNDATA*>(data.data());
    rd->rdh.dwSize = sizeof(RGNDATAHEADER);
    rd->rdh.iType = RDH_RECTANGLES;
    rd->rdh.nCount = DWORD(runs.size());
    rd->rdh.nRgnSize = DWORD(runs.size() * sizeof(RECT));
    SetRect(&rd->rdh.rcBound, 0, 0, kFrameSize, kFrameSize);
    RECT* rects = reinterpret_cast<RECT*>(rd->Buffer);
    for (size_t i = 0; i < runs.size(); ++i)
        SetRect(&rects[i], runs[i].left, runs[i].top, runs[i].right, runs[i].bottom);
    HRGN region = ExtCreateRegion(nullptr, DWORD(data.size()), rd);
    if (!region) region = CreateRectRgn(0, 0, 0, 0);
    // The window owns the region from here on.
    SetWindowRgn(app.window, region, TRUE);
}

void RedrawBackgroundAndShape(ClockApp& app) {
    if (!app.memoryDC) return;
    CopyBackground(app.clock, BackgroundVariant(app.clock.settings));
    app.shownFrame.Forget();
    RebuildWindowShape(app);
}

void MoveClockOntoScreen(ClockApp& app) {
    RECT r;
    GetWindowRect(app.window, &r);
    int w = 0, h = 0;
    app.registry.GetScreenSize(&w, &h);
    ScreenPoint p = ClampToScreen(r.left, r.top, w, h);
    app.clock.settings.x = p.x;
    app.clock.settings.y = p.y;
    MoveWindow(app.window, p.x, p.y, kFrameSize, kFrameSize, TRUE);
}

void RepaintNow(HWND window, const RECT* part) {
    InvalidateRect(window, part, FALSE);
    UpdateWindow(window);
}

void AddTrayIcon(ClockApp& app) {
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = app.window;
    nid.uID = 0;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = kTrayMessage;
    nid.hIcon = LoadIconW(app.instance, L"MC_ICON");
    plat::ToWide(kClockTitle, nid.szTip, sizeof nid.szTip / sizeof nid.szTip[0]);
    app.trayIconAdded = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

void RemoveTrayIcon(ClockApp& app) {
    if (!app.trayIconAdded) return;
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = app.window;
    nid.uID = 0;
    Shell_NotifyIconW(NIM_DELETE, &nid);
    app.trayIconAdded = false;
}

namespace {

void ReleaseDrawing(ClockApp& app) {
    app.clock.frame = nullptr;
    app.windowDC = nullptr;
    if (app.memoryDC) {
        SelectObject(app.memoryDC, app.oldBitmap);
        SelectPalette(app.memoryDC, app.oldPalette, FALSE);
        DeleteDC(app.memoryDC);
        app.memoryDC = nullptr;
    }
    if (app.frameBitmap) DeleteObject(app.frameBitmap);
    app.frameBitmap = nullptr;
    for (HPEN& pen : app.pens) {
        if (pen) DeleteObject(pen);
        pen = nullptr;
    }
}

ShutdownSteps StepsOf(ClockApp& app) {
    return ShutdownSteps{[&app] { return SaveAndCloseMemos(app); }, [&app] { ReleaseDrawing(app); }};
}

}  // namespace

void ShutdownSave(ClockApp& app) { app.lifecycle.ShutdownSave(app.clock.settings, app.store, StepsOf(app)); }

LRESULT ClockWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER || message == WM_PAINT || message == WM_ERASEBKGND) return Handle(message, wParam, lParam);
    WakeTicks(app_);
    const LRESULT result = Handle(message, wParam, lParam);
    WakeTicks(app_);
    return result;
}

LRESULT ClockWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    ClockApp& app = app_;
    HWND window = hwnd_;
    switch (message) {
        case WM_TIMER: OnTick(app); return 0;
        case WM_PAINT: OnPaint(app, window); return 0;
        case WM_ERASEBKGND: return 0;
        case WM_MOUSEMOVE: OnMouseMove(app, wParam, lParam); return 0;
        case WM_LBUTTONDOWN: OnLeftButtonDown(app, lParam); return 0;
        case WM_LBUTTONUP:
            app.anchor.x = -1;
            ReleaseCapture();
            return 0;
        case WM_RBUTTONDOWN: OnRightButtonDown(app, lParam); return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kCommandQuit) PostMessageW(window, WM_CLOSE, 0, 0);
            if (LOWORD(wParam) == kCommandCallWindow) MoveClockOntoScreen(app);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE || (wParam & 0xFFF0) == SC_TASKLIST) {
                ShowWindow(window, SW_HIDE);
                return 0;
            }
            break;
        case WM_CLOSE:
            StorePosition(app);
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            RemoveTrayIcon(app);
            PostQuitMessage(0);
            return 0;
        case WM_ENDSESSION:
            app.lifecycle.EndSession(wParam != 0, app.clock.settings, app.store, StepsOf(app),
                                     [&app] { StorePosition(app); });
            return 0;
        case WM_DISPLAYCHANGE:
            app.bitsPerPixel = int(wParam);
            if (app.bitsPerPixel > 8) PostMessageW(window, WM_QUERYNEWPALETTE, 0, 0);
            RepaintNow(window);
            return 0;
        case WM_QUERYNEWPALETTE: return OnQueryNewPalette(app);
        case WM_PALETTECHANGED: OnPaletteChanged(app, reinterpret_cast<HWND>(wParam)); return 0;
        case kTrayMessage:
            if (lParam == WM_RBUTTONDOWN || lParam == WM_LBUTTONDOWN) {
                SetForegroundWindow(window);
                RunTrayMenu(app);
            }
            return 0;
        default: break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace pendrick
