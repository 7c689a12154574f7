// Which flows the checker says run a faulty line, and what it quotes for each: jumps are
// followed, jumps that always leave end the pass, and the JSON names each flow for the
// end-to-end suite.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/checker/script_checker.h"
#include "tools/checker/text_encoding.h"

namespace {

checker::CheckResult Check(const char* utf8, checker::ScriptKind kind = checker::ScriptKind::Installer) {
    std::string bytes;
    EXPECT_TRUE(checker::Utf8SourceToScript(utf8, &bytes));
    return checker::CheckScript(bytes, kind);
}

// The one error of a script, or an empty diagnostic with the whole output as its text.
checker::Diagnostic OnlyError(const checker::CheckResult& r) {
    for (const checker::Diagnostic& d : r.diagnostics)
        if (d.severity == checker::Severity::Error && r.errors == 1) return d;
    checker::Diagnostic none;
    none.text = "not one error:\n" + checker::FormatDiagnostics("t", r);
    return none;
}

std::vector<std::string> Contexts(const checker::Diagnostic& d) {
    std::vector<std::string> out;
    for (const checker::Shown& s : d.shown) out.push_back(s.context);
    return out;
}

TEST(CheckerRunContexts, FlowsWithTheSameTextShareOneQuote) {
    const checker::Diagnostic d = OnlyError(
        Check(u8"[OPTIONS]\n[INIT]\nSUBBTN1 x,[S],10,10\nGOTO [COMMON]\n"
              u8"[S]\nGOTO [COMMON]\n[COMMON]\nMKDIR\nPRINT end\n"));
    EXPECT_EQ(Contexts(d), (std::vector<std::string>{"start-up", "sub1"})) << d.text;
    EXPECT_NE(d.text.find(u8"at start-up ([INIT], by a jump) and when sub button 1 is pressed ([S], by a jump) "
                          u8"the installer says \"文法エラーです。 8行\" and stops the section"),
              std::string::npos)
        << d.text;
}

TEST(CheckerRunContexts, NothingBelowAQuestionRunsInTheSamePass) {
    const checker::Diagnostic d = OnlyError(
        Check(u8"[OPTIONS]\n[INIT]\nYESNO q,[A],[B]\nMKDIR\n[A]\nPRINT a\n[B]\nPRINT b\n"));
    ASSERT_EQ(d.shown.size(), 1u) << d.text;
    EXPECT_EQ(d.shown[0].context, "") << d.text;
    EXPECT_NE(d.text.find("no flow runs this line"), std::string::npos) << d.text;
}

TEST(CheckerRunContexts, ARegistryJumpMayNotJumpSoTheLinesBelowItRun) {
    const checker::Diagnostic d = OnlyError(
        Check(u8"[OPTIONS]\n[UNINSTALL]\nREGJUMP SOFTWARE\\X,[A]\nMKDIR\n[A]\nPRINT a\n"));
    EXPECT_EQ(Contexts(d), (std::vector<std::string>{"uninstall"})) << d.text;
    ASSERT_EQ(d.shown[0].boxes.size(), 1u);
    EXPECT_EQ(d.shown[0].boxes[0], u8"　　　 文法エラーです。\nアンインストールを中断します。\n4行");
}

TEST(CheckerRunContexts, TheRunnerShowsNothingAndSaysSo) {
    const checker::Diagnostic d = OnlyError(Check(u8"[START]\nREGCREATEKEY\nPRINT x\n", checker::ScriptKind::Runner));
    ASSERT_EQ(d.shown.size(), 1u) << d.text;
    EXPECT_EQ(d.shown[0].program, "BRINMARK.EXE");
    EXPECT_EQ(d.shown[0].context, "runner");
    EXPECT_TRUE(d.shown[0].boxes.empty());
}

TEST(CheckerRunContexts, JsonNamesTheFlowAndKeepsTheBoxTextExact) {
    const checker::CheckResult r = Check(u8"[OPTIONS]\n[INSTALL]\nMKDIR\nPRINT x\n");
    const std::string json = checker::FormatDiagnosticsJson("T.INF", r);
    EXPECT_NE(
        json.find(
            u8"\"shown\": [{\"program\": \"OSTREL.EXE\", \"context\": \"install-run\", \"slot\": \"[INSTALL]\", \"section\": "
            u8"\"[INSTALL]\", \"by_jump\": false, \"mode\": 1, \"boxes\": [\"　　 文法エラーです。\\n"
            u8"インストールを中断します。\\n3行\"]}]"),
        std::string::npos)
        << json;
}

}  // namespace
