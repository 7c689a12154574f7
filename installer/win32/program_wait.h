// The installer's wait for a program started with EXE ... STOP: its windows stay painted
// but disabled until the program ends, and the launcher comes back to the front.
#pragma once

#include "platform/win32/windows_clean.h"

#include "platform/platform.h"

namespace installer {

// The installer's windows a wait disables, in this order; null ones are skipped.
struct WaitWindows {
    HWND launcher = nullptr;
    HWND frame = nullptr;
    HWND installDialog = nullptr;
    HWND uninstallDialog = nullptr;
};

// Returns when the process has ended or a quit request arrived; a quit request is posted
// again afterwards, so the installer still ends as it was asked to.
void WaitForProgram(plat::Platform& sys, plat::ProcessHandle process, const WaitWindows& windows);

}  // namespace installer
