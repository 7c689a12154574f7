// set-text: replaces a control's text, as typing into an edit box would leave it.
#include "uiauto.h"

namespace uiauto {

int CmdSetText(const Args& args) {
    if (!args.hasId) {
        PrintError(L"set-text needs --id");
        return kExitUsage;
    }
    HWND hwnd = FindTargetOrControl(args);
    if (!hwnd) return kExitNotFound;
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args.text.c_str())) ? kExitOk : kExitFailed;
}

}  // namespace uiauto
