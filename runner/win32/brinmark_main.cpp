// BRINMARK.EXE: a program without a window that runs the command runner on the real system.
#include <windows.h>

#include "platform/win32/command_line.h"
#include "platform/win32/win32_platform.h"
#include "runner/command_runner.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    static plat::Win32Platform sys;
    static script::Engine engine;
    // Only the arguments are scanned: a program path such as C:\my-setup\ holds no option.
    return runner::RunCommandRunner(engine, sys, plat::CommandArguments().c_str());
}
