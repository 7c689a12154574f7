// The DirectX notice's window side (see notice_dialog.h).
#include "installer/win32/notice_dialog.h"

#include "installer/notice_lines.h"
#include "platform/win32/window_text.h"

namespace installer {

BOOL CNoticeDlg::OnInitDialog() {
    // Without a parent it stands in the middle of the screen.
    RECT me;
    GetWindowRect(hwnd_, &me);
    const int width = me.right - me.left, height = me.bottom - me.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const NoticeLines lines = DecideNoticeLines(hasDirectXEntry_);
    EnableWindow(Item(kNoticeSetup), lines.setupEnabled);
    const int ids[4] = {kNoticeLine1, kNoticeLine2, kNoticeLine3, kNoticeLine4};
    for (int i = 0; i < 4; ++i) winui::SetItemText(hwnd_, ids[i], lines.lines[i]);
    // The focus goes to the default button "中止", so that Enter never chooses the set-up.
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(kNoticeStop)), TRUE);
    return FALSE;
}

BOOL CNoticeDlg::OnCommand(int id, int /*code*/) {
    switch (id) {
        case kNoticeSetup:
            proceed_ = true;
            EndModal(IDOK);
            return TRUE;
        case kNoticeStop:
        case IDCANCEL:  // Esc and the close box
            proceed_ = false;
            EndModal(IDCANCEL);
            return TRUE;
        default: return FALSE;
    }
}

}  // namespace installer
