// The launcher: layout numbers, enable and default-button rules, what start-up of the
// launcher does with its windows, BITMAP, and what each button runs.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "dib_test_support.h"
#include "installer/installer_host.h"
#include "installer/launcher.h"
#include "installer/options.h"
#include "installer_test_support.h"
#include "script/dispatch.h"

namespace {

using installer::ButtonRect;
using installer::ComputeLayoutValues;
using installer::Layout;
using installer::Rect;
using installertest::InstallerFixture;
using installertest::RecordingView;

void ExpectRect(const Rect& r, int left, int top, int width, int height, const char* what) {
    EXPECT_EQ(r.left, left) << what;
    EXPECT_EQ(r.top, top) << what;
    EXPECT_EQ(r.width, width) << what;
    EXPECT_EQ(r.height, height) << what;
}

script::Options DefaultOptions() {
    script::Options o{};
    o.btnWidth = 20;
    o.btnHeight = 10;
    return o;
}

TEST(LauncherLayoutTest, DefaultButtonsOnA640By480Picture) {
    Layout l = ComputeLayoutValues(DefaultOptions(), 640, 480, 1024, 768);
    EXPECT_EQ(l.buttonWidth, 128);
    EXPECT_EQ(l.buttonHeight, 48);
    EXPECT_EQ(l.left, 192);
    EXPECT_EQ(l.top, 144);
    ExpectRect(ButtonRect(l, 30, 70), 128, 312, 128, 48, "Setup");
    ExpectRect(ButtonRect(l, 70, 70), 384, 312, 128, 48, "Play");
    ExpectRect(ButtonRect(l, 30, 85), 128, 384, 128, 48, "Exit");
    ExpectRect(ButtonRect(l, 70, 85), 384, 384, 128, 48, "Uninstall");
}

TEST(LauncherLayoutTest, SizesTruncateAndCentresMayLeaveThePicture) {
    script::Options o = DefaultOptions();
    o.btnWidth = 25;  // what BtnWidth=0 reads as
    o.btnHeight = 7;
    Layout l = ComputeLayoutValues(o, 333, 101, 640, 480);
    EXPECT_EQ(l.buttonWidth, 83);  // 8325 / 100
    EXPECT_EQ(l.buttonHeight, 7);  // 707 / 100
    // Centre (0, 0): the button straddles the top-left corner.
    ExpectRect(ButtonRect(l, 0, 0), -41, -3, 83, 7, "corner");
    ExpectRect(ButtonRect(l, 150, 100), 499 - 41, 101 - 3, 83, 7, "outside");
}

TEST(LauncherLayoutTest, PictureLargerThanTheScreenGivesANegativePlace) {
    Layout l = ComputeLayoutValues(DefaultOptions(), 801, 601, 640, 480);
    EXPECT_EQ(l.left, -81);  // -161 halved by an arithmetic shift
    EXPECT_EQ(l.top, -61);
}

TEST(LauncherLayoutTest, SevenDigitOptionsDoNotOverflow) {
    script::Options o = DefaultOptions();
    o.btnWidth = 9999999;
    Layout l = ComputeLayoutValues(o, 65535, 480, 640, 480);
    EXPECT_GT(l.buttonWidth, 0);
    Rect r = ButtonRect(l, 9999999, 9999999);
    EXPECT_GT(r.left, INT_MIN / 2);
    EXPECT_LT(r.left, INT_MAX);
}

TEST(LauncherLayoutTest, TilesCoverTheScreen) {
    int columns = 0, rows = 0;
    installer::TileCounts(1024, 768, 640, 480, &columns, &rows);
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(rows, 2);
    installer::TileCounts(1280, 960, 640, 480, &columns, &rows);
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(rows, 2);
    installer::TileCounts(1281, 1, 640, 480, &columns, &rows);
    EXPECT_EQ(columns, 3);
    EXPECT_EQ(rows, 1);
}

TEST(LauncherRulesTest, EnableRules) {
    script::Engine e;
    e.options = DefaultOptions();
    e.options.setupBtn = e.options.playBtn = e.options.exitBtn = e.options.uninstallBtn = 1;
    installer::ButtonStates s = installer::DecideButtonStates(e);
    EXPECT_FALSE(s.disableSetup);
    EXPECT_FALSE(s.playEnabled) << "not installed";
    EXPECT_FALSE(s.disableExit);
    EXPECT_FALSE(s.uninstallEnabled);

    e.productInstalled = true;
    s = installer::DecideButtonStates(e);
    EXPECT_TRUE(s.playEnabled);
    EXPECT_FALSE(s.uninstallEnabled) << "the script has no uninstall section";

    e.uninstallAvailable = true;
    EXPECT_TRUE(installer::DecideButtonStates(e).uninstallEnabled);

    e.options.setupBtn = e.options.playBtn = e.options.exitBtn = e.options.uninstallBtn = 0;
    s = installer::DecideButtonStates(e);
    EXPECT_TRUE(s.disableSetup);
    EXPECT_FALSE(s.playEnabled);
    EXPECT_TRUE(s.disableExit);
    EXPECT_FALSE(s.uninstallEnabled);
}

TEST(LauncherRulesTest, DefaultButtonRule) {
    script::Engine e;
    e.options.setupBtn = 1;
    e.options.playBtn = 1;
    EXPECT_EQ(installer::DefaultButton(e), installer::kIdSetup);
    e.options.setupBtn = 0;
    EXPECT_EQ(installer::DefaultButton(e), installer::kIdExit) << "not installed";
    e.productInstalled = true;
    EXPECT_EQ(installer::DefaultButton(e), installer::kIdPlay);
    e.options.playBtn = 0;
    EXPECT_EQ(installer::DefaultButton(e), installer::kIdExit);
}

// ---- The launcher over a recording view --------------------------------------------

struct LauncherTest : ::testing::Test, InstallerFixture {
    installer::CDib picture;
    RecordingView view;
    installer::Launcher launcher{e, picture, view};
    installer::InstallerHost host{e, launcher, view};

    LauncherTest() {
        e.host = &host;
        sys.SetScreenSize(1024, 768);
        e.env.screenWidth = 1024;
        e.env.screenHeight = 768;
        // Sections run in the program folder, where the pictures are.
        std::snprintf(e.env.programFolder, sizeof e.env.programFolder, "C:\\");
        sys.SetCurrentDirectory("C:\\");
        PutPicture("C:\\SETUP.BMP", 640, 480);
    }
    void PutPicture(const char* path, int width, int height) {
        dibtest::BmpSpec s;
        s.width = width;
        s.height = height;
        s.bits = 4;
        sys.AddFile(path, dibtest::MakeBmp(s));
    }
    void Options(const std::string& lines) {
        ASSERT_EQ(Load(lines), 1);
        OpenAccessor();
        installer::ReadOptions(e);
    }
    void Install(const char* dstDir) {
        sys.AddFolder(std::string("C:\\TAVREL\\") + dstDir);
        PutSetting(dstDir, std::string("C:\\TAVREL\\") + dstDir + "\\");
    }
    const RecordingView::Button& B(int id) { return view.buttons[id]; }
};

TEST_F(LauncherTest, CreatePlacesAndLabelsTheButtonsAndShowsTheLauncher) {
    Options("[OPTIONS]\nSetupText = インストール\nPlayText = 遊ぶ\nExitText = 終了\nUninstText = 削除\n");
    ASSERT_EQ(launcher.Create(), 1);
    EXPECT_TRUE(launcher.shown());
    EXPECT_TRUE(view.launcherVisible);
    EXPECT_TRUE(view.frameShown);
    EXPECT_EQ(view.paletteRemakes, 1);
    ExpectRect(view.launcherRect, 192, 144, 640, 480, "launcher");
    ExpectRect(view.frameRect, 512, 384, 0, 0, "frame");
    ExpectRect(B(installer::kIdSetup).rect, 128, 312, 128, 48, "Setup");
    ExpectRect(B(installer::kIdPlay).rect, 384, 312, 128, 48, "Play");
    ExpectRect(B(installer::kIdExit).rect, 128, 384, 128, 48, "Exit");
    ExpectRect(B(installer::kIdUninstall).rect, 384, 384, 128, 48, "Uninstall");
    EXPECT_EQ(B(installer::kIdSetup).text, "インストール");
    EXPECT_EQ(B(installer::kIdPlay).text, "遊ぶ");
    EXPECT_EQ(B(installer::kIdExit).text, "終了");
    EXPECT_EQ(B(installer::kIdUninstall).text, "削除");
    EXPECT_TRUE(B(installer::kIdSetup).enabled);
    EXPECT_FALSE(B(installer::kIdPlay).enabled);
    EXPECT_TRUE(B(installer::kIdExit).enabled);
    EXPECT_FALSE(B(installer::kIdUninstall).enabled);
    EXPECT_TRUE(B(installer::kIdSetup).isDefault);
    EXPECT_FALSE(B(installer::kIdSub1).visible);
    EXPECT_FALSE(B(installer::kIdSub2).visible);
    EXPECT_TRUE(e.runningOnNT);
    EXPECT_TRUE(sys.MessageBoxes().empty());
}

TEST_F(LauncherTest, ZeroButtonWidthGivesAQuarterOfThePicture) {
    Options("[OPTIONS]\nBtnWidth=0\n");
    ASSERT_EQ(launcher.Create(), 1);
    EXPECT_EQ(B(installer::kIdSetup).rect.width, 160);
    EXPECT_EQ(B(installer::kIdSetup).rect.height, 48);
}

TEST_F(LauncherTest, SetupDisabledMovesTheDefaultToPlayWhenInstalled) {
    Install("GAME");
    Options("[OPTIONS]\nDstDir = GAME\nSetupBtn=0\n[UNINSTALL]\n");
    e.uninstallAvailable = true;
    ASSERT_EQ(launcher.Create(), 1);
    EXPECT_FALSE(B(installer::kIdSetup).enabled);
    EXPECT_TRUE(B(installer::kIdSetup).visible) << "disabled, never hidden";
    EXPECT_FALSE(B(installer::kIdSetup).isDefault);
    EXPECT_TRUE(B(installer::kIdPlay).enabled);
    EXPECT_TRUE(B(installer::kIdPlay).isDefault);
    EXPECT_EQ(view.focused, installer::kIdPlay);
    EXPECT_TRUE(B(installer::kIdUninstall).enabled);
}

TEST_F(LauncherTest, SetupDisabledMovesTheDefaultToExitWhenNotInstalled) {
    Options("[OPTIONS]\nSetupBtn=0\n");
    ASSERT_EQ(launcher.Create(), 1);
    EXPECT_TRUE(B(installer::kIdExit).isDefault);
    EXPECT_EQ(view.focused, installer::kIdExit);
}

TEST_F(LauncherTest, SubButtonsShowOnlyAfterTheirCommandsRan) {
    Options("[OPTIONS]\n[INIT]\nSUBBTN1 \"Read me\",~[README],50,50\nSUBBTN2 Web,~[WEB]\n");
    ASSERT_EQ(script::RunSection(e, "~[INIT]"), -1) << "SUBBTN2 without its place is a syntax error";
    sys.ClearMessageBoxes();
    ASSERT_EQ(launcher.Create(), 1);
    EXPECT_TRUE(B(installer::kIdSub1).visible);
    EXPECT_EQ(B(installer::kIdSub1).text, "Read me");
    ExpectRect(B(installer::kIdSub1).rect, 256, 216, 128, 48, "Sub1");
    // SUBBTN2 enabled the button before its arguments failed; it sits on the corner.
    EXPECT_TRUE(B(installer::kIdSub2).visible);
    ExpectRect(B(installer::kIdSub2).rect, -64, -24, 128, 48, "Sub2");
}

TEST_F(LauncherTest, MissingPictureGivesItsMessage) {
    Options("[OPTIONS]\n");
    std::snprintf(e.env.pictureName, sizeof e.env.pictureName, "NONE.BMP");
    EXPECT_EQ(launcher.Create(), 0);
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>{"ビットマップファイルの読み込みに失敗しました。\n　　　　　　　　終了します。"});
    EXPECT_EQ(sys.MessageBoxes()[0].caption, "Setup");
    EXPECT_FALSE(launcher.shown());
}

TEST_F(LauncherTest, DialogFailureGivesItsMessage) {
    Options("[OPTIONS]\n");
    view.createResult = false;
    EXPECT_EQ(launcher.Create(), 0);
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>{"ダイアログボックスの作成に失敗しました。\n　　　　　　　終了します。"});
}

TEST_F(LauncherTest, BitmapLoadsRepaintsAndKeepsThePlacesUntilTheNextPlacing) {
    PutPicture("C:\\OTHER.BMP", 320, 240);
    Options("[OPTIONS]\n[SUB1]\nBITMAP OTHER.BMP\n[SUB2]\nBITMAP GONE.BMP\n");
    ASSERT_EQ(launcher.Create(), 1);
    e.sub[0].enabled = true;

    launcher.OnSubButton(0);
    EXPECT_EQ(picture.Width(), 320);
    EXPECT_EQ(launcher.layout().buttonWidth, 64);
    EXPECT_EQ(view.launcherRepaints, 1);
    EXPECT_EQ(view.paletteRemakes, 2);
    EXPECT_EQ(view.launcherRect.width, 640) << "the window keeps its size until placed again";
    EXPECT_TRUE(sys.MessageBoxes().empty());

    launcher.OnSubButton(1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ビットマップファイルの読み込みに失敗しました"});
    EXPECT_EQ(sys.MessageBoxes()[0].caption, "");
    EXPECT_EQ(sys.MessageBoxes()[0].owner, 0x4242u) << "owned by the launcher";
    EXPECT_EQ(picture.Width(), 320) << "the previous picture stays";
    EXPECT_EQ(view.launcherRepaints, 1);
}

TEST_F(LauncherTest, BitmapWhileInstallingRepaintsTheBackdrop) {
    Options("[OPTIONS]\n");
    ASSERT_EQ(launcher.Create(), 1);
    e.activityMode = script::kModeInstalling;
    EXPECT_TRUE(host.LoadBackground("SETUP.BMP"));
    EXPECT_EQ(view.frameRepaints, 1);
    EXPECT_EQ(view.launcherRepaints, 0);
}

TEST_F(LauncherTest, BitmapInInitNeedsNoWindowAndChangesThePictureName) {
    PutPicture("C:\\OTHER.BMP", 320, 240);
    Options("[OPTIONS]\n[INIT]\nBITMAP OTHER.BMP\n");
    ASSERT_EQ(script::RunSection(e, "~[INIT]"), 1);
    EXPECT_EQ(view.launcherRepaints, 0);
    ASSERT_EQ(launcher.Create(), 1);
    EXPECT_EQ(view.launcherRect.width, 320);
}

TEST_F(LauncherTest, PlayRunsThePlaySection) {
    Options("[OPTIONS]\n[PLAY]\nPRINT playing\n");
    ASSERT_EQ(launcher.Create(), 1);
    launcher.OnPlay();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"playing"});
    EXPECT_TRUE(sys.WinExecCalls().empty());
    EXPECT_TRUE(sys.QuitRequests().empty());
}

TEST_F(LauncherTest, PlayWithoutSectionStartsTheRegisteredProgramAndQuits) {
    Install("GAME");
    Options("[OPTIONS]\nDstDir = GAME\nExeName = GAME.EXE\n");
    ASSERT_EQ(launcher.Create(), 1);
    launcher.OnPlay();
    ASSERT_EQ(sys.WinExecCalls().size(), 1u);
    EXPECT_EQ(sys.WinExecCalls()[0].commandLine, "GAME.EXE");
    EXPECT_EQ(sys.WinExecCalls()[0].show, 5);
    EXPECT_EQ(sys.CurrentDirectory(), "C:\\TAVREL\\GAME");
    EXPECT_EQ(sys.QuitRequests(), std::vector<int>{0});
    EXPECT_STREQ(e.env.installedFolder, "C:\\TAVREL\\GAME\\");
}

TEST_F(LauncherTest, PlayWithoutSectionOrRegistryValueDoesNothing) {
    Options("[OPTIONS]\nDstDir = GAME\nExeName = GAME.EXE\n");
    ASSERT_EQ(launcher.Create(), 1);
    launcher.OnPlay();
    EXPECT_TRUE(sys.WinExecCalls().empty());
    EXPECT_TRUE(sys.QuitRequests().empty());
    EXPECT_TRUE(sys.MessageBoxes().empty());
}

TEST_F(LauncherTest, ExitPostsTheQuitRequest) {
    Options("[OPTIONS]\n");
    ASSERT_EQ(launcher.Create(), 1);
    launcher.OnExit();
    EXPECT_EQ(sys.QuitRequests(), std::vector<int>{0});
}

// Setup and Uninstall belong to the flows; after an uninstall Exit is the button to press.
TEST_F(LauncherTest, SetupAndUninstallRunTheFlows) {
    struct Flows : installer::LauncherFlows {
        std::vector<std::string> runs;
        void RunInstallDialog() override { runs.push_back("install"); }
        void RunUninstallFlow() override { runs.push_back("uninstall"); }
    } flows;
    Options("[OPTIONS]\n[INIT_INST]\nPRINT preparing\n");
    ASSERT_EQ(launcher.Create(), 1);
    launcher.SetFlows(&flows);
    launcher.OnSetup();
    EXPECT_EQ(flows.runs, std::vector<std::string>{"install"});
    EXPECT_TRUE(sys.MessageBoxes().empty()) << "the install dialog runs the sections, not the button";
    launcher.OnUninstall();
    EXPECT_EQ(flows.runs, (std::vector<std::string>{"install", "uninstall"}));
    EXPECT_TRUE(B(installer::kIdExit).isDefault);
    EXPECT_EQ(view.focused, installer::kIdExit);
}

TEST_F(LauncherTest, SubButtonsRunTheirSections) {
    Options("[OPTIONS]\n[INIT]\nSUBBTN1 A,~[ONE],10,10\nSUBBTN2 B,~[TWO],20,20\n[ONE]\nPRINT one\n[TWO]\nPRINT two\n");
    ASSERT_EQ(script::RunSection(e, "~[INIT]"), 1);
    ASSERT_EQ(launcher.Create(), 1);
    launcher.OnSubButton(1);
    launcher.OnSubButton(0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"two", "one"}));
}

TEST_F(LauncherTest, MessageOwnerFollowsTheActivityMode) {
    struct WithDialogs : installer::InstallerHost {
        using InstallerHost::InstallerHost;
        plat::WindowHandle InstallDialogHandle() override { return 0x1111; }
        plat::WindowHandle UninstallDialogHandle() override { return 0x2222; }
    } h(e, launcher, view);
    EXPECT_EQ(h.MessageOwner(), 0u) << "no launcher yet";
    view.created = true;
    EXPECT_EQ(h.MessageOwner(), 0x4242u);
    e.activityMode = script::kModeInstalling;
    EXPECT_EQ(h.MessageOwner(), 0x1111u);
    e.activityMode = script::kModeUninstalling;
    EXPECT_EQ(h.MessageOwner(), 0x2222u);
}

}  // namespace
