// A small dialog wrapper: the object travels with the dialog through the creation
// parameter and each message goes to one named handler.
#pragma once

#include "platform/win32/windows_clean.h"

namespace installer {

class DialogWindow {
public:
    virtual ~DialogWindow();
    HWND hwnd() const { return hwnd_; }

    bool CreateModeless(HINSTANCE instance, int templateId, HWND parent);
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND parent);
    void EndModal(INT_PTR result) { EndDialog(hwnd_, result); }
    void Destroy();

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    // Each returns TRUE when it handled the message (FALSE lets the dialog manager act).
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual BOOL OnCommand(int /*id*/, int /*code*/) { return FALSE; }
    virtual BOOL OnPaint() { return FALSE; }
    virtual BOOL OnEraseBackground(HDC /*dc*/) { return FALSE; }
    virtual BOOL OnClose() { return FALSE; }
    virtual BOOL OnQueryNewPalette() { return FALSE; }
    virtual BOOL OnPaletteChanged(HWND /*changer*/) { return FALSE; }

    HWND hwnd_ = nullptr;

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace installer
