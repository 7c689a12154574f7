// The dialog wrapper's window procedure: a table of cases, one handler per message.
#include "installer/win32/dialog_window.h"

namespace installer {

DialogWindow::~DialogWindow() { Destroy(); }

bool DialogWindow::CreateModeless(HINSTANCE instance, int templateId, HWND parent) {
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, Proc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR DialogWindow::RunModal(HINSTANCE instance, int templateId, HWND parent) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent, Proc, reinterpret_cast<LPARAM>(this));
}

void DialogWindow::Destroy() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

INT_PTR CALLBACK DialogWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogWindow* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    } else {
        self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    INT_PTR result = self->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

INT_PTR DialogWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_PAINT:
        return OnPaint();
    case WM_ERASEBKGND:
        if (!OnEraseBackground(reinterpret_cast<HDC>(wParam))) return FALSE;
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_CLOSE:
        return OnClose();
    case WM_QUERYNEWPALETTE: {
        BOOL realized = OnQueryNewPalette();
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, realized);
        return realized;
    }
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) == hwnd_) return FALSE;
        return OnPaletteChanged(reinterpret_cast<HWND>(wParam));
    default:
        return FALSE;
    }
}

}  // namespace installer
