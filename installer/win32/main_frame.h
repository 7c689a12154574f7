// The installer's frame window: invisible (zero size) while the launcher shows, the
// mark by which other programs see that an installer runs, and the full-screen tiled
// backdrop while the install dialog is up.
#pragma once

#include "platform/win32/windows_clean.h"

#include "installer/win32/background.h"
#include "platform/win32/window_object.h"
#include "script/engine.h"

namespace installer {

class CMainFrame : public winui::Window {
public:
    CMainFrame(script::Engine& e, Background& background) : e_(e), background_(background) {}

    bool Create(HINSTANCE instance);

    void ShowBackdrop();
    void HideBackdrop();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();

    script::Engine& e_;
    Background& background_;
};

}  // namespace installer
