// COPY and INSTSIZE run from scripts against the platform: wildcard sets, identical
// files, times and attributes, the stepped copy with its progress and Enter question,
// and every failure the user can meet, in each activity mode.
#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"
#include "tests/platform/file_commands_fixture.h"

namespace filetest {
namespace {

using Strings = std::vector<std::string>;
constexpr plat::FileTime kSecond = 10000000;
// 2001-02-03 04:05:06 and a day later, as file times.
constexpr plat::FileTime kCreated = 126257619060000000ull;
constexpr plat::FileTime kWritten = kCreated + 86400 * kSecond;

class CopyCommandsTest : public ScriptRunTest {
protected:
    // Positions the reader at the section and prepares an install run's step mode.
    void StartSteps(const std::string& lines, uint64_t copyTotal) {
        Load(lines);
        ASSERT_EQ(script::FindSection(e(), "~[T]"), 1);
        e().activityMode = script::kModeInstalling;
        e().stepMode = true;
        e().pendingCopy = false;
        e().copy.cancelState = script::kCancelRunning;
        e().copy.copiedBytes = 0;
        e().copy.copyTotal = copyTotal;
    }
    // A source folder SRC with three .DAT files, a folder and a system file that match
    // the pattern, and a file that does not.
    void MakeSourceSet() {
        ASSERT_TRUE(Folder("SRC"));
        ASSERT_TRUE(File("SRC\\A.DAT", "aa"));
        ASSERT_TRUE(File("SRC\\B.DAT", std::string(13000, 'b')));
        ASSERT_TRUE(File("SRC\\C.DAT", "ccc"));
        ASSERT_TRUE(Folder("SRC\\SUB.DAT"));
        ASSERT_TRUE(File("SRC\\SYS.DAT", "s"));
        ASSERT_TRUE(tp().SetAttributes(tp().Path("SRC\\SYS.DAT"), plat::kAttrSystem));
        ASSERT_TRUE(File("SRC\\X.TXT", "x"));
        ASSERT_TRUE(Folder("DST"));
    }
    bool Stamp(const std::string& name, plat::FileTime created, plat::FileTime written) {
        return sys().SetFileTimes(tp().Path(name).c_str(), created, written, written);
    }
};

TEST_F(CopyCommandsTest, WildcardSetCopiesFilesOnlyUnderTheirOwnNames) {
    MakeSourceSet();
    EXPECT_EQ(Run("COPY $SRC\\*.DAT $DST\nCREATE $AFTER.TXT\nCLOSE"), 1);
    EXPECT_EQ(tp().List(S("$DST")), (Strings{"A.DAT", "B.DAT", "C.DAT"}));
    EXPECT_EQ(Contents("DST\\B.DAT"), std::string(13000, 'b'));
    EXPECT_TRUE(Exists("AFTER.TXT")) << "the section goes on behind the set";
    EXPECT_FALSE(e().pendingCopy);
    EXPECT_TRUE(tp().MessageBoxes().empty());
    tp().SetAttributes(tp().Path("SRC\\SYS.DAT"), plat::kAttrArchive);
}

TEST_F(CopyCommandsTest, EmptySetsAndEveryFormOfTheDestination) {
    MakeSourceSet();
    ASSERT_TRUE(Folder("D2"));
    EXPECT_EQ(Run("COPY $SRC\\*.NONE $DST\nCOPY $SRC\\SUB.*, $DST\nCOPY $SRC\\A.DAT $DST\\\nCOPY $SRC\\C.DAT, \"$D2\""),
              1);
    EXPECT_EQ(tp().List(S("$DST")), Strings{"A.DAT"});
    EXPECT_EQ(tp().List(S("$D2")), Strings{"C.DAT"});
    EXPECT_TRUE(tp().MessageBoxes().empty());
    tp().SetAttributes(tp().Path("SRC\\SYS.DAT"), plat::kAttrArchive);
}

TEST_F(CopyCommandsTest, CopyCarriesTheTimesButNeverTheReadOnlyAttribute) {
    ASSERT_TRUE(File("RO.DAT", "read only source"));
    ASSERT_TRUE(Stamp("RO.DAT", kCreated + 1234567, kWritten + 7654321));
    ASSERT_TRUE(tp().SetAttributes(tp().Path("RO.DAT"), plat::kAttrReadOnly));
    ASSERT_TRUE(Folder("DST"));
    EXPECT_EQ(Run("COPY $RO.DAT $DST"), 1);
    const plat::FileInfo copy = Info("DST\\RO.DAT");
    EXPECT_EQ(Contents("DST\\RO.DAT"), "read only source");
    EXPECT_EQ(copy.attributes & plat::kAttrReadOnly, 0u);
    EXPECT_EQ(copy.lastWrite, kWritten) << "kept in whole seconds";
    if (tp().IsSimulated()) EXPECT_EQ(copy.creation, kCreated);
    // A copy is writable: it can be deleted at once.
    EXPECT_TRUE(sys().DeleteFile(tp().Path("DST\\RO.DAT").c_str()));
    tp().SetAttributes(tp().Path("RO.DAT"), plat::kAttrArchive);
}

TEST_F(CopyCommandsTest, IdenticalFileIsNotCopiedAgain) {
    ASSERT_TRUE(Folder("DST"));
    ASSERT_TRUE(File("A.DAT", "source"));
    ASSERT_TRUE(File("DST\\A.DAT", "marker"));  // same size, other bytes
    ASSERT_TRUE(Stamp("A.DAT", kCreated, kWritten));
    ASSERT_TRUE(Stamp("DST\\A.DAT", kCreated, kWritten + 5000));  // differs below a second
    if (Info("A.DAT").creation != Info("DST\\A.DAT").creation)
        GTEST_SKIP() << "creation times cannot be set on this system";
    EXPECT_EQ(Run("COPY $A.DAT $DST"), 1);
    EXPECT_EQ(Contents("DST\\A.DAT"), "marker");

    ASSERT_TRUE(Stamp("DST\\A.DAT", kCreated, kWritten + kSecond));
    EXPECT_EQ(Run("COPY $A.DAT $DST"), 1);
    EXPECT_EQ(Contents("DST\\A.DAT"), "source");
}

TEST_F(CopyCommandsTest, CreationTimesStayTheSystemsOwnUnderWine) {
    // Documents the difference that makes the identical-file test skip under Wine.
    if (tp().IsSimulated()) GTEST_SKIP() << "the simulation keeps creation times";
    ASSERT_TRUE(File("A.DAT", "x"));
    ASSERT_TRUE(Stamp("A.DAT", kCreated, kWritten));
    EXPECT_NE(Info("A.DAT").creation, kCreated) << "creation times can be set now: unskip the identical-file test";
    EXPECT_EQ(Info("A.DAT").lastWrite, kWritten);
}

TEST_F(CopyCommandsTest, ShiftJisNamesEndingInByte5CStayWhole) {
    // 表 and ソ end in the byte of a backslash; neither is a separator.
    ASSERT_TRUE(Folder("ソ"));
    ASSERT_TRUE(File("表.DAT", "hyou"));
    ASSERT_TRUE(File("ソ\\能", "nou"));
    EXPECT_EQ(Run("COPY $表.DAT $ソ\nCOPY $ソ\\能 $"), 1);
    EXPECT_EQ(Contents("ソ\\表.DAT"), "hyou");
    EXPECT_EQ(Contents("能"), "nou");
    EXPECT_TRUE(tp().MessageBoxes().empty());
}

// ---- Step mode ------------------------------------------------------------------------

TEST_F(CopyCommandsTest, ProgressIsRedrawnAfterBlocksOf12000BytesOrMoreWithTheirValue) {
    const int block = script::kCopyBufferSize;
    ASSERT_TRUE(File("S.DAT", std::string(11000, 's')));
    ASSERT_TRUE(File("L.DAT", std::string(2 * block + 100, 'l')));
    ASSERT_TRUE(Folder("DST"));
    StartSteps("COPY $S.DAT $DST\nCOPY $L.DAT $DST", 100ull * block);
    EXPECT_EQ(script::StepSection(e()), 1);
    EXPECT_TRUE(host_.redraws.empty());
    EXPECT_EQ(e().copy.copiedBytes, 11000u);
    EXPECT_EQ(script::StepSection(e()), 0);  // the script's last line
    // After each whole block; the last 100 bytes are drawn by the install run after the file.
    EXPECT_EQ(host_.redraws, (std::vector<int>{(11000 + block) / block, (11000 + 2 * block) / block}));
    EXPECT_EQ(e().copy.copiedBytes, 11100u + 2 * block);
    EXPECT_EQ(Contents("DST\\L.DAT").size(), 2u * block + 100);
}

TEST_F(CopyCommandsTest, StepModeCopiesAPendingSetOneFilePerStep) {
    MakeSourceSet();
    StartSteps("COPY $SRC\\*.DAT $DST\nCREATE $AFTER.TXT\nCLOSE", 1000);
    EXPECT_EQ(script::StepSection(e()), 1);
    EXPECT_TRUE(e().pendingCopy);
    EXPECT_EQ(tp().List(S("$DST")).size(), 1u);
    EXPECT_EQ(script::StepSection(e()), 1);
    EXPECT_EQ(tp().List(S("$DST")).size(), 2u);
    EXPECT_EQ(script::StepSection(e()), 1);
    EXPECT_EQ(tp().List(S("$DST")), (Strings{"A.DAT", "B.DAT", "C.DAT"}));
    EXPECT_FALSE(Exists("AFTER.TXT"));
    EXPECT_EQ(script::StepSection(e()), 1);  // the set is found exhausted
    EXPECT_FALSE(e().pendingCopy);
    EXPECT_EQ(script::StepSection(e()), 1);
    EXPECT_TRUE(Exists("AFTER.TXT"));
    EXPECT_EQ(e().copy.copiedBytes, 13005u);
    EXPECT_EQ(e().copy.percent, 100) << "13002 of 1000 bytes is capped";
    tp().SetAttributes(tp().Path("SRC\\SYS.DAT"), plat::kAttrArchive);
}

TEST_F(CopyCommandsTest, SectionRunInStepModeStillCopiesTheWholeSet) {
    MakeSourceSet();
    Load("COPY $SRC\\*.DAT $DST\nCREATE $AFTER.TXT\nCLOSE");
    e().stepMode = true;
    e().activityMode = script::kModeInstalling;
    EXPECT_EQ(script::RunSection(e(), "~[T]"), 1);
    EXPECT_EQ(tp().List(S("$DST")), (Strings{"A.DAT", "B.DAT", "C.DAT"}));
    EXPECT_TRUE(Exists("AFTER.TXT"));
    tp().SetAttributes(tp().Path("SRC\\SYS.DAT"), plat::kAttrArchive);
}

TEST_F(CopyCommandsTest, EnterDuringTheCopyAsksAndNoCarriesOn) {
    ASSERT_TRUE(File("BIG.DAT", std::string(18000, 'g')));
    ASSERT_TRUE(Folder("DST"));
    StartSteps("COPY $BIG.DAT $DST", 18000);
    tp().QueueEnterKey();
    tp().QueueMessageBoxAnswer(plat::kIdNo);
    EXPECT_EQ(script::StepSection(e()), 0);
    const auto boxes = tp().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "インストールを中止しますか？");
    EXPECT_EQ(boxes[0].style, plat::kMbYesNo | plat::kMbIconQuestion);
    EXPECT_EQ(Contents("DST\\BIG.DAT").size(), 18000u);
    EXPECT_EQ(e().copy.cancelState, script::kCancelRunning);
}

TEST_F(CopyCommandsTest, EnterAnsweredYesStopsAndRemovesThePartialFileSilently) {
    ASSERT_TRUE(File("BIG.DAT", std::string(18000, 'g')));
    ASSERT_TRUE(Folder("DST"));
    StartSteps("COPY $BIG.DAT $DST", 18000);
    tp().QueueEnterKey();
    tp().QueueMessageBoxAnswer(plat::kIdYes);
    EXPECT_EQ(script::StepSection(e()), -1);
    EXPECT_EQ(tp().MessageBoxes().size(), 1u) << "no message after the question";
    EXPECT_FALSE(Exists("DST\\BIG.DAT"));
    EXPECT_EQ(e().copy.cancelState, script::kCancelRequested);
}

TEST_F(CopyCommandsTest, EnterOutsideStepModeIsNoQuestion) {
    ASSERT_TRUE(File("BIG.DAT", std::string(18000, 'g')));
    ASSERT_TRUE(Folder("DST"));
    tp().QueueEnterKey();
    EXPECT_EQ(Run("COPY $BIG.DAT $DST"), 1);
    EXPECT_TRUE(tp().MessageBoxes().empty());
    EXPECT_EQ(Contents("DST\\BIG.DAT").size(), 18000u);
}

// ---- Failures --------------------------------------------------------------------------

TEST_F(CopyCommandsTest, MissingSourceAndMissingDestinationFolderInEveryMode) {
    ASSERT_TRUE(File("A.DAT", "a"));
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE("activity mode " + std::to_string(mode));
        tp().ClearMessageBoxes();
        EXPECT_EQ(Run("COPY $NONE.DAT $DST", mode), -1);
        EXPECT_EQ(Run("COPY $A.DAT $NOWHERE", mode), -1);
        EXPECT_EQ(Texts(), (Strings{
                               Row(6, mode) + S("\n$NONE.DAT"),
                               S("不正なパスです。\n$NOWHERE\\A.DAT"),
                               Row(7, mode) + S("\n$NOWHERE\\A.DAT"),
                           }));
        const auto boxes = tp().MessageBoxes();
        EXPECT_EQ(boxes[0].style, plat::kMbOk | plat::kMbIconWarning);
        EXPECT_EQ(boxes[1].style, plat::kMbOk);
        EXPECT_EQ(boxes[2].style, plat::kMbOk | plat::kMbIconWarning);
    }
}

TEST_F(CopyCommandsTest, FullDiskShowsOnlyItsRowAndLeavesNoPartialFile) {
    SKIP_UNLESS_SIMULATED("a disk that fills while copying (the end-to-end tests use a small real drive)");
    ASSERT_TRUE(File("BIG.DAT", std::string(30000, 'f')));
    ASSERT_TRUE(Folder("DST"));
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE("activity mode " + std::to_string(mode));
        tp().ClearMessageBoxes();
        tp().Sim()->FillDiskAfter('C', 13000);
        EXPECT_EQ(Run("COPY $BIG.DAT $DST", mode), -1);
        EXPECT_EQ(Texts(), Strings{Row(9, mode)});
        EXPECT_EQ(tp().MessageBoxes()[0].style, plat::kMbOk | plat::kMbIconWarning);
        EXPECT_FALSE(Exists("DST\\BIG.DAT"));
        EXPECT_EQ(tp().Sim()->OpenFileCount(), 0);
    }
}

TEST_F(CopyCommandsTest, UnreadableFileInASetEndsTheSetAndKeepsTheFilesBefore) {
    SKIP_UNLESS_SIMULATED("a read error in the middle of a file");
    MakeSourceSet();
    tp().Sim()->FailReads(S("$SRC\\B.DAT"), 6000);
    StartSteps("COPY $SRC\\*.DAT $DST", 1000);
    EXPECT_EQ(script::StepSection(e()), 1);
    EXPECT_EQ(script::StepSection(e()), -1);
    EXPECT_EQ(Texts(), Strings{Row(6, 1) + S("\n$SRC\\B.DAT")});
    EXPECT_EQ(tp().List(S("$DST")), Strings{"A.DAT"});
    EXPECT_FALSE(e().pendingCopy);
    EXPECT_EQ(tp().Sim()->OpenFileCount(), 0);
    EXPECT_EQ(tp().Sim()->OpenSearchCount(), 0);
}

TEST_F(CopyCommandsTest, NamesShiftJisCannotHoldEndTheSetWithRowSixNotSilently) {
    // B's name (é) has no Shift-JIS code: the set cannot be copied whole.
    ASSERT_TRUE(Folder("SRC"));
    ASSERT_TRUE(Folder("DST"));
    ASSERT_TRUE(File("SRC\\A.DAT", "a"));
    ASSERT_TRUE(File("SRC\\C.DAT", "c"));
    if (tp().IsSimulated()) {
        ASSERT_TRUE(File("SRC\\B.DAT", "b"));
        ASSERT_TRUE(tp().Sim()->SetNameUnholdable(S("$SRC\\B.DAT")));
    } else {
        ASSERT_TRUE(tp().CreateUnicodeFile(tp().Path("SRC\\"), u"B\u00e9.DAT"));
    }
    for (int mode = 0; mode < 2; ++mode) {
        SCOPED_TRACE("activity mode " + std::to_string(mode));
        tp().ClearMessageBoxes();
        EXPECT_EQ(Run("COPY $SRC\\*.DAT $DST\nCREATE $AFTER.TXT\nCLOSE", mode), -1);
        EXPECT_EQ(Texts(), Strings{Row(6, mode) + S("\n$SRC\\\n（名前を扱えないファイルが1個あります）")});
        EXPECT_FALSE(Exists("AFTER.TXT"));
        EXPECT_FALSE(e().pendingCopy);
        // The search's order is the system's: the files met before the name stay, whole.
        for (const std::string& name : tp().List(S("$DST"))) EXPECT_EQ(Contents("DST\\" + name).size(), 1u) << name;
        if (tp().IsSimulated()) EXPECT_EQ(tp().List(S("$DST")), Strings{"A.DAT"});
    }
    // A set of nothing but such names is no empty set either.
    tp().ClearMessageBoxes();
    EXPECT_EQ(Run("COPY $SRC\\B*.DAT $DST"), -1);
    EXPECT_EQ(Texts(), Strings{Row(6, 0) + S("\n$SRC\\\n（名前を扱えないファイルが1個あります）")});
    if (tp().IsSimulated()) EXPECT_EQ(tp().Sim()->OpenSearchCount(), 0);
}

TEST_F(CopyCommandsTest, RefusedDestinationsShowTheirCauseThenRowSeven) {
    SKIP_UNLESS_SIMULATED("injected create faults");
    ASSERT_TRUE(File("A.DAT", "a"));
    ASSERT_TRUE(Folder("DST"));
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE("activity mode " + std::to_string(mode));
        tp().ClearMessageBoxes();
        tp().Sim()->FailCreate(S("$DST\\A.DAT"), plat::kCauseGeneric);
        EXPECT_EQ(Run("COPY $A.DAT $DST", mode), -1);
        tp().Sim()->FailCreate(S("$DST\\A.DAT"), plat::kCauseAccessDenied);
        EXPECT_EQ(Run("COPY $A.DAT $DST", mode), -1);
        tp().Sim()->FailCreate(S("$DST\\A.DAT"), plat::kCauseDiskFull);
        EXPECT_EQ(Run("COPY $A.DAT $DST", mode), -1);
        EXPECT_EQ(Texts(), (Strings{
                               Row(7, mode) + S("\n$DST\\A.DAT"),
                               S("ファイル$DST\\A.DATの\n書き込みに失敗しました。"),
                               Row(7, mode) + S("\n$DST\\A.DAT"),
                               "ディスクが一杯です。",
                               Row(7, mode) + S("\n$DST\\A.DAT"),
                           }));
        tp().Sim()->ClearFaults();
    }
}

TEST_F(CopyCommandsTest, StampingOrClosingFailuresRemoveTheCopy) {
    SKIP_UNLESS_SIMULATED("injected close and time faults");
    ASSERT_TRUE(File("A.DAT", "abc"));
    ASSERT_TRUE(Folder("DST"));
    tp().Sim()->FailSetTimes(S("$DST\\A.DAT"));
    EXPECT_EQ(Run("COPY $A.DAT $DST"), -1);
    tp().Sim()->ClearFaults();
    tp().Sim()->FailClose(S("$A.DAT"));
    EXPECT_EQ(Run("COPY $A.DAT $DST"), -1);
    EXPECT_EQ(Texts(), (Strings{Row(7, 0) + S("\n$DST\\A.DAT"), Row(6, 0) + S("\n$A.DAT")}));
    EXPECT_FALSE(Exists("DST\\A.DAT"));
}

// ---- INSTSIZE ----------------------------------------------------------------------------

TEST_F(CopyCommandsTest, InstSizeSetsBothCountsAndNoCheckSkipsTheSpaceTest) {
    EXPECT_EQ(Run("INSTSIZE 10000, 20000, NOCHECK"), 1);
    EXPECT_EQ(e().copy.copyTotal, 10240000u);
    EXPECT_EQ(e().copy.installSize, 20480000u);
    EXPECT_EQ(Run("INSTSIZE 0 1"), 1) << "a kilobyte fits on the test drive";
    EXPECT_TRUE(tp().MessageBoxes().empty());
    EXPECT_EQ(Run("INSTSIZE 1"), -1);
    EXPECT_EQ(Texts(), Strings{"文法エラーです。\n2行"});
}

TEST_F(CopyCommandsTest, InstSizeNeedsMoreFreeBytesThanTheInstallSize) {
    SKIP_UNLESS_SIMULATED("a drive with a chosen number of free bytes");
    plat::SimWindows& sim = *tp().Sim();
    e().chosenDriveIndex = 3;
    e().chosenDriveLetter = 'D';
    sim.AddDrive('D', plat::kDriveFixed, 2048 * 1024 + 1);
    EXPECT_EQ(Run("INSTSIZE 1, 2048"), 1);
    sim.SetFreeBytes('D', 2048 * 1024);
    EXPECT_EQ(Run("INSTSIZE 1, 2048, nocheck"), -1) << "only NOCHECK in capitals skips the test";
    EXPECT_EQ(e().destinationStatus, script::kDestinationNoSpace);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_NE(Texts()[0].find("ドライブ D:"), std::string::npos) << Texts()[0];
    EXPECT_NE(Texts()[0].find("約2Ｍ"), std::string::npos) << Texts()[0];

    // Sizes beyond 4 GB compare in full: 9999999 K does not fit in 6 GB.
    e().destinationStatus = script::kDestinationReported;
    sim.SetFreeBytes('D', 6ull << 30);
    EXPECT_EQ(Run("INSTSIZE 9999999, 9999999"), -1);
    EXPECT_EQ(e().copy.installSize, 9999999ull * 1024);
    EXPECT_EQ(e().destinationStatus, script::kDestinationNoSpace);
    sim.SetFreeBytes('D', 11ull << 30);
    EXPECT_EQ(Run("INSTSIZE 9999999, 9999999"), 1);
}

}  // namespace
}  // namespace filetest
