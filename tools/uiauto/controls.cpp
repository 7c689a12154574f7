// Commands on one control (or a top-level window when no --id is given).
#include "tools/uiauto/uiauto.h"

namespace uiauto {

static const UINT kSendTimeoutMs = 2000;

static LRESULT SendW(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, msg, w, l, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// Label as the user reads it: "はい(&Y)" -> "はい", "&OK" -> "OK".
static std::wstring PlainLabel(std::wstring label) {
    size_t paren = label.find(L"(&");
    if (paren != std::wstring::npos && label.size() >= paren + 4 && label[paren + 3] == L')') label.erase(paren, 4);
    std::wstring out;
    for (wchar_t c : label)
        if (c != L'&') out += c;
    return out;
}

bool ClickButton(HWND button) { return PostMessageW(button, BM_CLICK, 0, 0) != 0; }

HWND FindButton(HWND top, const std::wstring& wanted) {
    wchar_t* end = nullptr;
    long id = wcstol(wanted.c_str(), &end, 0);
    bool numeric = !wanted.empty() && end && *end == 0;
    for (HWND child : Children(top)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Button") != 0) continue;
        if (numeric && GetDlgCtrlID(child) == id) return child;
        std::wstring label = TextOf(child);
        if (label == wanted || _wcsicmp(PlainLabel(label).c_str(), PlainLabel(wanted).c_str()) == 0) return child;
    }
    return nullptr;
}

int CmdText(const Args& args) {
    HWND hwnd = FindTargetOrControl(args);
    if (!hwnd) return kExitNotFound;
    PrintLine(TextOf(hwnd));
    return kExitOk;
}

int CmdClick(const Args& args) {
    if (!args.hasId) {
        PrintError(L"click needs --id");
        return kExitUsage;
    }
    HWND hwnd = FindTargetOrControl(args);
    if (!hwnd) return kExitNotFound;
    return ClickButton(hwnd) ? kExitOk : kExitFailed;
}

int CmdPress(const Args& args) {
    HWND top = FindTarget(args);
    if (!top) return kExitNotFound;
    HWND button = FindButton(top, args.button);
    if (!button) {
        PrintError(L"no button " + args.button);
        return kExitNotFound;
    }
    return ClickButton(button) ? kExitOk : kExitFailed;
}

// Posted keys reach the window's queue but are not real input: GetKeyState in the
// target does not see them. Without --id the key goes to the target thread's focus.
int CmdKey(const Args& args) {
    if (args.vk < 0) {
        PrintError(L"key needs --vk");
        return kExitUsage;
    }
    HWND hwnd = FindTargetOrControl(args);
    if (!hwnd) return kExitNotFound;
    if (!args.hasId) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
        if (GetGUIThreadInfo(thread, &info) && info.hwndFocus) hwnd = info.hwndFocus;
    }
    UINT scan = MapVirtualKeyW(static_cast<UINT>(args.vk), 0);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | (1L << 30) | (1L << 31);
    bool ok = PostMessageW(hwnd, WM_KEYDOWN, static_cast<WPARAM>(args.vk), down) &&
              PostMessageW(hwnd, WM_KEYUP, static_cast<WPARAM>(args.vk), up);
    return ok ? kExitOk : kExitFailed;
}

// A modal box disables its owner but not the owner's controls, so the answer is
// "enabled and every ancestor and owner enabled" unless --self asks for the
// control's own flag.
int CmdEnabled(const Args& args) {
    HWND hwnd = FindTargetOrControl(args);
    if (!hwnd) return kExitNotFound;
    bool enabled = IsWindowEnabled(hwnd) != 0;
    if (!args.self) {
        for (HWND up = GetAncestor(hwnd, GA_PARENT); enabled && up && up != GetDesktopWindow();
             up = GetAncestor(up, GA_PARENT))
            enabled = IsWindowEnabled(up) != 0;
    }
    PrintLine(enabled ? L"1" : L"0");
    return kExitOk;
}

int CmdVisible(const Args& args) {
    Args quick = args;
    HWND hwnd = FindTopLevel(quick);
    if (hwnd && args.hasId) hwnd = FindControl(hwnd, args.id);
    PrintLine(hwnd && IsWindowVisible(hwnd) ? L"1" : L"0");
    return kExitOk;
}

int CmdCheck(const Args& args) {
    HWND hwnd = FindTargetOrControl(args);
    if (!hwnd) return kExitNotFound;
    PrintLine(std::to_wstring(SendW(hwnd, BM_GETCHECK, 0, 0)));
    return kExitOk;
}

int CmdRect(const Args& args) {
    HWND hwnd = FindTargetOrControl(args);
    if (!hwnd) return kExitNotFound;
    RECT r = {}, c = {};
    GetWindowRect(hwnd, &r);
    GetClientRect(hwnd, &c);
    PrintLine(L"{\"left\":" + std::to_wstring(r.left) + L",\"top\":" + std::to_wstring(r.top) + L",\"right\":" +
              std::to_wstring(r.right) + L",\"bottom\":" + std::to_wstring(r.bottom) + L",\"width\":" +
              std::to_wstring(r.right - r.left) + L",\"height\":" + std::to_wstring(r.bottom - r.top) +
              L",\"client_width\":" + std::to_wstring(c.right) + L",\"client_height\":" + std::to_wstring(c.bottom) +
              L"}");
    return kExitOk;
}

int CmdStyle(const Args& args) {
    HWND hwnd = FindTargetOrControl(args);
    if (!hwnd) return kExitNotFound;
    wchar_t buf[64];
    swprintf(buf, 64, L"{\"style\":\"0x%08lx\",\"exstyle\":\"0x%08lx\"}",
             static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_STYLE)),
             static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    PrintLine(buf);
    return kExitOk;
}

// List and combo box items. Sent as W messages: the A forms come back across
// processes as UTF-16 bytes cut to the ANSI length.
int CmdItems(const Args& args) {
    HWND hwnd = FindTargetOrControl(args);
    if (!hwnd) return kExitNotFound;
    std::wstring cls = ClassOf(hwnd);
    bool combo = _wcsicmp(cls.c_str(), L"ComboBox") == 0;
    if (!combo && _wcsicmp(cls.c_str(), L"ListBox") != 0) {
        PrintError(L"not a list or combo box: " + cls);
        return kExitFailed;
    }
    UINT getCount = combo ? CB_GETCOUNT : LB_GETCOUNT;
    UINT getLen = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    UINT getText = combo ? CB_GETLBTEXT : LB_GETTEXT;
    UINT getSel = combo ? CB_GETCURSEL : LB_GETCURSEL;
    LRESULT count = SendW(hwnd, getCount, 0, 0);
    std::wstring out = L"{\"items\":[";
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT len = SendW(hwnd, getLen, static_cast<WPARAM>(i), 0);
        std::wstring item(len > 0 ? static_cast<size_t>(len) + 1 : 1, L'\0');
        SendW(hwnd, getText, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item[0]));
        item.resize(wcslen(item.c_str()));
        if (i) out += L",";
        out += JsonString(item);
    }
    LRESULT sel = SendW(hwnd, getSel, 0, 0);
    PrintLine(out + L"],\"selected\":" + std::to_wstring(static_cast<long>(sel)) + L"}");
    return kExitOk;
}

}  // namespace uiauto
