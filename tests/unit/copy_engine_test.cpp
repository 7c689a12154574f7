// The block copier, the progress arithmetic, the message pump and the drive queries,
// against a small in-memory Windows whose faults and queue each test sets up.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "commands/copy_engine.h"
#include "commands/path_parts.h"
#include "tests/unit/copy_fake_platform.h"

namespace {

using commands::CopyOneFile;
using copytest::CopyFakePlatform;

constexpr plat::FileTime kSecond = 10000000;
constexpr uint64_t kGiga = 1024ull * 1024 * 1024;

class RecordingHost : public script::Host {
public:
    explicit RecordingHost(script::Engine* e) : e_(e) {}
    void RedrawProgress() override { percents.push_back(e_->copy.percent); }
    std::vector<int> percents;

private:
    script::Engine* e_;
};

class CopyEngineTest : public ::testing::Test {
protected:
    CopyFakePlatform fake;
    std::unique_ptr<script::Engine> e = std::make_unique<script::Engine>();
    RecordingHost host{e.get()};

    void SetUp() override {
        e->sys = &fake;
        e->host = &host;
        e->copy.percent = -7;  // garbage: a test that expects no update sees it unchanged
    }
    void Paths(const char* source, const char* dest) {
        std::strcpy(e->copy.sourcePath, source);
        std::strcpy(e->copy.destPath, dest);
    }
    void StepModeInstall(uint64_t total) {
        e->stepMode = true;
        e->activityMode = script::kModeInstalling;
        e->copy.cancelState = 1;
        e->copy.copyTotal = total;
        e->copy.copiedBytes = 0;
    }
};

TEST(ProgressPercentTest, SmallTotalsDivideByOneAndResultIsCapped) {
    EXPECT_EQ(commands::ProgressPercent(0, 0), 0);
    EXPECT_EQ(commands::ProgressPercent(50, 0), 50);
    EXPECT_EQ(commands::ProgressPercent(50, 99), 50);
    EXPECT_EQ(commands::ProgressPercent(5000, 99), 100);
    EXPECT_EQ(commands::ProgressPercent(5, 250), 2);  // 5 / (250 / 100)
    EXPECT_EQ(commands::ProgressPercent(12000, 10240000), 0);
    EXPECT_EQ(commands::ProgressPercent(5 * kGiga, 10 * kGiga), 50);  // no 32-bit wrap
}

TEST_F(CopyEngineTest, DiskFullMidFileClosesBothFilesSoThePartialCanBeRemoved) {
    fake.AddFile("D:\\SRC\\BIG.DAT", std::string(20000, 'x'));
    fake.writeLimit = 13000;
    Paths("D:\\SRC\\BIG.DAT", "C:\\GAME\\BIG.DAT");

    EXPECT_EQ(CopyOneFile(*e), commands::kDiskFull);
    EXPECT_TRUE(e->copy.destCreated);
    EXPECT_EQ(fake.OpenCount(), 0);
    EXPECT_TRUE(fake.DeleteFile("C:\\GAME\\BIG.DAT")) << "the partial destination is still held open";
}

TEST_F(CopyEngineTest, OtherWriteErrorsAndReadErrorsAlsoCloseEverything) {
    fake.AddFile("D:\\A.DAT", std::string(9000, 'a'));
    fake.writeLimit = 100;
    fake.writeFailCause = plat::kCauseAccessDenied;
    Paths("D:\\A.DAT", "C:\\A.DAT");
    EXPECT_EQ(CopyOneFile(*e), commands::kDestFailed);
    EXPECT_EQ(fake.OpenCount(), 0);

    fake.writeLimit = SIZE_MAX;
    fake.unreadablePath = "D:\\A.DAT";
    EXPECT_EQ(CopyOneFile(*e), commands::kSourceFailed);
    EXPECT_TRUE(e->copy.destCreated);
    EXPECT_EQ(fake.OpenCount(), 0);
}

TEST_F(CopyEngineTest, RefusedDestinationShowsTheCauseAndReleasesTheSource) {
    fake.AddFile("D:\\A.DAT", "abc");
    fake.createFailCause = plat::kCauseBadPath;
    Paths("D:\\A.DAT", "C:\\NOWHERE\\A.DAT");
    EXPECT_EQ(CopyOneFile(*e), commands::kDestFailed);
    EXPECT_FALSE(e->copy.destCreated);
    EXPECT_EQ(fake.OpenCount(), 0);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0], "不正なパスです。\nC:\\NOWHERE\\A.DAT");
}

TEST_F(CopyEngineTest, MissingSourceShowsNothingAndCreatesNothing) {
    Paths("D:\\NONE.DAT", "C:\\NONE.DAT");
    EXPECT_EQ(CopyOneFile(*e), commands::kSourceFailed);
    EXPECT_FALSE(e->copy.destCreated);
    EXPECT_EQ(fake.files.count("C:\\NONE.DAT"), 0u);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(CopyEngineTest, TimesAreStampedInWholeSecondsAndSubSecondDifferencesCountAsIdentical) {
    const plat::FileTime created = 1000 * kSecond + 1234567, written = 2000 * kSecond + 7654321;
    fake.AddFile("D:\\T.DAT", "payload", created, written);
    Paths("D:\\T.DAT", "C:\\T.DAT");
    ASSERT_EQ(CopyOneFile(*e), commands::kCopied);
    const plat::FileInfo& copied = fake.files.at("C:\\T.DAT").info;
    EXPECT_EQ(copied.creation, 1000 * kSecond);
    EXPECT_EQ(copied.lastWrite, 2000 * kSecond);
    EXPECT_EQ(fake.files.at("C:\\T.DAT").data, "payload");

    // The copy now differs from its source only below a second: it is not written again.
    fake.files.at("C:\\T.DAT").data = "marker!";
    EXPECT_EQ(CopyOneFile(*e), commands::kCopied);
    EXPECT_FALSE(e->copy.destCreated);
    EXPECT_EQ(fake.files.at("C:\\T.DAT").data, "marker!");
    EXPECT_EQ(fake.OpenCount(), 0);

    // A size difference is a different file.
    fake.files.at("C:\\T.DAT").info.size = 3;
    EXPECT_EQ(CopyOneFile(*e), commands::kCopied);
    EXPECT_EQ(fake.files.at("C:\\T.DAT").data, "payload");
}

TEST_F(CopyEngineTest, StepModeRedrawsAfterEverySecondBlockOnly) {
    fake.AddFile("D:\\P.DAT", std::string(30000, 'p'));  // five full blocks
    Paths("D:\\P.DAT", "C:\\P.DAT");
    StepModeInstall(60000);
    e->copy.copiedBytes = 600;
    ASSERT_EQ(CopyOneFile(*e), commands::kCopied);
    EXPECT_EQ(host.percents, (std::vector<int>{21, 41}));  // 12600 / 600, 24600 / 600
    EXPECT_EQ(e->copy.copiedBytes, 30600u);
}

TEST_F(CopyEngineTest, OneBlockFileNeverRedrawsAndOutsideStepModeNothingAdvances) {
    fake.AddFile("D:\\S.DAT", std::string(6000, 's'));
    Paths("D:\\S.DAT", "C:\\S.DAT");
    StepModeInstall(6000);
    ASSERT_EQ(CopyOneFile(*e), commands::kCopied);
    EXPECT_TRUE(host.percents.empty());
    EXPECT_EQ(e->copy.copiedBytes, 6000u);

    e->stepMode = false;
    fake.AddFile("D:\\L.DAT", std::string(24000, 'l'));
    Paths("D:\\L.DAT", "C:\\L.DAT");
    ASSERT_EQ(CopyOneFile(*e), commands::kCopied);
    EXPECT_TRUE(host.percents.empty());
    EXPECT_EQ(e->copy.copiedBytes, 6000u);
}

TEST_F(CopyEngineTest, IdenticalFileStillAdvancesTheProgressInStepMode) {
    fake.AddFile("D:\\I.DAT", std::string(500, 'i'), 5 * kSecond, 6 * kSecond);
    fake.AddFile("C:\\I.DAT", std::string(500, 'i'), 5 * kSecond, 6 * kSecond);
    Paths("D:\\I.DAT", "C:\\I.DAT");
    StepModeInstall(1000);
    ASSERT_EQ(CopyOneFile(*e), commands::kCopied);
    EXPECT_FALSE(e->copy.destCreated);
    EXPECT_EQ(e->copy.copiedBytes, 500u);
}

TEST_F(CopyEngineTest, EnterInStepModeAsksAndNoGoesOnWhileYesCancels) {
    fake.AddFile("D:\\E.DAT", std::string(18000, 'e'));
    Paths("D:\\E.DAT", "C:\\E.DAT");
    StepModeInstall(18000);
    fake.queue = {copytest::EnterKey(), plat::PeekedMessage{}};
    fake.answers = {plat::kIdNo};
    ASSERT_EQ(CopyOneFile(*e), commands::kCopied);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0], "インストールを中止しますか？");
    EXPECT_EQ(fake.boxStyles[0], plat::kMbYesNo | plat::kMbIconQuestion);
    EXPECT_EQ(fake.dispatched, 1) << "the Enter key itself is never dispatched";
    EXPECT_EQ(e->copy.cancelState, 1);

    fake.boxes.clear();
    fake.files.erase("C:\\E.DAT");
    fake.queue = {copytest::EnterKey(), plat::PeekedMessage{}};
    fake.answers = {plat::kIdYes};
    EXPECT_EQ(CopyOneFile(*e), commands::kCancelled);
    EXPECT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(e->copy.cancelState, 2);
    EXPECT_EQ(fake.queue.size(), 1u) << "pumping ends with the Yes";
    EXPECT_EQ(fake.OpenCount(), 0);
    EXPECT_EQ(fake.files.at("C:\\E.DAT").data.size(), 6000u) << "cancelled after the first block";
}

TEST_F(CopyEngineTest, OutsideStepModeEnterIsAnOrdinaryMessageAndAtMostFourGoPerBlock) {
    fake.AddFile("D:\\Q.DAT", std::string(6000, 'q'));
    Paths("D:\\Q.DAT", "C:\\Q.DAT");
    for (int i = 0; i < 6; ++i) fake.queue.push_back(copytest::EnterKey());
    ASSERT_EQ(CopyOneFile(*e), commands::kCopied);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.dispatched, 4);
    EXPECT_EQ(fake.queue.size(), 2u);
}

TEST_F(CopyEngineTest, StopButtonDuringTheCopyCancels) {
    class StopHost : public script::Host {
    public:
        script::Engine* e = nullptr;
        void RedrawProgress() override { e->copy.cancelState = 2; }
    } stop;
    stop.e = e.get();
    e->host = &stop;
    fake.AddFile("D:\\C.DAT", std::string(40000, 'c'));
    Paths("D:\\C.DAT", "C:\\C.DAT");
    StepModeInstall(40000);
    EXPECT_EQ(CopyOneFile(*e), commands::kCancelled);
    EXPECT_EQ(fake.files.at("C:\\C.DAT").data.size(), 12000u);
    EXPECT_EQ(fake.OpenCount(), 0);
}

TEST_F(CopyEngineTest, QuitRequestSeenByThePumpIsPutBack) {
    fake.AddFile("D:\\Z.DAT", std::string(100, 'z'));
    Paths("D:\\Z.DAT", "C:\\Z.DAT");
    fake.queue = {copytest::Quit(), plat::PeekedMessage{}};
    ASSERT_EQ(CopyOneFile(*e), commands::kCopied);
    EXPECT_EQ(fake.quitPosts, 1);
    EXPECT_EQ(fake.dispatched, 0);
}

// ---- Drives --------------------------------------------------------------------------

TEST_F(CopyEngineTest, FreeBytesUseTheExtendedQueryExceptOnEarly95Builds) {
    fake.extendedFree = 6 * kGiga;
    fake.freeClusters = 1000;  // 4096-byte clusters: 4096000
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 3), 6 * kGiga);
    EXPECT_EQ(fake.rootsAsked, (std::vector<std::string>{"D:\\"}));

    fake.version = plat::VersionInfo{1, 4, 0, 950};
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 3), 4096000u);
    fake.version = plat::VersionInfo{1, 4, 10, 0x040A0000u | 1998};
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 3), 6 * kGiga) << "only the low 16 bits are the build";
    fake.version = plat::VersionInfo{1, 4, 0, 0x04000000u | 1000};
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 3), 4096000u);

    fake.version = plat::VersionInfo{};
    fake.haveExtendedQuery = false;
    fake.sectorsPerCluster = 64;
    fake.bytesPerSector = 512;
    fake.freeClusters = 300000;  // 9830400000 bytes: beyond 32 bits
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 2), 9830400000ull);

    EXPECT_EQ(commands::GetDriveFreeBytes(*e, 26), 0u);
    EXPECT_EQ(commands::GetDriveFreeBytes(*e, -1), 0u);
}

TEST_F(CopyEngineTest, DriveKindFollowsTheScannedTypeOfThePathsLetter) {
    fake.driveTypes = {{'C', plat::kDriveFixed}, {'A', plat::kDriveRemovable}, {'Q', plat::kDriveCdrom}};
    commands::ScanDriveTypes(*e);
    ASSERT_EQ(fake.rootsAsked.size(), 26u);
    EXPECT_EQ(fake.rootsAsked.front(), "A:\\");
    EXPECT_EQ(fake.rootsAsked.back(), "Z:\\");
    EXPECT_EQ(commands::DriveKindOf(*e, "q:\\SETUP\\OSTREL.EXE"), 1);
    EXPECT_EQ(commands::DriveKindOf(*e, "A:\\OSTREL.EXE"), 0);
    EXPECT_EQ(commands::DriveKindOf(*e, "C:\\OSTREL.EXE"), 2);
    EXPECT_EQ(commands::DriveKindOf(*e, "\\\\SERVER\\OSTREL.EXE"), 2);
    EXPECT_EQ(commands::DriveKindOf(*e, ""), 2);
}

// ---- Shift-JIS paths -------------------------------------------------------------------

TEST(PathPartsTest, SecondByteOfACharacterIsNeverASeparator) {
    const char* withTable = "D:\\DATA\\表.DAT";  // 表 ends in byte 0x5C
    ASSERT_EQ(static_cast<unsigned char>(withTable[9]), 0x5C);
    EXPECT_EQ(commands::LastSeparator(withTable, 3, 13), 7);
    EXPECT_FALSE(commands::EndsInSeparatorOrColon("C:\\ソ"));
    EXPECT_TRUE(commands::EndsInSeparatorOrColon("C:\\ソ\\"));
    EXPECT_TRUE(commands::EndsInSeparatorOrColon("C:"));
    EXPECT_FALSE(commands::EndsInSeparatorOrColon(""));
    EXPECT_EQ(commands::LastSeparator("C:\\A\\B", 0, 3), 2);
    EXPECT_EQ(commands::LastSeparator("C:\\AB", 3, 4), -1);
}

TEST(PathPartsTest, JoiningRefusesWhatDoesNotFit) {
    char out[8];
    EXPECT_TRUE(commands::JoinPath(out, sizeof out, "C:\\", "ABCD"));
    EXPECT_STREQ(out, "C:\\ABCD");
    EXPECT_FALSE(commands::JoinPath(out, sizeof out, "C:\\", "ABCDE"));
    EXPECT_STREQ(out, "");
}

}  // namespace
