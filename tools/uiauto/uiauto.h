// UIAUTO.EXE: drives and reads other programs' windows from inside the same Wine
// prefix, for the end-to-end tests. Declarations shared by its command files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uiauto {

// Exit codes: the harness tells "not there" from "wrong use" by them.
enum : int { kExitOk = 0, kExitNotFound = 1, kExitUsage = 2, kExitFailed = 3 };

struct Args {
    std::wstring command;
    std::wstring title;        // exact top-level title
    std::wstring contains;     // part of a top-level title
    std::wstring className;    // top-level class
    std::wstring button;       // label or id of a button to press
    std::wstring file;         // output file (screenshot)
    bool msgbox = false;       // the target is a message box
    bool self = false;         // a control's own state, not its window's
    bool visibleOnly = false;  // skip hidden top-level windows
    bool hasId = false;
    int id = 0;            // control id
    int vk = -1;           // virtual key code
    int timeoutMs = 3000;  // how long to wait for the target to appear
    HWND hwnd = nullptr;   // --hwnd: a window given by handle
    std::wstring press;    // msgbox: press this button after reading
    std::wstring text;     // set-text: the new text
};

// ---- Output (output.cpp) -----------------------------------------------------------
// Everything printed is UTF-8 (or UTF-16 to a real console).
void Print(const std::wstring& text);
void PrintLine(const std::wstring& text);
void PrintError(const std::wstring& text);
std::wstring JsonString(const std::wstring& text);
std::wstring HandleText(HWND hwnd);

// ---- Finding windows (find.cpp) --------------------------------------------------
std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);  // WM_GETTEXT, so edits show their current text
bool IsMessageBox(HWND hwnd);
// The top-level window named by --hwnd, --msgbox, --title, --contains or --class;
// waits up to args.timeoutMs. nullptr (with a message printed) when not found.
HWND FindTarget(const Args& args);
HWND FindTopLevel(const Args& args);  // one look, no wait, no message
HWND FindControl(HWND top, int id);   // any descendant with that id
// The control named by --id below the target, or the target itself without --id.
HWND FindTargetOrControl(const Args& args);
std::vector<HWND> Children(HWND parent);  // all descendants, in Z order

// ---- Commands -------------------------------------------------------------------
int CmdListWindows(const Args& args);
int CmdChildren(const Args& args);
int CmdWaitWindow(const Args& args);
int CmdWaitGone(const Args& args);
int CmdText(const Args& args);
int CmdClick(const Args& args);
int CmdPress(const Args& args);
int CmdKey(const Args& args);
int CmdClose(const Args& args);
int CmdEnabled(const Args& args);
int CmdVisible(const Args& args);
int CmdCheck(const Args& args);
int CmdRect(const Args& args);
int CmdStyle(const Args& args);
int CmdItems(const Args& args);
int CmdForeground(const Args& args);
int CmdMsgBox(const Args& args);
int CmdScreenshot(const Args& args);
int CmdSetText(const Args& args);

// Posts BM_CLICK: a sent click would only return once a modal box it opens is closed.
bool ClickButton(HWND button);
// The button below top whose id or label (without & and a "(&X)" suffix) is wanted.
HWND FindButton(HWND top, const std::wstring& wanted);

}  // namespace uiauto
