// The window base of the programs on the real Win32 layer (PLATFORM_TESTS.EXE only): the
// object is bound from the window's first message, a handler's exception stops at the
// window procedure, and an object that owns itself goes with its window.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <cwchar>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/window_object.h"

namespace {

constexpr char kProbeClass[] = "TavrelBindingProbe";
constexpr wchar_t kProbeClassWide[] = L"TavrelBindingProbe";
constexpr UINT kAnswer = WM_APP + 1;  // answered with 42
constexpr UINT kThrow = WM_APP + 2;   // its handler throws

bool RegisterProbeClass() {
    static const bool registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = winui::Window::Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kProbeClassWide;
        return RegisterClassW(&wc) != 0;
    }();
    return registered;
}

class Probe : public winui::Window {
public:
    explicit Probe(int* finalMessages = nullptr, bool ownsItself = false)
        : finalMessages_(finalMessages), ownsItself_(ownsItself) {}

    HWND Make(const char* title = "probe") {
        return Create(0, kProbeClass, title, WS_POPUP, 0, 0, 10, 10, nullptr, GetModuleHandleW(nullptr));
    }
    std::vector<UINT> seen;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == kAnswer) return 42;
        if (message == kThrow) throw std::runtime_error("handler failed");
        return Default(message, wParam, lParam);
    }
    void OnFinalMessage() override {
        if (finalMessages_) ++*finalMessages_;
        if (ownsItself_) delete this;
    }

private:
    int* finalMessages_;
    bool ownsItself_;
};

TEST(WindowBinding, ObjectGetsEveryMessageFromTheFirstOn) {
    ASSERT_TRUE(RegisterProbeClass());
    Probe probe;
    HWND window = probe.Make();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(probe.hwnd(), window);
    ASSERT_FALSE(probe.seen.empty());
    EXPECT_EQ(probe.seen.front(), UINT(WM_NCCREATE));
    EXPECT_EQ(winui::Window::FromHandle(window), &probe);
    EXPECT_EQ(SendMessageW(window, kAnswer, 0, 0), 42);
}

TEST(WindowBinding, AJapaneseTitleArrivesAsItsUnicodeSelfOnAnyCodePage) {
    ASSERT_TRUE(RegisterProbeClass());
    Probe probe;
    HWND window = probe.Make("インストール");
    ASSERT_NE(window, nullptr);
    wchar_t title[32];
    std::wmemset(title, L'Z', 32);
    GetWindowTextW(window, title, 32);
    EXPECT_EQ(std::wstring(title), L"インストール");
}

TEST(WindowBinding, ExceptionStopsAtTheWindowProcedure) {
    ASSERT_TRUE(RegisterProbeClass());
    Probe probe;
    HWND window = probe.Make();
    ASSERT_NE(window, nullptr);
    // The default answer for an application message is 0; the window stays usable.
    EXPECT_EQ(SendMessageW(window, kThrow, 0, 0), 0);
    EXPECT_EQ(SendMessageW(window, kAnswer, 0, 0), 42);
    EXPECT_TRUE(IsWindow(window));
}

TEST(WindowBinding, SelfOwnedObjectGoesWithItsWindow) {
    ASSERT_TRUE(RegisterProbeClass());
    int finalMessages = 0;
    Probe* probe = new Probe(&finalMessages, true);
    HWND window = probe->Make();
    ASSERT_NE(window, nullptr);
    DestroyWindow(window);
    EXPECT_EQ(finalMessages, 1);
    EXPECT_FALSE(IsWindow(window));
}

TEST(WindowBinding, DestroyedObjectTakesItsWindowWithoutHearingItsMessages) {
    ASSERT_TRUE(RegisterProbeClass());
    int finalMessages = 0;
    HWND window;
    {
        Probe probe(&finalMessages);
        window = probe.Make();
        ASSERT_NE(window, nullptr);
    }
    EXPECT_FALSE(IsWindow(window));
    // Unbound before the window went: a half-destroyed object must not be called.
    EXPECT_EQ(finalMessages, 0);
}

}  // namespace

#endif  // _WIN32
