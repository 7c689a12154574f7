// The clock program's one object: the portable clock state and the Win32 objects that show
// it. The clock window and the memo windows carry a reference to it, so their handlers
// reach it through the window they handle.
#pragma once

#include "platform/win32/windows_clean.h"

#include <vector>

#include "clock/clock_lifecycle.h"
#include "clock/clock_settings.h"
#include "clock/clock_state.h"
#include "clock/memo.h"
#include "clock/palette.h"
#include "clock/shown_frame.h"
#include "clock/tick_sleep.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/window_object.h"

namespace pendrick {

constexpr char kClockClass[] = "PENDRICK";
constexpr char kMemoClass[] = "QUICKMEMO";
constexpr char kClockTitle[] = "Marwenik";
constexpr UINT kTrayMessage = WM_USER;
constexpr UINT kCommandQuit = 40001;
constexpr UINT kCommandCallWindow = 40002;
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickInterval = 20;

struct ClockApp;

class ClockHostWin32 : public ClockHost {
public:
    explicit ClockHostWin32(ClockApp& app) : app_(app) {}
    LocalTime ReadLocalTime() override;
    uint32_t Milliseconds() override;
    void PlaySoundFile(const char* path) override;
    void DrawHandLine(int pen, int x0, int y0, int x1, int y1) override;

private:
    ClockApp& app_;
};

// The clock window: its messages go to the handlers in clock_window.cpp.
class ClockWindow : public winui::Window {
public:
    explicit ClockWindow(ClockApp& app) : app_(app) {}
    HWND Create(HINSTANCE instance);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    ClockApp& app_;
};

struct ClockApp {
    HINSTANCE instance = nullptr;
    ClockWindow clockWindow{*this};
    HWND window = nullptr;  // the clock window's handle once it is made
    bool trayIconAdded = false;
    plat::Win32Platform registry;  // the settings key, the screen and the clock
    SettingsStore store{registry};
    ClockState clock;
    ClockHostWin32 host{*this};
    ColourObjects colours;
    HPALETTE palette = nullptr;
    std::vector<uint8_t> sheet;
    int bitsPerPixel = 24;
    // What the clock window shows: a tick whose frame came out the same is not drawn again.
    ShownFrame shownFrame;
    // A clock at rest lets its ticks pass between seconds instead of waking 50 times a second.
    TickSleep tickSleep;

    // Drawing set.
    HDC memoryDC = nullptr;
    HDC windowDC = nullptr;  // the clock window's own DC
    HBITMAP frameBitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    HPALETTE oldPalette = nullptr;
    uint8_t* frameBits = nullptr;
    HPEN pens[2] = {};

    // Dragging: anchor x of -1 means no drag.
    POINT anchor = {-1, 0};
    RECT anchorRect = {};

    // The clock's own memo windows, in the order they were opened.
    std::vector<HWND> memos;
    int nextMemoId = 0;
    ClockLifecycle lifecycle;
};

// clock_window.cpp
bool RegisterClockClasses(HINSTANCE instance);
bool InitDrawing(ClockApp& app);
void RedrawBackgroundAndShape(ClockApp& app);
void RebuildWindowShape(ClockApp& app);
void MoveClockOntoScreen(ClockApp& app);
// Draws the window's part (all of it when part is null) from the frame buffer before returning.
void RepaintNow(HWND window, const RECT* part = nullptr);
void AddTrayIcon(ClockApp& app);
void RemoveTrayIcon(ClockApp& app);
void ShutdownSave(ClockApp& app);
// palette handling (clock_palette.cpp)
bool CreateColourObjects(ClockApp& app);
bool LoadSheetResource(ClockApp& app);
void SetPaletteRange(ClockApp& app, int first, int last, const Rgb* values);
LRESULT OnQueryNewPalette(ClockApp& app);
void OnPaletteChanged(ClockApp& app, HWND changer);

// memo_window.cpp
HWND OpenMemo(ClockApp& app, const MemoRecord* record, int savedNumber);
void RestoreMemos(ClockApp& app);
int SaveAndCloseMemos(ClockApp& app);
void CallWindowsBack(ClockApp& app);

// alarm_dialog.cpp
void RunAlarmDialog(ClockApp& app);

}  // namespace pendrick
