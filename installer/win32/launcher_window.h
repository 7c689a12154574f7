// The launcher dialog: the picture-faced window with six buttons. It carries out what
// the portable Launcher decides and passes its buttons' clicks back to it.
#pragma once

#include "platform/win32/windows_clean.h"

#include "installer/launcher.h"
#include "installer/win32/background.h"
#include "platform/win32/dialog_window.h"
#include "platform/win32/window_text.h"
#include "installer/win32/main_frame.h"

namespace installer {

class CLauncherDlg : public winui::Dialog, public LauncherView {
public:
    CLauncherDlg(HINSTANCE instance, script::Engine& e, Background& background, CMainFrame& frame)
        : instance_(instance), e_(e), background_(background), frame_(frame) {}

    void SetLauncher(Launcher* launcher) { launcher_ = launcher; }

    // LauncherView
    bool CreateLauncherWindow() override;
    bool LauncherExists() override { return hwnd_ != nullptr; }
    void RemakePalette() override { background_.RemakePalette(); }
    void ShowLauncher(bool show) override { ShowWindow(hwnd_, show ? SW_SHOW : SW_HIDE); }
    void MoveLauncher(const Rect& r) override { MoveWindow(hwnd_, r.left, r.top, r.width, r.height, TRUE); }
    void MoveFrame(const Rect& r) override { MoveWindow(frame_.hwnd(), r.left, r.top, r.width, r.height, FALSE); }
    void ShowAndEnableFrame() override;
    void FocusLauncher() override { SetFocus(hwnd_); }
    void MoveButton(int id, const Rect& r) override { MoveWindow(Item(id), r.left, r.top, r.width, r.height, TRUE); }
    void ShowButton(int id, bool show) override { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
    void SetButtonText(int id, const char* text) override { winui::SetText(Item(id), text); }
    void EnableButton(int id, bool enable) override { EnableWindow(Item(id), enable); }
    void SetButtonDefault(int id, bool isDefault) override;
    void FocusButton(int id) override { SetFocus(Item(id)); }
    void BringLauncherForward() override { SetForegroundWindow(hwnd_); }
    void RepaintFrame() override;
    void RepaintLauncher() override;
    plat::WindowHandle LauncherHandle() override { return reinterpret_cast<plat::WindowHandle>(hwnd_); }

protected:
    BOOL OnCommand(int id, int code) override;
    BOOL OnPaint() override;
    BOOL OnEraseBackground(HDC) override { return TRUE; }
    BOOL OnClose() override;
    BOOL OnQueryNewPalette() override { return background_.RealizeOnQuery(hwnd_); }
    BOOL OnPaletteChanged(HWND) override { return background_.RealizeOnQuery(hwnd_); }

private:
    HINSTANCE instance_;
    script::Engine& e_;
    Background& background_;
    CMainFrame& frame_;
    Launcher* launcher_ = nullptr;
};

}  // namespace installer
