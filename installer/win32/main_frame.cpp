// The frame window and its backdrop.
#include "installer/win32/main_frame.h"

#include "installer/startup.h"
#include "platform/win32/wide_text.h"
#include "resources/ostrel_resource.h"

namespace installer {

bool CMainFrame::Create(HINSTANCE instance) {
    // A wide class: the window procedure answers through DefWindowProcW.
    const plat::WideArg className(kFrameClass);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = winui::Window::Procedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_OSTREL));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpszClassName = className.get();
    if (!RegisterClassW(&wc)) return false;
    int x = e_.env.screenWidth / 2, y = e_.env.screenHeight / 2;
    if (!winui::Window::Create(0, kFrameClass, kFrameTitle, WS_POPUP | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0,
                               0, nullptr, instance))
        return false;
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    return true;
}

void CMainFrame::ShowBackdrop() {
    HDC dc = GetDC(hwnd_);
    HPALETTE old = nullptr;
    if (background_.palette()) {
        old = SelectPalette(dc, background_.palette(), FALSE);
        RealizePalette(dc);
    }
    MoveWindow(hwnd_, 0, 0, e_.env.screenWidth, e_.env.screenHeight, TRUE);
    ShowWindow(hwnd_, SW_SHOW);
    background_.DrawTiled(dc, e_.env.screenWidth, e_.env.screenHeight);
    if (old) SelectPalette(dc, old, FALSE);
    ReleaseDC(hwnd_, dc);
}

void CMainFrame::HideBackdrop() { MoveWindow(hwnd_, e_.env.screenWidth / 2, e_.env.screenHeight / 2, 0, 0, TRUE); }

LRESULT CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: OnPaint(); return 0;
        case WM_ERASEBKGND: return 1;  // the backdrop covers everything; nothing else is ever shown
        case WM_QUERYNEWPALETTE: return background_.RealizeOnQuery(hwnd_);
        case WM_PALETTECHANGED:
            if (reinterpret_cast<HWND>(wParam) != hwnd_) background_.RealizeOnQuery(hwnd_);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        case WM_NCDESTROY: return 0;
        default: return Default(message, wParam, lParam);
    }
}

void CMainFrame::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (e_.activityMode == script::kModeInstalling) {
        HPALETTE old = nullptr;
        if (background_.palette()) {
            old = SelectPalette(dc, background_.palette(), FALSE);
            RealizePalette(dc);
        }
        background_.DrawTiled(dc, e_.env.screenWidth, e_.env.screenHeight);
        if (old) SelectPalette(dc, old, FALSE);
    }
    EndPaint(hwnd_, &ps);
}

}  // namespace installer
