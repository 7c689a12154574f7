// A line too long for the line buffer ends the script: how many lines the checker says
// are lost must match what the reader really never reaches, at every boundary.
#include <string>

#include <gtest/gtest.h>

#include "tools/checker/script_checker.h"

namespace {

const std::string kHead = "[OPTIONS]\r\n[INIT]\r\n";  // lines 1 and 2

// The one diagnostic about the long line.
std::string LongLineDiagnostic(const std::string& script) {
    checker::CheckResult r = checker::CheckScript(script, checker::ScriptKind::Installer);
    for (const checker::Diagnostic& d : r.diagnostics)
        if (d.text.find("line too long") != std::string::npos)
            return (d.severity == checker::Severity::Error ? "error: " : "warning: ") + d.text;
    return "(none)\n" + checker::FormatDiagnostics("t", r);
}

struct Case {
    const char* what;
    std::string script;
    const char* expected;  // a part of the diagnostic
};

TEST(CheckerLinesNeverRead, CountsOnlyLinesThatExistBelowTheCut) {
    const std::string l318(318, 'x'), l330(330, 'x');
    const Case cases[] = {
        {"318 bytes, then one line ending in CR LF", kHead + l318 + "\r\nPRINT a\r\n", "the 1 line below is"},
        {"318 bytes, then one line without CR LF", kHead + l318 + "\r\nPRINT a", "the 1 line below is"},
        {"330 bytes, then two lines and an empty one", kHead + l330 + "\r\nPRINT a\r\n\r\nPRINT b\r\n",
         "the 3 lines below are"},
        {"a joined line cut on its second physical line",
         kHead + "PRINT \"a\r\n" + l330 + "\"\r\nPRINT b\r\nPRINT c\r\n", "the 2 lines below are"},
        {"330 bytes as the last line with CR LF: the line itself is cut", kHead + l330 + "\r\n",
         "only its first 319 bytes"},
        {"330 bytes as the last line without CR LF", kHead + l330, "only its first 319 bytes"},
    };
    for (const Case& c : cases) {
        const std::string got = LongLineDiagnostic(c.script);
        EXPECT_NE(got.find(c.expected), std::string::npos) << c.what << "\n  got: " << got;
        EXPECT_EQ(got.rfind("error: ", 0), 0u) << c.what << "\n  got: " << got;
    }
}

// At the very end of the script a line that fills the buffer loses only its line end,
// which the reader trims anyway: worth a warning, not an error.
TEST(CheckerLinesNeverRead, AFullLastLineLosesNothing) {
    const std::string l318(318, 'x'), l319(319, 'x');
    for (const std::string& script : {kHead + l318 + "\r\n", kHead + l319 + "\r\n"}) {
        const std::string got = LongLineDiagnostic(script);
        EXPECT_EQ(got.rfind("warning: ", 0), 0u) << got;
        EXPECT_EQ(got.find("never read"), std::string::npos) << got;
    }
}

}  // namespace
