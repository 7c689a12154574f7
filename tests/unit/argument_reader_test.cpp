// The argument reader: variables, separators, quotes, the comment and backspace marks,
// the position limit and the caller's buffer limit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "script/argument_reader.h"

using enginetest::EngineFixture;

namespace {

// Runs "ECHO <args>" and returns each argument the reader delivered, or "ERROR" boxes.
std::vector<std::string> Echo(EngineFixture& f, const std::string& args) {
    f.Load("[OPTIONS]\n[A]\nECHO " + args + "\n[END]\n");
    f.Run("~[A]");
    std::vector<std::string> out;
    for (const auto& b : f.sys.boxes) out.push_back(b.caption == "ECHO" ? b.text : "ERROR:" + b.text);
    return out;
}

void SetPaths(EngineFixture& f) {
    std::strcpy(f.e.env.sourceFolder, "Q:\\SETUP\\");
    std::strcpy(f.e.env.programFolder, "Q:\\SETUP\\");
    std::strcpy(f.e.env.windowsFolder, "C:\\WINDOWS");
    std::strcpy(f.e.env.tavrelBase, "D:\\");
    std::strcpy(f.e.options.title, "Game");
}

using V = std::vector<std::string>;

}  // namespace

TEST(Arguments, VariablesExpandInAnyCase) {
    EngineFixture f;
    SetPaths(f);
    EXPECT_EQ(V({"Q:\\SETUP\\DATA", "C:\\WINDOWS\\", "D:\\TAVREL\\", "Game"}),
              Echo(f, "%srcdrv%%SRCDIR%DATA, %WinDrv%%WinDir% %TavrelDrv%%TavrelDir% %Title%"));
}

TEST(Arguments, EmptyPathsGiveABackslashDriveAndAnEmptyFolder) {
    EngineFixture f;
    EXPECT_EQ(V({"\\x"}), Echo(f, "%DstDrv%%DstDir%x"));
}

TEST(Arguments, BackspaceMarkRemovesTheLastByte) {
    EngineFixture f;
    SetPaths(f);
    EXPECT_EQ(V({"Q:\\SETUP", "x"}), Echo(f, "%SrcDrv%%SrcDir%@ @x"));
}

TEST(Arguments, QuotesGroupSeparatorsAndSemicolons) {
    EngineFixture f;
    EXPECT_EQ(V({"a, b; c", "d"}), Echo(f, "\"a, b; c\" d"));
    EngineFixture g;
    EXPECT_EQ(V({"a"}), Echo(g, "a;b c"));
    EngineFixture h;
    EXPECT_EQ(V({"say \"hi\""}), Echo(h, "\"say \"\"hi\"\"\""));
}

TEST(Arguments, PercentSigns) {
    EngineFixture f;
    EXPECT_EQ(V({"100%"}), Echo(f, "100%%"));
    EngineFixture g;
    // Literal text ends at a percent sign outside quotes; the next argument then starts
    // on an unknown name, which the optional reader treats as absent.
    EXPECT_EQ(V({"50"}), Echo(g, "50%"));
    EngineFixture h;
    std::strcpy(h.e.options.title, "T");
    EXPECT_EQ(V({"abc", "T"}), Echo(h, "abc%Title%"));
    EngineFixture i;
    std::strcpy(i.e.options.title, "T");
    EXPECT_EQ(V({"abcT"}), Echo(i, "\"abc%Title%\""));
}

TEST(Arguments, UnknownVariableIsASyntaxErrorWithTheLineNumber) {
    EngineFixture f;
    f.Load("[OPTIONS]\n\n\n[A]\nPRINT %X%\n");
    EXPECT_EQ(-1, f.Run("~[A]"));
    ASSERT_EQ(1u, f.sys.boxes.size());
    EXPECT_EQ("文法エラーです。\n4行", f.sys.boxes[0].text);
    EXPECT_EQ("", f.sys.boxes[0].caption);
    EXPECT_EQ(plat::kMbIconWarning, f.sys.boxes[0].style);
}

TEST(Arguments, FullWidthBlankAtTheStartOfAQuotedTextIsKept) {
    EngineFixture f;
    EXPECT_EQ(V({"　終了"}), Echo(f, "\"　終了\""));
}

TEST(Arguments, NothingIsReadBeyondPosition250) {
    EngineFixture f;
    std::string filler(240, 'a');
    auto got = Echo(f, filler + " bcdefghij");
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(filler, got[0]);
    EXPECT_EQ("bcdef", got[1]);  // "ECHO " takes 5 bytes: positions 251 on are not read
    EngineFixture g;
    auto late = Echo(g, std::string(245, 'a') + " b");
    EXPECT_EQ(1u, late.size());  // an argument that would begin beyond 250 is missing
}

TEST(Arguments, CallersBufferIsNeverOverrun) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nX abcdefghij\n");
    f.e.script.line[0] = 0;
    std::strcpy(f.e.script.line, "X abcdefghij");
    f.e.script.argPos = 0;
    f.e.script.matchLength = 1;
    char small[8];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(0, script::ReadArgument(f.e, small, 5));
    EXPECT_EQ('#', small[5]);
    ASSERT_EQ(1u, f.sys.boxes.size());
    EXPECT_EQ(0u, f.sys.boxes[0].text.find("文法エラーです。"));

    std::strcpy(f.e.script.line, "X abcdefghij");
    f.e.script.argPos = 0;
    f.e.script.matchLength = 1;
    EXPECT_EQ(1, script::ReadArgument(f.e, small, 5, script::Overflow::Cut));
    EXPECT_STREQ("abcd", small);

    // A cut never leaves half of a two-byte character.
    std::strcpy(f.e.script.line, "X aあい");
    f.e.script.argPos = 0;
    f.e.script.matchLength = 1;
    EXPECT_EQ(1, script::ReadArgument(f.e, small, 5, script::Overflow::Cut));
    EXPECT_STREQ("aあ", small);

    std::strcpy(f.e.script.line, "X abcdefghij");
    f.e.script.argPos = 0;
    f.e.script.matchLength = 1;
    EXPECT_EQ(-1, script::ReadOptionalArgument(f.e, small, 5));
}

TEST(Arguments, AVariableCutToTheBufferIsStillTerminated) {
    // The value is copied in one piece; the cut must end in a zero inside the buffer,
    // whatever the buffer held before.
    EngineFixture f;
    SetPaths(f);
    f.Load("[OPTIONS]\n");
    std::strcpy(f.e.vars.winDir, "C:\\WINDOWS\\");
    char small[8];
    std::memset(small, '#', sizeof small);
    std::strcpy(f.e.script.line, "X %WinDir%");
    f.e.script.argPos = 0;
    f.e.script.matchLength = 1;
    EXPECT_EQ(1, script::ReadArgument(f.e, small, 5, script::Overflow::Cut));
    EXPECT_STREQ("C:\\W", small);
    EXPECT_EQ('#', small[5]);
}

TEST(Arguments, ParseDecimal) {
    EXPECT_EQ(0, script::ParseDecimal("12345678"));
    EXPECT_EQ(12, script::ParseDecimal("0012"));
    EXPECT_EQ(0, script::ParseDecimal("1a"));
    EXPECT_EQ(0, script::ParseDecimal(""));
    EXPECT_EQ(9999999, script::ParseDecimal("9999999"));
    EXPECT_EQ(42, script::ParseDecimal("42,7"));
    EXPECT_EQ(0, script::ParseDecimal("-1"));
}
