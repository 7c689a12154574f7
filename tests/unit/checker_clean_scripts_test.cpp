// Valid scripts that look odd must check clean: a checker that cries wolf is not read.
// And the dry run must end whatever the script asks of its user.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tools/checker/dry_run.h"
#include "tools/checker/script_checker.h"
#include "tools/checker/text_encoding.h"

namespace {

namespace fs = std::filesystem;

struct Clean {
    const char* what;
    checker::ScriptKind kind;
    const char* script;  // UTF-8 with LF
};

const Clean kCleanScripts[] = {
    {"comments in prose, lower-case and Japanese, and blank lines", checker::ScriptKind::Installer,
     u8"; 設定\n[OPTIONS]\nTitle = \"A  B\"\n\n[INIT]\n; note: nothing here\nこの行は説明です\n"},
    {"keywords in any case and with leading blanks", checker::ScriptKind::Installer,
     u8"[OPTIONS]\n[INIT]\n   print \"x\"\n\tPrInT y\n"},
    {"a label inside a section is a jump target; the section is run through it", checker::ScriptKind::Installer,
     u8"[OPTIONS]\n[INIT]\nGOTO LATER\n[PART]\nPRINT a\nLATER\nPRINT b\n"},
    {"quoted separators, %% and the backspace mark", checker::ScriptKind::Installer,
     u8"[OPTIONS]\nDstDir = G\n[INIT]\nPRINT \"a, b; c\"\nPRINT 100%%\nMKDIR %DstDrv%%DstDir%@\n"},
    {"a comment behind the arguments", checker::ScriptKind::Installer,
     u8"[OPTIONS]\n[INIT]\nPRINT hello ; greets\nQUIT ; and ends\n"},
    {"sub buttons and redirections to existing sections", checker::ScriptKind::Installer,
     u8"[OPTIONS]\n[INIT]\nSUBBTN2 \"Read\",~[README],50,60\nPLAY_LAB [GAME]\n[README]\nPRINT r\n[GAME]\nEXE \\GAME.EXE,,PATH,G\n"},
    {"INSTSIZE with NOCHECK and registry commands with root indexes", checker::ScriptKind::Installer,
     u8"[OPTIONS]\n[INSTALL]\nINSTSIZE 100,200,NOCHECK\nREGCREATEKEY SOFTWARE\\A,4\nREGDELETE SOFTWARE\\A,0\n"},
    {"a runner script with its two known variables and the others empty", checker::ScriptKind::Runner,
     u8"[START]\nCLRSHORTCUTA Game,%WinDrv%%WinDir%Temp\nREGDELETE \"SOFTWARE\\Tavrel\\%DstDir%GAME\",1\n"},
    {"the last line without CR LF", checker::ScriptKind::Installer, u8"[OPTIONS]\n[INIT]\nPRINT end"},
};

TEST(CheckerCleanScripts, OddButValidScriptsGiveNoDiagnostics) {
    for (const Clean& c : kCleanScripts) {
        std::string bytes;
        ASSERT_TRUE(checker::Utf8SourceToScript(c.script, &bytes)) << c.what;
        checker::CheckResult r = checker::CheckScript(bytes, c.kind);
        EXPECT_EQ(r.errors + r.warnings, 0) << c.what << "\n" << checker::FormatDiagnostics("t", r);
    }
}

// A one-script CD in a scratch folder.
fs::path MakeCd(const std::string& name, const std::string& script) {
    fs::path cd = fs::temp_directory_path() / ("tavrel_checker_" + name);
    fs::remove_all(cd);
    fs::create_directories(cd);
    std::ofstream(cd / "TAVREL.INF", std::ios::binary) << script;
    return cd;
}

checker::DryRunReport DryRun(const fs::path& cd, std::vector<checker::DryAction> actions, const std::string& answers) {
    checker::DryRunOptions o;
    o.cdFolder = cd.string();
    o.utf8Scripts = true;
    o.actions = std::move(actions);
    o.answers = answers;
    checker::DryRunReport r;
    std::string error;
    EXPECT_TRUE(checker::RunDry(o, &r, &error)) << error;
    return r;
}

int Count(const std::vector<checker::DryEvent>& events, const std::string& kind) {
    int n = 0;
    for (const auto& e : events) n += e.kind == kind;
    return n;
}

TEST(CheckerDryRunEnds, WaitingForAMissingDiscGivesUpAfterAFewTries) {
    // FIND asks until the file is there: a box asked again and again is cancelled.
    fs::path cd = MakeCd("find", u8"[OPTIONS]\n[INIT]\nFIND Q:\\DISC2.TAG,\"2枚目を入れてください\"\nPRINT after\n");
    checker::DryRunReport r = DryRun(cd, {}, "");
    EXPECT_LE(Count(r.events, "message"), 8) << checker::FormatDryRun(r);
    EXPECT_GE(Count(r.events, "message"), 2) << checker::FormatDryRun(r);
}

TEST(CheckerDryRunEnds, NoToTheOverwriteQuestionStopsSetupAndNothingIsCopied) {
    fs::path cd = MakeCd("overwrite",
                         u8"[OPTIONS]\nDstDir = G\n[INIT_INST]\nMKDIR C:\\TAVREL\nMKDIR C:\\TAVREL\\G\n"
                         u8"[INSTALL]\nCOPY %SrcDrv%%SrcDir%TAVREL.INF,%DstDrv%%DstDir%\n");
    // [INIT_INST] makes the folders first: the destination screen offers the TAVREL
    // folder it finds (first No), and the confirmation asks whether to overwrite (second).
    checker::DryRunReport r = DryRun(cd, {checker::DryAction::Setup}, "no\nno\n");
    const std::string shown = checker::FormatDryRun(r);
    EXPECT_TRUE(r.files.empty()) << shown;
    int noes = 0;
    for (const auto& e : r.events) noes += e.kind == "message" && e.Field("answer") == "No";
    EXPECT_EQ(noes, 2) << shown;
    bool stopped = false;
    for (const auto& e : r.events) stopped = stopped || e.Field("install") == "failed";
    EXPECT_TRUE(stopped) << shown;
}

TEST(CheckerDryRunEnds, QuitInInitEndsTheRunBeforeAnyButton) {
    fs::path cd = MakeCd("quit", u8"[OPTIONS]\n[INIT]\nQUIT\nPRINT still\n[INIT_INST]\nPRINT never\n");
    checker::DryRunReport r = DryRun(cd, {checker::DryAction::Setup}, "");
    const std::string shown = checker::FormatDryRun(r);
    // QUIT lets the rest of the section run, then the program ends: no Setup.
    EXPECT_NE(shown.find("still"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("never"), std::string::npos) << shown;
}

TEST(CheckerDryRunEnds, AnEndlessJumpLoopIsCutShort) {
    // The jump is not on the last line: a section ends after its last line whatever
    // that line did.
    fs::path cd = MakeCd("loop", u8"[OPTIONS]\n[INIT]\nMKDIR C:\\LOOP\nGOTO [INIT]\n[END]\n");
    checker::DryRunReport r = DryRun(cd, {checker::DryAction::Setup}, "");
    bool cut = false;
    for (const auto& e : r.events) cut = cut || e.Field("reason").find("loops") != std::string::npos;
    EXPECT_TRUE(cut);
}

}  // namespace
