// The command runner against the simulated Windows: its guard, its command line, its key,
// its keyword subset with the swapped roots and its silence.
#include <gtest/gtest.h>

#include <string>

#include "engine_fixture.h"
#include "platform/sim/sim_windows.h"
#include "runner/command_runner.h"

using plat::RegRoot;

namespace {

struct RunnerFixture : ::testing::Test {
    plat::SimWindows sys;
    script::Engine e;

    void SetUp() override {
        sys.SetModuleFileName("C:\\TOOLS\\BRINMARK.EXE");
        sys.AddFolder("C:\\TOOLS");
        sys.AddWindow("Tavrel SETUP", "TavrelFrame");
    }
    void Script(const std::string& lines, const char* name = "C:\\TOOLS\\COMMAND.INF") {
        sys.AddFile(name, enginetest::CrLf(lines));
    }
    int Run(const char* commandLine = "") { return runner::RunCommandRunner(e, sys, commandLine); }
};

}  // namespace

TEST_F(RunnerFixture, WithoutAnInstallerOnlyTheNoticeIsShown) {
    plat::SimWindows alone;
    alone.SetModuleFileName("C:\\BRINMARK.EXE");
    alone.AddFile("C:\\COMMAND.INF", enginetest::CrLf("[START]\nREGCREATEKEY SOFTWARE\\X\n"));
    EXPECT_EQ(0, runner::RunCommandRunner(e, alone, ""));
    ASSERT_EQ(1u, alone.MessageBoxes().size());
    EXPECT_EQ("このアプリケーションは、\nアンインストール時に使用します。\n", alone.MessageBoxes()[0].text);
    EXPECT_EQ("Tavrel Setup追加コマンド", alone.MessageBoxes()[0].caption);
    EXPECT_EQ(plat::kMbOk, alone.MessageBoxes()[0].style);
    EXPECT_FALSE(alone.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\X"));
    EXPECT_FALSE(alone.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\Tavrel\\Setup"));
}

TEST_F(RunnerFixture, RunnerKeyIsMarkedOnlyWhenNew) {
    Script("[START]\n");
    Run();
    std::string bytes;
    uint32_t type = 0;
    ASSERT_TRUE(sys.RegGetValue(RegRoot::LocalMachine, "SOFTWARE\\Tavrel\\Setup", "DisplayName", &type, &bytes));
    EXPECT_EQ(plat::kRegSz, type);
    EXPECT_EQ(std::string("Setup", 5), bytes);  // no terminating zero
    sys.RegPutValue(RegRoot::LocalMachine, "SOFTWARE\\Tavrel\\Setup", "DisplayName", plat::kRegSz, "Mine");
    Run();
    EXPECT_EQ("Mine", sys.RegGetString(RegRoot::LocalMachine, "SOFTWARE\\Tavrel\\Setup", "DisplayName"));
}

TEST_F(RunnerFixture, RootsAreSwappedAndTheDefaultIsTheMachine) {
    sys.RegPutKey(RegRoot::LocalMachine, "SOFTWARE\\Old");
    sys.RegPutKey(RegRoot::CurrentUser, "SOFTWARE\\OldUser");
    Script(
        "[START]\nREGCREATEKEY SOFTWARE\\Game\nREGCREATEKEY SOFTWARE\\GameUser, 1\n"
        "REGSETSTRING SOFTWARE\\Game, Name, \"A B\"\nREGDELETE SOFTWARE\\Old\nREGDELETE SOFTWARE\\OldUser, 1\n");
    Run();
    EXPECT_TRUE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\Game"));
    EXPECT_TRUE(sys.RegKeyExists(RegRoot::CurrentUser, "SOFTWARE\\GameUser"));
    EXPECT_EQ("A B", sys.RegGetString(RegRoot::LocalMachine, "SOFTWARE\\Game", "Name"));
    EXPECT_FALSE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\Old"));
    EXPECT_FALSE(sys.RegKeyExists(RegRoot::CurrentUser, "SOFTWARE\\OldUser"));
}

TEST_F(RunnerFixture, QuestionsTakeTheNoLabelAndNothingIsShown) {
    Script(
        "[START]\nPRINT hello\nYESNO \"Remove?\", YES, NO\nYES\nREGCREATEKEY SOFTWARE\\Yes\n[X]\n"
        "NO\nREGCREATEKEY SOFTWARE\\No\n");
    Run();
    EXPECT_TRUE(sys.MessageBoxes().empty());
    EXPECT_TRUE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\No"));
    EXPECT_FALSE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\Yes"));
}

TEST_F(RunnerFixture, OnlyTheWindowsPathsHaveValues) {
    sys.SetWindowsDirectory("C:\\WINDOWS");
    sys.AddFolder("C:\\Temp");
    sys.AddFile("C:\\Temp\\Game.lnk", "link");
    Script(
        "[START]\nREGCREATEKEY \"SOFTWARE\\%DstDir%X%WinDir%\"\nCLRSHORTCUTA Game, %WinDrv%Temp\n"
        "REGCREATEKEY \"SOFTWARE\\%Title%\"\nREGCREATEKEY SOFTWARE\\After\n");
    Run();
    EXPECT_TRUE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\XWINDOWS"));
    EXPECT_FALSE(sys.IsFile("C:\\Temp\\Game.lnk"));
    ASSERT_EQ(1u, sys.ShellNotifications().size());
    EXPECT_EQ("C:\\Temp\\Game.lnk", sys.ShellNotifications()[0]);
    // %Title% is no variable here: the run ends at that line, silently.
    EXPECT_FALSE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\After"));
    EXPECT_TRUE(sys.MessageBoxes().empty());
}

TEST_F(RunnerFixture, RegistryFailureEndsTheRunOnlyOnThe95Family) {
    Script("[START]\nREGSETSTRING SOFTWARE\\Missing, V, T\nREGCREATEKEY SOFTWARE\\After\n");
    sys.SetFamilyNT();
    Run();
    EXPECT_TRUE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\After"));
    sys.RegDeleteKey(RegRoot::LocalMachine, "SOFTWARE\\After");
    sys.SetFamily95();
    Run();
    EXPECT_FALSE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\After"));
    EXPECT_TRUE(sys.MessageBoxes().empty());
}

TEST_F(RunnerFixture, ScriptSizeRule) {
    std::string body = "[START]\r\nREGCREATEKEY SOFTWARE\\Ran\r\n";
    std::string exact = body + std::string(10000 - body.size(), ';');
    sys.AddFile("C:\\TOOLS\\COMMAND.INF", exact);
    Run();
    EXPECT_TRUE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\Ran"));
    sys.RegDeleteKey(RegRoot::LocalMachine, "SOFTWARE\\Ran");
    sys.AddFile("C:\\TOOLS\\COMMAND.INF", exact + ";");
    Run();
    EXPECT_FALSE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\Ran"));
}

TEST(RunnerCommandLine, ScriptNameForms) {
    char name[260];
    struct {
        const char* line;
        const char* name;
    } cases[] = {
        {"", "COMMAND.INF"},
        {"-sCLEAN.INF", "CLEAN.INF"},
        {"/S   CLEAN.INF", "CLEAN.INF"},
        {"/S\tCLEAN.INF,rest", "CLEAN.INF"},
        {"-s A.INF -s B.INF", "B.INF"},
        {"-x -b", "COMMAND.INF"},
    };
    for (const auto& c : cases) {
        runner::ParseRunnerCommandLine(c.line, name, sizeof name);
        EXPECT_STREQ(c.name, name) << c.line;
    }
    std::string longName = "-s" + std::string(400, 'N');
    runner::ParseRunnerCommandLine(longName.c_str(), name, sizeof name);
    EXPECT_EQ(259u, std::string(name).size());
}

TEST_F(RunnerFixture, ScriptNamedOnTheCommandLineIsTakenFromTheRunnersFolder) {
    Script("[START]\nREGCREATEKEY SOFTWARE\\Clean\n", "C:\\TOOLS\\CLEAN.INF");
    Run("-s CLEAN.INF");
    EXPECT_TRUE(sys.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\Clean"));
}
