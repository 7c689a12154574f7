// Shared pieces of the clock's unit tests: a patterned sheet and a host that records.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "clock/clock_state.h"
#include "platform/null_platform.h"

namespace clocktest {

// Every sheet pixel tells where it came from; a sprinkle of pixels is transparent.
inline uint8_t SheetPixel(int x, int y) {
    if ((x + 2 * y) % 7 == 0) return pendrick::kTransparentIndex;
    return uint8_t(16 + (x * 31 + y * 17) % 200);
}

inline std::vector<uint8_t> PatternSheet() {
    std::vector<uint8_t> sheet(pendrick::kSheetBytes);
    for (int y = 0; y < pendrick::kSheetHeight; ++y)
        for (int x = 0; x < pendrick::kSheetWidth; ++x) sheet[y * pendrick::kSheetWidth + x] = SheetPixel(x, y);
    return sheet;
}

struct Line {
    int pen, x0, y0, x1, y1;
};

class RecordingHost : public pendrick::ClockHost {
public:
    pendrick::LocalTime time;
    uint32_t ms = 1000;
    std::vector<std::string> sounds;
    std::vector<Line> lines;
    int timeReads = 0;

    pendrick::LocalTime ReadLocalTime() override {
        ++timeReads;
        return time;
    }
    uint32_t Milliseconds() override { return ms; }
    void PlaySoundFile(const char* path) override { sounds.push_back(path); }
    void DrawHandLine(int pen, int x0, int y0, int x1, int y1) override { lines.push_back({pen, x0, y0, x1, y1}); }
};

// A clock over a patterned sheet with its own frame, sounds in C:\CLOCK\.
struct TestClock {
    std::vector<uint8_t> sheet = PatternSheet();
    std::vector<uint8_t> frame = std::vector<uint8_t>(pendrick::kFrameBytes, 0xAA);
    pendrick::ClockState state;
    RecordingHost host;

    TestClock() {
        state.sheet = sheet.data();
        state.frame = frame.data();
        pendrick::BuildSoundPaths("C:\\CLOCK\\PENDRICK.EXE", state.soundPaths);
    }
    void SetTime(int h, int m, int s) {
        host.time.hour = h;
        host.time.minute = m;
        host.time.second = s;
        state.now = host.time;
    }
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) pendrick::ComposeFrame(state, host);
    }
};

// A registry of one key, enough for the clock's store.
class KeyPlatform : public plat::NullPlatform {
public:
    struct Value {
        uint32_t type;
        std::vector<uint8_t> data;
    };
    bool exists = false;
    bool refuse = false;
    std::map<std::string, Value> values;
    std::string lastPath;

    long RegCreateKey(plat::RegRoot root, const char* path, uint32_t, plat::KeyHandle* key, bool* created) override {
        if (refuse || root != plat::RegRoot::LocalMachine) return plat::kRegAccessDenied;
        lastPath = path;
        *created = !exists;
        exists = true;
        *key = 7;
        return plat::kRegOk;
    }
    long RegSetValue(plat::KeyHandle, const char* name, uint32_t type, const void* data, uint32_t size) override {
        auto p = static_cast<const uint8_t*>(data);
        values[name] = Value{type, std::vector<uint8_t>(p, p + size)};
        return plat::kRegOk;
    }
    long RegQueryValue(plat::KeyHandle, const char* name, uint32_t* type, void* data, uint32_t* size) override {
        auto it = values.find(name);
        if (it == values.end()) return plat::kRegNotFound;
        *type = it->second.type;
        uint32_t stored = uint32_t(it->second.data.size());
        if (stored > *size) {
            *size = stored;
            return plat::kRegMoreData;
        }
        std::memcpy(data, it->second.data.data(), stored);
        *size = stored;
        return plat::kRegOk;
    }
    long RegDeleteValue(plat::KeyHandle, const char* name) override {
        return values.erase(name) ? plat::kRegOk : plat::kRegNotFound;
    }
};

}  // namespace clocktest
