// The small dialog class behind the clock's dialogs: the object travels with the dialog
// window, and every message is handed to a named virtual handler.
#pragma once

#include "platform/win32/windows_clean.h"

namespace pendrick {

class DialogBase {
public:
    explicit DialogBase(const char* templateName);
    virtual ~DialogBase();
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Ends the dialog (or destroys the modeless window) and, with freeObject, deletes this.
    virtual void Destroy(bool freeObject);
    // 0 when the dialog cannot be created; else 1 unless a command came before
    // initialisation.
    virtual int RunModal(HINSTANCE instance, HWND owner);
    virtual int CreateModeless();
    virtual INT_PTR Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnInit(HWND window);
    virtual void OnPaint(HDC dc);
    virtual void OnOK();
    virtual void OnCancel();
    virtual int OnCommand(int code, int id, HWND control);

    HWND Window() const { return window_; }

protected:
    HWND window_ = nullptr;
    char templateName_[64] = {};
    bool modal_ = false;
    bool initialised_ = false;
    bool earlyCommand_ = false;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// Runs a dialog modally over owner with the clock's instance, then destroys and frees it.
int RunDialog(DialogBase* dialog, HWND owner);

}  // namespace pendrick
