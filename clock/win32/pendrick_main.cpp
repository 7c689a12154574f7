// The clock program's start-up, message loop and end.
#include "platform/win32/windows_clean.h"
#include <commctrl.h>

#include <cstring>

#include "clock/win32/clock_app.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window_text.h"

namespace pendrick {

namespace {

// A second start brings the running clock back instead.
bool BringBackRunningClock() {
    HWND other = FindWindowW(plat::WideArg(kClockClass).get(), nullptr);
    if (!other) return false;
    if (IsIconic(other)) ShowWindow(other, SW_RESTORE);
    // Hidden by minimising: the second start is how it comes back.
    if (!IsWindowVisible(other)) ShowWindow(other, SW_SHOWNA);
    BringWindowToTop(other);
    SetForegroundWindow(other);
    return true;
}

int ReadDisplayDepth() {
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!dc) return 24;
    int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    DeleteDC(dc);
    return bits;
}

// The program's own path in Shift-JIS, for the sounds beside it. A folder name Shift-JIS
// cannot hold is taken in its short form; failing that the clock stays silent rather than
// play files of the same names from wherever the current folder is.
bool ReadModulePath(char* out, size_t size) {
    wchar_t wide[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameW(nullptr, wide, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH) return false;
    if (plat::ToShiftJis(wide, out, size) == plat::TextFit::kFits) return true;
    wchar_t shortForm[MAX_PATH + 1] = {};
    n = GetShortPathNameW(wide, shortForm, MAX_PATH + 1);
    return n > 0 && n <= MAX_PATH && plat::ToShiftJis(shortForm, out, size) == plat::TextFit::kFits;
}

void ErrorBox(const char* text) { winui::ShowMessageBox(nullptr, text, "エラー", MB_OK); }

}  // namespace

int RunClock(ClockApp& app, HINSTANCE instance) {
    if (BringBackRunningClock()) return 0;
    app.instance = instance;
    app.store.Open();

    app.clock.now = app.host.ReadLocalTime();
    app.bitsPerPixel = ReadDisplayDepth();

    char module[MAX_PATH + 1] = {};
    if (ReadModulePath(module, sizeof module)) BuildSoundPaths(module, app.clock.soundPaths);

    if (!CreateColourObjects(app)) return 0;
    if (!LoadSheetResource(app)) return 0;

    app.clock.settings = ClockSettings{};
    uint8_t record[kClockSettingsSize];
    uint32_t stored = 0;
    if (app.store.StoreRead(kSettingsValue, record, sizeof record, &stored))
        DecodeSettings(record, stored, &app.clock.settings);
    ClampSettings(&app.clock.settings);

    if (!RegisterClockClasses(instance)) {
        ErrorBox("Failed Create MainFrame!");
        return 0;
    }
    app.window = app.clockWindow.Create(instance);
    if (!app.window) {
        ErrorBox("Failed Create MainFrame!");
        return 0;
    }
    AddTrayIcon(app);
    if (!InitDrawing(app)) return 0;
    RestoreMemos(app);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    SetTimer(app.window, kTickTimer, kTickInterval, nullptr);

    MSG msg;
    int exitCode = 0;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            exitCode = got == 0 ? int(msg.wParam) : 0;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (app.window && IsWindow(app.window)) KillTimer(app.window, kTickTimer);
    RemoveTrayIcon(app);
    ShutdownSave(app);
    app.store.Close();
    return exitCode;
}

}  // namespace pendrick

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Owned by the process, never freed: a memo window may still reach it through its
    // window while the process winds down.
    pendrick::ClockApp* app = new pendrick::ClockApp;
    return pendrick::RunClock(*app, instance);
}
