// Commands about whole windows: listing, waiting, closing, the foreground window.
#include "tools/uiauto/uiauto.h"

namespace uiauto {

static std::wstring Describe(HWND hwnd) {
    wchar_t title[512] = {};
    GetWindowTextW(hwnd, title, 512);
    RECT r = {};
    GetWindowRect(hwnd, &r);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return L"{\"hwnd\":" + HandleText(hwnd) + L",\"class\":" + JsonString(ClassOf(hwnd)) + L",\"title\":" +
           JsonString(title) + L",\"pid\":" + std::to_wstring(pid) + L",\"visible\":" +
           std::to_wstring(IsWindowVisible(hwnd) ? 1 : 0) + L",\"enabled\":" +
           std::to_wstring(IsWindowEnabled(hwnd) ? 1 : 0) + L",\"id\":" + std::to_wstring(GetDlgCtrlID(hwnd)) +
           L",\"rect\":[" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) +
           L"," + std::to_wstring(r.bottom) + L"]}";
}

static BOOL CALLBACK ListOne(HWND hwnd, LPARAM filter) {
    const Args& args = *reinterpret_cast<const Args*>(filter);
    if (!args.visibleOnly || IsWindowVisible(hwnd)) PrintLine(Describe(hwnd));
    return TRUE;
}

// One JSON object per line for each top-level window.
int CmdListWindows(const Args& args) {
    EnumWindows(ListOne, reinterpret_cast<LPARAM>(&args));
    return kExitOk;
}

// One JSON object per line for each control below the target, with its current text.
int CmdChildren(const Args& args) {
    HWND top = FindTarget(args);
    if (!top) return kExitNotFound;
    for (HWND child : Children(top)) {
        std::wstring line = Describe(child);
        line.insert(line.size() - 1, L",\"text\":" + JsonString(TextOf(child)));
        PrintLine(line);
    }
    return kExitOk;
}

int CmdWaitWindow(const Args& args) {
    HWND hwnd = FindTarget(args);
    if (!hwnd) return kExitNotFound;
    PrintLine(Describe(hwnd));
    return kExitOk;
}

int CmdWaitGone(const Args& args) {
    DWORD start = GetTickCount();
    while (FindTopLevel(args)) {
        if (GetTickCount() - start >= static_cast<DWORD>(args.timeoutMs)) {
            PrintError(L"window still there");
            return kExitNotFound;
        }
        Sleep(50);
    }
    return kExitOk;
}

int CmdClose(const Args& args) {
    HWND hwnd = FindTarget(args);
    if (!hwnd) return kExitNotFound;
    return PostMessageW(hwnd, WM_CLOSE, 0, 0) ? kExitOk : kExitFailed;
}

// Without a target: describes the foreground window. With one: 1 when it is the
// foreground window, else 0.
int CmdForeground(const Args& args) {
    HWND fg = GetForegroundWindow();
    if (args.title.empty() && args.contains.empty() && args.className.empty() && !args.msgbox && !args.hwnd) {
        if (!fg) return kExitNotFound;
        PrintLine(Describe(fg));
        return kExitOk;
    }
    HWND hwnd = FindTarget(args);
    if (!hwnd) return kExitNotFound;
    PrintLine(hwnd == fg ? L"1" : L"0");
    return kExitOk;
}

}  // namespace uiauto
