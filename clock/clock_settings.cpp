// The settings record's byte layout and the registry store under it.
#include "clock/clock_settings.h"

#include <cstring>
#include <vector>

namespace pendrick {

namespace {

void Put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

void EncodeSettings(const ClockSettings& s, uint8_t out[kClockSettingsSize]) {
    Put32(out + 0, uint32_t(s.topMost));
    Put32(out + 4, uint32_t(s.handLines));
    Put32(out + 8, uint32_t(s.mode));
    Put32(out + 12, uint32_t(s.x));
    Put32(out + 16, uint32_t(s.y));
    out[20] = s.alarmHour;
    out[21] = s.alarmMinute;
    out[22] = uint8_t(s.reserved);
    out[23] = uint8_t(s.reserved >> 8);
    Put32(out + 24, uint32_t(s.alarmOn));
    Put32(out + 28, uint32_t(s.soundOn));
    Put32(out + 32, uint32_t(s.memoCount));
}

void DecodeSettings(const uint8_t* bytes, uint32_t size, ClockSettings* s) {
    uint8_t record[kClockSettingsSize];
    EncodeSettings(*s, record);
    if (size > kClockSettingsSize) size = kClockSettingsSize;
    std::memcpy(record, bytes, size);
    s->topMost = int32_t(Get32(record + 0));
    s->handLines = int32_t(Get32(record + 4));
    s->mode = int32_t(Get32(record + 8));
    s->x = int32_t(Get32(record + 12));
    s->y = int32_t(Get32(record + 16));
    s->alarmHour = record[20];
    s->alarmMinute = record[21];
    s->reserved = uint16_t(record[22] | record[23] << 8);
    s->alarmOn = int32_t(Get32(record + 24));
    s->soundOn = int32_t(Get32(record + 28));
    s->memoCount = int32_t(Get32(record + 32));
}

int32_t BoundMemoCount(int32_t count) {
    if (count < 0) return 0;
    if (count > kMaxMemoCount) return kMaxMemoCount;
    return count;
}

void ClampSettings(ClockSettings* s) {
    const ClockSettings defaults;
    if (s->mode < kModeAnalog || s->mode > kModeDigital24) s->mode = kModeAnalog;
    if (s->alarmHour > 23) s->alarmHour = defaults.alarmHour;
    if (s->alarmMinute > 59) s->alarmMinute = defaults.alarmMinute;
    s->memoCount = BoundMemoCount(s->memoCount);
}

bool SettingsStore::Open() {
    Close();
    bool created = false;
    plat::KeyHandle key = 0;
    if (platform_.RegCreateKey(plat::RegRoot::LocalMachine, kSettingsKey, plat::kKeyAllAccess, &key, &created) !=
        plat::kRegOk)
        return false;
    key_ = key;
    // Stored without its terminating zero, as the clock has always written it.
    if (created) StoreWriteText(kDisplayNameValue, kDisplayName, uint32_t(std::strlen(kDisplayName)));
    ReadStoredText(*this, kDisplayNameValue, displayName_, sizeof displayName_);
    return true;
}

void SettingsStore::StoreWriteText(const char* name, const char* text, uint32_t size) {
    if (key_) platform_.RegSetValue(key_, name, plat::kRegSz, text, size);
}

void SettingsStore::Close() {
    if (key_) platform_.RegCloseKey(key_);
    key_ = 0;
}

int SettingsStore::StoreRead(const char* name, void* buffer, uint32_t size, uint32_t* stored) {
    if (stored) *stored = 0;
    if (!key_) return 0;
    uint32_t type = 0;
    uint32_t got = size;
    if (platform_.RegQueryValue(key_, name, &type, buffer, &got) != plat::kRegOk) return 0;
    if (got > size) return 0;
    if (stored) *stored = got;
    return 1;
}

int SettingsStore::StoreWrite(const char* name, const void* data, uint32_t size) {
    if (!key_) return 0;
    return platform_.RegSetValue(key_, name, plat::kRegBinary, data, size) == plat::kRegOk ? 1 : 0;
}

void SettingsStore::StoreDelete(const char* name) {
    if (key_) platform_.RegDeleteValue(key_, name);
}

bool ReadStoredText(SettingsStore& store, const char* name, char* buffer, uint32_t size) {
    if (size == 0) return false;
    buffer[0] = 0;
    // Read into a larger scratch so that a value longer than the buffer is cut, not lost.
    std::vector<char> scratch(4096);
    uint32_t stored = 0;
    if (!store.StoreRead(name, scratch.data(), uint32_t(scratch.size()), &stored)) return false;
    uint32_t n = stored < size - 1 ? stored : size - 1;
    std::memcpy(buffer, scratch.data(), n);
    buffer[n] = 0;
    // A stored zero inside the data ends the text where it stands.
    buffer[std::strlen(buffer)] = 0;
    return true;
}

}  // namespace pendrick
