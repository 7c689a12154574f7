// A plain window bound to its object: one procedure for every window class, each message
// handed to the object's dispatch table, exceptions stopped at the procedure.
#pragma once

#include "platform/win32/windows_clean.h"

namespace winui {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // Destroys a window that is still there; the object is unbound first, so no message
    // of the destruction reaches a half-destroyed object.
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    // The object bound to a window made with Create (only for such windows).
    static Window* FromHandle(HWND window);

    // The procedure to register for a class whose windows are made with Create.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // CreateWindowExW with this object as the creation parameter; null on failure. The
    // class name and the title are Shift-JIS.
    HWND Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                int height, HWND parent, HINSTANCE instance);

    // A table of cases: one named handler per message, Default for the rest.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    // After the window's last message; an object that owns itself deletes itself here.
    virtual void OnFinalMessage() {}

    HWND hwnd_ = nullptr;
};

}  // namespace winui
