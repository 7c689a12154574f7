// EXE as a script runs it: the command line, the current directory before and after,
// the four mode words, the registry prefix, relative program paths, and the wait that
// ends with the program (also one that exits with the still-active code).
#include <cstring>
#include <string>

#include "commands/program_launch.h"
#include "commands/registry_accessor.h"
#include "tests/platform/system_command_fixture.h"

namespace {

using systemtest::SystemCommandTest;

// Waits the way the installer does, without windows: idle first, then until the
// process has ended (bounded, so a broken end test fails instead of hanging).
class PollingHost : public script::Host {
public:
    explicit PollingHost(plat::Platform* sys) : sys_(sys) {}
    int waits = 0;
    bool ended = false;
    void RunAndWait(plat::ProcessHandle process) override {
        ++waits;
        sys_->WaitForInputIdle(process);
        for (int i = 0; i < 300 && !ended; ++i) {
            ended = sys_->ProcessHasEnded(process);
            if (!ended) Pause();
        }
    }
    static void Pause() {
#ifdef _WIN32
        ::Sleep(50);
#endif
    }

private:
    plat::Platform* sys_;
};

struct Start {
    std::string module, commandLine, directory;
};

class Launch : public SystemCommandTest {
protected:
    void SetUp() override {
        SystemCommandTest::SetUp();
        ASSERT_TRUE(sys().CreateDirectory(tp().Path("GAME").c_str()));
        std::string game;
#ifdef _WIN32
        if (!tp().IsSimulated()) {
            // The demo game is built beside this test program.
            char self[MAX_PATH];
            uint32_t n = sys().GetModuleFileName(self, sizeof self);
            std::string folder(self, n);
            folder.erase(folder.rfind('\\') + 1);
            game = tp().ReadWholeFile(folder + "GAME.EXE");
            if (game.empty()) GTEST_SKIP() << "GAME.EXE is not beside the test program";
            logPath_ = tp().Path("start.log");
            ::SetEnvironmentVariableA("TAVREL_GAME_LOG", logPath_.c_str());
            ::SetEnvironmentVariableA("TAVREL_GAME_QUIT", "200");
        }
#endif
        ASSERT_TRUE(tp().WriteWholeFile(Program(), game));
        SetCurrentDirectory(tp().Scratch());
    }
    void TearDown() override {
#ifdef _WIN32
        if (!tp().IsSimulated()) {
            WaitForGameToEnd();
            ::SetEnvironmentVariableA("TAVREL_GAME_LOG", nullptr);
            ::SetEnvironmentVariableA("TAVREL_GAME_QUIT", nullptr);
        }
#endif
        SystemCommandTest::TearDown();
    }

    std::string Program() { return tp().Path("GAME\\GAME.EXE"); }
    std::string GameFolder() { return tp().Path("GAME"); }
    std::string ScratchFolder() { return tp().Scratch().substr(0, tp().Scratch().size() - 1); }

    void SetCurrentDirectory(const std::string& folder) {
        std::string f = folder;
        if (f.size() > 3 && f.back() == '\\') f.pop_back();
        ASSERT_TRUE(sys().SetCurrentDirectory(f.c_str()));
    }
    std::string CurrentDirectory() {
        char buffer[260];
        uint32_t n = sys().GetCurrentDirectory(buffer, sizeof buffer);
        return std::string(buffer, n);
    }

    // The programs started so far, as the system saw them (under Wine: waits for the
    // expected number to report).
    std::vector<Start> Starts(size_t expected = 1) {
        std::vector<Start> starts;
        if (plat::SimWindows* sim = tp().Sim()) {
            for (const auto& p : sim->Processes()) starts.push_back({p.module, p.commandLine, p.currentDirectory});
            return starts;
        }
        // Under Wine the game writes three lines per start once it runs.
        std::string log;
        for (int i = 0; i < 100; ++i) {
            log = tp().ReadWholeFile(logPath_);
            size_t reported = 0;
            for (size_t at = log.find("module="); at != std::string::npos; at = log.find("module=", at + 1)) ++reported;
            if (reported >= expected && log.size() >= 2 && log.compare(log.size() - 2, 2, "\r\n") == 0) break;
            PollingHost::Pause();
        }
        size_t at = 0;
        auto field = [&](const char* name) {
            std::string open = std::string(name) + "=[";
            size_t from = log.find(open, at);
            if (from == std::string::npos) return std::string("<none>");
            from += open.size();
            size_t to = log.find("]\r\n", from);
            at = to;
            return log.substr(from, to - from);
        };
        while (log.find("cmdline=[", at) != std::string::npos) {
            Start s;
            s.commandLine = field("cmdline");
            s.directory = field("cwd");
            s.module = field("module");
            starts.push_back(s);
        }
        return starts;
    }

    bool QuitPosted() {
        plat::PeekedMessage m;
        while (sys().PeekMessage(&m)) {
            if (m.isQuit) return true;
        }
        return false;
    }

#ifdef _WIN32
    void WaitForGameToEnd() {
        for (int i = 0; i < 200 && sys().FindWindowByClass("TavrelDemoGame"); ++i) ::Sleep(50);
        ::Sleep(100);
    }
#endif

    std::string logPath_;
};

TEST_F(Launch, NoArgumentsGiveABlankCommandLineInTheProgramsFolder) {
    EXPECT_EQ(Run("EXE " + Program()), 0);
    EXPECT_TRUE(host_.waits.empty());
    EXPECT_STRCASEEQ(CurrentDirectory().c_str(), GameFolder().c_str());
    auto starts = Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, " ");
    EXPECT_STRCASEEQ(starts[0].module.c_str(), Program().c_str());
    EXPECT_STRCASEEQ(starts[0].directory.c_str(), GameFolder().c_str());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Launch, ArgumentsFollowOneBlank) {
    EXPECT_EQ(Run("EXE " + Program() + ",\"-x  y\""), 0);
    auto starts = Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, " -x  y");
}

TEST_F(Launch, OnlyTheUpperCaseStopWaits) {
    EXPECT_EQ(Run("EXE " + Program() + ",,stop"), 0);
    EXPECT_TRUE(host_.waits.empty());
    EXPECT_EQ(Run("EXE " + Program() + ",,Stop"), 0);
    EXPECT_TRUE(host_.waits.empty());
    EXPECT_EQ(Run("EXE " + Program() + ",,STOP"), 0);
    EXPECT_EQ(host_.waits.size(), 1u);
    EXPECT_FALSE(QuitPosted());
}

// The wait ends with the program, even one whose exit code is the still-active code.
TEST_F(Launch, StopReturnsOnceTheProgramHasEndedAlsoWithExitCode259) {
    PollingHost host(&sys());
    e().host = &host;
    if (plat::SimWindows* sim = tp().Sim()) sim->SetProcessEndsAfterPolls(3);
    EXPECT_EQ(Run("EXE " + Program() + ",\"-quit 300 -exit 259\",STOP"), 0);
    EXPECT_EQ(host.waits, 1);
    EXPECT_TRUE(host.ended);
#ifdef _WIN32
    if (!tp().IsSimulated()) {
        EXPECT_EQ(sys().FindWindowByClass("TavrelDemoGame"), 0u);
    }
#endif
}

TEST_F(Launch, QuitAndPathEndTheInstallerAndTheSection) {
    EXPECT_EQ(Run("EXE " + Program() + ",,QUIT"), 1);
    EXPECT_TRUE(QuitPosted());

    bool created = false;
    ASSERT_EQ(sys().RegCreateKey(plat::RegRoot::CurrentUser, tp().RegistryScratch().c_str(), plat::kKeyAllAccess,
                                 &e().accessorKey, &created),
              plat::kRegOk);
    ASSERT_EQ(commands::WriteSetting(e(), "GameRoot", tp().Scratch().c_str()), 1);
    SetCurrentDirectory("C:\\");
    EXPECT_EQ(Run("EXE GAME\\GAME.EXE,,PATH,GameRoot"), 1);
    EXPECT_TRUE(QuitPosted());
    EXPECT_STRCASEEQ(CurrentDirectory().c_str(), GameFolder().c_str());
    auto starts = Starts(2);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_STRCASEEQ(starts[1].module.c_str(), Program().c_str());
    commands::CloseRegistryAccessor(e());
}

TEST_F(Launch, PathWithAMissingValueFailsQuietlyAndStartsNothing) {
    bool created = false;
    ASSERT_EQ(sys().RegCreateKey(plat::RegRoot::CurrentUser, tp().RegistryScratch().c_str(), plat::kKeyAllAccess,
                                 &e().accessorKey, &created),
              plat::kRegOk);
    EXPECT_EQ(Run("EXE GAME\\GAME.EXE,,PATH,NoSuchValue"), -1);
    EXPECT_EQ(Run("EXE GAME\\GAME.EXE,,PATH"), -1);  // no value name: the syntax error
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, SyntaxErrorText());
    EXPECT_FALSE(QuitPosted());
    EXPECT_STRCASEEQ(CurrentDirectory().c_str(), ScratchFolder().c_str());
    if (tp().IsSimulated()) {
        EXPECT_TRUE(Starts(0).empty());
    }
    commands::CloseRegistryAccessor(e());
}

// A relative path is the current directory's, as it was before EXE moves on.
TEST_F(Launch, RelativeProgramPathStartsAndMovesIntoItsFolder) {
    EXPECT_EQ(Run("EXE GAME\\GAME.EXE"), 0);
    EXPECT_STRCASEEQ(CurrentDirectory().c_str(), GameFolder().c_str());
    auto starts = Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_STRCASEEQ(starts[0].module.c_str(), Program().c_str());
    EXPECT_STRCASEEQ(starts[0].directory.c_str(), GameFolder().c_str());
}

TEST_F(Launch, AProgramNameAloneKeepsTheCurrentDirectory) {
    SetCurrentDirectory(GameFolder());
    EXPECT_EQ(Run("EXE GAME.EXE"), 0);
    EXPECT_STRCASEEQ(CurrentDirectory().c_str(), GameFolder().c_str());
    auto starts = Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_STRCASEEQ(starts[0].module.c_str(), Program().c_str());
}

TEST_F(Launch, AProgramThatCannotStartIsNotWaitedForButQuitStillEnds) {
    EXPECT_EQ(Run("EXE " + tp().Path("GAME\\NONE.EXE") + ",,STOP"), 0);
    EXPECT_TRUE(host_.waits.empty());
    EXPECT_STRCASEEQ(CurrentDirectory().c_str(), GameFolder().c_str());
    EXPECT_EQ(Run("EXE " + tp().Path("GAME\\NONE.EXE") + ",,QUIT"), 1);
    EXPECT_TRUE(QuitPosted());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Launch, ArgumentsLongerThanAPathAreRefused) {
    std::snprintf(e().vars.srcDir, sizeof e().vars.srcDir, "%s", std::string(200, 'a').c_str());
    EXPECT_EQ(Run("EXE " + Program() + ",\"%SrcDir%%SrcDir%\""), -1);
    EXPECT_EQ(Run("EXE"), -1);
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, SyntaxErrorText());
    if (tp().IsSimulated()) {
        EXPECT_TRUE(Starts(0).empty());
    }
}

}  // namespace
