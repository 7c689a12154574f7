// The wait behind EXE ... STOP. It waits on the process handle itself, together with the
// thread's messages, so a program whose exit code happens to be 259 (the "still active"
// code) still ends the wait, and the installer repaints all the while.
#include "installer/win32/program_wait.h"

#include <initializer_list>

namespace installer {

namespace {

void EnableAll(const WaitWindows& w, BOOL enable) {
    for (HWND window : {w.launcher, w.frame, w.installDialog, w.uninstallDialog}) {
        if (window && IsWindow(window)) EnableWindow(window, enable);
    }
}

// Dispatches what is waiting; false when a quit request came (its code in *quitCode).
bool PumpWaitingMessages(const WaitWindows& w, int* quitCode) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            *quitCode = static_cast<int>(msg.wParam);
            return false;
        }
        if (w.launcher && IsDialogMessageW(w.launcher, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace

void WaitForProgram(plat::Platform& sys, plat::ProcessHandle process, const WaitWindows& windows) {
    sys.WaitForInputIdle(process);
    EnableAll(windows, FALSE);

    // The Win32 layer's process handle is the kernel handle; the one-second limit keeps
    // the end test running even if the handle never signals.
    HANDLE handle = reinterpret_cast<HANDLE>(process);
    bool quit = false;
    int quitCode = 0;
    while (!sys.ProcessHasEnded(process)) {
        DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, 1000, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) break;
        if (!PumpWaitingMessages(windows, &quitCode)) {
            quit = true;
            break;
        }
    }

    EnableAll(windows, TRUE);
    if (windows.launcher && IsWindow(windows.launcher)) {
        BringWindowToTop(windows.launcher);
        SetForegroundWindow(windows.launcher);
    }
    if (quit) PostQuitMessage(quitCode);
}

}  // namespace installer
