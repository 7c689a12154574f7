// Window texts of the installer's and the clock's windows on the real Win32 layer
// (PLATFORM_TESTS.EXE only): Japanese reaches the control as Unicode on any code page,
// and what is read back is Shift-JIS, refused when Shift-JIS cannot hold it.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32/window_text.h"

namespace {

using plat::TextFit;

class WindowText : public ::testing::Test {
protected:
    void SetUp() override {
        edit_ = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
        ASSERT_NE(edit_, nullptr);
        std::memset(buffer_, 0x5A, sizeof buffer_);
    }
    void TearDown() override {
        if (edit_) DestroyWindow(edit_);
    }
    std::wstring Wide() {
        wchar_t text[64] = {};
        GetWindowTextW(edit_, text, 64);
        return text;
    }
    HWND edit_ = nullptr;
    char buffer_[64];
};

TEST_F(WindowText, JapaneseGoesInAsUnicodeAndComesBackAsShiftJis) {
    winui::SetText(edit_, "Ｃ:\\ゲーム\\表示");
    EXPECT_EQ(Wide(), L"Ｃ:\\ゲーム\\表示");
    EXPECT_EQ(winui::ReadText(edit_, buffer_, sizeof buffer_), TextFit::kFits);
    EXPECT_STREQ(buffer_, "Ｃ:\\ゲーム\\表示");
}

TEST_F(WindowText, ATextShiftJisCannotHoldIsRefusedNotChanged) {
    // Without the refusal é would come back as "e" or "?": another path.
    SetWindowTextW(edit_, L"C:\\caf\u00e9");
    EXPECT_EQ(winui::ReadText(edit_, buffer_, sizeof buffer_), TextFit::kNotShiftJis);
    EXPECT_EQ(buffer_[0], '\0');
    // Past the buffer's end too: the whole text is judged, not what fits.
    SetWindowTextW(edit_, L"C:\\ABCDEFGHIJ\uD55C");
    EXPECT_EQ(winui::ReadText(edit_, buffer_, 6), TextFit::kNotShiftJis);
    EXPECT_EQ(buffer_[0], '\0');
}

TEST_F(WindowText, ALongTextIsCutAfterItsLastWholeCharacter) {
    winui::SetText(edit_, "Aアイ");  // 5 bytes
    EXPECT_EQ(winui::ReadText(edit_, buffer_, 6), TextFit::kFits);
    EXPECT_STREQ(buffer_, "Aアイ");
    std::memset(buffer_, 0x5A, sizeof buffer_);
    EXPECT_EQ(winui::ReadText(edit_, buffer_, 5), TextFit::kTooLong);
    EXPECT_STREQ(buffer_, "Aア");  // never half of イ
}

}  // namespace

#endif  // _WIN32
