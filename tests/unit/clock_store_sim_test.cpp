// The clock's registry store against the simulated Windows: the key, "DisplayName", the
// settings record and the memo values as another program (or a damaged registry) left them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "clock/clock_lifecycle.h"
#include "clock/clock_settings.h"
#include "clock/memo.h"
#include "platform/sim/sim_windows.h"

using namespace pendrick;
using plat::RegRoot;

namespace {
const std::string kKey = "SOFTWARE\\Tavrel\\Solvarin";

std::string Bytes(const ClockSettings& s) {
    uint8_t b[kClockSettingsSize];
    EncodeSettings(s, b);
    return std::string(reinterpret_cast<char*>(b), sizeof b);
}
}  // namespace

TEST(ClockStoreOnSim, FirstStartCreatesTheKeyAndASecondKeepsIt) {
    plat::SimWindows sim;
    {
        SettingsStore store(sim);
        ASSERT_TRUE(store.Open());
    }
    uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(sim.RegGetValue(RegRoot::LocalMachine, kKey, "DisplayName", &type, &bytes));
    EXPECT_EQ(type, plat::kRegSz);
    EXPECT_EQ(bytes, "Solvarin Ver1.0");  // 15 bytes, no terminating zero
    sim.RegPutValue(RegRoot::LocalMachine, kKey, "DisplayName", plat::kRegSz, "Renamed");
    SettingsStore again(sim);
    ASSERT_TRUE(again.Open());
    EXPECT_STREQ(again.DisplayName(), "Renamed");
}

TEST(ClockStoreOnSim, SettingsAndMemosSurviveARestartRenumbered) {
    plat::SimWindows sim;
    ClockSettings s;
    s.mode = kModeDigital24;
    s.x = 300;
    {
        SettingsStore store(sim);
        ASSERT_TRUE(store.Open());
        ClockLifecycle life;
        MemoRecord a = DefaultMemo(10, 20);
        std::strcpy(a.text, "メモ");
        ShutdownSteps steps{[&] {
                                WriteSavedMemo(store, 0, a);
                                WriteSavedMemo(store, 1, DefaultMemo(30, 40));
                                return 2;
                            },
                            nullptr};
        life.ShutdownSave(s, store, steps);
    }
    SettingsStore store(sim);
    ASSERT_TRUE(store.Open());
    ClockSettings back;
    uint8_t record[kClockSettingsSize];
    uint32_t stored = 0;
    ASSERT_EQ(store.StoreRead(kSettingsValue, record, sizeof record, &stored), 1);
    DecodeSettings(record, stored, &back);
    EXPECT_EQ(back.mode, kModeDigital24);
    EXPECT_EQ(back.x, 300);
    EXPECT_EQ(back.memoCount, 2);
    auto memos = ReadSavedMemos(store, back.memoCount);
    ASSERT_EQ(memos.size(), 2u);
    EXPECT_STREQ(memos[0].record.text, "メモ");
    EXPECT_EQ(memos[1].record.top, 40);
}

TEST(ClockStoreOnSim, ForeignValuesAreReadSafely) {
    plat::SimWindows sim;
    // A memo whose text and face fill their fields without a zero, and a too long record.
    std::string memo(kMemoRecordSize, 'M');
    sim.RegPutValue(RegRoot::LocalMachine, kKey, "DURUVO_MEMO0", plat::kRegBinary, memo);
    sim.RegPutValue(RegRoot::LocalMachine, kKey, "DURUVO_MEMO1", plat::kRegBinary, memo + "extra");
    ClockSettings s;
    s.memoCount = 2;
    std::string settings = Bytes(s) + "trailing";
    sim.RegPutValue(RegRoot::LocalMachine, kKey, "Marwenik", plat::kRegBinary, settings);
    SettingsStore store(sim);
    ASSERT_TRUE(store.Open());
    auto memos = ReadSavedMemos(store, 2);
    ASSERT_EQ(memos.size(), 1u);
    EXPECT_EQ(std::strlen(memos[0].record.text), size_t(kMemoTextSize - 1));
    EXPECT_EQ(std::strlen(memos[0].record.face), size_t(kMemoFaceSize - 1));
    uint8_t record[kClockSettingsSize];
    EXPECT_EQ(store.StoreRead(kSettingsValue, record, sizeof record), 0);  // longer than 36: defaults stay
}

TEST(ClockStoreOnSim, ReadOnlyKeyLeavesTheClockOnItsDefaults) {
    plat::SimWindows sim;
    sim.RegPutKey(RegRoot::LocalMachine, kKey);
    sim.RegSetReadOnly(RegRoot::LocalMachine, kKey, true);
    SettingsStore store(sim);
    EXPECT_FALSE(store.Open());
    uint8_t record[kClockSettingsSize];
    EXPECT_EQ(store.StoreRead(kSettingsValue, record, sizeof record), 0);
    EXPECT_EQ(store.StoreWrite(kSettingsValue, record, sizeof record), 0);
}
