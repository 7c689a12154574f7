// The clock's remembered settings: the 36-byte record kept in the registry, its defaults,
// and the small store that reads and writes the clock's registry values.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace pendrick {

constexpr uint32_t kClockSettingsSize = 36;
constexpr const char kSettingsKey[] = "SOFTWARE\\Tavrel\\Solvarin";
constexpr const char kSettingsValue[] = "Marwenik";
constexpr const char kDisplayNameValue[] = "DisplayName";
constexpr const char kDisplayName[] = "Solvarin Ver1.0";
constexpr int kDisplayNameBufferSize = 128;
// A damaged count must not make start-up read the registry billions of times.
constexpr int32_t kMaxMemoCount = 1000;

enum DisplayMode : int32_t { kModeAnalog = 0, kModeDigital12 = 1, kModeDigital24 = 2 };

struct ClockSettings {
    int32_t topMost = 0;
    int32_t handLines = 1;
    int32_t mode = kModeAnalog;
    int32_t x = 0;
    int32_t y = 0;
    uint8_t alarmHour = 17;
    uint8_t alarmMinute = 30;
    uint16_t reserved = 0;
    int32_t alarmOn = 1;
    int32_t soundOn = 1;
    int32_t memoCount = 0;
};

// Little-endian layout, field by field.
void EncodeSettings(const ClockSettings& settings, uint8_t out[kClockSettingsSize]);
// Overwrites only the bytes present: a shorter stored record changes only its own length.
void DecodeSettings(const uint8_t* bytes, uint32_t size, ClockSettings* settings);
// Brings a stored record into range so that no value can index past the faces or glyphs:
// mode 0-2 (else 0), alarm hour 0-23 and minute 0-59 (else the defaults), memo count 0-1000.
void ClampSettings(ClockSettings* settings);
int32_t BoundMemoCount(int32_t count);

// The clock's registry key under HKEY_LOCAL_MACHINE, open for the whole run.
class SettingsStore {
public:
    explicit SettingsStore(plat::Platform& platform) : platform_(platform) {}
    ~SettingsStore() { Close(); }
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Creates or opens the key; a newly created key gets "DisplayName". False when the key
    // cannot be opened: every later read and write then fails.
    bool Open();
    void Close();
    bool IsOpen() const { return key_ != 0; }
    const char* DisplayName() const { return displayName_; }

    // 1 when the value exists and fits in size bytes (a shorter value fills only its own
    // length; *stored tells how many), 0 otherwise.
    int StoreRead(const char* name, void* buffer, uint32_t size, uint32_t* stored = nullptr);
    int StoreWrite(const char* name, const void* data, uint32_t size);
    void StoreDelete(const char* name);

private:
    void StoreWriteText(const char* name, const char* text, uint32_t size);

    plat::Platform& platform_;
    plat::KeyHandle key_ = 0;
    char displayName_[kDisplayNameBufferSize] = {};
};

// Reads a stored text value into buffer: always zero-terminated inside the buffer, cut when
// longer, whatever type or terminator the stored value has. False when it is missing.
bool ReadStoredText(SettingsStore& store, const char* name, char* buffer, uint32_t size);

}  // namespace pendrick
