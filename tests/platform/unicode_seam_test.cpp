// Japanese names and texts cross the real Win32 layer as their Unicode selves, whatever
// the system's code page, and what Shift-JIS cannot hold is refused, never changed.
// These look past the layer, so they run on the real layer only.
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/test_platform.h"

#ifdef _WIN32
#include "platform/win32/wide_text.h"
#endif

namespace {

using namespace plat;
using testsupport::PlatformTest;

class UnicodeSeam : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (tp().IsSimulated()) GTEST_SKIP() << "the simulation keeps Shift-JIS bytes; nothing is converted";
    }
    std::vector<std::u16string> Unicode(const std::string& folder) {
        std::vector<std::u16string> names;
        EXPECT_TRUE(tp().ListUnicode(folder, &names)) << folder;
        return names;
    }
    // Every name a search finds, and how many it says it passed over.
    std::vector<std::string> Search(const std::string& pattern, uint32_t* skipped) {
        std::vector<std::string> names;
        FindEntry e;
        std::memset(static_cast<void*>(&e), 0x5A, sizeof e);
        *skipped = 0;
        SearchHandle s = sys().FindFirst(pattern.c_str(), &e);
        *skipped += e.skippedNames;
        if (!s) return names;
        for (bool more = true; more;) {
            names.push_back(e.name);
            more = sys().FindNext(s, &e);
            *skipped += e.skippedNames;  // at the end: those after the last entry
        }
        sys().FindClose(s);
        return names;
    }
};

TEST_F(UnicodeSeam, FoldersFilesAndMovesAppearOnDiskUnderTheirUnicodeNames) {
    ASSERT_TRUE(sys().CreateDirectory(tp().Path("表示フォルダ").c_str()));
    ASSERT_TRUE(tp().WriteWholeFile(tp().Path("表示フォルダ\\ソフト.TXT"), "x"));
    ASSERT_TRUE(tp().WriteWholeFile(tp().Path("ゲーム①.DAT"), "y"));
    ASSERT_TRUE(sys().MoveFile(tp().Path("ゲーム①.DAT").c_str(), tp().Path("能力.DAT").c_str()));
    EXPECT_EQ(Unicode(tp().Scratch()), (std::vector<std::u16string>{u"能力.DAT", u"表示フォルダ"}));
    EXPECT_EQ(Unicode(tp().Path("表示フォルダ\\")), std::vector<std::u16string>{u"ソフト.TXT"});
    EXPECT_EQ(tp().List(tp().Scratch()), (std::vector<std::string>{"能力.DAT", "表示フォルダ"}));
}

TEST_F(UnicodeSeam, TheCurrentDirectoryKeepsItsJapaneseName) {
    std::string folder = tp().Path("表示");
    ASSERT_TRUE(sys().CreateDirectory(folder.c_str()));
    ASSERT_TRUE(sys().SetCurrentDirectory(folder.c_str()));
    char buffer[260];
    std::memset(buffer, 0x5A, sizeof buffer);
    ASSERT_EQ(sys().GetCurrentDirectory(buffer, sizeof buffer), folder.size());
    EXPECT_EQ(std::string(buffer), folder);
    // One byte short of its terminator: nothing, rather than a cut path.
    std::memset(buffer, 0x5A, sizeof buffer);
    EXPECT_EQ(sys().GetCurrentDirectory(buffer, static_cast<uint32_t>(folder.size())), 0u);
    EXPECT_EQ(buffer[0], 0);
}

TEST_F(UnicodeSeam, ASearchPassesOverNamesShiftJisCannotHoldAndCountsThem) {
    // é and the Hangul syllable have no Shift-JIS code: any stand-in would name another file.
    ASSERT_TRUE(tp().CreateUnicodeFile(tp().Scratch(), u"caf\u00e9.TXT"));
    ASSERT_TRUE(tp().CreateUnicodeFile(tp().Scratch(), u"\uD55C.TXT"));
    ASSERT_TRUE(tp().WriteWholeFile(tp().Path("表.TXT"), "z"));
    uint32_t skipped = 0;
    EXPECT_EQ(Search(tp().Path("*.TXT"), &skipped), std::vector<std::string>{"表.TXT"});
    EXPECT_EQ(skipped, 2u);
    // A search that finds only such names finds nothing, and says why.
    EXPECT_TRUE(Search(tp().Path("caf*"), &skipped).empty());
    EXPECT_EQ(skipped, 1u);
    EXPECT_TRUE(Search(tp().Path("NONE*"), &skipped).empty());
    EXPECT_EQ(skipped, 0u);
    // The stand-in Windows would have used reaches no file.
    EXPECT_FALSE(tp().Exists(tp().Path("caf?.TXT")));
    EXPECT_FALSE(sys().DeleteFile(tp().Path("caf?.TXT").c_str()));
}

TEST_F(UnicodeSeam, RegistryTextsAreStoredAsUnicodeAndReadBackAsShiftJis) {
    std::string key = tp().RegistryScratch() + "\\ゲーム";
    KeyHandle k = 0;
    bool created = false;
    ASSERT_EQ(sys().RegCreateKey(RegRoot::CurrentUser, key.c_str(), kKeyAllAccess, &k, &created), kRegOk);
    const char text[] = "C:\\ゲーム\\表示.EXE";
    ASSERT_EQ(sys().RegSetValue(k, "表示名", kRegSz, text, sizeof text), kRegOk);
    std::u16string stored;
    ASSERT_TRUE(tp().ReadUnicodeRegistryText(key, "表示名", &stored));
    EXPECT_EQ(stored, u"C:\\ゲーム\\表示.EXE");

    char buffer[64];
    std::memset(buffer, 0x5A, sizeof buffer);
    uint32_t type = 0, size = sizeof buffer;
    ASSERT_EQ(sys().RegQueryValue(k, "表示名", &type, buffer, &size), kRegOk);
    EXPECT_EQ(size, sizeof text);  // counted in Shift-JIS bytes, as stored
    EXPECT_STREQ(buffer, text);

    // A text another program stored that Shift-JIS cannot hold is refused, not changed.
    ASSERT_TRUE(tp().WriteUnicodeRegistryText(key, "Other", u"caf\u00e9"));
    size = sizeof buffer;
    EXPECT_EQ(sys().RegQueryValue(k, "Other", &type, buffer, &size), 1113L);  // no Unicode translation
    sys().RegCloseKey(k);
}

#ifdef _WIN32
TEST(WideText, ConvertsWithCodePage932AndRefusesWhatItCannotHoldOrFit) {
    char sjis[8];
    std::memset(sjis, 0x5A, sizeof sjis);
    EXPECT_EQ(ToShiftJis(L"表示", sjis, sizeof sjis), TextFit::kFits);
    EXPECT_STREQ(sjis, "表示");
    std::memset(sjis, 0x5A, sizeof sjis);
    EXPECT_EQ(ToShiftJis(L"表示", sjis, 4), TextFit::kTooLong);  // needs 5 with its terminator
    EXPECT_EQ(sjis[0], 0);
    std::memset(sjis, 0x5A, sizeof sjis);
    EXPECT_EQ(ToShiftJis(L"caf\u00e9", sjis, sizeof sjis), TextFit::kNotShiftJis);
    EXPECT_EQ(sjis[0], 0);

    wchar_t wide[3];
    EXPECT_TRUE(ToWide("表示", wide, 3));
    EXPECT_EQ(std::wstring(wide), L"表示");
    EXPECT_FALSE(ToWide("表示A", wide, 3));
    EXPECT_EQ(wide[0], 0);

    EXPECT_EQ(WideArg(nullptr).get(), nullptr);
    WideArg counted("ソフトXYZ", 6);  // three double-byte characters, no terminator
    EXPECT_EQ(std::wstring(counted.get()), L"ソフト");
    EXPECT_EQ(counted.length(), 3u);
}
#endif

}  // namespace
