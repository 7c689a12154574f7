// A dialog bound to its object, for the installer's and the clock's dialogs: the object
// travels through the creation parameter, each message goes to one named handler, and
// exceptions stop at the dialog procedure.
#pragma once

#include "platform/win32/windows_clean.h"

namespace winui {

// A numbered template for the functions below (a named one is its Shift-JIS name).
inline const char* TemplateId(int id) { return MAKEINTRESOURCEA(id); }

class Dialog {
public:
    Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    // Destroys a modeless window that is still there (unbound first).
    virtual ~Dialog();

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    // The instance the dialog was made from (for dialogs it opens in turn).
    HINSTANCE instance() const { return instance_; }

    // DialogBoxParamW's answer: the EndModal value, -1 when the dialog could not be made.
    INT_PTR RunModal(HINSTANCE instance, const char* templateName, HWND owner);
    bool CreateModeless(HINSTANCE instance, const char* templateName, HWND owner);
    void EndModal(INT_PTR result) { EndDialog(hwnd_, result); }
    // Ends a modal dialog that still runs or destroys a modeless one.
    void Destroy();
    // Destroy, then delete the object: for dialogs made with new that free themselves.
    void Dispose();

    // A command with notification code 0 (a click, a menu item, a key) that came while
    // the dialog was still being set up. It is not acted on.
    bool commandCameEarly() const { return commandCameEarly_; }

protected:
    // Each returns TRUE when it handled the message (FALSE lets the dialog manager act).
    virtual BOOL OnInitDialog() { return TRUE; }
    // IDOK runs OnOK and IDCANCEL OnCancel; other commands are left to the dialog manager.
    virtual BOOL OnCommand(int id, int code);
    virtual void OnOK() { EndModal(IDOK); }
    virtual void OnCancel() { EndModal(IDCANCEL); }
    virtual BOOL OnPaint() { return FALSE; }
    virtual BOOL OnEraseBackground(HDC /*dc*/) { return FALSE; }
    virtual BOOL OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return FALSE; }
    virtual BOOL OnClose() { return FALSE; }
    virtual BOOL OnQueryNewPalette() { return FALSE; }
    virtual BOOL OnPaletteChanged(HWND /*changer*/) { return FALSE; }

    HWND hwnd_ = nullptr;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_ = nullptr;
    bool modal_ = false;
    bool initialised_ = false;
    bool commandCameEarly_ = false;
};

}  // namespace winui
