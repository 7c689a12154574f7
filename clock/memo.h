// Quick memos without their windows: the 628-byte saved record, the defaults of a new
// memo, the text's line rules and sizing, keeping a memo on the screen, and the save walk.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "clock/clock_settings.h"

namespace pendrick {

constexpr uint32_t kMemoRecordSize = 628;
constexpr int kMemoTextSize = 516;
constexpr int kMemoTextLimit = 511;
constexpr int kMemoFaceSize = 64;
constexpr int kMemoDefaultWidth = 128;
constexpr int kMemoDefaultHeight = 32;
constexpr const char kMemoValueFormat[] = "DURUVO_MEMO%d";
constexpr int kMemoValueNameSize = 32;

inline uint32_t MakeRgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

struct MemoRecord {
    int32_t left = 0, top = 0, width = kMemoDefaultWidth, height = kMemoDefaultHeight;
    char text[kMemoTextSize] = {};
    uint32_t textColour = MakeRgb(0, 0, 255);
    uint32_t backColour = MakeRgb(255, 255, 0);
    int32_t topMost = 1;
    char face[kMemoFaceSize] = {};
    int32_t weight = 700;
    int32_t size = 16;
    int32_t italic = 0;
};

// A new memo at the clock's top-left corner, blue on yellow, above other windows.
MemoRecord DefaultMemo(int clockLeft, int clockTop);
void EncodeMemo(const MemoRecord& memo, uint8_t out[kMemoRecordSize]);
// False unless exactly 628 bytes; text and face are always zero-terminated in their buffers.
bool DecodeMemo(const uint8_t* bytes, uint32_t size, MemoRecord* memo);
void MemoValueName(int number, char name[kMemoValueNameSize]);

// Splits the text into lines the way a memo draws it: bytes 9 and 10 dropped, byte 13
// ends a line, at most 511 bytes kept per line. Calls line(n, bytes, length) for every
// non-empty line with its line number n; returns the number of line ends.
int SplitMemoText(const char* text, const std::function<void(int, const char*, int)>& line);

struct MemoExtent {
    int width, height;
};
// The window size for a text, given how to measure a line (width, height in pixels).
MemoExtent SizeMemoToText(const char* text, const std::function<MemoExtent(const char*, int)>& measure);

struct MemoRect {
    int left, top, width, height;
};
// Moves a memo back onto the screen, size unchanged.
MemoRect MoveOntoScreen(MemoRect rect, int screenWidth, int screenHeight);
// A restored memo's size is brought into 1..screen and its position into the range the
// screen arithmetic can take, before it is moved back onto the screen.
MemoRect PlaceRestoredMemo(const MemoRecord& memo, int screenWidth, int screenHeight);

// The shutdown save over the clock's own memo windows, each visited once: each memo with
// data is written as value 0, 1, 2, ... in order and then closed. Returns the count saved.
class MemoSaveTarget {
public:
    virtual ~MemoSaveTarget() = default;
    // False when the window has no data (it is closed all the same).
    virtual bool RecordOf(uintptr_t window, MemoRecord* record) = 0;
    virtual void Write(int number, const MemoRecord& record) = 0;
    virtual void Close(uintptr_t window) = 0;
};
int SaveAllMemos(const std::vector<uintptr_t>& ownMemos, MemoSaveTarget& target);

// ---- The memo values in the clock's key ------------------------------------------------------

struct SavedMemo {
    int number;  // the value it was read from
    MemoRecord record;
};
// Reads "DURUVO_MEMO0" .. count - 1 (count bounded to 0..1000); a missing value or one of
// another size is skipped.
std::vector<SavedMemo> ReadSavedMemos(SettingsStore& store, int32_t count);
void WriteSavedMemo(SettingsStore& store, int number, const MemoRecord& record);
// Deletes the value a memo was restored from; a memo never saved (-1) owns none.
void DeleteSavedMemo(SettingsStore& store, int savedNumber);

}  // namespace pendrick
