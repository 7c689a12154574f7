// Loading, line reading, the pattern matcher and section lookup.
#include <gtest/gtest.h>

#include <string>

#include "engine_fixture.h"
#include "script/script_text.h"

using enginetest::EngineFixture;
using script::FindSection;
using script::MatchPattern;
using script::ReadScriptLine;

namespace {

std::string Padded(size_t total) {
    std::string s = "[OPTIONS]\r\n";
    s.append(total - s.size(), 'x');
    return s;
}

}  // namespace

TEST(ScriptLoad, SizeLimitKeepsTheFirst10000Bytes) {
    EngineFixture f;
    std::string exact = Padded(10000);
    EXPECT_EQ(1, script::LoadScriptBytes(f.e, exact.data(), 10000));
    EXPECT_TRUE(f.sys.boxes.empty());
    EXPECT_EQ(10000, f.e.script.length);

    EngineFixture g;
    std::string over = Padded(10001);
    over.back() = 'Z';
    EXPECT_EQ(1, script::LoadScriptBytes(g.e, over.data(), 10001));
    ASSERT_EQ(1u, g.sys.boxes.size());
    EXPECT_EQ("スクリプトファイルのサイズが大きすぎます。", g.sys.boxes[0].text);
    EXPECT_EQ("Setup", g.sys.boxes[0].caption);
    EXPECT_EQ(plat::kMbIconWarning, g.sys.boxes[0].style);
    EXPECT_EQ(0u, g.sys.boxes[0].owner);
    EXPECT_EQ(10000, g.e.script.length);
    EXPECT_EQ('x', g.e.script.text[9999]);
}

TEST(ScriptLoad, NeedsAnOptionsHeader) {
    const char* bad[] = {"", "[INIT]\n", "~[OPTIONS]\n", "OPTIONS\n", "x[OPTIONS]\n"};
    for (const char* text : bad) {
        EngineFixture f;
        EXPECT_EQ(0, f.Load(text)) << text;
        ASSERT_EQ(1u, f.sys.boxes.size()) << text;
        EXPECT_EQ("スクリプトファイルが異常です。", f.sys.boxes[0].text);
        EXPECT_EQ("Setup", f.sys.boxes[0].caption);
    }
    const char* good[] = {"[OPTIONS]\n", "  [options]\n", "\t[OPTIONS] ; comment\n", "[INIT]\n[OPTIONS]"};
    for (const char* text : good) {
        EngineFixture f;
        EXPECT_EQ(1, f.Load(text)) << text;
        EXPECT_TRUE(f.sys.boxes.empty()) << text;
    }
}

TEST(ScriptLines, QuotedLineBreakJoinsPhysicalLines) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nPRINT \"one\ntwo\"\nPRINT three\n");
    ASSERT_EQ(1, FindSection(f.e, "~[A]"));
    int n = ReadScriptLine(f.e);
    EXPECT_EQ("PRINT \"one\r\ntwo\"\r\n", std::string(f.e.script.line));
    EXPECT_EQ(static_cast<int>(std::string(f.e.script.line).size()), n);
    // The joined line counts once.
    EXPECT_EQ(3, f.e.script.lineCount);
    ReadScriptLine(f.e);
    EXPECT_EQ("PRINT three\r\n", std::string(f.e.script.line));
}

TEST(ScriptLines, OddQuoteSwallowsLinesUpToTheNextQuote) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nthis \" comment\nPRINT lost\nend\"\nPRINT kept\n");
    ASSERT_EQ(1, f.Run("~[A]"));
    ASSERT_EQ(1u, f.sys.boxes.size());
    EXPECT_EQ("kept", f.sys.boxes[0].text);
}

TEST(ScriptLines, LastLineWithoutCrLfIsReadButNotCounted) {
    EngineFixture f;
    std::string text = "[OPTIONS]\r\n[A]\r\nPRINT last";
    ASSERT_EQ(1, script::LoadScriptBytes(f.e, text.data(), static_cast<int>(text.size())));
    ASSERT_EQ(1, FindSection(f.e, "~[A]"));
    EXPECT_EQ(-1, ReadScriptLine(f.e));
    EXPECT_EQ("PRINT last", std::string(f.e.script.line));
    EXPECT_EQ(2, f.e.script.lineCount);
    // Reading on delivers an empty line and the end signal again.
    EXPECT_EQ(-1, ReadScriptLine(f.e));
    EXPECT_EQ("", std::string(f.e.script.line));
}

TEST(ScriptLines, OverlongLineEndsTheScript) {
    EngineFixture f;
    std::string longLine = "PRINT " + std::string(400, 'a');
    f.Load("[OPTIONS]\n[A]\n" + longLine + "\nPRINT after\n[B]\n");
    ASSERT_EQ(1, FindSection(f.e, "~[A]"));
    EXPECT_EQ(-1, ReadScriptLine(f.e));
    EXPECT_EQ(319u, std::string(f.e.script.line).size());
    // Nothing behind the long line is ever reached, not even by a search.
    EXPECT_EQ(-1, ReadScriptLine(f.e));
    EXPECT_EQ(0, FindSection(f.e, "~[B]"));
    EXPECT_EQ(-1, ReadScriptLine(f.e));
}

TEST(ScriptLines, OnlyCrLfEndsALineAndTheScriptsLastBytesEndTheScript) {
    EngineFixture f;
    // A lone LF or CR is part of the line; CR LF as the script's last bytes is read with
    // the line but signals the end, as a last line without a line end does.
    std::string text = "[OPTIONS]\r\na\nb\rc\r\nlast\r\n";
    ASSERT_EQ(1, script::LoadScriptBytes(f.e, text.data(), static_cast<int>(text.size())));
    f.e.script.readPos = 0;
    f.e.script.lineCount = 0;
    EXPECT_EQ(11, ReadScriptLine(f.e));
    EXPECT_EQ(7, ReadScriptLine(f.e));
    EXPECT_EQ("a\nb\rc\r\n", std::string(f.e.script.line));
    EXPECT_EQ(-1, ReadScriptLine(f.e));
    EXPECT_EQ("last\r\n", std::string(f.e.script.line));
    EXPECT_EQ(2, f.e.script.lineCount);
    EXPECT_EQ(static_cast<int>(text.size()), f.e.script.readPos);
}

TEST(ScriptLines, TheLongestLineHoldsItsCrLfOneByteMoreEndsTheScript) {
    const int longest = script::kMaxLineBytes;
    for (int extra : {0, 1}) {
        EngineFixture f;
        // A quote pair inside keeps the line end outside quotes.
        std::string line = "\"q\"" + std::string(longest - 2 - 3 + extra, 'x') + "\r\n";
        std::string text = "[OPTIONS]\r\n" + line + "PRINT after\r\n";
        ASSERT_EQ(1, script::LoadScriptBytes(f.e, text.data(), static_cast<int>(text.size())));
        EXPECT_EQ(extra == 0 ? longest : -1, ReadScriptLine(f.e)) << extra;
        EXPECT_EQ(line.substr(0, longest), std::string(f.e.script.line)) << extra;
        EXPECT_EQ(extra == 0 ? "PRINT after\r\n" : "", (ReadScriptLine(f.e), std::string(f.e.script.line))) << extra;
    }
}

TEST(Patterns, WildcardsAndCase) {
    EngineFixture f;
    struct Case {
        const char* pattern;
        const char* text;
        int result;
    } cases[] = {
        {"~[SUB1]", "[sub1]", 0},
        {"~[SUB1]", "  [SUB1]xyz", 0},
        {"~[SUB1]", "[SUB10]", -1},
        {"~[OPTIONS]", "~[OPTIONS]", -1},  // a tilde in the text is not a blank
        {"~QUIT", "QUITE", 0},             // prefix match
        {"~COPY", "copying starts here", 0},
        {"~[", "\t[X]", 0},
        {"A*C", "AxxxC", 0},
        {"A*C", "Axxx", -1},
        {"V?", "V12,", 0},
        {"V?", "V12x", -1},
        {"", "x", -1},
        {"x", "", -1},
        {"~[インストール]", "[インストール]", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, MatchPattern(f.e, c.pattern, c.text)) << c.pattern << " / " << c.text;
    }
    ASSERT_EQ(0, MatchPattern(f.e, "~QUIT", "  QUIT now"));
    EXPECT_EQ(6, f.e.script.matchLength);
}

TEST(Patterns, SecondByteOfATwoByteCharacterIsComparedExactly) {
    EngineFixture f;
    // "ア" is 83 41 and "ャ" is 83 61: a letter-case rule on the second byte would equate them.
    EXPECT_EQ(-1, MatchPattern(f.e, "[ア]", "[ャ]"));
    EXPECT_EQ(0, MatchPattern(f.e, "[ア]", "[ア]"));
}

TEST(Sections, FirstMatchFromTheTopWins) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[X]\nPRINT first\n[X]\nPRINT second\n[LAST]");
    EXPECT_EQ(1, f.Run("~[X]"));
    ASSERT_EQ(1u, f.sys.boxes.size());
    EXPECT_EQ("first", f.sys.boxes[0].text);
    // A header on the last line is found and its section is empty.
    EXPECT_EQ(1, FindSection(f.e, "~[LAST]"));
    EXPECT_EQ(1, f.Run("~[LAST]"));
    EXPECT_EQ(0, f.Run("~[NONE]"));
}

TEST(Sections, TrimKeepsTheFirstByte) {
    char a[] = "PRINT x  \t\r\n";
    script::TrimLineEnd(a);
    EXPECT_STREQ("PRINT x", a);
    char b[] = " ";
    script::TrimLineEnd(b);
    EXPECT_STREQ(" ", b);
}
