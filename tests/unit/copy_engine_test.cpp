// The block copier's own rules on the simulated Windows: the percentage arithmetic, the
// message pump (Enter, quit requests, four messages a pump, its pace, the Stop button),
// files released on every failure, the free-space queries, drive kinds and Shift-JIS names.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "commands/copy_engine.h"
#include "commands/drive_info.h"
#include "platform/sim/sim_windows.h"
#include "text/text_rules.h"

namespace {

using commands::CopyOneFile;
using plat::SimWindows;
using Kind = SimWindows::MessageKind;

constexpr uint64_t kGiga = 1024ull * 1024 * 1024;

class CopyEngineTest : public ::testing::Test {
protected:
    SimWindows sim;
    std::unique_ptr<script::Engine> e = std::make_unique<script::Engine>();
    struct StopHost : script::Host {
        script::Engine* e = nullptr;
        int redraws = 0;
        int stopAt = -1;  // the Stop button is pressed during this redraw
        void RedrawProgress() override {
            if (++redraws == stopAt) e->copy.cancelState = script::kCancelRequested;
        }
    } host;

    void SetUp() override {
        e->sys = &sim;
        e->host = &host;
        host.e = e.get();
        sim.AddFolder("C:\\SRC");
        sim.AddFolder("C:\\DST");
    }
    void CopyOf(const std::string& name, size_t size) {
        sim.AddFile("C:\\SRC\\" + name, std::string(size, 'x'));
        std::strcpy(e->copy.sourcePath, ("C:\\SRC\\" + name).c_str());
        std::strcpy(e->copy.destPath, ("C:\\DST\\" + name).c_str());
    }
    void StepMode() {
        e->stepMode = true;
        e->activityMode = script::kModeInstalling;
        e->copy.cancelState = script::kCancelRunning;
        e->copy.copyTotal = 100000;
    }
};

TEST(ProgressPercentTest, SmallTotalsDivideByOneAndTheResultIsCapped) {
    EXPECT_EQ(commands::ProgressPercent(0, 0), 0);
    EXPECT_EQ(commands::ProgressPercent(50, 0), 50);
    EXPECT_EQ(commands::ProgressPercent(50, 99), 50);
    EXPECT_EQ(commands::ProgressPercent(5000, 99), 100);
    EXPECT_EQ(commands::ProgressPercent(5, 250), 2);                  // 5 / (250 / 100)
    EXPECT_EQ(commands::ProgressPercent(5 * kGiga, 10 * kGiga), 50);  // no 32-bit wrap
}

TEST_F(CopyEngineTest, EveryFailureReleasesBothFiles) {
    CopyOf("W.DAT", 20000);
    sim.FailWrites("C:\\DST\\W.DAT", 13000);
    EXPECT_EQ(CopyOneFile(*e), script::kDestFailed);
    EXPECT_TRUE(e->copy.destCreated);
    EXPECT_EQ(sim.OpenFileCount(), 0);

    sim.ClearFaults();
    sim.FailCreate("C:\\DST\\W.DAT", plat::kCauseGeneric);
    EXPECT_EQ(CopyOneFile(*e), script::kDestFailed);
    EXPECT_FALSE(e->copy.destCreated);
    EXPECT_EQ(sim.OpenFileCount(), 0);

    sim.ClearFaults();
    sim.FailClose("C:\\DST\\W.DAT");
    EXPECT_EQ(CopyOneFile(*e), script::kDestFailed);
    EXPECT_EQ(sim.OpenFileCount(), 0);
}

TEST_F(CopyEngineTest, EnterIsAskedAboutOnlyInStepModeAndNeverDispatched) {
    CopyOf("E.DAT", 18000);
    StepMode();
    sim.QueueEnterKey();
    sim.QueueMessage(7);
    sim.QueueMessageBoxAnswer(plat::kIdNo);
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    ASSERT_EQ(sim.MessageBoxes().size(), 1u);
    ASSERT_EQ(sim.DispatchedMessages().size(), 1u);
    EXPECT_EQ(sim.DispatchedMessages()[0].id, 7);

    e->stepMode = false;
    CopyOf("F.DAT", 18000);
    sim.AdvanceTicks(10);  // the next pump is due
    sim.QueueEnterKey();
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    EXPECT_EQ(sim.MessageBoxes().size(), 1u);
    ASSERT_EQ(sim.DispatchedMessages().size(), 2u);
    EXPECT_EQ(sim.DispatchedMessages()[1].kind, Kind::EnterKeyDown);
}

TEST_F(CopyEngineTest, AtMostFourMessagesGoThroughPerPump) {
    CopyOf("Q.DAT", 6000);
    for (int i = 0; i < 6; ++i) sim.QueueMessage(i);
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    EXPECT_EQ(sim.DispatchedMessages().size(), 4u);
    EXPECT_EQ(sim.PendingMessages(), 2u);
}

TEST_F(CopyEngineTest, QuitRequestMetByThePumpIsPutBackForTheProgramsLoop) {
    CopyOf("Z.DAT", 100);
    sim.QueueQuit(0);
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    EXPECT_TRUE(sim.DispatchedMessages().empty());
    EXPECT_EQ(sim.QuitRequests().size(), 1u);
    EXPECT_EQ(sim.PendingMessages(), 1u);
}

TEST_F(CopyEngineTest, MessagesGoThroughEveryTenMillisecondsNotEveryBlock) {
    CopyOf("P.DAT", 10 * script::kCopyBufferSize);
    for (int i = 0; i < 3; ++i) sim.QueueMessage(i);
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    // One pump at the first block (the engine never pumped): three messages and the empty
    // queue; none at the other nine blocks while the clock stands.
    EXPECT_EQ(sim.PeekCalls(), 4);
    EXPECT_EQ(sim.DispatchedMessages().size(), 3u);

    sim.QueueMessage(3);
    sim.AdvanceTicks(9);
    CopyOf("Q.DAT", 100);
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    EXPECT_EQ(sim.PendingMessages(), 1u);
    sim.AdvanceTicks(1);
    CopyOf("R.DAT", 100);
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    EXPECT_EQ(sim.PendingMessages(), 0u);

    // Across the tick count's wrap the pace stays the same.
    sim.SetTickCount(0xFFFFFFFAu);
    CopyOf("W.DAT", 100);
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    sim.SetTickCount(4);
    sim.QueueMessage(4);
    CopyOf("X.DAT", 100);
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    EXPECT_EQ(sim.PendingMessages(), 0u);
}

TEST_F(CopyEngineTest, StopButtonDuringTheCopyCancelsAfterThatBlock) {
    CopyOf("C.DAT", 3 * script::kCopyBufferSize + 10);
    StepMode();
    e->copy.copyTotal = 4 * script::kCopyBufferSize;
    host.stopAt = 2;  // the redraw after the second block
    EXPECT_EQ(CopyOneFile(*e), script::kCancelled);
    EXPECT_EQ(sim.Contents("C:\\DST\\C.DAT").size(), 2u * script::kCopyBufferSize);
    EXPECT_EQ(sim.OpenFileCount(), 0);
}

TEST_F(CopyEngineTest, ProgressIsRedrawnOnlyWithANewValueAndAtMostOncePer12000Bytes) {
    StepMode();
    e->copy.percent = 0;
    e->copy.copyTotal = 100 * 11000;  // one percent is 11000 bytes
    CopyOf("A.DAT", 11999);           // under 12000 bytes: the install run draws it after the file
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    EXPECT_EQ(host.redraws, 0);
    CopyOf("B.DAT", 12000);
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    EXPECT_EQ(host.redraws, 1);
    EXPECT_EQ(e->copy.percent, 2);                              // 23999 / 11000
    e->copy.copyTotal = 100ull * 10 * script::kCopyBufferSize;  // a block is a tenth of a percent
    host.redraws = 0;
    CopyOf("C.DAT", 25 * script::kCopyBufferSize + 5);
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    EXPECT_EQ(host.redraws, 3) << "2 -> 0 (the new total) -> 1 -> 2 percent, once each";
    EXPECT_EQ(e->copy.percent, 2);
}

TEST_F(CopyEngineTest, OutsideStepModeTheProgressStandsStill) {
    CopyOf("L.DAT", 24000);
    e->copy.copiedBytes = 5;
    e->copy.percent = -1;
    ASSERT_EQ(CopyOneFile(*e), script::kCopied);
    EXPECT_EQ(host.redraws, 0);
    EXPECT_EQ(e->copy.copiedBytes, 5u);
    EXPECT_EQ(e->copy.percent, -1);
}

// ---- Drives ------------------------------------------------------------------------------

TEST_F(CopyEngineTest, FreeBytesUseTheExtendedQueryExceptOnEarly95Builds) {
    sim.AddDrive('D', plat::kDriveFixed, 6 * kGiga);
    sim.SetClusterGeometry('D', 8, 512, 1000, 2000);  // 4096000 bytes by the old query
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 3), 6 * kGiga);
    sim.SetVersion(plat::VersionInfo{1, 4, 0, 950});
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 3), 4096000u);
    sim.SetVersion(plat::VersionInfo{1, 4, 0, 0x04000000u | 1000});
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 3), 4096000u) << "only the low 16 bits are the build";
    sim.SetFamily95();  // build 1998
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 3), 6 * kGiga);
    sim.SetFreeSpaceExFails('D', true);
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 3), 4096000u);

    sim.SetClusterGeometry('D', 64, 512, 300000, 400000);  // 9830400000: beyond 32 bits
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 3), 9830400000ull);
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 0), 0u) << "no disk in A:";
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 26), 0u);
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, -1), 0u);
}

TEST_F(CopyEngineTest, DriveKindFollowsTheScannedTypeOfThePathsLetter) {
    sim.AddDrive('Q', plat::kDriveCdrom, 0);
    commands::ScanDriveTypes(*e);
    EXPECT_EQ(e->driveTypes[2], plat::kDriveFixed);
    EXPECT_EQ(e->driveTypes[25], plat::kDriveNoRoot);
    EXPECT_EQ(commands::DriveKindOf(*e, "q:\\SETUP\\OSTREL.EXE"), script::kDriveKindCdrom);
    EXPECT_EQ(commands::DriveKindOf(*e, "A:\\OSTREL.EXE"), script::kDriveKindRemovable);
    EXPECT_EQ(commands::DriveKindOf(*e, "C:\\OSTREL.EXE"), script::kDriveKindOther);
    EXPECT_EQ(commands::DriveKindOf(*e, "\\\\SERVER\\OSTREL.EXE"), script::kDriveKindOther);
    EXPECT_EQ(commands::DriveKindOf(*e, ""), script::kDriveKindOther);
}

// ---- Shift-JIS paths -----------------------------------------------------------------------

TEST(PathPartsTest, SecondByteOfACharacterIsNeverASeparator) {
    const char* withTable = "D:\\DATA\\表.DAT";  // 表 ends in byte 0x5C
    ASSERT_EQ(static_cast<unsigned char>(withTable[9]), 0x5C);
    EXPECT_EQ(text::LastSeparator(withTable, 3, 13), 7);
    EXPECT_EQ(text::LastSeparator("C:\\A\\B", 0, 3), 2);
    EXPECT_EQ(text::LastSeparator("C:\\AB", 3, 4), -1);
    EXPECT_FALSE(text::EndsInSeparatorOrColon("C:\\ソ"));
    EXPECT_TRUE(text::EndsInSeparatorOrColon("C:\\ソ\\"));
    EXPECT_TRUE(text::EndsInSeparatorOrColon("C:"));
    EXPECT_FALSE(text::EndsInSeparatorOrColon(""));

    char out[8];
    EXPECT_TRUE(text::JoinOrRefuse(out, sizeof out, "C:\\", "ABCD"));
    EXPECT_STREQ(out, "C:\\ABCD");
    EXPECT_FALSE(text::JoinOrRefuse(out, sizeof out, "C:\\", "ABCDE"));
    EXPECT_STREQ(out, "");
}

}  // namespace
