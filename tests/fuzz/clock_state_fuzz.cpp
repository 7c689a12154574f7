// Any bytes as the clock's stored state: the settings record and any number of memo
// records of any size and type, in the clock's registry key. The clock restores them as
// at start-up, draws a few ticks around the alarm time and the memos' text, then saves as
// at shutdown; what was saved must read back the same, and a restored memo that was
// saved must stay where it was put.
//
// Input: byte 0 is the settings value's length (255: no value), then its bytes; then
// memo values, each a selector byte (bit 7: 628 bytes, else its low 7 bits are the
// length; bit 6: stored as text, not binary; bit 5: skip a value number) and its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_checks.h"
#include "clock/clock_lifecycle.h"
#include "clock/clock_settings.h"
#include "clock/clock_state.h"
#include "clock/memo.h"
#include "platform/sim/sim_windows.h"

namespace pendrick {
namespace {

using fuzzcheck::Require;

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kMaxValues = 24;

class Input {
public:
    Input(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    bool Empty() const { return p_ == end_; }
    uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
    std::string Bytes(size_t n) {
        size_t take = static_cast<size_t>(end_ - p_) < n ? static_cast<size_t>(end_ - p_) : n;
        std::string out(reinterpret_cast<const char*>(p_), take);
        p_ += take;
        return out;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

// A host whose clock shows the time the test sets, drawing lines that must stay inside
// the 128 x 128 frame.
class TickHost : public ClockHost {
public:
    LocalTime time;
    uint32_t ms = 5000;
    LocalTime ReadLocalTime() override { return time; }
    uint32_t Milliseconds() override { return ms; }
    void PlaySoundFile(const char* path) override { Require(path && path[0]); }
    void DrawHandLine(int, int x0, int y0, int x1, int y1) override {
        for (int v : {x0, y0, x1, y1}) Require(v >= -kFrameSize && v < 2 * kFrameSize);
    }
};

// The memo windows' data as the clock keeps it while they are open.
struct OpenMemo {
    int savedNumber;
    MemoRecord data;  // text and face cut at their last byte, position as placed
};

OpenMemo Restore(const SavedMemo& saved) {
    OpenMemo memo{saved.number, saved.record};
    MemoRect place = PlaceRestoredMemo(saved.record, kScreenWidth, kScreenHeight);
    memo.data.left = place.left;
    memo.data.top = place.top;
    memo.data.width = place.width;
    memo.data.height = place.height;
    memo.data.text[kMemoTextSize - 1] = 0;
    memo.data.face[kMemoFaceSize - 1] = 0;
    Require(place.width >= 1 && place.width <= kScreenWidth && place.height >= 1 && place.height <= kScreenHeight);
    Require(place.left >= 0 && place.top >= 0);
    return memo;
}

// Paints a memo's text the way the window does: line by line, sized to the text.
void DrawMemoText(const MemoRecord& memo) {
    std::vector<char> text(memo.text, memo.text + kMemoTextSize);  // exact size: overreads are caught
    const char* begin = text.data();
    int lines = SplitMemoText(begin, [](int, const char* bytes, int length) {
        Require(length > 0 && length <= kMemoTextLimit);
        volatile char last = bytes[length - 1];
        (void)last;
    });
    Require(lines >= 0);
    MemoExtent size = SizeMemoToText(begin, [](const char*, int length) { return MemoExtent{length * 8, 16}; });
    Require(size.width > 0 && size.height > 0);
}

void DrawTicks(const ClockSettings& settings, const std::vector<uint8_t>& sheet) {
    static std::vector<uint8_t> frame(kFrameBytes);
    ClockState clock;
    clock.sheet = sheet.data();
    clock.frame = frame.data();
    clock.settings = settings;
    BuildSoundPaths("C:\\CLOCK\\PENDRICK.EXE", clock.soundPaths);
    TickHost host;
    // From a second before the alarm minute, across it: chime, alarm, hands, digits.
    host.time.hour = settings.alarmMinute == 0 ? (settings.alarmHour + 23) % 24 : settings.alarmHour;
    host.time.minute = (settings.alarmMinute + 59) % 60;
    host.time.second = 59;
    clock.now = host.time;
    for (int tick = 0; tick < 6; ++tick) {
        ComposeFrame(clock, host);
        host.ms += 250;
        if (++host.time.second == 60) {
            host.time.second = 0;
            host.time.minute = (host.time.minute + 1) % 60;
            if (host.time.minute == 0) host.time.hour = (host.time.hour + 1) % 24;
        }
        if (tick == 2) EnterTimerSetting(clock.timer);
    }
    BuildWindowShape(frame.data());
    ScreenPoint p = ClampToScreen(settings.x, settings.y, kScreenWidth, kScreenHeight);
    Require(p.x >= 0 && p.y >= 0 && p.x <= kScreenWidth && p.y <= kScreenHeight);
}

std::vector<uint8_t> MakeSheet() {
    std::vector<uint8_t> sheet(kSheetBytes);
    for (int i = 0; i < kSheetBytes; ++i) sheet[i] = (i % 7 == 0) ? kTransparentIndex : uint8_t(16 + i % 200);
    return sheet;
}

}  // namespace
}  // namespace pendrick

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendrick;
    static const std::vector<uint8_t> sheet = MakeSheet();
    Input in(data, size);
    plat::SimWindows sys;
    sys.SetScreenSize(kScreenWidth, kScreenHeight);

    // The stored state.
    const uint8_t settingsLength = in.Byte();
    if (settingsLength != 255)
        sys.RegPutValue(plat::RegRoot::LocalMachine, kSettingsKey, kSettingsValue, plat::kRegBinary,
                        in.Bytes(settingsLength));
    for (int number = 0, values = 0; !in.Empty() && values < kMaxValues; ++number, ++values) {
        const uint8_t selector = in.Byte();
        if (selector & 0x20) ++number;
        const size_t length = (selector & 0x80) ? kMemoRecordSize : (selector & 0x7F);
        char name[kMemoValueNameSize];
        MemoValueName(number, name);
        sys.RegPutValue(plat::RegRoot::LocalMachine, kSettingsKey, name,
                        (selector & 0x40) ? plat::kRegSz : plat::kRegBinary, in.Bytes(length));
    }

    // Start-up: the settings, then the memos they count.
    SettingsStore store(sys);
    Require(store.Open());
    ClockSettings settings;
    uint8_t record[kClockSettingsSize];
    uint32_t stored = 0;
    if (store.StoreRead(kSettingsValue, record, sizeof record, &stored)) {
        Require(stored <= kClockSettingsSize);
        DecodeSettings(record, stored, &settings);
    }
    ClampSettings(&settings);
    Require(settings.mode >= kModeAnalog && settings.mode <= kModeDigital24);
    Require(settings.alarmHour < 24 && settings.alarmMinute < 60);
    std::vector<OpenMemo> memos;
    for (const SavedMemo& saved : ReadSavedMemos(store, settings.memoCount)) memos.push_back(Restore(saved));
    Require(memos.size() <= static_cast<size_t>(settings.memoCount));

    // A few ticks and the memos' text.
    DrawTicks(settings, sheet);
    for (const OpenMemo& memo : memos) DrawMemoText(memo.data);

    // Shutdown: the memos in order, then the settings with their count.
    ClockLifecycle lifecycle;
    std::vector<MemoRecord> written;
    ShutdownSteps steps;
    steps.saveAndCloseMemos = [&] {
        int saved = 0;
        for (const OpenMemo& memo : memos) {
            WriteSavedMemo(store, saved++, memo.data);
            written.push_back(memo.data);
        }
        return saved;
    };
    lifecycle.ShutdownSave(settings, store, steps);
    uint8_t savedRecord[kClockSettingsSize];
    EncodeSettings(settings, savedRecord);

    // Read back as the next start-up does: the same record, the same memos in the same
    // places.
    ClockSettings again;
    stored = 0;
    Require(store.StoreRead(kSettingsValue, record, sizeof record, &stored) && stored == kClockSettingsSize);
    Require(std::memcmp(record, savedRecord, kClockSettingsSize) == 0);
    DecodeSettings(record, stored, &again);
    ClampSettings(&again);
    uint8_t clamped[kClockSettingsSize];
    EncodeSettings(again, clamped);
    Require(std::memcmp(clamped, savedRecord, kClockSettingsSize) == 0);
    std::vector<SavedMemo> back = ReadSavedMemos(store, again.memoCount);
    Require(back.size() == written.size());
    for (size_t i = 0; i < back.size(); ++i) {
        Require(back[i].number == static_cast<int>(i));
        uint8_t a[kMemoRecordSize], b[kMemoRecordSize];
        EncodeMemo(back[i].record, a);
        EncodeMemo(written[i], b);
        Require(std::memcmp(a, b, kMemoRecordSize) == 0);
        OpenMemo reopened = Restore(back[i]);
        Require(reopened.data.left == written[i].left && reopened.data.top == written[i].top &&
                reopened.data.width == written[i].width && reopened.data.height == written[i].height);
    }
    return 0;
}
