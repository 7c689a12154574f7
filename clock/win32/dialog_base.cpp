// DialogBase: binding dialog objects to their windows.
#include "clock/win32/dialog_base.h"

#include <cstring>

#include "clock/win32/clock_app.h"

namespace pendrick {

DialogBase::DialogBase(const char* templateName) {
    std::strncpy(templateName_, templateName, sizeof templateName_ - 1);
}

DialogBase::~DialogBase() = default;

void DialogBase::Destroy(bool freeObject) {
    if (window_ && IsWindow(window_)) {
        SetWindowLongPtrA(window_, DWLP_USER, 0);
        if (modal_)
            EndDialog(window_, 0);
        else
            DestroyWindow(window_);
    }
    window_ = nullptr;
    if (freeObject) delete this;
}

int DialogBase::RunModal(HINSTANCE instance, HWND owner) {
    modal_ = true;
    INT_PTR r = DialogBoxParamA(instance, templateName_, owner, Procedure, reinterpret_cast<LPARAM>(this));
    if (r == -1) {
        window_ = nullptr;
        return 0;
    }
    return earlyCommand_ ? 0 : 1;
}

int DialogBase::CreateModeless() {
    modal_ = false;
    ClockApp& app = ClockApp::Get();
    HWND w = CreateDialogParamA(app.instance, templateName_, app.window, Procedure, reinterpret_cast<LPARAM>(this));
    return w ? 1 : 0;
}

INT_PTR DialogBase::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            OnPaint(dc);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_INITDIALOG: OnInit(window); return 1;
        case WM_COMMAND:
            return OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        default: return 0;
    }
}

void DialogBase::OnInit(HWND window) {
    window_ = window;
    ShowWindow(window, SW_SHOWNORMAL);
    initialised_ = true;
}

void DialogBase::OnPaint(HDC) {}
void DialogBase::OnOK() { EndDialog(window_, 1); }
void DialogBase::OnCancel() { EndDialog(window_, 0); }

int DialogBase::OnCommand(int, int id, HWND) {
    if (id == IDOK) {
        OnOK();
        return 1;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return 0;
    }
    return 1;
}

INT_PTR CALLBACK DialogBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogBase* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return 0;
    if (message == WM_COMMAND && (wParam >> 16) == 0 && !self->initialised_) {
        self->earlyCommand_ = true;
        return 0;
    }
    return self->Dispatch(window, message, wParam, lParam);
}

int RunDialog(DialogBase* dialog, HWND owner) {
    int r = dialog->RunModal(ClockApp::Get().instance, owner);
    dialog->Destroy(true);
    return r;
}

}  // namespace pendrick
