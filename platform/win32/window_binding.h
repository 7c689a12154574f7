// How a window finds its object: the object is handed over as the creation parameter,
// kept in the window's GWLP_USERDATA from the first message on, and looked up there for
// every later message. Both the plain windows and the dialogs bind this way.
#pragma once

#include "platform/win32/windows_clean.h"

namespace winui {

inline void BindObject(HWND window, void* object) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

template <class T>
T* BoundObject(HWND window) {
    return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Runs a handler and stops any exception there: one must never unwind through the
// system's frames between the message loop and a window procedure. The message then
// gets fallback's answer.
template <class Handler, class Fallback>
auto StopExceptions(Handler handler, Fallback fallback) noexcept -> decltype(handler()) {
    try {
        return handler();
    } catch (...) {
        try {
            return fallback();
        } catch (...) {
            return 0;
        }
    }
}

}  // namespace winui
