// The file and folder commands run from scripts against the platform: what they leave on
// disk and exactly what they show, in each activity mode.
#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"
#include "tests/platform/file_commands_fixture.h"

namespace filetest {
namespace {

using Strings = std::vector<std::string>;

class FileCommandsTest : public ScriptRunTest {};

TEST_F(FileCommandsTest, CreateWriteCloseLeaveTheTextsEachWithCrLf) {
    ASSERT_TRUE(File("OUT.TXT", "old contents that must go"));
    EXPECT_EQ(Run("CREATE $OUT.TXT\nWRITE \"first line, with comma\"\nWRITE 日本語\nCLOSE"), 1);
    EXPECT_EQ(Contents("OUT.TXT"), "first line, with comma\r\n日本語\r\n");
    EXPECT_TRUE(tp().MessageBoxes().empty());
    EXPECT_FALSE(e().output.open);
}

TEST_F(FileCommandsTest, WriteAndCloseWithoutAnOutputFileFailSilently) {
    EXPECT_EQ(Run("WRITE text"), -1);
    EXPECT_EQ(Run("CLOSE"), -1);
    EXPECT_TRUE(tp().MessageBoxes().empty());
}

TEST_F(FileCommandsTest, SecondCreateClosesTheFirstEvenWhenItsOwnPathIsMissing) {
    EXPECT_EQ(Run("CREATE $ONE.TXT\nWRITE kept\nCREATE"), -1);
    EXPECT_EQ(Texts(), Strings{"文法エラーです。\n4行"});
    EXPECT_FALSE(e().output.open);
    // Closed: readable in full and deletable (an open file could not be deleted).
    EXPECT_EQ(Contents("ONE.TXT"), "kept\r\n");
    EXPECT_TRUE(sys().DeleteFile(S("$ONE.TXT").c_str()));
}

TEST_F(FileCommandsTest, OutputFileDoesNotOutliveItsSection) {
    EXPECT_EQ(Run("CREATE $A.TXT\nWRITE x"), 1);
    EXPECT_EQ(Run("WRITE y"), -1);
    EXPECT_TRUE(tp().MessageBoxes().empty());
    // The next section closed the forgotten file: it holds what was written and is not
    // left locked until the program ends.
    EXPECT_EQ(Contents("A.TXT"), "x\r\n");
    EXPECT_TRUE(sys().DeleteFile(S("$A.TXT").c_str()));
}

TEST_F(FileCommandsTest, CreateInAMissingFolderNamesTheBadPathOnly) {
    EXPECT_EQ(Run("CREATE $NOWHERE\\OUT.TXT"), -1);
    EXPECT_EQ(Texts(), Strings{S("不正なパスです。\n$NOWHERE\\OUT.TXT")});
}

TEST_F(FileCommandsTest, FoldersAreMadeOneLevelAtATimeAndRemovedOnlyWhenEmpty) {
    EXPECT_EQ(Run("MKDIR $GAME\nMKDIR $GAME\nMKDIR $GAME\\SAVE"), 1);
    EXPECT_TRUE(tp().IsFolder(S("$GAME\\SAVE")));
    EXPECT_EQ(Run("RMDIR $GAME\\SAVE\nRMDIR $GAME\\SAVE\nRMDIR $GAME"), 1);
    EXPECT_FALSE(Exists("GAME"));
    EXPECT_TRUE(tp().MessageBoxes().empty());
    char after[260];
    ASSERT_GT(sys().GetCurrentDirectory(after, sizeof after), 0u);
    EXPECT_STREQ(after, S("$").substr(0, S("$").size() - 1).c_str()) << "the section's folder, as set";
}

TEST_F(FileCommandsTest, DeleteRenameAndMissingFiles) {
    ASSERT_TRUE(File("A.DAT", "a"));
    EXPECT_EQ(Run("DELETE $A.DAT\nDELETE $A.DAT\nDELETE $NONE\\*.DAT"), 1);
    EXPECT_FALSE(Exists("A.DAT"));

    ASSERT_TRUE(File("OLD.DAT", "o"));
    ASSERT_TRUE(Folder("DIR"));
    EXPECT_EQ(Run("RENAME $OLD.DAT $NEW.DAT\nRENAME $DIR $DIR2"), 1);
    EXPECT_EQ(Contents("NEW.DAT"), "o");
    EXPECT_TRUE(tp().IsFolder(S("$DIR2")));
    EXPECT_TRUE(tp().MessageBoxes().empty());
}

TEST_F(FileCommandsTest, WildcardDeleteSkipsFoldersAndSystemFiles) {
    ASSERT_TRUE(File("A.DAT", "a"));
    ASSERT_TRUE(File("B.DAT", "b"));
    ASSERT_TRUE(File("SYS.DAT", "s"));
    ASSERT_TRUE(tp().SetAttributes(S("$SYS.DAT"), plat::kAttrSystem));
    ASSERT_TRUE(File("C.TXT", "c"));
    ASSERT_TRUE(Folder("SUB.DAT"));
    ASSERT_TRUE(Folder("ONLY"));
    ASSERT_TRUE(Folder("ONLY\\X.DAT"));

    EXPECT_EQ(Run("DELETE $*.DAT\nDELETE $ONLY\\*.DAT"), 1);
    EXPECT_EQ(tp().List(S("$")), (Strings{"C.TXT", "ONLY", "SUB.DAT", "SYS.DAT"}));
    EXPECT_TRUE(tp().IsFolder(S("$ONLY\\X.DAT")));
    EXPECT_TRUE(tp().MessageBoxes().empty());
    tp().SetAttributes(S("$SYS.DAT"), plat::kAttrArchive);
}

TEST_F(FileCommandsTest, FailureRowsCarryTheWordingOfTheActivityMode) {
    ASSERT_TRUE(Folder("FULL"));
    ASSERT_TRUE(File("FULL\\IN.DAT", "x"));
    ASSERT_TRUE(File("RO.DAT", "r"));
    ASSERT_TRUE(tp().SetAttributes(S("$RO.DAT"), plat::kAttrReadOnly));
    ASSERT_TRUE(File("A.DAT", "a"));
    ASSERT_TRUE(File("B.DAT", "b"));

    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE("activity mode " + std::to_string(mode));
        tp().ClearMessageBoxes();
        EXPECT_EQ(Run("MKDIR $NOPE\\SUB", mode), -1);
        EXPECT_EQ(Run("RMDIR $FULL", mode), -1);
        EXPECT_EQ(Run("DELETE $RO.DAT", mode), -1);
        EXPECT_EQ(Run("DELETE $R?.DAT", mode), -1);
        EXPECT_EQ(Run("RENAME $A.DAT $B.DAT", mode), -1);
        const std::string readOnlyNote = S("ファイル$RO.DATは、\n書き込み禁止属性です。");
        EXPECT_EQ(Texts(), (Strings{
                               Row(1, mode) + S("\n$NOPE\\SUB"),
                               Row(2, mode) + S("\n$FULL"),
                               readOnlyNote,
                               Row(3, mode) + S("\n$RO.DAT"),
                               readOnlyNote,
                               Row(3, mode) + S("\n$RO.DAT"),
                               Row(4, mode) + S("\n$A.DAT"),
                           }));
        for (const auto& box : tp().MessageBoxes()) {
            EXPECT_EQ(box.caption, "");
            const bool note = box.text == readOnlyNote;
            EXPECT_EQ(box.style, note ? plat::kMbOk : plat::kMbOk | plat::kMbIconWarning) << box.text;
        }
    }
    EXPECT_TRUE(Exists("RO.DAT")) << "read-only files are never made writable";
    EXPECT_EQ(Contents("B.DAT"), "b");
    tp().SetAttributes(S("$RO.DAT"), plat::kAttrArchive);
}

TEST_F(FileCommandsTest, FindWaitsWhileTheUserSaysOkOrDeclinesToStop) {
    ASSERT_TRUE(Folder("DISC"));
    EXPECT_EQ(Run("FIND $DISC \"Insert the disc\"\nFIND $DIS? text"), 1);
    EXPECT_TRUE(tp().MessageBoxes().empty());

    const char* questions[3] = {"中断しますか？", "インストールを中断しますか？", "アンインストールを中断しますか？"};
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE("activity mode " + std::to_string(mode));
        tp().ClearMessageBoxes();
        for (int answer : {plat::kIdOk, plat::kIdOk, plat::kIdCancel, plat::kIdNo, plat::kIdCancel, plat::kIdYes})
            tp().QueueMessageBoxAnswer(answer);
        EXPECT_EQ(Run("FIND $DISC\\GAME.DAT \"ディスクを入れてください\"", mode), -1);
        const auto boxes = tp().MessageBoxes();
        ASSERT_EQ(boxes.size(), 6u);
        for (int i : {0, 1, 2, 4}) {
            EXPECT_EQ(boxes[i].text, "ディスクを入れてください");
            EXPECT_EQ(boxes[i].style, plat::kMbOkCancel);
        }
        for (int i : {3, 5}) {
            EXPECT_EQ(boxes[i].text, questions[mode]);
            EXPECT_EQ(boxes[i].style, plat::kMbYesNo);
        }
    }
}

TEST_F(FileCommandsTest, FindGoesOnOnceThePathAppears) {
    SKIP_UNLESS_SIMULATED("the file appears while the box is open");
    int shown = 0;
    tp().Sim()->SetMessageBoxHook([&](const plat::SimWindows::MessageBoxCall&) {
        if (++shown == 2) tp().Sim()->AddFile(S("$GAME.DAT"), "");
        return plat::kIdOk;
    });
    EXPECT_EQ(Run("FIND $GAME.DAT wait\nCREATE $AFTER.TXT\nCLOSE"), 1);
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(Exists("AFTER.TXT"));
}

// Faults the real system cannot be made to produce on demand.
TEST_F(FileCommandsTest, OutputFileErrorsOfEveryKind) {
    SKIP_UNLESS_SIMULATED("injected create, write and close faults");
    plat::SimWindows& sim = *tp().Sim();
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE("activity mode " + std::to_string(mode));
        // Names of their own per mode: a file whose WRITE failed stays open (and locked)
        // after its section, as any output file a section leaves open.
        const std::string m = std::to_string(mode);
        tp().ClearMessageBoxes();
        sim.FailCreate(S("$G" + m), plat::kCauseGeneric);
        EXPECT_EQ(Run("CREATE $G" + m, mode), -1);
        sim.FailCreate(S("$D" + m), plat::kCauseAccessDenied);
        EXPECT_EQ(Run("CREATE $D" + m, mode), -1);
        sim.FailCreate(S("$F" + m), plat::kCauseDiskFull);
        EXPECT_EQ(Run("CREATE $F" + m, mode), -1);
        sim.FailCreate(S("$M" + m), plat::kCauseTooManyOpenFiles);
        EXPECT_EQ(Run("CREATE $M" + m, mode), -1);
        sim.FailWrites(S("$W" + m), 4);
        EXPECT_EQ(Run("CREATE $W" + m + "\nWRITE ab\nWRITE cd", mode), -1);
        EXPECT_EQ(tp().Sim()->Contents(S("$W" + m)), "ab\r\n");
        sim.FailClose(S("$C" + m));
        EXPECT_EQ(Run("CREATE $C" + m + "\nCLOSE", mode), -1);
        EXPECT_TRUE(e().output.open) << "a failed close leaves the file marked open";
        EXPECT_EQ(Texts(), (Strings{
                               Row(7, mode) + S("\n$G" + m),
                               S("ファイル$D" + m + "の\n書き込みに失敗しました。"),
                               "ディスクが一杯です。",
                               "オープンファイル数超過です。",
                               Row(7, mode) + S("\n$W" + m),
                               Row(7, mode) + S("\n$C" + m),
                           }));
        e().output.open = false;
    }
}

}  // namespace
}  // namespace filetest
