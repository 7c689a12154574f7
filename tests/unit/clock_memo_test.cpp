// Quick memo records, text lines and sizing, screen placement and the shutdown save walk.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "clock/memo.h"

using namespace pendrick;

namespace {

struct DrawnLine {
    int n;
    std::string text;
    bool operator==(const DrawnLine& o) const { return n == o.n && text == o.text; }
};

std::vector<DrawnLine> Lines(const char* text) {
    std::vector<DrawnLine> out;
    SplitMemoText(text, [&](int n, const char* bytes, int length) { out.push_back({n, std::string(bytes, length)}); });
    return out;
}

// Each byte 8 pixels wide, 16 high.
MemoExtent Measure(const char*, int length) { return MemoExtent{8 * length, 16}; }

}  // namespace

TEST(MemoRecordBytes, RoundTripsByteForByte) {
    MemoRecord m = DefaultMemo(-20, 40);
    std::strcpy(m.text, "買い物\r\nmilk");
    m.width = 300;
    m.weight = 400;
    m.italic = 1;
    uint8_t bytes[kMemoRecordSize];
    EncodeMemo(m, bytes);
    EXPECT_EQ(bytes[0], 0xEC);  // -20 little-endian
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(bytes[532], 0);  // blue: red byte first
    EXPECT_EQ(bytes[534], 255);
    EXPECT_EQ(bytes[536], 255);  // yellow
    EXPECT_EQ(bytes[537], 255);
    EXPECT_EQ(bytes[540], 1);
    for (int i = 544; i < 552; ++i) EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(bytes[617], 1);  // 400 = 0x190
    MemoRecord back;
    ASSERT_TRUE(DecodeMemo(bytes, sizeof bytes, &back));
    uint8_t again[kMemoRecordSize];
    EncodeMemo(back, again);
    EXPECT_EQ(0, std::memcmp(bytes, again, sizeof bytes));
    EXPECT_STREQ(back.face, "ＭＳ ゴシック");
}

TEST(MemoRecordBytes, UnterminatedFieldsAreCutAndWrongSizesRefused) {
    uint8_t bytes[kMemoRecordSize];
    std::memset(bytes, 'A', sizeof bytes);
    MemoRecord m;
    ASSERT_TRUE(DecodeMemo(bytes, sizeof bytes, &m));
    EXPECT_EQ(std::strlen(m.text), 515u);
    EXPECT_EQ(std::strlen(m.face), 63u);
    EXPECT_FALSE(DecodeMemo(bytes, 627, &m));
    EXPECT_FALSE(DecodeMemo(bytes, 36, &m));
}

TEST(MemoDefaults, NewMemoIsBlueOnYellowAtTheClock) {
    MemoRecord m = DefaultMemo(300, 200);
    EXPECT_EQ(m.left, 300);
    EXPECT_EQ(m.top, 200);
    EXPECT_EQ(m.width, 128);
    EXPECT_EQ(m.height, 32);
    EXPECT_EQ(m.textColour, 0xFF0000u);
    EXPECT_EQ(m.backColour, 0x00FFFFu);
    EXPECT_EQ(m.topMost, 1);
    EXPECT_EQ(m.size, 16);
    EXPECT_EQ(m.weight, 700);
    EXPECT_EQ(m.text[0], 0);
    char name[kMemoValueNameSize];
    MemoValueName(12, name);
    EXPECT_STREQ(name, "DURUVO_MEMO12");
}

TEST(MemoText, EmptyLinesCountButAreNotDrawn) {
    std::vector<DrawnLine> want = {{0, "ab"}, {2, "cd"}};
    EXPECT_EQ(Lines("ab\r\n\r\ncd"), want);
    MemoExtent e = SizeMemoToText("ab\r\n\r\ncd", Measure);
    EXPECT_EQ(e.width, 16);
    EXPECT_EQ(e.height, 48);  // three lines
    std::vector<DrawnLine> tabs = {{0, "xy"}};
    EXPECT_EQ(Lines("x\ty\n"), tabs);
}

TEST(MemoText, SizingRules) {
    EXPECT_EQ(SizeMemoToText("\r\n\r\n", Measure).width, 128);
    EXPECT_EQ(SizeMemoToText("\r\n\r\n", Measure).height, 32);
    EXPECT_EQ(SizeMemoToText("", Measure).height, 32);
    // A trailing line end adds no line; the widest line wins.
    MemoExtent e = SizeMemoToText("a\r\nlonger\r\n", Measure);
    EXPECT_EQ(e.width, 48);
    EXPECT_EQ(e.height, 32);
    // Shift-JIS bytes go into lines as they are, trail bytes equal to 13 never come.
    EXPECT_EQ(Lines("日本")[0].text.size(), 4u);
}

TEST(MemoText, OverlongLinesAreCutAt511Bytes) {
    std::string text(700, 'w');
    auto lines = Lines(text.c_str());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text.size(), 511u);
}

TEST(MemoPlacement, MovesBackOntoTheScreen) {
    MemoRect r = MoveOntoScreen({600, 470, 128, 32}, 640, 480);
    EXPECT_EQ(r.left, 512);
    EXPECT_EQ(r.top, 448);
    r = MoveOntoScreen({-50, -10, 128, 32}, 640, 480);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    r = MoveOntoScreen({10, 10, 1000, 32}, 640, 480);  // wider than the screen: left wins
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.width, 1000);
}

TEST(MemoPlacement, HugeStoredSizesAndPositionsCannotOverflow) {
    MemoRecord m;
    m.left = 0x7FFFFFF0;
    m.top = -0x7FFFFFF0;
    m.width = 0x7FFFFFFF;
    m.height = -5;
    MemoRect r = PlaceRestoredMemo(m, 640, 480);
    EXPECT_EQ(r.width, 640);
    EXPECT_EQ(r.height, 1);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    m.left = 630;
    m.top = 475;
    m.width = 100;
    m.height = 20;
    r = PlaceRestoredMemo(m, 640, 480);
    EXPECT_EQ(r.left, 540);
    EXPECT_EQ(r.top, 460);
}

namespace {

class FakeMemos : public MemoSaveTarget {
public:
    std::map<uintptr_t, MemoRecord> data;
    std::map<int, int> written;  // value number -> record's left
    std::vector<uintptr_t> closed;
    bool RecordOf(uintptr_t window, MemoRecord* record) override {
        auto it = data.find(window);
        if (it == data.end()) return false;
        *record = it->second;
        return true;
    }
    void Write(int number, const MemoRecord& record) override { written[number] = record.left; }
    void Close(uintptr_t window) override { closed.push_back(window); }
};

}  // namespace

TEST(MemoSave, RenumbersFromZeroAndVisitsEachWindowOnce) {
    FakeMemos f;
    f.data[11].left = 110;
    f.data[33].left = 330;
    f.data[44].left = 440;
    // Window 22 has no data: closed, not saved.
    int n = SaveAllMemos({11, 22, 33, 44}, f);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(f.written, (std::map<int, int>{{0, 110}, {1, 330}, {2, 440}}));
    EXPECT_EQ(f.closed, (std::vector<uintptr_t>{11, 22, 33, 44}));
}

#include "tests/unit/clock_test_support.h"

TEST(MemoStore, RestoreSkipsGapsAndWrongSizesAndCloseDeletesOnlyItsOwnValue) {
    clocktest::KeyPlatform p;
    SettingsStore store(p);
    ASSERT_TRUE(store.Open());
    MemoRecord a = DefaultMemo(1, 1), c = DefaultMemo(3, 3);
    WriteSavedMemo(store, 0, a);
    WriteSavedMemo(store, 2, c);
    p.values["DURUVO_MEMO3"] = {plat::kRegBinary, std::vector<uint8_t>(600, 'x')};  // wrong size
    p.values["DURUVO_MEMO4"] = {plat::kRegBinary, std::vector<uint8_t>(700, 'x')};  // larger than a record
    std::vector<SavedMemo> memos = ReadSavedMemos(store, 5);
    ASSERT_EQ(memos.size(), 2u);
    EXPECT_EQ(memos[0].number, 0);
    EXPECT_EQ(memos[1].number, 2);
    EXPECT_EQ(memos[1].record.left, 3);
    // The second memo opened gets id 1 but came from value 2: "Close" deletes value 2.
    DeleteSavedMemo(store, memos[1].number);
    EXPECT_EQ(p.values.count("DURUVO_MEMO2"), 0u);
    EXPECT_EQ(p.values.count("DURUVO_MEMO0"), 1u);
    DeleteSavedMemo(store, -1);  // never saved: nothing goes
    EXPECT_EQ(p.values.count("DURUVO_MEMO0"), 1u);
}

TEST(MemoStore, DamagedCountsAreBoundedBeforeReading) {
    // Counts each read, so that a huge count cannot mean billions of registry reads.
    class CountingPlatform : public clocktest::KeyPlatform {
    public:
        int reads = 0;
        long RegQueryValue(plat::KeyHandle k, const char* name, uint32_t* type, void* data, uint32_t* size) override {
            ++reads;
            return KeyPlatform::RegQueryValue(k, name, type, data, size);
        }
    } p;
    SettingsStore store(p);
    ASSERT_TRUE(store.Open());
    int before = p.reads;
    EXPECT_TRUE(ReadSavedMemos(store, 0x7FFFFFFF).empty());
    EXPECT_EQ(p.reads - before, 1000);
    before = p.reads;
    EXPECT_TRUE(ReadSavedMemos(store, -1).empty());
    EXPECT_EQ(p.reads - before, 0);
}
