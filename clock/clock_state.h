// Everything the clock decides each tick: its run-time state, the host interface through
// which it reaches the time, the sounds and the line drawing, and the frame composer.
#pragma once

#include <cstdint>
#include <vector>

#include "clock/clock_settings.h"
#include "clock/sheet.h"

namespace pendrick {

constexpr int kFrameSize = 128;
constexpr int kFrameBytes = kFrameSize * kFrameSize;
constexpr uint8_t kFrameFillIndex = 32;
constexpr uint8_t kFlashIndex = 255;
constexpr int kPathBufferSize = 260;

struct LocalTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

enum Sound : int { kSoundAlarm = 0, kSoundMusic1 = 1, kSoundMusic2 = 2, kSoundMusic3 = 3 };

// What the composer needs from around it.
class ClockHost {
public:
    virtual ~ClockHost() = default;
    virtual LocalTime ReadLocalTime() = 0;
    virtual uint32_t Milliseconds() = 0;
    // Starts a sound file asynchronously, cutting the one playing. Never called with an
    // empty path.
    virtual void PlaySoundFile(const char* path) = 0;
    // One-pixel white line into the frame buffer; pen 0 draws the minute line, pen 1 the
    // hour line.
    virtual void DrawHandLine(int pen, int x0, int y0, int x1, int y1) = 0;
};

struct ChimeState {
    bool on = false;
    int variant = 0;
    int step = 0;
    uint8_t framePosition = 0;
    uint32_t endTime = 0;
};

// The signal shared by the alarm and the kitchen timer's end.
struct SignalState {
    int flashCount = 0;
    uint32_t alarmTick = 0;
};

constexpr uint8_t kBounceHidden = 255;

struct KitchenTimer {
    bool setting = false;
    bool running = false;
    int8_t digits[4] = {0, 0, 0, 0};            // tens of minutes, minutes, tens of seconds, seconds
    uint8_t bounce[7] = {0, 0, 0, 0, 0, 0, 0};  // digits 0-3, reset, start, colon
    int remaining = 0;
};

// The second marker's wobble index at rest, and the frames of its minute animation.
constexpr int kWobbleAtRest = 4;
constexpr int kMarkerFrames = 8;

struct ClockState {
    const uint8_t* sheet = nullptr;  // 512 x 624, top-down
    uint8_t* frame = nullptr;        // 128 x 128, top-down
    uint8_t colourMap[256];
    ClockSettings settings;
    LocalTime now;
    uint32_t tick = 0;
    int lastHour = -1, lastMinute = -1, lastSecond = -1;
    ChimeState chime;
    int wobbleIndex = 0;         // kWobbleAtRest once the marker has settled after a new second
    int markerFrameCounter = 0;  // the minute animation plays while below kMarkerFrames
    SignalState signal;
    KitchenTimer timer;
    int mouseX = 0, mouseY = 0;  // client position, rounded down to multiples of 8
    char soundPaths[4][kPathBufferSize] = {};

    ClockState();
};

// The program folder (the module path cut after its last backslash) joined with each sound
// file's name. A name that would not fit leaves its path empty, so that sound stays silent.
void BuildSoundPaths(const char* modulePath, char paths[4][kPathBufferSize]);

// ---- Frame composition ----------------------------------------------------------------

// One tick: time, chime, background or flash, character, alarm signal, hands or digits,
// kitchen timer overlay; then remembers the time and counts the tick.
void ComposeFrame(ClockState& clock, ClockHost& host);

// Copies a whole face variant (transparent pixels included) through the colour map.
void CopyBackground(ClockState& clock, int variant);
// The face the menus redraw: variant 0 (analog) or 2 (digital).
int BackgroundVariant(const ClockSettings& settings);
// Copy non-transparent pixels of a 32 x 32 glyph, a 16 x 16 sprite or a 96 x 64 character
// frame to (x, y) of the frame; whatever lies outside the frame is left out.
void DrawGlyph(ClockState& clock, int row, int glyph, int x, int y);
void DrawSprite(ClockState& clock, int row, int frame, int x, int y);
void DrawCharacter(ClockState& clock, int frame, int x, int y);

struct HandPoint {
    int x = 0, y = 0, frame = 0;
};
HandPoint HourHand(int hour, int minute);
HandPoint MinuteHand(int minute);
// The marker's place for a second and the wobble offset in tenths of a second.
HandPoint SecondMarker(int second, int wobble);
// The marker's place for a second at a step of its wobble (kWobbleAtRest: settled).
HandPoint WobbledMarker(int second, int wobbleIndex);
// The chime's frame sequence.
int ChimeFrame(uint8_t framePosition);

// ---- Window shape and placement ------------------------------------------------------

struct ShapeRect {
    int left, top, right, bottom;
    bool operator==(const ShapeRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
// One 1-pixel-high rectangle per run of non-transparent pixels, row by row.
std::vector<ShapeRect> BuildWindowShape(const uint8_t* frame);

struct ScreenPoint {
    int x, y;
};
// Where the 128 x 128 clock whose rectangle starts at (left, top) goes so that it is on the
// screen; within 128 pixels of the left or top edge it snaps to that edge.
ScreenPoint ClampToScreen(int left, int top, int screenWidth, int screenHeight);

// ---- Alarm and kitchen timer ------------------------------------------------------------

// Flash this tick? Read before the tick's signal counting.
bool FlashNow(const SignalState& signal);
// The alarm trigger on a minute change and the signal counting with its sounds.
void RunAlarmSignal(ClockState& clock, ClockHost& host);
void EnterTimerSetting(KitchenTimer& timer);
void CancelTimer(KitchenTimer& timer);
// A left (+1) or right (-1) click on the cell under the last mouse position; 1 when a cell
// took it.
int TimerClick(ClockState& clock, int delta);
// The right button while the timer is set or running: true when it belonged to the timer
// (the click was used or cancelled the timer); false when the clock menu should open.
bool TimerRightButton(ClockState& clock);
// The countdown by the second and the overlay with its bouncing items.
void RunTimerOverlay(ClockState& clock);
extern const int8_t kBounceOffsets[8];

}  // namespace pendrick
