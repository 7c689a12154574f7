// The menu dialog's window side (see menu_dialog.h).
#include "installer/win32/menu_dialog.h"

#include "installer/menu_placement.h"
#include "platform/win32/window_text.h"
#include "resources/ostrel_resource.h"

namespace installer {

namespace {
const int kItemIds[5] = {IDC_MENU_ITEM1, IDC_MENU_ITEM2, IDC_MENU_ITEM3, IDC_MENU_ITEM4, IDC_MENU_ITEM5};
}

// Centred over its owner (the screen without one), as framework dialogs place themselves.
BOOL CMenuDlg::OnInitDialog() {
    RECT me, area;
    GetWindowRect(hwnd_, &me);
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &area))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const int width = me.right - me.left, height = me.bottom - me.top;
    SetWindowPos(hwnd_, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return TRUE;
}

void CMenuDlg::SetUp() {
    const MenuLayout layout = DecideMenuLayout(menu_.count, menu_.defaultIndex);
    for (int i = 0; i < 5; ++i) {
        HWND item = Item(kItemIds[i]);
        if (!layout.visible[i]) {
            ShowWindow(item, SW_HIDE);
            EnableWindow(item, FALSE);
            continue;
        }
        RECT place = {kMenuItemX, layout.y[i], 0, 0};
        MapDialogRect(hwnd_, &place);
        SetWindowPos(item, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    winui::SetItemText(hwnd_, IDC_MENU_GROUP, menu_.title);
    for (int i = 0; i < 5; ++i) winui::SetItemText(hwnd_, kItemIds[i], menu_.items[i]);
    if (layout.checked >= 0) CheckRadioButton(hwnd_, IDC_MENU_ITEM1, IDC_MENU_ITEM5, kItemIds[layout.checked]);
}

BOOL CMenuDlg::OnPaint() {
    if (!setUp_) {
        setUp_ = true;
        SetUp();
    }
    return FALSE;  // the dialog paints itself
}

BOOL CMenuDlg::OnCommand(int id, int code) {
    if (id >= IDC_MENU_ITEM1 && id <= IDC_MENU_ITEM5) {
        if (code == BN_CLICKED) menu_.selectedIndex = id - IDC_MENU_ITEM1;
        return FALSE;
    }
    if (id == IDOK || id == IDCANCEL) {
        EndModal(id);
        return TRUE;
    }
    return FALSE;
}

}  // namespace installer
