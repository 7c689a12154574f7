// The simulated Windows' system side: family switch, special folders, registry rules that
// depend on the family or on protected keys, processes, windows, shell links, message
// boxes and the message queue.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sim/sim_windows.h"
#include "tests/support/lnk_reader.h"

namespace {

using namespace plat;

class SimSystem : public ::testing::Test {
protected:
    SimWindows sim;
};

TEST_F(SimSystem, TheFamilySwitchChangesVersionFoldersAndKeyDeletion) {
    char buf[260];
    EXPECT_EQ(sim.GetVersion().platformId, 2u);
    ASSERT_TRUE(sim.GetSpecialFolder(SpecialFolder::Desktop, buf, sizeof buf));
    EXPECT_STREQ(buf, "C:\\Documents and Settings\\User\\デスクトップ");
    EXPECT_TRUE(sim.IsFolder(buf));
    ASSERT_TRUE(sim.GetSpecialFolder(SpecialFolder::Programs, buf, sizeof buf));
    EXPECT_TRUE(sim.IsFolder(buf));
    sim.RegPutKey(RegRoot::CurrentUser, "Software\\A\\B");
    EXPECT_EQ(sim.RegDeleteKey(RegRoot::CurrentUser, "Software\\A"), kRegAccessDenied);

    sim.SetFamily95();
    VersionInfo v = sim.GetVersion();
    EXPECT_EQ(v.platformId, 1u);
    EXPECT_EQ(v.major, 4u);
    EXPECT_EQ(v.minor, 10u);
    EXPECT_EQ(v.build & 0xFFFF, 1998u);
    ASSERT_TRUE(sim.GetSpecialFolder(SpecialFolder::Desktop, buf, sizeof buf));
    EXPECT_STREQ(buf, "C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ");
    EXPECT_EQ(sim.RegDeleteKey(RegRoot::CurrentUser, "Software\\A"), kRegOk);
    EXPECT_FALSE(sim.RegKeyExists(RegRoot::CurrentUser, "Software\\A\\B"));

    sim.SetSpecialFolder(SpecialFolder::Desktop, "");
    EXPECT_FALSE(sim.GetSpecialFolder(SpecialFolder::Desktop, buf, sizeof buf));
    sim.SetFamilyNT();
    EXPECT_EQ(sim.GetVersion().platformId, 2u);
}

TEST_F(SimSystem, SystemTextsFitOrComeBackEmpty) {
    char buf[260];
    EXPECT_EQ(sim.GetModuleFileName(buf, sizeof buf), 13u);
    EXPECT_STREQ(buf, "D:\\OSTREL.EXE");
    EXPECT_EQ(sim.GetModuleFileName(buf, 13), 0u);
    EXPECT_STREQ(buf, "");
    sim.SetWindowsDirectory("C:\\WINNT");
    EXPECT_EQ(sim.GetWindowsDirectory(buf, sizeof buf), 8u);
    EXPECT_STREQ(buf, "C:\\WINNT");
    int w = 0, h = 0;
    sim.SetScreenSize(640, 480);
    sim.GetScreenSize(&w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    sim.SetTickStep(20);
    EXPECT_EQ(sim.GetTickCount(), 1000u);
    EXPECT_EQ(sim.GetTickCount(), 1020u);
}

TEST_F(SimSystem, ReadOnlyKeysOpenOnlyForReading) {
    const char* dx = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DirectXDrivers";
    sim.RegPutValue(RegRoot::LocalMachine, dx, "DisplayName", kRegSz, std::string("DirectX\0", 8));
    ASSERT_TRUE(sim.RegSetReadOnly(RegRoot::LocalMachine, dx, true));
    KeyHandle k = 0;
    bool created = true;
    EXPECT_EQ(sim.RegOpenKey(RegRoot::LocalMachine, dx, kKeyRead | kKeyWrite, &k), kRegAccessDenied);
    EXPECT_EQ(k, 0u);
    EXPECT_EQ(sim.RegCreateKey(RegRoot::LocalMachine, dx, kKeyAllAccess, &k, &created), kRegAccessDenied);
    EXPECT_EQ(sim.RegCreateKey(RegRoot::LocalMachine, (std::string(dx) + "\\Sub").c_str(), kKeyRead, &k, &created),
              kRegAccessDenied);
    EXPECT_EQ(sim.RegDeleteKey(RegRoot::LocalMachine, dx), kRegAccessDenied);
    ASSERT_EQ(sim.RegOpenKey(RegRoot::LocalMachine, dx, kKeyRead, &k), kRegOk);
    char buf[16];
    uint32_t type = 0, size = sizeof buf;
    EXPECT_EQ(sim.RegQueryValue(k, "displayname", &type, buf, &size), kRegOk);
    EXPECT_STREQ(buf, "DirectX");
    EXPECT_EQ(sim.RegSetValue(k, "X", kRegSz, "x", 2), kRegAccessDenied);
    EXPECT_EQ(sim.OpenKeyCount(), 1);
    EXPECT_EQ(sim.RegCloseKey(k), kRegOk);
    EXPECT_EQ(sim.RegCloseKey(k), 6);  // not a handle any more
    EXPECT_EQ(sim.OpenKeyCount(), 0);
}

TEST_F(SimSystem, ValuesAreStoredExactlyAndAHandleToADeletedKeyStopsWorking) {
    KeyHandle k = 0;
    bool created = false;
    ASSERT_EQ(sim.RegCreateKey(RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel", kKeyAllAccess, &k, &created), kRegOk);
    EXPECT_TRUE(created);
    EXPECT_EQ(sim.RegSetValue(k, "DisplayName", kRegSz, "Ostrel", 6), kRegOk);
    uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(sim.RegGetValue(RegRoot::CurrentUser, "software\\tavrel\\ostrel", "DISPLAYNAME", &type, &bytes));
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(bytes, "Ostrel");  // no terminator was given, none is stored
    EXPECT_EQ(sim.RegGetString(RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel", "DisplayName"), "Ostrel");
    EXPECT_EQ(sim.RegValueNames(RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel"),
              std::vector<std::string>{"DisplayName"});
    EXPECT_EQ(sim.RegSubkeys(RegRoot::CurrentUser, "SOFTWARE\\Tavrel"), std::vector<std::string>{"Ostrel"});

    EXPECT_EQ(sim.RegDeleteKey(RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel"), kRegOk);
    EXPECT_EQ(sim.RegSetValue(k, "Path", kRegSz, "C:\\", 4), 1018);  // the key is gone
    sim.RegCloseKey(k);
    EXPECT_EQ(sim.RegCreateKey(RegRoot::CurrentUser, "\\Bad", kKeyAllAccess, &k, &created), 161);
    EXPECT_EQ(sim.RegDeleteKey(RegRoot::CurrentUser, ""), kRegAccessDenied);
}

TEST_F(SimSystem, ProcessesAreRecordedAndEndWhenTheTestSays) {
    sim.AddFile("C:\\GAME\\GAME.EXE", "MZ");
    ASSERT_TRUE(sim.SetCurrentDirectory("C:\\GAME"));
    ProcessHandle p = sim.StartProcess("GAME.EXE", " -x");
    ASSERT_NE(p, 0u);
    ASSERT_EQ(sim.Processes().size(), 1u);
    EXPECT_EQ(sim.Processes()[0].module, "GAME.EXE");
    EXPECT_EQ(sim.Processes()[0].commandLine, " -x");
    EXPECT_EQ(sim.Processes()[0].currentDirectory, "C:\\GAME");
    sim.WaitForInputIdle(p);
    EXPECT_EQ(sim.Processes()[0].waitForInputIdleCalls, 1);
    EXPECT_FALSE(sim.ProcessHasEnded(p));
    sim.EndProcess(p);
    EXPECT_TRUE(sim.ProcessHasEnded(p));
    sim.CloseProcess(p);
    EXPECT_TRUE(sim.Processes()[0].closed);

    sim.SetProcessEndsAfterPolls(2);
    p = sim.StartProcess("C:\\GAME\\GAME.EXE", " ");
    EXPECT_FALSE(sim.ProcessHasEnded(p));
    EXPECT_FALSE(sim.ProcessHasEnded(p));
    EXPECT_TRUE(sim.ProcessHasEnded(p));

    EXPECT_EQ(sim.StartProcess("C:\\GAME\\NONE.EXE", " "), 0u);
    sim.SetProcessUnstartable("c:\\game\\game.exe");
    EXPECT_EQ(sim.StartProcess("C:\\GAME\\GAME.EXE", " "), 0u);
    EXPECT_EQ(sim.FailedStarts(), (std::vector<std::string>{"C:\\GAME\\NONE.EXE", "C:\\GAME\\GAME.EXE"}));
    sim.SetRequireProgramFiles(false);
    EXPECT_NE(sim.StartProcess("C:\\ELSEWHERE\\X.EXE", " "), 0u);

    EXPECT_EQ(sim.WinExec("RUNDLL32 X", 1), 33u);
    ASSERT_EQ(sim.WinExecCalls().size(), 1u);
    EXPECT_EQ(sim.WinExecCalls()[0].commandLine, "RUNDLL32 X");
    EXPECT_EQ(sim.WinExecCalls()[0].show, 1);
}

TEST_F(SimSystem, WindowsAreFoundByTitleOrClassAndActionsRecorded) {
    WindowHandle launcher = sim.AddWindow("Tavrel ｾｯﾄｱｯﾌﾟ", "#32770");
    WindowHandle game = sim.AddWindow("Game", "TavrelDemoGame");
    EXPECT_EQ(sim.FindWindowByTitle("Tavrel ｾｯﾄｱｯﾌﾟ"), launcher);
    EXPECT_EQ(sim.FindWindowByTitle("Tavrel SETUP"), 0u);
    EXPECT_EQ(sim.FindWindowByClass("taVreldemogame"), game);
    sim.BringWindowToFront(launcher);
    sim.ShowWindowNormal(game);
    ASSERT_EQ(sim.WindowEvents().size(), 2u);
    EXPECT_EQ(sim.WindowEvents()[0].window, launcher);
    EXPECT_EQ(sim.WindowEvents()[0].action, SimWindows::WindowAction::BroughtToFront);
    EXPECT_EQ(sim.WindowEvents()[1].action, SimWindows::WindowAction::ShownNormal);
    sim.RemoveWindow(game);
    EXPECT_EQ(sim.FindWindowByClass("TavrelDemoGame"), 0u);
}

TEST_F(SimSystem, ShellLinksAreRealLinkFiles) {
    const char* link = "C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ\\ゲーム ソフト.lnk";
    EXPECT_EQ(sim.CreateShellLink("C:\\TAVREL\\表\\GAME.EXE", link, "ゲーム ソフト"), 0);
    testsupport::LinkFile parsed;
    ASSERT_TRUE(testsupport::ParseLinkFile(sim.Contents(link), &parsed));
    EXPECT_EQ(parsed.target, "C:\\TAVREL\\表\\GAME.EXE");
    EXPECT_EQ(parsed.description, "ゲーム ソフト");
    ASSERT_EQ(sim.ShellLinks().size(), 1u);
    EXPECT_EQ(sim.ShellLinks()[0].linkPath, link);

    EXPECT_EQ(sim.CreateShellLink("C:\\X.EXE", "C:\\NODIR\\X.lnk", "X"), static_cast<long>(0x80070003));
    sim.AddFile("C:\\RO.lnk", "old", kAttrReadOnly);
    EXPECT_EQ(sim.CreateShellLink("C:\\X.EXE", "C:\\RO.lnk", "X"), static_cast<long>(0x80070005));
    sim.SetRequireComForLinks(true);
    EXPECT_EQ(sim.CreateShellLink("C:\\X.EXE", "C:\\A.lnk", "X"), static_cast<long>(0x800401F0));
    EXPECT_TRUE(sim.InitializeCom());
    EXPECT_EQ(sim.CreateShellLink("C:\\X.EXE", "C:\\A.lnk", "X"), 0);
    sim.SetShellLinkUnavailable(true);
    EXPECT_EQ(sim.CreateShellLink("C:\\X.EXE", "C:\\B.lnk", "X"), static_cast<long>(0x80040154));
    EXPECT_FALSE(sim.Exists("C:\\B.lnk"));
    sim.UninitializeCom();
    EXPECT_FALSE(sim.ComInitialized());
    EXPECT_EQ(sim.ComInitializeCalls(), 1);

    sim.NotifyShellItemDeleted("C:\\A.lnk");
    EXPECT_EQ(sim.ShellNotifications(), std::vector<std::string>{"C:\\A.lnk"});
    EXPECT_FALSE(
        testsupport::ParseLinkFile("not a link at all, but long enough to be read as a header......"
                                   "..................",
                                   &parsed));
}

TEST_F(SimSystem, MessageBoxesAnswerFromHookThenQueueThenByStyle) {
    int hooked = 0;
    sim.SetMessageBoxHook([&](const SimWindows::MessageBoxCall& call) {
        ++hooked;
        return call.text == "hooked" ? kIdYes : 0;
    });
    sim.QueueMessageBoxAnswer(kIdOk);
    EXPECT_EQ(sim.MessageBox(7, "hooked", "", kMbYesNo), kIdYes);
    EXPECT_EQ(sim.PendingMessageBoxAnswers(), 1u);
    EXPECT_EQ(sim.MessageBox(7, "queued", "", kMbOkCancel), kIdOk);
    EXPECT_EQ(sim.MessageBox(0, "", "", kMbOkCancel), kIdCancel);
    EXPECT_EQ(sim.MessageBox(0, "", "", kMbYesNo | kMbIconQuestion), kIdNo);
    EXPECT_EQ(sim.MessageBox(0, "", "", 3), kIdCancel);
    EXPECT_EQ(sim.MessageBox(0, "", "", kMbOk | kMbIconWarning), kIdOk);
    EXPECT_EQ(hooked, 6);
    ASSERT_EQ(sim.MessageBoxes().size(), 6u);
    EXPECT_EQ(sim.MessageBoxes()[1].owner, 7u);
    EXPECT_EQ(sim.MessageBoxes()[1].answer, kIdOk);
    EXPECT_EQ(sim.MessageBoxes()[3].style, kMbYesNo | kMbIconQuestion);
}

TEST_F(SimSystem, TheMessageQueueDeliversInOrderAndCallsItsHooks) {
    std::vector<int> seen;
    sim.SetDispatchHook([&](const SimWindows::QueuedMessage& m) { seen.push_back(m.id); });
    int peeks = 0;
    sim.SetPeekHook([&] {
        if (++peeks == 2) sim.QueueMessage(42);
    });
    sim.QueueEnterKey();
    PeekedMessage m;
    ASSERT_TRUE(sim.PeekMessage(&m));
    EXPECT_TRUE(m.isEnterKeyDown);
    ASSERT_TRUE(sim.PeekMessage(&m));
    EXPECT_FALSE(m.isEnterKeyDown);
    sim.DispatchMessage(m);
    EXPECT_EQ(seen, std::vector<int>{42});
    sim.PostQuitMessage(5);
    ASSERT_TRUE(sim.PeekMessage(&m));
    EXPECT_TRUE(m.isQuit);
    EXPECT_FALSE(sim.PeekMessage(&m));
    EXPECT_EQ(sim.QuitRequests(), std::vector<int>{5});
    EXPECT_EQ(sim.PeekCalls(), 4);
    EXPECT_EQ(sim.DispatchedMessages().size(), 1u);
}

TEST_F(SimSystem, ACopyIsAMachineOfItsOwn) {
    KeyHandle open = 0, gone = 0;
    ASSERT_EQ(sim.RegCreateKey(RegRoot::CurrentUser, "Software\\Tavrel", kKeyAllAccess, &open, nullptr), kRegOk);
    ASSERT_EQ(sim.RegCreateKey(RegRoot::CurrentUser, "Software\\Gone", kKeyAllAccess, &gone, nullptr), kRegOk);
    ASSERT_EQ(sim.RegDeleteKey(RegRoot::CurrentUser, "Software\\Gone"), kRegOk);
    sim.AddFile("C:\\A.TXT", "a");

    SimWindows copy(sim);
    // The copy's handles work on the copy's keys, not on the original's.
    EXPECT_EQ(copy.RegSetValue(open, "V", kRegSz, "copy", 4), kRegOk);
    EXPECT_EQ(copy.RegGetString(RegRoot::CurrentUser, "Software\\Tavrel", "V"), "copy");
    EXPECT_EQ(sim.RegGetString(RegRoot::CurrentUser, "Software\\Tavrel", "V"), "");
    EXPECT_EQ(copy.RegSetValue(gone, "V", kRegSz, "x", 1), 1018);  // deleted in the copy too
    copy.RegPutKey(RegRoot::LocalMachine, "SOFTWARE\\New");
    EXPECT_FALSE(sim.RegKeyExists(RegRoot::LocalMachine, "SOFTWARE\\New"));
    EXPECT_EQ(copy.OpenKeyCount(), sim.OpenKeyCount());

    copy.AddFile("C:\\A.TXT", "changed");
    copy.AddFolder("C:\\ONLY");
    EXPECT_EQ(sim.Contents("C:\\A.TXT"), "a");
    EXPECT_FALSE(sim.Exists("C:\\ONLY"));
    sim.RegCloseKey(open);
    EXPECT_EQ(copy.RegSetValue(open, "W", kRegSz, "w", 1), kRegOk);  // still open in the copy

    // Programs start from the copy's own files.
    copy.AddFile("C:\\GAME.EXE", "");
    EXPECT_NE(copy.StartProcess("C:\\GAME.EXE", "GAME.EXE"), 0u);
    EXPECT_EQ(sim.StartProcess("C:\\GAME.EXE", "GAME.EXE"), 0u);
}

}  // namespace
