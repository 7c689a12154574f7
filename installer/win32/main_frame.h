// The installer's frame window: invisible (zero size) while the launcher shows, the
// mark by which other programs see that an installer runs, and the full-screen tiled
// backdrop while the install dialog is up.
#pragma once

#include "platform/win32/windows_clean.h"

#include "installer/win32/background.h"
#include "script/engine.h"

namespace installer {

class CMainFrame {
public:
    CMainFrame(script::Engine& e, Background& background) : e_(e), background_(background) {}
    ~CMainFrame();

    bool Create(HINSTANCE instance);
    HWND hwnd() const { return hwnd_; }

    void ShowBackdrop();
    void HideBackdrop();

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();

    script::Engine& e_;
    Background& background_;
    HWND hwnd_ = nullptr;
};

}  // namespace installer
