// The install dialog's window side (see install_dialog.h).
#include "installer/win32/install_dialog.h"

#include "installer/win32/folder_browse.h"

namespace installer {

void CInstallDlg::SetText(int id, const char* text) {
    // Looking an item up by its id asks the window system; the percentage is set a hundred
    // times a copy, so its window is looked up once.
    winui::SetText(id == kInstPercent && percent_ ? percent_ : Item(id), text);
}

bool CInstallDlg::GetText(int id, char* buffer, size_t size) {
    // A text too long arrives cut, as it always did: the flow's length check refuses it.
    return winui::ReadItemText(hwnd_, id, buffer, size) != plat::TextFit::kNotShiftJis;
}

void CInstallDlg::MakeDefault(int id) {
    for (int button : {kInstOk, kInstBrowse, kInstStop})
        SendMessageW(Item(button), BM_SETSTYLE, button == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    SendMessageW(hwnd_, DM_SETDEFID, id, 0);
}

void CInstallDlg::Activate() {
    SetActiveWindow(hwnd_);
    SetForegroundWindow(hwnd_);
}

void CInstallDlg::RepaintNow(bool erase) {
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0) | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CInstallDlg::DrawBar(const ProgressPicture& picture) {
    HDC dc = GetDC(hwnd_);
    Draw(dc, picture);
    ReleaseDC(hwnd_, dc);
}

void CInstallDlg::Draw(HDC dc, const ProgressPicture& p) {
    if (!p.visible) return;
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 255, 255));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, p.outline[0][0], p.outline[0][1], nullptr);
    for (int i = 1; i < 5; ++i) LineTo(dc, p.outline[i][0], p.outline[i][1]);
    RECT fill = {p.fill.left, p.fill.top, p.fill.right, p.fill.bottom};
    FillRect(dc, &fill, brush);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    DeleteObject(pen);
}

BOOL CInstallDlg::OnInitDialog() {
    percent_ = Item(kInstPercent);
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    flow_.OnCreate(width, height);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(hwnd_, nullptr, (screenWidth - width) / 2, (screenHeight - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOW);
    static const int kLines[6] = {kInstTitle, kInstRights, kInstLine1, kInstLine2, kInstLine3, kInstLine4};
    for (int i = 0; i < 6; ++i) winui::SetItemText(hwnd_, kLines[i], flow_.LineText(i));
    winui::SetItemText(hwnd_, kInstPath, flow_.installPath());
    return TRUE;
}

BOOL CInstallDlg::OnCommand(int id, int /*code*/) {
    switch (id) {
        case kInstOk: flow_.OnOk(); return TRUE;
        case kInstStop:  // also Esc and the close box
            flow_.OnStop();
            return TRUE;
        case kInstBrowse:
            if (flow_.BrowseAllowed()) BrowseForFolder(instance_, hwnd_, flow_);
            return TRUE;
        default: return FALSE;
    }
}

BOOL CInstallDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const ProgressPicture p = flow_.Progress();
    Draw(dc, p);
    EndPaint(hwnd_, &ps);
    if (p.visible) SetText(kInstPercent, p.text);
    return TRUE;
}

}  // namespace installer
