// The clock's tick: composes the 128 x 128 frame from the sheet, and the window's shape
// and placement that follow from it.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "clock/clock_state.h"
#include "text/text_rules.h"
#include "clock/palette.h"
#include "clock/pixel_rows.h"

namespace pendrick {

namespace {

constexpr double kPi = 3.14;  // the clock's hands have always turned with this value
constexpr int kCharacterX = 16;
constexpr int kCharacterY = 32;
constexpr int kDigitalY = 96;
constexpr int kDigitalStep = 14;
constexpr uint32_t kChimeDuration[3] = {7000, 18000, 20000};
constexpr uint8_t kChimeSequence[16] = {0, 1, 1, 2, 3, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 0};
constexpr int kWobble[kWobbleAtRest + 1] = {+1, -1, +1, -1, 0};

const char* const kSoundNames[4] = {"alarm.wav", "MUSIC1.WAV", "MUSIC2.WAV", "MUSIC3.WAV"};

// Copies the non-transparent pixels of a sheet block to the frame, clipped to the frame.
void Blit(ClockState& c, int sx, int sy, int w, int h, int dx, int dy) {
    const int left = dx < 0 ? -dx : 0;
    const int right = dx + w > kFrameSize ? kFrameSize - dx : w;
    const int top = dy < 0 ? -dy : 0;
    const int bottom = dy + h > kFrameSize ? kFrameSize - dy : h;
    if (left >= right || top >= bottom) return;
    const PixelBlock block = {c.sheet + (sy + top) * kSheetWidth + sx + left,
                              kSheetWidth,
                              c.frame + (dy + top) * kFrameSize + dx + left,
                              kFrameSize,
                              right - left,
                              bottom - top};
    OverlayBlock(block, IsIdentityMap(c.colourMap) ? nullptr : c.colourMap);
}

HandPoint PointAt(int units, int perTurnHalf, int radius) {
    double angle = units * kPi / perTurnHalf;
    HandPoint p;
    p.x = int(64 + radius * std::cos(angle));
    p.y = int(64 + radius * std::sin(angle));
    return p;
}

void StartChime(ClockState& c, ClockHost& host) {
    c.chime.on = true;
    c.chime.variant = c.now.hour % 3;
    c.chime.step = 0;
    c.chime.framePosition = 0;
    c.chime.endTime = host.Milliseconds() + kChimeDuration[c.chime.variant];
}

void PlayIfPresent(ClockHost& host, const char* path) {
    if (path[0]) host.PlaySoundFile(path);
}

void RunChime(ClockState& c, ClockHost& host) {
    ChimeState& ch = c.chime;
    DrawCharacter(c, ChimeFrame(ch.framePosition), kCharacterX, kCharacterY);
    if (ch.step == 6) PlayIfPresent(host, c.soundPaths[kSoundMusic1 + ch.variant]);
    if (ch.step % 2 == 0) {
        ++ch.framePosition;
        if (ch.step / 2 >= 3) {
            // Compared as a signed difference so that the millisecond clock's wrap after
            // 49.7 days does not cut the chime short.
            if (int32_t(ch.endTime - host.Milliseconds()) > 0)
                ch.framePosition %= 16;
            else if (ch.framePosition >= 15)
                ch.on = false;
        }
    }
    ++ch.step;
}

void DrawAnalog(ClockState& c, ClockHost& host, bool newSecond) {
    HandPoint hour = HourHand(c.now.hour, c.now.minute);
    HandPoint minute = MinuteHand(c.now.minute);
    if (c.settings.handLines) {
        host.DrawHandLine(0, 64, 64, minute.x, minute.y);
        host.DrawHandLine(1, 64, 64, hour.x, hour.y);
    }
    DrawSprite(c, kSpriteHourTip, hour.frame, hour.x - 8, hour.y - 8);
    DrawSprite(c, kSpriteMinuteTip, minute.frame, minute.x - 8, minute.y - 8);

    if (newSecond && c.now.second == 0) c.markerFrameCounter = 0;
    int markerFrame = 0;
    if (c.markerFrameCounter < kMarkerFrames) markerFrame = c.markerFrameCounter++;
    HandPoint marker = WobbledMarker(c.now.second, c.wobbleIndex);
    DrawSprite(c, kSpriteSecondMarker, markerFrame, marker.x - 8, marker.y - 8);
    if (newSecond)
        c.wobbleIndex = 1;
    else if (c.wobbleIndex < kWobbleAtRest)
        ++c.wobbleIndex;
}

void DrawDigital(ClockState& c, int hours) {
    int hour = c.now.hour % hours;
    int glyphs[8] = {hour / 10,         hour % 10,   kGlyphColon,       c.now.minute / 10,
                     c.now.minute % 10, kGlyphColon, c.now.second / 10, c.now.second % 10};
    for (int i = 0; i < 8; ++i) {
        if (i == 0 && glyphs[0] == 0) continue;
        DrawGlyph(c, kGlyphRowClock, glyphs[i], kDigitalStep * i, kDigitalY);
    }
}

}  // namespace

ClockState::ClockState() { IdentityColourMap(colourMap); }

void BuildSoundPaths(const char* modulePath, char paths[4][kPathBufferSize]) {
    char folder[kPathBufferSize] = {};
    size_t n = modulePath ? strnlen(modulePath, kPathBufferSize - 1) : 0;
    std::memcpy(folder, modulePath, n);
    folder[n] = 0;
    // A program renamed to 表.EXE ends in a character whose second byte is 0x5C.
    folder[text::LastBackslash(folder) + 1] = 0;
    for (int i = 0; i < 4; ++i) {
        int written = std::snprintf(paths[i], kPathBufferSize, "%s%s", folder, kSoundNames[i]);
        if (written < 0 || written >= kPathBufferSize) paths[i][0] = 0;
    }
}

int ChimeFrame(uint8_t framePosition) { return kChimeSequence[framePosition & 15]; }

int BackgroundVariant(const ClockSettings& s) { return s.mode != kModeAnalog ? 2 : 0; }

void CopyBackground(ClockState& c, int variant) {
    variant &= 3;
    const PixelBlock face = {c.sheet + FaceX(variant), kSheetWidth, c.frame, kFrameSize, kFaceSize, kFaceSize};
    CopyBlock(face, IsIdentityMap(c.colourMap) ? nullptr : c.colourMap);
}

void DrawGlyph(ClockState& c, int row, int glyph, int x, int y) {
    if (glyph < 0 || glyph >= kSheetWidth / kGlyphSize) return;
    Blit(c, GlyphX(glyph), GlyphY(row), kGlyphSize, kGlyphSize, x, y);
}

void DrawSprite(ClockState& c, int row, int frame, int x, int y) {
    Blit(c, SpriteX(frame & 31), SpriteY(row), kSpriteSize, kSpriteSize, x, y);
}

void DrawCharacter(ClockState& c, int frame, int x, int y) {
    frame &= 7;
    Blit(c, CharacterX(frame), CharacterY(frame), kCharacterWidth, kCharacterHeight, x, y);
}

HandPoint HourHand(int hour, int minute) {
    int h = ((hour * 60 + minute) % 720 - 180) % 720;
    HandPoint p = PointAt(h, 360, 32);
    p.frame = (h * 32 / 720) & 31;
    return p;
}

HandPoint MinuteHand(int minute) {
    int m = (minute - 15) % 60;
    HandPoint p = PointAt(m, 30, 46);
    p.frame = (m * 32 / 60) & 31;
    return p;
}

HandPoint SecondMarker(int second, int wobble) {
    int c = (wobble + second * 10 - 150) % 600;
    return PointAt(c, 300, 56);
}

HandPoint WobbledMarker(int second, int wobbleIndex) {
    return SecondMarker(second, kWobble[wobbleIndex < 0 || wobbleIndex > kWobbleAtRest ? kWobbleAtRest : wobbleIndex]);
}

void ComposeFrame(ClockState& c, ClockHost& host) {
    if (!c.frame || !c.sheet) return;
    if ((c.tick & 3) == 3) c.now = host.ReadLocalTime();
    if (c.now.hour != c.lastHour) StartChime(c, host);
    bool newSecond = c.now.second != c.lastSecond;

    if (FlashNow(c.signal))
        std::memset(c.frame, kFlashIndex, kFrameBytes);
    else
        CopyBackground(c, (c.chime.on ? 1 : 0) + (c.settings.mode != kModeAnalog ? 2 : 0));

    if (c.chime.on) RunChime(c, host);
    RunAlarmSignal(c, host);

    if (c.settings.mode == kModeAnalog)
        DrawAnalog(c, host, newSecond);
    else
        DrawDigital(c, c.settings.mode == kModeDigital12 ? 12 : 24);

    if (c.timer.setting || c.timer.running) RunTimerOverlay(c);

    c.lastHour = c.now.hour;
    c.lastSecond = c.now.second;
    c.lastMinute = c.now.minute;
    ++c.tick;
}

std::vector<ShapeRect> BuildWindowShape(const uint8_t* frame) {
    std::vector<ShapeRect> rects;
    for (int y = 0; y < kFrameSize; ++y) {
        const uint8_t* row = frame + y * kFrameSize;
        int x = 0;
        while (x < kFrameSize) {
            while (x < kFrameSize && row[x] == kTransparentIndex) ++x;
            if (x == kFrameSize) break;
            int start = x;
            while (x < kFrameSize && row[x] != kTransparentIndex) ++x;
            rects.push_back(ShapeRect{start, y, x, y + 1});
        }
    }
    return rects;
}

ScreenPoint ClampToScreen(int left, int top, int screenWidth, int screenHeight) {
    // The position comes from the stored record: any 32-bit value, so the sums are wide.
    const int64_t l = left, t = top;
    ScreenPoint p{left, top};
    if (l + kFrameSize > screenWidth) p.x = screenWidth - kFrameSize;
    if (t + kFrameSize > screenHeight) p.y = screenHeight - kFrameSize;
    if (l - kFrameSize < 0) p.x = 0;
    if (t - kFrameSize < 0) p.y = 0;
    return p;
}

}  // namespace pendrick
