// Start-up: the environment on both platform families, the registered TAVREL folder,
// the command line, and the order and exits of the start-up sequence.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/environment.h"
#include "installer/startup.h"
#include "installer_test_support.h"

namespace {

using installertest::InstallerFixture;
using plat::RegRoot;
using plat::SpecialFolder;

const char kScriptNotLoaded[] = "スクリプトファイルを読み込めませんでした。\n　　　　　　　終了します。";

struct EnvironmentTest : ::testing::Test, InstallerFixture {
    EnvironmentTest() {
        sys.AddFolder("C:\\Users\\taro\\Desktop");
        sys.AddFolder("C:\\Users\\taro\\Start Menu\\Programs");
        sys.SetSpecialFolder(SpecialFolder::Desktop, "C:\\Users\\taro\\Desktop");
        sys.SetSpecialFolder(SpecialFolder::Programs, "C:\\Users\\taro\\Start Menu\\Programs");
    }
};

TEST_F(EnvironmentTest, ProgramFolderComesFromTheProgramsOwnPathWhateverItsName) {
    sys.SetModuleFileName("D:\\CD\\SETUP32.EXE");
    ASSERT_EQ(installer::SetupEnvironment(e), 1);
    EXPECT_STREQ(e.env.programFolder, "D:\\CD\\");
    EXPECT_STREQ(e.env.sourceFolder, "D:\\CD\\");
}

TEST_F(EnvironmentTest, NtFamilyTakesTheShellsFoldersAndTheProfileAsWindowsFolder) {
    sys.SetFamilyNT();
    ASSERT_EQ(installer::SetupEnvironment(e), 1);
    EXPECT_STREQ(e.env.desktopFolder, "C:\\Users\\taro\\Desktop\\");
    EXPECT_STREQ(e.env.startMenuFolder, "C:\\Users\\taro\\Start Menu\\Programs\\Tavrel\\");
    EXPECT_STREQ(e.env.windowsFolder, "C:\\Users\\taro\\");
    EXPECT_TRUE(sys.IsFolder(e.env.desktopFolder));
}

TEST_F(EnvironmentTest, NtFamilyWithoutTheShellsDesktopFallsBackToDriveA) {
    sys.SetFamilyNT();
    sys.SetSpecialFolder(SpecialFolder::Desktop, "");
    sys.SetSpecialFolder(SpecialFolder::Programs, "");
    installer::SetupSystemFolders(e);
    EXPECT_STREQ(e.env.windowsFolder, "A:\\");
    EXPECT_STREQ(e.env.desktopFolder, "A:\\デスクトップ\\");
    EXPECT_STREQ(e.env.startMenuFolder, "A:\\スタート メニュー\\プログラム\\Tavrel\\");
}

TEST_F(EnvironmentTest, NinetyFiveFamilyBuildsTheFoldersFromTheWindowsDirectory) {
    sys.SetFamily95();
    sys.SetWindowsDirectory("C:\\WINDOWS");
    ASSERT_EQ(installer::SetupEnvironment(e), 1);
    EXPECT_STREQ(e.env.windowsFolder, "C:\\WINDOWS");
    EXPECT_STREQ(e.env.desktopFolder, "C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ\\");
    EXPECT_STREQ(e.env.startMenuFolder, "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\Tavrel\\");
    EXPECT_STREQ(e.env.tavrelBase, "C:\\");
    EXPECT_FALSE(e.runningOnNT);
}

TEST_F(EnvironmentTest, RegisteredTavrelFolderIsFoundSilently) {
    sys.AddDrive('E', plat::kDriveFixed, 1u << 30);
    sys.AddFolder("E:\\GAMES\\TAVREL");
    PutSetting("Path", "E:\\GAMES");
    ASSERT_EQ(installer::SetupEnvironment(e), 1);
    EXPECT_EQ(e.tavrelFolderFound, 1);
    EXPECT_STREQ(e.env.tavrelBase, "E:\\GAMES");
    EXPECT_TRUE(sys.MessageBoxes().empty());

    PutSetting("Path", "E:\\");
    sys.AddFolder("E:\\TAVREL");
    ASSERT_EQ(installer::SetupEnvironment(e), 1);
    EXPECT_EQ(e.tavrelFolderFound, 1);
    EXPECT_STREQ(e.env.tavrelBase, "E:\\");
}

TEST_F(EnvironmentTest, RegisteredFolderWithoutTavrelShowsItsMessageOnceAndFallsBack) {
    sys.AddFolder("C:\\GAMES");
    PutSetting("Path", "C:\\GAMES");
    sys.SetCurrentDirectory("C:\\Users");
    ASSERT_EQ(installer::SetupEnvironment(e), 1);
    EXPECT_EQ(e.tavrelFolderFound, 0);
    EXPECT_STREQ(e.env.tavrelBase, "C:\\");
    ASSERT_EQ(sys.MessageBoxes().size(), 1u);
    EXPECT_EQ(sys.MessageBoxes()[0].text,
              "   レジストリに記述されたドライブには、\nTAVRELフォルダは見つかりませんでした。");
    EXPECT_EQ(sys.MessageBoxes()[0].caption, "");
    EXPECT_EQ(sys.MessageBoxes()[0].style, plat::kMbOk | plat::kMbIconWarning);
    EXPECT_EQ(sys.CurrentDirectory(), "C:\\Users") << "the current directory must be restored";

    // A registered folder that does not exist at all: the same.
    PutSetting("Path", "C:\\NOWHERE");
    sys.ClearMessageBoxes();
    ASSERT_EQ(installer::SetupEnvironment(e), 1);
    EXPECT_STREQ(e.env.tavrelBase, "C:\\");
    EXPECT_EQ(sys.MessageBoxes().size(), 1u);
}

TEST_F(EnvironmentTest, AFileNamedTavrelIsNotTheFolder) {
    sys.AddFolder("C:\\GAMES");
    sys.AddFile("C:\\GAMES\\TAVREL", "x");
    PutSetting("Path", "C:\\GAMES");
    ASSERT_EQ(installer::SetupEnvironment(e), 1);
    EXPECT_EQ(e.tavrelFolderFound, 0);
}

TEST_F(EnvironmentTest, DriveKindFollowsTheProgramsDrive) {
    sys.AddDrive('F', plat::kDriveRemovable, 1000);
    sys.AddFolder("F:\\");
    struct Case {
        const char* module;
        script::DriveKind kind;
    };
    for (Case c : {Case{"D:\\OSTREL.EXE", script::kDriveKindCdrom}, Case{"F:\\OSTREL.EXE", script::kDriveKindRemovable},
                   Case{"C:\\CD\\OSTREL.EXE", script::kDriveKindOther}}) {
        sys.SetModuleFileName(c.module);
        ASSERT_EQ(installer::SetupEnvironment(e), 1);
        EXPECT_EQ(e.driveKind, c.kind) << c.module;
    }
    EXPECT_EQ(e.driveTypes['D' - 'A'], plat::kDriveCdrom);
    EXPECT_EQ(e.driveTypes['C' - 'A'], plat::kDriveFixed);
}

TEST_F(EnvironmentTest, ClearsTheProductFolderAndDestination) {
    std::snprintf(e.options.dstDir, sizeof e.options.dstDir, "OLD");
    std::snprintf(e.env.destFolder, sizeof e.env.destFolder, "C:\\X\\");
    e.productInstalled = true;
    ASSERT_EQ(installer::SetupEnvironment(e), 1);
    EXPECT_STREQ(e.options.dstDir, "");
    EXPECT_STREQ(e.env.destFolder, "");
    EXPECT_FALSE(e.productInstalled);
    EXPECT_TRUE(sys.RegKeyExists(RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel"));
}

TEST_F(EnvironmentTest, CommandLineOptions) {
    sys.AddFolder("C:\\SETUP");
    installer::ParseCommandLine(e, "-s OTHER.INF /B  pic.bmp -x -U -c C:\\SETUP");
    EXPECT_STREQ(e.env.scriptName, "OTHER.INF");
    EXPECT_STREQ(e.env.pictureName, "pic.bmp");
    EXPECT_TRUE(e.uninstallOnly);
    EXPECT_STREQ(e.env.programFolder, "C:\\SETUP\\");
    EXPECT_STREQ(e.env.sourceFolder, "C:\\SETUP\\");
    EXPECT_EQ(sys.CurrentDirectory(), "C:\\SETUP");
}

TEST_F(EnvironmentTest, CommandLineNamesEndAtBlankTabOrComma) {
    installer::ParseCommandLine(e, "-S\tA.INF,-bB.BMP");
    EXPECT_STREQ(e.env.scriptName, "A.INF");
    EXPECT_STREQ(e.env.pictureName, "B.BMP");
    EXPECT_FALSE(e.uninstallOnly);
}

TEST_F(EnvironmentTest, CommandLineFolderKeepsItsOneBackslash) {
    sys.AddFolder("C:\\SETUP");
    installer::ParseCommandLine(e, "/c C:\\SETUP\\");
    EXPECT_STREQ(e.env.programFolder, "C:\\SETUP\\");
}

TEST_F(EnvironmentTest, CommandLineFolderTooLongForItsBackslashIsNotUsed) {
    std::string folder = "C:\\" + std::string(256, 'A');  // 259 bytes
    installer::ParseCommandLine(e, ("-c " + folder).c_str());
    EXPECT_STREQ(e.env.programFolder, "D:\\");
    std::string name(300, 'N');
    installer::ParseCommandLine(e, ("-s " + name).c_str());
    EXPECT_EQ(std::string(e.env.scriptName), std::string(259, 'N'));
}

// ---- The start-up sequence -----------------------------------------------------------

class FakeWindows : public installer::StartupWindows {
public:
    std::vector<std::string> calls;
    bool frameResult = true;
    bool templatesResult = true;
    int launcherResult = 1;

    bool CreateFrame() override {
        calls.push_back("frame");
        return frameResult;
    }
    bool HasDialogTemplates() override {
        calls.push_back("templates");
        return templatesResult;
    }
    void RunUninstall() override { calls.push_back("uninstall"); }
    int CreateLauncher() override {
        calls.push_back("launcher");
        return launcherResult;
    }
};

struct StartupTest : ::testing::Test, InstallerFixture {
    FakeWindows windows;
    StartupTest() {
        sys.SetModuleFileName("D:\\OSTREL.EXE");
        sys.SetSpecialFolder(SpecialFolder::Desktop, "C:\\Users\\taro\\Desktop");
    }
    void Script(const std::string& lines, const char* path = "D:\\TAVREL.INF") {
        sys.AddFile(path, installertest::CrLf(lines));
    }
    bool Start(const char* commandLine = "") { return installer::RunStartup(e, windows, commandLine); }
};

TEST_F(StartupTest, RunsInitThenShowsTheLauncher) {
    Script("[OPTIONS]\nTitle = Demo\n[INIT]\nPRINT \"hello\"\n[UNINSTALL]\n");
    sys.SetScreenSize(800, 600);
    EXPECT_TRUE(Start());
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"frame", "templates", "launcher"}));
    ASSERT_EQ(sys.MessageBoxes().size(), 1u);
    EXPECT_EQ(sys.MessageBoxes()[0].text, "hello");
    EXPECT_EQ(sys.MessageBoxes()[0].caption, "");
    EXPECT_STREQ(e.options.title, "Demo");
    EXPECT_TRUE(e.uninstallAvailable);
    EXPECT_EQ(e.env.screenWidth, 800);
    EXPECT_EQ(e.env.screenHeight, 600);
}

TEST_F(StartupTest, MakesTheProgramsFolderTheCurrentDirectory) {
    sys.AddFolder("D:\\SETUP");
    sys.SetModuleFileName("D:\\SETUP\\OSTREL.EXE");
    Script("[OPTIONS]\n", "D:\\SETUP\\TAVREL.INF");
    EXPECT_TRUE(Start());
    EXPECT_STREQ(e.env.programFolder, "D:\\SETUP\\");
    EXPECT_FALSE(e.uninstallAvailable);
}

TEST_F(StartupTest, QuitInInitStillEndsTheSectionAndThenTheProgram) {
    Script("[OPTIONS]\n[INIT]\nQUIT\nPRINT after\n");
    EXPECT_TRUE(Start());
    EXPECT_EQ(sys.QuitRequests(), std::vector<int>{0});
    ASSERT_EQ(sys.MessageBoxes().size(), 1u);
    EXPECT_EQ(sys.MessageBoxes()[0].text, "after");
}

TEST_F(StartupTest, SecondInstanceBringsTheFirstForwardAndEndsSilently) {
    struct Case {
        const char* title;
        const char* cls;
        plat::SimWindows::WindowAction action;
    };
    for (Case c : {Case{"Tavrel ｾｯﾄｱｯﾌﾟ", "#32770", plat::SimWindows::WindowAction::BroughtToFront},
                   Case{"Tavrel SETUP", "Frame", plat::SimWindows::WindowAction::BroughtToFront},
                   Case{"Other", "Tavrel", plat::SimWindows::WindowAction::ShownNormal}}) {
        InstallerFixture f;
        FakeWindows w;
        plat::WindowHandle other = f.sys.AddWindow(c.title, c.cls);
        EXPECT_FALSE(installer::RunStartup(f.e, w, ""));
        EXPECT_TRUE(w.calls.empty()) << c.title;
        ASSERT_EQ(f.sys.WindowEvents().size(), 1u) << c.title;
        EXPECT_EQ(f.sys.WindowEvents()[0].window, other);
        EXPECT_EQ(f.sys.WindowEvents()[0].action, c.action);
        EXPECT_TRUE(f.sys.MessageBoxes().empty());
    }
}

TEST_F(StartupTest, RunningGameIsShownInstead) {
    Script("[OPTIONS]\nClass = TavrelDemoGame\n[INIT]\nPRINT no\n");
    plat::WindowHandle game = sys.AddWindow("Demo", "TavrelDemoGame");
    EXPECT_FALSE(Start());
    EXPECT_EQ(windows.calls, std::vector<std::string>{"frame"});
    ASSERT_EQ(sys.WindowEvents().size(), 1u);
    EXPECT_EQ(sys.WindowEvents()[0].window, game);
    EXPECT_EQ(sys.WindowEvents()[0].action, plat::SimWindows::WindowAction::ShownNormal);
    EXPECT_TRUE(sys.MessageBoxes().empty());
}

TEST_F(StartupTest, MissingScriptEndsWithItsMessage) {
    EXPECT_FALSE(Start());
    ASSERT_EQ(sys.MessageBoxes().size(), 1u);
    EXPECT_EQ(sys.MessageBoxes()[0].text, kScriptNotLoaded);
    EXPECT_EQ(sys.MessageBoxes()[0].caption, "Setup");
    EXPECT_EQ(sys.MessageBoxes()[0].owner, 0u);
    EXPECT_EQ(windows.calls, std::vector<std::string>{"frame"});
}

TEST_F(StartupTest, ScriptWithoutOptionsShowsBothMessages) {
    Script("[INIT]\nPRINT x\n");
    EXPECT_FALSE(Start());
    std::vector<std::string> texts = BoxTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "スクリプトファイルが異常です。");
    EXPECT_EQ(texts[1], kScriptNotLoaded);
}

TEST_F(StartupTest, ScriptNameFromTheCommandLine) {
    Script("[OPTIONS]\nTitle = Other\n", "D:\\OTHER.INF");
    EXPECT_TRUE(Start("-s OTHER.INF"));
    EXPECT_STREQ(e.options.title, "Other");
}

TEST_F(StartupTest, MissingTemplatesEndWithTheResourceMessage) {
    Script("[OPTIONS]\n[INIT]\nPRINT no\n");
    windows.templatesResult = false;
    EXPECT_FALSE(Start());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"リソースの読み込みに失敗しました。\n　　　　　 終了します。"});
}

TEST_F(StartupTest, FrameFailureEndsAtOnce) {
    windows.frameResult = false;
    EXPECT_FALSE(Start());
    EXPECT_EQ(windows.calls, std::vector<std::string>{"frame"});
}

TEST_F(StartupTest, UninstallOnlyRunsInitAndTheUninstallFlowWithoutLauncher) {
    Script("[OPTIONS]\n[INIT]\nPRINT init\n");
    EXPECT_FALSE(Start("-u"));
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"frame", "templates", "uninstall"}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"init"});
}

TEST_F(StartupTest, LauncherResults) {
    Script("[OPTIONS]\n");
    windows.launcherResult = 0;
    EXPECT_FALSE(Start());
    EXPECT_TRUE(sys.MessageBoxes().empty()) << "the launcher reports its own failures";

    InstallerFixture f;
    FakeWindows w;
    w.launcherResult = installer::kLauncherNoMemory;
    f.sys.AddFile("D:\\TAVREL.INF", installertest::CrLf("[OPTIONS]\n"));
    EXPECT_FALSE(installer::RunStartup(f.e, w, ""));
    EXPECT_EQ(f.BoxTexts(), std::vector<std::string>{"メモリが足りません。終了します。"});
}

}  // namespace
