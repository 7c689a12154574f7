// The uninstall dialog's window side (see uninstall_dialog.h).
#include "installer/win32/uninstall_dialog.h"

#include "platform/win32/window_text.h"

namespace installer {

void CUninstallDlg::ShowTexts(const char* path, const char* message) {
    winui::SetItemText(hwnd_, kUninstFolder, path);
    winui::SetItemText(hwnd_, kUninstMessage, message);
    UpdateWindow(hwnd_);
}

void CUninstallDlg::HideButtons() {
    ShowWindow(Item(kUninstOk), SW_HIDE);
    ShowWindow(Item(kUninstCancel), SW_HIDE);
}

void CUninstallDlg::Activate() {
    SetActiveWindow(hwnd_);
    SetForegroundWindow(hwnd_);
}

BOOL CUninstallDlg::OnInitDialog() {
    winui::SetItemText(hwnd_, kUninstFolder, flow_.pathText());
    winui::SetItemText(hwnd_, kUninstMessage, flow_.messageText());
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) >> 1, y = (GetSystemMetrics(SM_CYSCREEN) - height) >> 1;
    SetWindowPos(hwnd_, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    return TRUE;
}

BOOL CUninstallDlg::OnCommand(int id, int /*code*/) {
    switch (id) {
        case kUninstOk: flow_.ConfirmUninstall(*this); return TRUE;
        case kUninstCancel:  // also Esc and the close box
            EndModal(IDCANCEL);
            return TRUE;
        default: return FALSE;
    }
}

}  // namespace installer
