// Finding top-level windows and their controls in any process of the prefix.
#include "tools/uiauto/uiauto.h"

namespace uiauto {

// Another process may be stuck; never let a read hang the tool.
static const UINT kSendTimeoutMs = 2000;

std::wstring ClassOf(HWND hwnd) {
    wchar_t buf[256] = {};
    GetClassNameW(hwnd, buf, 256);
    return buf;
}

std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &copied))
        return L"";
    text.resize(copied);
    return text;
}

HWND FindControl(HWND top, int id) {
    if (HWND direct = GetDlgItem(top, id)) return direct;
    for (HWND child : Children(top))
        if (GetDlgCtrlID(child) == id) return child;
    return nullptr;
}

bool IsMessageBox(HWND hwnd) {
    // Dialogs are #32770 too; a message box is the one with the text static 0xFFFF.
    return ClassOf(hwnd) == L"#32770" && GetDlgItem(hwnd, 0xFFFF) != nullptr;
}

static BOOL CALLBACK CollectChild(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> list;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&list));
    return list;
}

static BOOL CALLBACK CollectTop(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

static bool Matches(HWND hwnd, const Args& args) {
    if (args.visibleOnly && !IsWindowVisible(hwnd)) return false;
    if (args.msgbox && (!IsMessageBox(hwnd) || !IsWindowVisible(hwnd))) return false;
    if (!args.className.empty() && ClassOf(hwnd) != args.className) return false;
    if (!args.title.empty() || !args.contains.empty()) {
        wchar_t buf[512] = {};
        GetWindowTextW(hwnd, buf, 512);
        if (!args.title.empty() && args.title != buf) return false;
        if (!args.contains.empty() && !wcsstr(buf, args.contains.c_str())) return false;
    }
    return true;
}

HWND FindTopLevel(const Args& args) {
    if (args.hwnd) return IsWindow(args.hwnd) ? args.hwnd : nullptr;
    std::vector<HWND> all;
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&all));
    for (HWND hwnd : all)
        if (Matches(hwnd, args)) return hwnd;
    return nullptr;
}

HWND FindTarget(const Args& args) {
    if (!args.hwnd && !args.msgbox && args.title.empty() && args.contains.empty() && args.className.empty()) {
        PrintError(L"name the window: --title, --contains, --class, --msgbox or --hwnd");
        return nullptr;
    }
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND hwnd = FindTopLevel(args)) return hwnd;
        if (GetTickCount() - start >= static_cast<DWORD>(args.timeoutMs)) break;
        Sleep(50);
    }
    PrintError(L"window not found");
    return nullptr;
}

HWND FindTargetOrControl(const Args& args) {
    HWND top = FindTarget(args);
    if (!top || !args.hasId) return top;
    HWND control = FindControl(top, args.id);
    if (!control) PrintError(L"no control with id " + std::to_wstring(args.id));
    return control;
}

}  // namespace uiauto
