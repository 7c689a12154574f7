// Shortcut commands: link files that read back with their target and description, the
// start-menu group made on demand, the refresh folder that never stays behind, and the
// removal commands.
#include <string>

#include "commands/shortcut_commands.h"
#include "tests/platform/system_command_fixture.h"
#include "tests/support/lnk_reader.h"

#ifdef _WIN32
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "tests/support/win32/shell_link_reader.h"
#endif

namespace {

using systemtest::SystemCommandTest;

class Shortcuts : public SystemCommandTest {
protected:
    void SetUp() override {
        SystemCommandTest::SetUp();
        ASSERT_TRUE(sys().InitializeCom());
        ASSERT_TRUE(sys().CreateDirectory(tp().Path("Desktop").c_str()));
        ASSERT_TRUE(sys().CreateDirectory(tp().Path("Programs").c_str()));
        ASSERT_TRUE(sys().CreateDirectory(tp().Path("GAME").c_str()));
        ASSERT_TRUE(tp().WriteWholeFile(Target(), "MZ"));
        std::snprintf(e().env.desktopFolder, sizeof e().env.desktopFolder, "%s", tp().Path("Desktop\\").c_str());
        std::snprintf(e().env.startMenuFolder, sizeof e().env.startMenuFolder, "%s",
                      tp().Path("Programs\\Tavrel\\").c_str());
    }
    void TearDown() override {
        sys().UninitializeCom();
        SystemCommandTest::TearDown();
    }
    std::string Target() { return tp().Path("GAME\\GAME.EXE"); }

    // The link's target and description as the shell reads them back (Wine), or as the
    // link format holds them (simulation).
    bool ReadLink(const std::string& path, std::string* target, std::string* description) {
#ifdef _WIN32
        if (!tp().IsSimulated()) return testsupport::ReadLinkThroughShell(path, target, description);
#endif
        testsupport::LinkFile link;
        if (!testsupport::ParseLinkFile(tp().ReadWholeFile(path), &link)) return false;
        *target = link.target;
        *description = link.description;
        return true;
    }
};

TEST_F(Shortcuts, DesktopLinkReadsBackWithItsTargetAndName) {
    EXPECT_EQ(Run("SHORTCUTD " + Target() + ",\"デモ ゲーム\""), 0);
    std::string target, description;
    ASSERT_TRUE(ReadLink(tp().Path("Desktop\\デモ ゲーム.lnk"), &target, &description));
    EXPECT_STRCASEEQ(target.c_str(), Target().c_str());
    EXPECT_EQ(description, "デモ ゲーム");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Shortcuts, GroupLinkMakesTheGroupAndLeavesNoRefreshFolder) {
    EXPECT_FALSE(tp().Exists(tp().Path("Programs\\Tavrel")));
    EXPECT_EQ(Run("SHORTCUTP " + Target() + ",Game"), 0);
    EXPECT_TRUE(tp().IsFolder(tp().Path("Programs\\Tavrel")));
    std::string target, description;
    ASSERT_TRUE(ReadLink(tp().Path("Programs\\Tavrel\\Game.lnk"), &target, &description));
    EXPECT_STRCASEEQ(target.c_str(), Target().c_str());
    EXPECT_EQ(description, "Game");
    EXPECT_EQ(tp().List(tp().Path("Programs")), std::vector<std::string>{"Tavrel"});
}

TEST_F(Shortcuts, GroupIsMadeEvenWhenTheNameIsMissing) {
    EXPECT_EQ(Run("SHORTCUTP " + Target()), -1);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, SyntaxErrorText());
    EXPECT_TRUE(tp().IsFolder(tp().Path("Programs\\Tavrel")));
    EXPECT_TRUE(tp().List(tp().Path("Programs\\Tavrel")).empty());
}

TEST_F(Shortcuts, AnyFolderGetsOneBackslashAndIsNeverCreated) {
    EXPECT_EQ(Run("SHORTCUTA " + Target() + ",One," + tp().Path("GAME")), 0);
    EXPECT_EQ(Run("SHORTCUTA " + Target() + ",Two," + tp().Path("GAME\\")), 0);
    EXPECT_EQ(Run("SHORTCUTA " + Target() + ",Three," + tp().Path("NOWHERE")), 0);
    EXPECT_EQ(tp().List(tp().Path("GAME")), (std::vector<std::string>{"GAME.EXE", "One.lnk", "Two.lnk"}));
    EXPECT_FALSE(tp().Exists(tp().Path("NOWHERE")));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Shortcuts, RemovalDeletesNotifiesAndToleratesMissingLinks) {
    ASSERT_EQ(Run("SHORTCUTP " + Target() + ",Game"), 0);
    ASSERT_EQ(Run("SHORTCUTA " + Target() + ",Game," + tp().Path("GAME")), 0);
    EXPECT_EQ(Run("CLRSHORTCUT Game"), 0);
    EXPECT_FALSE(tp().Exists(tp().Path("Programs\\Tavrel\\Game.lnk")));
    EXPECT_EQ(Run("CLRSHORTCUTA Game," + tp().Path("GAME")), 0);
    EXPECT_FALSE(tp().Exists(tp().Path("GAME\\Game.lnk")));
    EXPECT_EQ(Run("CLRSHORTCUT Gone"), 0);
    EXPECT_EQ(Run("CLRSHORTCUTA Gone," + tp().Path("GAME")), 0);
    EXPECT_EQ(tp().List(tp().Path("Programs")), std::vector<std::string>{"Tavrel"});
    EXPECT_TRUE(Boxes().empty());
    if (plat::SimWindows* sim = tp().Sim()) {
        EXPECT_EQ(sim->ShellNotifications(),
                  (std::vector<std::string>{tp().Path("Programs\\Tavrel\\Game.lnk"), tp().Path("GAME\\Game.lnk"),
                                            tp().Path("Programs\\Tavrel\\Gone.lnk"), tp().Path("GAME\\Gone.lnk")}));
    }
    EXPECT_EQ(Run("CLRSHORTCUTA Game"), -1);
}

TEST_F(Shortcuts, ALinkPathTooLongForTheSystemIsNotWritten) {
    // Folder and name each fit, together they do not: nothing is written, nothing shown.
    std::string name(250, 'n');
    std::snprintf(e().vars.srcDir, sizeof e().vars.srcDir, "%s", name.c_str());
    EXPECT_EQ(Run("SHORTCUTA " + Target() + ",%SrcDir%," + tp().Path("GAME")), 0);
    EXPECT_EQ(Run("SHORTCUTD " + Target() + ",%SrcDir%"), 0);
    EXPECT_EQ(tp().List(tp().Path("GAME")), std::vector<std::string>{"GAME.EXE"});
    EXPECT_TRUE(tp().List(tp().Path("Desktop")).empty());
    EXPECT_TRUE(Boxes().empty());
    if (plat::SimWindows* sim = tp().Sim()) {
        EXPECT_TRUE(sim->ShellLinks().empty());
    }
}

}  // namespace
