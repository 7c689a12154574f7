// Dispatch, the two section runners and the flow commands.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "commands/keyword_tables.h"
#include "engine_fixture.h"
#include "platform/sim/sim_windows.h"
#include "script/dispatch.h"
#include "script/messages.h"
#include "script/script_text.h"

using enginetest::EngineFixture;

TEST(Runner, JumpToAMissingTargetEndsTheSectionQuietly) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nGOTO [NOWHERE]\nPRINT after\n");
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_TRUE(f.sys.boxes.empty());
}

TEST(Runner, JumpContinuesBehindTheTargetAndEndsAtTheNextHeader) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nGOTO [B]\nPRINT skipped\n[B]\nPRINT b\n[C]\nPRINT c\n");
    EXPECT_EQ(1, f.Run("~[A]"));
    ASSERT_EQ(1u, f.sys.boxes.size());
    EXPECT_EQ("b", f.sys.boxes[0].text);
}

TEST(Runner, MissingArgumentAbortsWithTheLineNumber) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nYESNO question, yes\nPRINT never\n");
    EXPECT_EQ(-1, f.Run("~[A]"));
    ASSERT_EQ(1u, f.sys.boxes.size());
    EXPECT_EQ("文法エラーです。\n3行", f.sys.boxes[0].text);
}

TEST(Runner, SyntaxErrorWordingFollowsTheActivityMode) {
    EngineFixture f;
    f.Load("[OPTIONS]\n\n\n\n\n\n\n\n\n\n[A]\nPRINT\n[END]\n");
    f.e.activityMode = script::kModeInstalling;
    EXPECT_EQ(-1, f.Run("~[A]"));
    EXPECT_EQ("　　 文法エラーです。\nインストールを中断します。\n12行", f.LastText());
    f.e.activityMode = script::kModeUninstalling;
    f.Run("~[A]");
    EXPECT_EQ("　　　 文法エラーです。\nアンインストールを中断します。\n12行", f.LastText());
}

TEST(Runner, LastLineWithoutLineEndRuns) {
    EngineFixture f;
    std::string text = "[OPTIONS]\r\n[A]\r\nPRINT last";
    script::LoadScriptBytes(f.e, text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_EQ("last", f.LastText());
    std::string bad = "[OPTIONS]\r\n[A]\r\nPRINT";
    script::LoadScriptBytes(f.e, bad.data(), static_cast<int>(bad.size()));
    EXPECT_EQ(-1, f.Run("~[A]"));
    // The last line is not counted: the report names the line before it.
    EXPECT_EQ("文法エラーです。\n2行", f.LastText());
}

TEST(Runner, QuitLetsTheRestOfTheSectionRun) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nQUITE\nPRINT still\n");  // QUITE is QUIT: keywords match by prefix
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_EQ(1, f.sys.quitPosts);
    EXPECT_EQ("still", f.LastText());
}

TEST(Runner, SectionRunsInTheProgramFolder) {
    EngineFixture f;
    std::strcpy(f.e.env.programFolder, "Q:\\SETUP\\");
    f.Load("[OPTIONS]\n[A]\n");
    f.Run("~[A]");
    ASSERT_FALSE(f.sys.currentDirectories.empty());
    EXPECT_EQ("Q:\\SETUP", f.sys.currentDirectories.back());
}

TEST(Stepping, HeaderEndsTheSectionAndFailureIsReported) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nPRINT one\n[NEXT]\nPRINT two\n");
    ASSERT_EQ(1, script::FindSection(f.e, "~[A]"));
    EXPECT_EQ(1, script::StepSection(f.e));
    EXPECT_EQ(0, script::StepSection(f.e));
    EXPECT_EQ(1u, f.sys.boxes.size());

    f.Load("[OPTIONS]\n[A]\nPRINT\n");
    script::FindSection(f.e, "~[A]");
    EXPECT_EQ(-1, script::StepSection(f.e));
}

TEST(Questions, YesNoJumpsToTheAnsweredLabel) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nYESNO \"Go on?\", [Y], [N]\n[Y]\nPRINT yes\n[N]\nPRINT no\n");
    f.sys.answers = {plat::kIdYes};
    f.Run("~[A]");
    ASSERT_EQ(2u, f.sys.boxes.size());
    EXPECT_EQ("Go on?", f.sys.boxes[0].text);
    EXPECT_EQ(plat::kMbYesNo, f.sys.boxes[0].style);
    EXPECT_EQ("", f.sys.boxes[0].caption);
    EXPECT_EQ("yes", f.sys.boxes[1].text);
    f.sys.answers = {plat::kIdNo};
    f.Run("~[A]");
    EXPECT_EQ("no", f.LastText());
}

TEST(Questions, WarningAndBootDriveChooseTheirLabels) {
    EngineFixture f;
    f.Load(
        "[OPTIONS]\n[A]\nWARNING P, O\nP\nPRINT proceed\n[X]\nO\nPRINT other\n"
        "[B]\nBOOTDRIVE CD, RM, HD\nCD\nPRINT cd\n[X]\nRM\nPRINT rm\n[X]\nHD\nPRINT hd\n");
    f.host.proceed = true;
    f.Run("~[A]");
    EXPECT_EQ("proceed", f.LastText());
    f.host.proceed = false;
    f.Run("~[A]");
    EXPECT_EQ("other", f.LastText());
    struct KindCase {
        script::DriveKind kind;
        const char* printed;
    };
    for (KindCase c : {KindCase{script::kDriveKindRemovable, "rm"}, KindCase{script::kDriveKindCdrom, "cd"},
                       KindCase{script::kDriveKindOther, "hd"}}) {
        f.e.driveKind = c.kind;
        f.Run("~[B]");
        EXPECT_EQ(c.printed, f.LastText());
    }
    // A label longer than the notice's 18 bytes is refused, not cut.
    f.Load("[OPTIONS]\n[A]\nWARNING ABCDEFGHIJKLMNOPQRS, O\n");
    EXPECT_EQ(-1, f.Run("~[A]"));
}

TEST(Slots, RedirectionsAreStoredAsTheyAreRead) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nINST_LAB [I2], [II2], [EI2], [W2]\nUNINST_LAB [U2], [IU2]\nPLAY_LAB [P2]\n");
    EXPECT_EQ(-1, f.Run("~[A]"));  // UNINST_LAB lacks its third label
    EXPECT_STREQ("~[I2]", f.e.slots.install);
    EXPECT_STREQ("~[W2]", f.e.slots.winScript);
    EXPECT_STREQ("~[U2]", f.e.slots.uninstall);
    EXPECT_STREQ("~[IU2]", f.e.slots.initUninst);
    EXPECT_STREQ("~[EXIT_UNINST]", f.e.slots.exitUninst);
    EXPECT_STREQ("~[PLAY]", f.e.slots.play);
    // A label that does not fit its 24-byte slot is refused.
    f.Load("[OPTIONS]\n[A]\nPLAY_LAB [ABCDEFGHIJKLMNOPQRSTU]\n");
    EXPECT_EQ(-1, f.Run("~[A]"));
    EXPECT_STREQ("~[PLAY]", f.e.slots.play);
}

TEST(Slots, SubButtonsTakeCaptionSectionAndPosition) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nSUBBTN1 \"読み物\", [DOC], 40, 60\nSUBBTN2 Two, [S2], x, y\n[DOC]\nPRINT doc\n");
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_TRUE(f.e.sub[0].enabled);
    EXPECT_STREQ("読み物", f.e.sub[0].caption);
    EXPECT_EQ(40, f.e.sub[0].x);
    EXPECT_EQ(60, f.e.sub[0].y);
    EXPECT_EQ(0, f.e.sub[1].x);  // no usable position
    EXPECT_EQ(1, f.Run(f.e.sub[0].slot));
    EXPECT_EQ("doc", f.LastText());
}

TEST(Commands, PrintBitmapOptionsAndDSetup) {
    EngineFixture f;
    f.Load("[OPTIONS]\n[A]\nDSETUP\nOPTIONS reread\nBITMAP NEW.BMP\n[B]\nBITMAP GONE.BMP\n");
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_EQ(1, f.host.optionReads);
    ASSERT_EQ(1u, f.host.loaded.size());
    EXPECT_EQ("NEW.BMP", f.host.loaded[0]);
    f.host.loadResult = false;
    EXPECT_EQ(-1, f.Run("~[B]"));
    EXPECT_EQ("ビットマップファイルの読み込みに失敗しました", f.LastText());
    EXPECT_EQ(plat::kMbIconWarning, f.sys.boxes.back().style);
}

TEST(Menu, DefaultItemAndPlacementOfTheJump) {
    EngineFixture f;
    f.Load(
        "[OPTIONS]\n[A]\nMENUTITLE Pick\nMENUITEMD One, L1\nMENUITEM Two, L2\nMENU\nL1\nPRINT one\n[END]\nL2\nPRINT two\n");
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_EQ(2, f.e.menu.count);
    EXPECT_EQ(0, f.e.menu.defaultIndex);
    EXPECT_EQ("one", f.LastText());
    f.host.menuChoice = 1;
    f.Run("~[A]");
    EXPECT_EQ("two", f.LastText());
    // A menu without items does nothing and the section goes on.
    f.Load("[OPTIONS]\n[A]\nMENUTITLE Empty\nMENU\nPRINT on\n");
    f.host.menuChoice = -1;
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_EQ(2, f.host.menuRuns);
    EXPECT_EQ("on", f.LastText());
}

TEST(Menu, SixthItemIsDroppedAndStaleSelectionFallsBack) {
    EngineFixture f;
    f.Load(
        "[OPTIONS]\n[A]\nMENUTITLE T\nMENUITEM a, A\nMENUITEM b, B\nMENUITEM c, C\nMENUITEM d, D\n"
        "MENUITEMD e, E\nMENUITEM f, F\n[B]\nMENUTITLE U\nMENUITEM x, X\nMENU\nX\nPRINT x\n");
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_EQ(5, f.e.menu.count);
    EXPECT_EQ(4, f.e.menu.selectedIndex);
    EXPECT_STREQ("~E", f.e.menu.targets[4]);
    f.Run("~[B]");
    EXPECT_EQ("x", f.LastText());
}

TEST(Messages, TableAndReports) {
    EngineFixture f;
    f.e.activityMode = script::kModeUninstalling;
    script::ReportFailure(f.e, script::kRowFolderNotCreated, "C:\\A\\B");
    EXPECT_EQ("フォルダの作成に失敗しました。\nアンインストールを中断します。\nC:\\A\\B", f.LastText());
    size_t before = f.sys.boxes.size();
    script::ReportCopyResult(f.e, script::kCancelled);
    EXPECT_EQ(before, f.sys.boxes.size());
    script::ReportCopyResult(f.e, script::kDiskFull);
    EXPECT_EQ("　　　容量が足りません。\nアンインストールを中断します。", f.LastText());
    EXPECT_EQ(0, script::ReportFileError(f.e, 99, "x"));
    EXPECT_EQ(1, script::ReportFileError(f.e, plat::kCauseAccessDenied, "C:\\F"));
    EXPECT_EQ("ファイルC:\\Fの\n書き込みに失敗しました。", f.LastText());
    EXPECT_EQ(plat::kMbOk, f.sys.boxes.back().style);
    EXPECT_STREQ("インストールを中断しますか？", script::CancelQuestion(1));
}

TEST(Messages, NoSpaceTextInKOrM) {
    EngineFixture f;
    const char* head = "　　そのドライブでは容量が足りません。\n　　　　　　　ドライブ C:\nインストールには、約";
    struct {
        uint64_t bytes;
        const char* tail;
    } cases[] = {
        {524288, "512Ｋの空き容量が必要です。"},       {524289, "1Ｍの空き容量が必要です。"},
        {1572864, "1Ｍの空き容量が必要です。"},        {1572865, "2Ｍの空き容量が必要です。"},
        {5ull << 32, "20480Ｍの空き容量が必要です。"},
    };
    for (const auto& c : cases) {
        script::ReportNoSpace(f.e, 'C', c.bytes);
        EXPECT_EQ(std::string(head) + c.tail, f.LastText()) << c.bytes;
    }
}

TEST(Messages, OwnerAndSilence) {
    EngineFixture f;
    f.host.owner = 77;
    script::ShowMessage(f.e, "x", "", 0);
    EXPECT_EQ(77u, f.sys.boxes.back().owner);
    f.e.silent = true;
    EXPECT_EQ(0, script::ShowMessage(f.e, "y", "", 0));
    EXPECT_EQ(1u, f.sys.boxes.size());
}

TEST(Runner, OutputFileLeftOpenBySectionIsClosedWhenTheNextStarts) {
    plat::SimWindows sys;
    enginetest::EngineFixture f;
    f.e.sys = &sys;
    f.e.keywords = commands::kInstallerKeywords;
    f.e.keywordCount = commands::kInstallerKeywordCount;
    f.e.services = &commands::kCommandServices;
    f.Load("[OPTIONS]\n[A]\nCREATE C:\\LOG.TXT\nWRITE kept\n[B]\nDELETE C:\\LOG.TXT\n");
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_EQ(1, sys.OpenFileCount());
    EXPECT_EQ(1, f.Run("~[B]"));
    EXPECT_EQ(0, sys.OpenFileCount());
    EXPECT_FALSE(sys.Exists("C:\\LOG.TXT"));
    EXPECT_TRUE(sys.MessageBoxes().empty());
}

namespace {

// Records every command dispatch hands on; declines the one named, as the dry run
// declines a command once a script has run too many.
struct RecordingObserver : script::DispatchObserver {
    std::vector<std::string> words;
    std::string decline;
    int RunCommand(script::Engine& e, const script::Keyword& keyword) override {
        words.push_back(keyword.word);
        return keyword.word == decline ? script::kFailed : keyword.handler(e);
    }
};

}  // namespace

TEST(Observer, SeesEveryCommandWithItsKeywordAndItsRefusalEndsTheSection) {
    EngineFixture f;
    RecordingObserver observer;
    f.e.observer = &observer;
    f.Load("[OPTIONS]\n[A]\nNOTE not a command\nPRINT one\nGOTO B\nPRINT skipped\nB\nECHO two\nPRINT three\n");
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_EQ((std::vector<std::string>{"PRINT", "GOTO", "ECHO", "PRINT"}), observer.words);
    EXPECT_EQ("three", f.LastText());

    observer.words.clear();
    observer.decline = "ECHO";
    const size_t boxes = f.sys.boxes.size();
    EXPECT_EQ(-1, f.Run("~[A]"));
    EXPECT_EQ((std::vector<std::string>{"PRINT", "GOTO", "ECHO"}), observer.words);
    EXPECT_EQ(boxes + 1, f.sys.boxes.size()) << "only the first PRINT ran";
}

TEST(Runner, AnEngineWithoutCommandServicesDropsAPendingCopySet) {
    EngineFixture f;
    ASSERT_EQ(nullptr, f.e.services);
    f.Load("[OPTIONS]\n[A]\nPRINT one\n");
    f.e.pendingCopy = true;  // nothing above the engine can copy the rest
    EXPECT_EQ(1, f.Run("~[A]"));
    EXPECT_FALSE(f.e.pendingCopy);
    EXPECT_EQ("one", f.LastText());
}
