// The settings record, the registry store under it, and the palette's colour map.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "clock/clock_settings.h"
#include "clock/palette.h"
#include "tests/unit/clock_test_support.h"

using namespace pendrick;

using clocktest::KeyPlatform;

TEST(ClockSettingsRecord, DefaultsEncodeToTheDocumentedBytes) {
    uint8_t bytes[kClockSettingsSize];
    std::memset(bytes, 0xCC, sizeof bytes);
    EncodeSettings(ClockSettings{}, bytes);
    const uint8_t want[kClockSettingsSize] = {0, 0, 0,  0,  1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                              0, 0, 17, 30, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(bytes, want, sizeof want));
}

TEST(ClockSettingsRecord, FieldsLandAtTheirOffsetsLittleEndian) {
    ClockSettings s;
    s.topMost = 1;
    s.mode = 2;
    s.x = -2;
    s.y = 0x01020304;
    s.alarmHour = 6;
    s.alarmMinute = 45;
    s.memoCount = 3;
    uint8_t bytes[kClockSettingsSize];
    EncodeSettings(s, bytes);
    EXPECT_EQ(bytes[8], 2);
    EXPECT_EQ(bytes[12], 0xFE);
    EXPECT_EQ(bytes[15], 0xFF);
    EXPECT_EQ(bytes[16], 0x04);
    EXPECT_EQ(bytes[19], 0x01);
    EXPECT_EQ(bytes[20], 6);
    EXPECT_EQ(bytes[21], 45);
    EXPECT_EQ(bytes[32], 3);
    ClockSettings back;
    DecodeSettings(bytes, sizeof bytes, &back);
    EXPECT_EQ(back.x, -2);
    EXPECT_EQ(back.y, 0x01020304);
    EXPECT_EQ(back.alarmMinute, 45);
    EXPECT_EQ(back.memoCount, 3);
}

TEST(ClockSettingsRecord, ShorterRecordOverwritesOnlyItsOwnLength) {
    ClockSettings s;
    const uint8_t part[12] = {1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    DecodeSettings(part, sizeof part, &s);
    EXPECT_EQ(s.topMost, 1);
    EXPECT_EQ(s.handLines, 0);
    EXPECT_EQ(s.mode, 1);
    EXPECT_EQ(s.alarmHour, 17);
    EXPECT_EQ(s.soundOn, 1);
}

TEST(ClockSettingsRecord, OutOfRangeValuesAreBroughtIntoRange) {
    ClockSettings s;
    s.mode = 7;
    s.alarmHour = 24;
    s.alarmMinute = 200;
    s.memoCount = 0x7FFFFFFF;
    ClampSettings(&s);
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.alarmHour, 17);
    EXPECT_EQ(s.alarmMinute, 30);
    EXPECT_EQ(s.memoCount, 1000);
    s.mode = -1;
    s.memoCount = -1;
    ClampSettings(&s);
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.memoCount, 0);
    s.mode = 2;
    s.alarmHour = 23;
    s.alarmMinute = 59;
    s.memoCount = 1000;
    ClampSettings(&s);
    EXPECT_EQ(s.mode, 2);
    EXPECT_EQ(s.alarmHour, 23);
    EXPECT_EQ(s.alarmMinute, 59);
    EXPECT_EQ(s.memoCount, 1000);
}

TEST(ClockStore, FirstOpenWritesDisplayNameWithoutTerminator) {
    KeyPlatform p;
    SettingsStore store(p);
    ASSERT_TRUE(store.Open());
    EXPECT_EQ(p.lastPath, "SOFTWARE\\Tavrel\\Solvarin");
    ASSERT_EQ(p.values.count("DisplayName"), 1u);
    EXPECT_EQ(p.values["DisplayName"].type, plat::kRegSz);
    EXPECT_EQ(std::string(p.values["DisplayName"].data.begin(), p.values["DisplayName"].data.end()), "Solvarin Ver1.0");
    EXPECT_STREQ(store.DisplayName(), "Solvarin Ver1.0");

    // An existing key keeps what it has.
    p.values["DisplayName"].data.assign(300, 'x');
    SettingsStore again(p);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(p.values["DisplayName"].data.size(), 300u);
    EXPECT_EQ(std::strlen(again.DisplayName()), 127u);  // cut inside its 128 bytes
}

TEST(ClockStore, ReadFailsForLargerValuesAndFillsOnlyShorterOnes) {
    KeyPlatform p;
    SettingsStore store(p);
    ASSERT_TRUE(store.Open());
    p.values["Marwenik"] = {plat::kRegBinary, std::vector<uint8_t>(40, 1)};
    uint8_t buffer[36];
    std::memset(buffer, 0xEE, sizeof buffer);
    EXPECT_EQ(store.StoreRead("Marwenik", buffer, 36), 0);
    p.values["Marwenik"] = {plat::kRegBinary, std::vector<uint8_t>(8, 1)};
    uint32_t stored = 0;
    EXPECT_EQ(store.StoreRead("Marwenik", buffer, 36, &stored), 1);
    EXPECT_EQ(stored, 8u);
    EXPECT_EQ(buffer[7], 1);
    EXPECT_EQ(buffer[8], 0xEE);
    EXPECT_EQ(store.StoreRead("missing", buffer, 36), 0);
    EXPECT_EQ(store.StoreWrite("DURUVO_MEMO0", buffer, 36), 1);
    EXPECT_EQ(p.values["DURUVO_MEMO0"].type, plat::kRegBinary);
    store.StoreDelete("DURUVO_MEMO0");
    EXPECT_EQ(p.values.count("DURUVO_MEMO0"), 0u);
}

TEST(ClockStore, UnopenedKeyFailsEveryReadAndWrite) {
    KeyPlatform p;
    p.refuse = true;
    SettingsStore store(p);
    EXPECT_FALSE(store.Open());
    uint8_t buffer[4];
    EXPECT_EQ(store.StoreRead("Marwenik", buffer, 4), 0);
    EXPECT_EQ(store.StoreWrite("Marwenik", buffer, 4), 0);
    EXPECT_TRUE(p.values.empty());
}

TEST(ClockStore, StoredTextAlwaysEndsInsideTheBuffer) {
    KeyPlatform p;
    SettingsStore store(p);
    ASSERT_TRUE(store.Open());
    p.values["T"] = {plat::kRegBinary, {'a', 'b', 'c', 'd', 'e'}};  // no zero, wrong type
    char buffer[4];
    std::memset(buffer, 'Z', sizeof buffer);
    ASSERT_TRUE(ReadStoredText(store, "T", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "abc");
    p.values["T"] = {plat::kRegSz, {'h', 0, 'x'}};
    ASSERT_TRUE(ReadStoredText(store, "T", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "h");
}

TEST(ClockPalette, RemapChoosesTheLastExactMatch) {
    Rgb image[256] = {};
    Rgb system[256] = {};
    for (int j = 0; j < 256; ++j) system[j] = Rgb{uint8_t(j), uint8_t(j / 2), 9};
    image[20] = Rgb{50, 25, 9};    // exactly system 50 ...
    system[200] = Rgb{50, 25, 9};  // ... and system 200
    image[30] = Rgb{101, 50, 9};   // exact at 101; 100 shares green but not red
    image[15] = Rgb{1, 2, 3};
    uint8_t map[256];
    IdentityColourMap(map);
    RemapColourMap(image, system, map);
    EXPECT_EQ(map[20], 200);
    EXPECT_EQ(map[30], 101);
    EXPECT_EQ(map[15], 15);  // the transparent index keeps its entry
    // A colour no entry comes near still gets the last entry no worse in all channels.
    image[40] = Rgb{255, 255, 255};
    RemapColourMap(image, system, map);
    EXPECT_EQ(map[40], 255);
}

TEST(ClockPalette, InitialColoursAndSheetColours) {
    ColourObjects c;
    Rgb system[256];
    for (int i = 0; i < 256; ++i) system[i] = Rgb{uint8_t(i), 1, 2};
    MakeInitialColours(&c, system);
    EXPECT_EQ(c.palette[9][0], 9);
    EXPECT_EQ(c.palette[250][0], 250);
    EXPECT_EQ(c.palette[16][0], 0);        // j = 0: black
    EXPECT_EQ(c.palette[16 + 6][0], 255);  // j = 6: red and green
    EXPECT_EQ(c.palette[16 + 6][1], 255);
    EXPECT_EQ(c.palette[16 + 6][2], 0);
    EXPECT_EQ(c.palette[16 + 9][2], 128);  // j = 9: half blue
    EXPECT_EQ(c.palette[16 + 9][3], kPcReserved);
    EXPECT_EQ(c.colourTable[250][2], 250);  // blue, green, red order

    uint8_t table[1024];
    for (int i = 0; i < 256; ++i) {
        table[i * 4 + 0] = uint8_t(i);  // blue
        table[i * 4 + 1] = 7;
        table[i * 4 + 2] = uint8_t(255 - i);  // red
        table[i * 4 + 3] = 0;
    }
    TakeSheetColours(&c, table);
    EXPECT_EQ(c.image[10].r, 245);
    EXPECT_EQ(c.image[10].b, 10);
    EXPECT_EQ(c.image[9].r, 0);  // outside 10-245: black
    EXPECT_EQ(c.palette[100][0], 155);
    EXPECT_EQ(c.colourTable[100][0], 100);
    EXPECT_EQ(c.palette[250][0], 250);  // static colours untouched
}

#include "clock/clock_lifecycle.h"

namespace {

struct ShutdownProbe {
    int memoSaves = 0, releases = 0, positions = 0;
    int memosOpen = 3;
    ShutdownSteps Steps() {
        return ShutdownSteps{[this] {
                                 ++memoSaves;
                                 int n = memosOpen;
                                 memosOpen = 0;  // saved and closed
                                 return n;
                             },
                             [this] { ++releases; }};
    }
};

int StoredMemoCount(KeyPlatform& p) {
    const std::vector<uint8_t>& v = p.values["Marwenik"].data;
    return v.size() == 36 ? v[32] : -1;
}

}  // namespace

TEST(ClockShutdown, SessionNotEndingChangesNothing) {
    KeyPlatform p;
    SettingsStore store(p);
    ASSERT_TRUE(store.Open());
    ClockSettings s;
    ClockLifecycle life;
    ShutdownProbe probe;
    life.EndSession(false, s, store, probe.Steps(), [&] { ++probe.positions; });
    EXPECT_EQ(probe.memoSaves + probe.releases + probe.positions, 0);
    EXPECT_EQ(p.values.count("Marwenik"), 0u);
    EXPECT_FALSE(life.Saved());
    // The clock goes on; a later Quit saves every memo.
    life.ShutdownSave(s, store, probe.Steps());
    EXPECT_EQ(StoredMemoCount(p), 3);
    EXPECT_EQ(probe.releases, 1);
}

TEST(ClockShutdown, SessionEndSavesOnceAndTheLoopEndDoesNotOverwriteTheCount) {
    KeyPlatform p;
    SettingsStore store(p);
    ASSERT_TRUE(store.Open());
    ClockSettings s;
    ClockLifecycle life;
    ShutdownProbe probe;
    life.EndSession(true, s, store, probe.Steps(), [&] {
        ++probe.positions;
        s.x = 77;
    });
    EXPECT_EQ(probe.positions, 1);
    EXPECT_EQ(StoredMemoCount(p), 3);
    EXPECT_EQ(p.values["Marwenik"].data[12], 77);
    life.ShutdownSave(s, store, probe.Steps());  // the message loop's end
    EXPECT_EQ(probe.memoSaves, 1);
    EXPECT_EQ(probe.releases, 1);
    EXPECT_EQ(StoredMemoCount(p), 3);
}
