// The dialog base's procedure: a table of cases, one handler per message.
#include "platform/win32/dialog_window.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/window_binding.h"

namespace winui {

namespace {

// A template's wide name for one call: a number passes as it is, a name is converted.
class TemplateName {
public:
    explicit TemplateName(const char* name) : name_(IS_INTRESOURCE(name) ? nullptr : name) {
        number_ = IS_INTRESOURCE(name) ? MAKEINTRESOURCEW(LOWORD(reinterpret_cast<ULONG_PTR>(name))) : nullptr;
    }
    const wchar_t* get() const { return number_ ? number_ : name_.get(); }

private:
    plat::WideArg name_;
    const wchar_t* number_;
};

}  // namespace

Dialog::~Dialog() { Destroy(); }

INT_PTR Dialog::RunModal(HINSTANCE instance, const char* templateName, HWND owner) {
    instance_ = instance;
    modal_ = true;
    initialised_ = false;
    commandCameEarly_ = false;
    INT_PTR result = DialogBoxParamW(instance, TemplateName(templateName).get(), owner, Procedure,
                                     reinterpret_cast<LPARAM>(this));
    if (result == -1) hwnd_ = nullptr;
    return result;
}

bool Dialog::CreateModeless(HINSTANCE instance, const char* templateName, HWND owner) {
    instance_ = instance;
    modal_ = false;
    initialised_ = false;
    commandCameEarly_ = false;
    return CreateDialogParamW(instance, TemplateName(templateName).get(), owner, Procedure,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::Destroy() {
    if (hwnd_ && IsWindow(hwnd_)) {
        BindObject(hwnd_, nullptr);
        if (modal_)
            EndDialog(hwnd_, 0);
        else
            DestroyWindow(hwnd_);
    }
    hwnd_ = nullptr;
}

void Dialog::Dispose() {
    Destroy();
    delete this;
}

BOOL Dialog::OnCommand(int id, int /*code*/) {
    if (id == IDOK) {
        OnOK();
        return TRUE;
    }
    if (id == IDCANCEL) OnCancel();
    return FALSE;
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        BindObject(window, self);
        if (self) self->hwnd_ = window;
    } else {
        self = BoundObject<Dialog>(window);
    }
    if (!self) return FALSE;
    if (message == WM_COMMAND && HIWORD(wParam) == 0 && !self->initialised_) {
        self->commandCameEarly_ = true;
        return FALSE;
    }
    INT_PTR result = StopExceptions([&] { return self->Dispatch(message, wParam, lParam); },
                                    [] { return INT_PTR(FALSE); });
    if (message == WM_INITDIALOG) self->initialised_ = true;
    if (message == WM_NCDESTROY) {
        BindObject(window, nullptr);
        self->hwnd_ = nullptr;
    }
    return result;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog();
        case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_PAINT: return OnPaint();
        case WM_ERASEBKGND:
            if (!OnEraseBackground(reinterpret_cast<HDC>(wParam))) return FALSE;
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
            return TRUE;
        case WM_DRAWITEM: return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_CLOSE: return OnClose();
        case WM_QUERYNEWPALETTE: {
            BOOL realized = OnQueryNewPalette();
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, realized);
            return realized;
        }
        case WM_PALETTECHANGED:
            if (reinterpret_cast<HWND>(wParam) == hwnd_) return FALSE;
            return OnPaletteChanged(reinterpret_cast<HWND>(wParam));
        default: return FALSE;
    }
}

}  // namespace winui
