// The launcher dialog's window side.
#include "installer/win32/launcher_window.h"

#include "installer/startup.h"
#include "resources/ostrel_resource.h"

namespace installer {

bool CLauncherDlg::CreateLauncherWindow() {
    if (!CreateModeless(instance_, winui::TemplateId(IDD_LAUNCHER), frame_.hwnd())) return false;
    winui::SetText(hwnd_, kLauncherTitle);
    return true;
}

void CLauncherDlg::ShowAndEnableFrame() {
    ShowWindow(frame_.hwnd(), SW_SHOW);
    EnableWindow(frame_.hwnd(), TRUE);
}

void CLauncherDlg::SetButtonDefault(int id, bool isDefault) {
    SendMessageW(Item(id), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    if (isDefault) SendMessageW(hwnd_, DM_SETDEFID, id, 0);
}

void CLauncherDlg::RepaintFrame() {
    RedrawWindow(frame_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CLauncherDlg::RepaintLauncher() {
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL CLauncherDlg::OnCommand(int id, int /*code*/) {
    if (!launcher_) return FALSE;
    switch (id) {
        case kIdSetup: launcher_->OnSetup(); return TRUE;
        case kIdPlay: launcher_->OnPlay(); return TRUE;
        case kIdExit:
        case IDCANCEL:  // Esc
            launcher_->OnExit();
            return TRUE;
        case kIdUninstall: launcher_->OnUninstall(); return TRUE;
        case kIdSub1: launcher_->OnSubButton(0); return TRUE;
        case kIdSub2: launcher_->OnSubButton(1); return TRUE;
        default: return FALSE;
    }
}

BOOL CLauncherDlg::OnClose() {
    if (launcher_) launcher_->OnExit();
    return FALSE;  // the dialog manager's own handling follows
}

BOOL CLauncherDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (e_.activityMode != script::kModeInstalling) background_.DrawWithPalette(dc, 0, 0);
    EndPaint(hwnd_, &ps);
    return TRUE;
}

}  // namespace installer
