// The programs' arguments read wide and converted with code page 932 (PLATFORM_TESTS.EXE
// only): Japanese names arrive whole on any code page, and what Shift-JIS cannot hold
// becomes a mark no name may contain.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "platform/win32/command_line.h"

namespace {

TEST(CommandLine, TheProgramsOwnNameIsSkippedQuotedOrNot) {
    EXPECT_EQ(plat::ArgumentsOf(L"\"Q:\\セット アップ\\OSTREL.EXE\"  -u"), "-u");
    EXPECT_EQ(plat::ArgumentsOf(L"OSTREL.EXE\t-s ゲーム.INF"), "-s ゲーム.INF");
    EXPECT_EQ(plat::ArgumentsOf(L"\"OSTREL.EXE\"-u"), "-u");
    EXPECT_EQ(plat::ArgumentsOf(L"OSTREL.EXE   "), "");
    EXPECT_EQ(plat::ArgumentsOf(L""), "");
}

TEST(CommandLine, JapaneseArrivesAsShiftJisAndWhatItCannotHoldAsABar) {
    EXPECT_EQ(plat::ArgumentsOf(L"B.EXE -c C:\\表示\\ -b 背景.BMP"), "-c C:\\表示\\ -b 背景.BMP");
    // A best-fit "e" would name the file cafe.INF, which may well exist.
    EXPECT_EQ(plat::ArgumentsOf(L"B.EXE -s caf\u00e9.INF"), "-s caf|.INF");
    EXPECT_EQ(plat::ArgumentsOf(L"B.EXE -s \uD55C\uAD6D.INF"), "-s ||.INF");
}

TEST(CommandLine, OwnArgumentsLeaveOutTheProgramsName) {
    // Run as "PLATFORM_TESTS.EXE" with or without options: never the program's name.
    EXPECT_EQ(plat::CommandArguments().find("PLATFORM_TESTS"), std::string::npos);
}

}  // namespace

#endif  // _WIN32
