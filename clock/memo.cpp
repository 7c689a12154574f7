// Quick memo records and text rules.
#include "clock/memo.h"

#include <cstdio>
#include <cstring>

namespace pendrick {

namespace {

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int Clamp(int64_t v, int64_t lo, int64_t hi) { return int(v < lo ? lo : v > hi ? hi : v); }

}  // namespace

MemoRecord DefaultMemo(int clockLeft, int clockTop) {
    MemoRecord m;
    m.left = clockLeft;
    m.top = clockTop;
    std::strcpy(m.face, "ＭＳ ゴシック");
    return m;
}

void EncodeMemo(const MemoRecord& m, uint8_t out[kMemoRecordSize]) {
    std::memset(out, 0, kMemoRecordSize);
    Put32(out + 0, uint32_t(m.left));
    Put32(out + 4, uint32_t(m.top));
    Put32(out + 8, uint32_t(m.width));
    Put32(out + 12, uint32_t(m.height));
    std::memcpy(out + 16, m.text, kMemoTextSize);
    Put32(out + 532, m.textColour);
    Put32(out + 536, m.backColour);
    Put32(out + 540, uint32_t(m.topMost));
    std::memcpy(out + 552, m.face, kMemoFaceSize);
    Put32(out + 616, uint32_t(m.weight));
    Put32(out + 620, uint32_t(m.size));
    Put32(out + 624, uint32_t(m.italic));
}

bool DecodeMemo(const uint8_t* in, uint32_t size, MemoRecord* m) {
    if (size != kMemoRecordSize) return false;
    m->left = int32_t(Get32(in + 0));
    m->top = int32_t(Get32(in + 4));
    m->width = int32_t(Get32(in + 8));
    m->height = int32_t(Get32(in + 12));
    std::memcpy(m->text, in + 16, kMemoTextSize);
    m->text[kMemoTextSize - 1] = 0;
    m->textColour = Get32(in + 532);
    m->backColour = Get32(in + 536);
    m->topMost = int32_t(Get32(in + 540));
    std::memcpy(m->face, in + 552, kMemoFaceSize);
    m->face[kMemoFaceSize - 1] = 0;
    m->weight = int32_t(Get32(in + 616));
    m->size = int32_t(Get32(in + 620));
    m->italic = int32_t(Get32(in + 624));
    return true;
}

void MemoValueName(int number, char name[kMemoValueNameSize]) {
    std::snprintf(name, kMemoValueNameSize, kMemoValueFormat, number);
}

int SplitMemoText(const char* text, const std::function<void(int, const char*, int)>& line) {
    char current[kMemoTextLimit + 1];
    int length = 0;
    int ends = 0;
    for (const char* p = text; *p; ++p) {
        unsigned char b = static_cast<unsigned char>(*p);
        if (b == 9 || b == 10) continue;
        if (b == 13) {
            if (length > 0) line(ends, current, length);
            length = 0;
            ++ends;
            continue;
        }
        if (length < kMemoTextLimit) current[length++] = char(b);
    }
    if (length > 0) line(ends, current, length);
    return ends;
}

MemoExtent SizeMemoToText(const char* text, const std::function<MemoExtent(const char*, int)>& measure) {
    int width = 0;
    int lineHeight = 0;
    int lastLine = -1;
    int ends = SplitMemoText(text, [&](int n, const char* bytes, int length) {
        MemoExtent e = measure(bytes, length);
        if (e.width > width) width = e.width;
        lineHeight = e.height;
        lastLine = n;
    });
    // A non-empty line after the last line end counts as one more line.
    int lines = ends + (lastLine == ends ? 1 : 0);
    MemoExtent size{width, lines * lineHeight};
    if (size.width == 0) size.width = kMemoDefaultWidth;
    if (size.height == 0) size.height = kMemoDefaultHeight;
    return size;
}

MemoRect MoveOntoScreen(MemoRect r, int screenWidth, int screenHeight) {
    int64_t right = int64_t(r.left) + r.width;
    int64_t bottom = int64_t(r.top) + r.height;
    int64_t left = r.left, top = r.top;
    if (right > screenWidth) left -= right - screenWidth;
    if (bottom > screenHeight) top -= bottom - screenHeight;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    r.left = int(left);
    r.top = int(top);
    return r;
}

MemoRect PlaceRestoredMemo(const MemoRecord& m, int screenWidth, int screenHeight) {
    MemoRect r;
    r.width = Clamp(m.width, 1, screenWidth > 1 ? screenWidth : 1);
    r.height = Clamp(m.height, 1, screenHeight > 1 ? screenHeight : 1);
    r.left = Clamp(m.left, -int64_t(screenWidth), 2 * int64_t(screenWidth));
    r.top = Clamp(m.top, -int64_t(screenHeight), 2 * int64_t(screenHeight));
    return MoveOntoScreen(r, screenWidth, screenHeight);
}

int SaveAllMemos(const std::vector<uintptr_t>& ownMemos, MemoSaveTarget& target) {
    int saved = 0;
    for (uintptr_t window : ownMemos) {
        MemoRecord record;
        if (target.RecordOf(window, &record)) target.Write(saved++, record);
        target.Close(window);
    }
    return saved;
}

std::vector<SavedMemo> ReadSavedMemos(SettingsStore& store, int32_t count) {
    std::vector<SavedMemo> memos;
    count = BoundMemoCount(count);
    for (int n = 0; n < count; ++n) {
        char name[kMemoValueNameSize];
        MemoValueName(n, name);
        uint8_t bytes[kMemoRecordSize];
        uint32_t stored = 0;
        SavedMemo memo{n, MemoRecord{}};
        if (store.StoreRead(name, bytes, sizeof bytes, &stored) && DecodeMemo(bytes, stored, &memo.record))
            memos.push_back(memo);
    }
    return memos;
}

void WriteSavedMemo(SettingsStore& store, int number, const MemoRecord& record) {
    uint8_t bytes[kMemoRecordSize];
    EncodeMemo(record, bytes);
    char name[kMemoValueNameSize];
    MemoValueName(number, name);
    store.StoreWrite(name, bytes, sizeof bytes);
}

void DeleteSavedMemo(SettingsStore& store, int savedNumber) {
    if (savedNumber < 0) return;
    char name[kMemoValueNameSize];
    MemoValueName(savedNumber, name);
    store.StoreDelete(name);
}

}  // namespace pendrick
