// The plain window's procedure (see window_object.h).
#include "platform/win32/window_object.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/window_binding.h"

namespace winui {

Window::~Window() {
    if (hwnd_ && IsWindow(hwnd_)) {
        BindObject(hwnd_, nullptr);
        DestroyWindow(hwnd_);
    }
    hwnd_ = nullptr;
}

Window* Window::FromHandle(HWND window) { return BoundObject<Window>(window); }

HWND Window::Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                    int height, HWND parent, HINSTANCE instance) {
    return CreateWindowExW(exStyle, plat::WideArg(className).get(), plat::WideArg(title).get(), style, x, y, width,
                           height, parent, nullptr, instance, this);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        BindObject(window, self);
        if (self) self->hwnd_ = window;
    } else {
        self = BoundObject<Window>(window);
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = StopExceptions([&] { return self->OnMessage(message, wParam, lParam); },
                                    [&] { return DefWindowProcW(window, message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        BindObject(window, nullptr);
        self->hwnd_ = nullptr;
        StopExceptions(
            [&] {
                self->OnFinalMessage();
                return 0;
            },
            [] { return 0; });
    }
    return result;
}

}  // namespace winui
