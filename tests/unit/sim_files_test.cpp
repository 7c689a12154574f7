// The simulated Windows' file side where only the simulation can go: injected faults,
// full disks, drive kinds, path rules with double-byte names, and wildcard matching.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sim/sim_windows.h"

namespace {

using namespace plat;

class SimFiles : public ::testing::Test {
protected:
    SimWindows sim;

    FileHandle Create(const char* path, FileCause* cause = nullptr) {
        FileCause c = kCauseNone;
        FileHandle f = sim.CreateForWrite(path, &c);
        if (cause) *cause = c;
        return f;
    }
    bool Write(FileHandle f, const std::string& bytes, FileCause* cause = nullptr) {
        FileCause c = kCauseNone;
        bool ok = sim.WriteFile(f, bytes.data(), static_cast<uint32_t>(bytes.size()), &c);
        if (cause) *cause = c;
        return ok;
    }
    bool Close(FileHandle f) {
        FileCause c = kCauseNone;
        return sim.CloseFile(f, &c);
    }
};

TEST_F(SimFiles, ReadFaultStrikesAfterTheGivenBytesAndTheHandleStillCloses) {
    sim.AddFile("C:\\SRC.DAT", std::string(10000, 'x'));
    sim.FailReads("c:\\src.dat", 6000);
    FileCause cause = kCauseNone;
    FileHandle f = sim.OpenForRead("C:\\SRC.DAT", &cause);
    ASSERT_NE(f, 0u);
    char buf[6000];
    uint32_t got = 0;
    EXPECT_TRUE(sim.ReadFile(f, buf, sizeof buf, &got, &cause));
    EXPECT_EQ(got, 6000u);
    EXPECT_FALSE(sim.ReadFile(f, buf, sizeof buf, &got, &cause));
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(cause, kCauseGeneric);
    EXPECT_TRUE(Close(f));
    EXPECT_EQ(sim.OpenFileCount(), 0);
}

TEST_F(SimFiles, WriteAndCreateFaultsGiveTheirCauses) {
    sim.FailWrites("C:\\W.DAT", 4);
    FileHandle f = Create("C:\\W.DAT");
    ASSERT_NE(f, 0u);
    FileCause cause = kCauseNone;
    EXPECT_TRUE(Write(f, "1234", &cause));
    EXPECT_FALSE(Write(f, "5", &cause));
    EXPECT_EQ(cause, kCauseGeneric);
    EXPECT_TRUE(Close(f));
    EXPECT_EQ(sim.Contents("C:\\W.DAT"), "1234");

    sim.FailCreate("C:\\NEW.DAT", kCauseTooManyOpenFiles);
    EXPECT_EQ(Create("C:\\NEW.DAT", &cause), 0u);
    EXPECT_EQ(cause, kCauseTooManyOpenFiles);
    EXPECT_FALSE(sim.Exists("C:\\NEW.DAT"));
    sim.FailCreate("C:\\DIR", kCauseAccessDenied);
    EXPECT_FALSE(sim.CreateDirectory("C:\\DIR"));

    sim.FailOpenForRead("C:\\W.DAT", kCauseSharingViolation);
    EXPECT_EQ(sim.OpenForRead("C:\\W.DAT", &cause), 0u);
    EXPECT_EQ(cause, kCauseSharingViolation);

    sim.ClearFaults();
    EXPECT_NE(f = sim.OpenForRead("C:\\W.DAT", &cause), 0u);
    Close(f);
}

TEST_F(SimFiles, CloseDeleteAndTimeFaultsLeaveNoHandleBehind) {
    sim.FailClose("C:\\C.DAT", kCauseDiskFull);
    FileHandle f = Create("C:\\C.DAT");
    FileCause cause = kCauseNone;
    EXPECT_FALSE(sim.CloseFile(f, &cause));
    EXPECT_EQ(cause, kCauseDiskFull);
    EXPECT_EQ(sim.OpenFileCount(), 0);
    EXPECT_FALSE(sim.CloseFile(f, &cause));  // the handle is gone

    sim.FailSetTimes("C:\\C.DAT");
    EXPECT_FALSE(sim.SetFileTimes("C:\\C.DAT", 1, 1, 1));
    sim.FailDelete("C:\\C.DAT");
    EXPECT_FALSE(sim.DeleteFile("C:\\C.DAT"));
    EXPECT_TRUE(sim.IsFile("C:\\C.DAT"));
}

TEST_F(SimFiles, AFullDiskRefusesTheWriteThatDoesNotFitAndDeletingGivesSpaceBack) {
    sim.SetFreeBytes('c', 10);
    FileHandle f = Create("C:\\FULL.DAT");
    FileCause cause = kCauseNone;
    EXPECT_TRUE(Write(f, "12345678", &cause));
    EXPECT_FALSE(Write(f, "abc", &cause));
    EXPECT_EQ(cause, kCauseDiskFull);
    EXPECT_EQ(sim.FreeBytes('C'), 2u);
    Close(f);
    EXPECT_EQ(sim.Contents("C:\\FULL.DAT"), "12345678");
    // Rewriting in place takes no new space.
    f = sim.OpenForAppend("C:\\FULL.DAT", &cause);
    ASSERT_TRUE(sim.SeekFile(f, 0));
    EXPECT_TRUE(Write(f, "ABCDEFGH", &cause));
    Close(f);
    EXPECT_TRUE(sim.DeleteFile("C:\\FULL.DAT"));
    EXPECT_EQ(sim.FreeBytes('C'), 10u);
}

TEST_F(SimFiles, ADiskThatFillsAfterSomeBytesStopsTheWriteThatPassesTheMark) {
    sim.FillDiskAfter('C', 12000);
    FileHandle f = Create("C:\\BIG.DAT");
    std::string block(6000, 'b');
    FileCause cause = kCauseNone;
    EXPECT_TRUE(Write(f, block, &cause));
    EXPECT_TRUE(Write(f, block, &cause));
    EXPECT_FALSE(Write(f, block, &cause));
    EXPECT_EQ(cause, kCauseDiskFull);
    Close(f);
    uint64_t free = 0;
    EXPECT_TRUE(sim.GetDiskFreeSpaceEx("C:\\", &free));
    EXPECT_EQ(free, (2ull << 30) - 12000);  // the reported space knows nothing of it
}

TEST_F(SimFiles, DriveKindsDecideWhatCanBeDone) {
    sim.AddFile("D:\\SETUP\\GAME.EXE", "MZ");
    FileCause cause = kCauseNone;
    EXPECT_EQ(sim.GetDriveType("D:\\"), kDriveCdrom);
    EXPECT_EQ(sim.GetDriveType("d:\\"), kDriveCdrom);
    EXPECT_EQ(Create("D:\\NEW.DAT", &cause), 0u);
    EXPECT_EQ(cause, kCauseAccessDenied);
    EXPECT_FALSE(sim.DeleteFile("D:\\SETUP\\GAME.EXE"));
    EXPECT_FALSE(sim.CreateDirectory("D:\\X"));
    FileHandle f = sim.OpenForRead("D:\\SETUP\\GAME.EXE", &cause);
    EXPECT_NE(f, 0u);
    Close(f);

    // A drive without its disk: known type, but nothing on it.
    EXPECT_EQ(sim.GetDriveType("A:\\"), kDriveRemovable);
    EXPECT_EQ(sim.OpenForRead("A:\\X", &cause), 0u);
    EXPECT_EQ(cause, kCauseGeneric);
    uint64_t free = 0;
    EXPECT_FALSE(sim.GetDiskFreeSpaceEx("A:\\", &free));
    uint32_t a, b, c, d;
    EXPECT_FALSE(sim.GetDiskFreeSpace("A:\\", &a, &b, &c, &d));

    // No drive at all: a bad path.
    EXPECT_EQ(sim.GetDriveType("M:\\"), kDriveNoRoot);
    EXPECT_EQ(sim.OpenForRead("M:\\X", &cause), 0u);
    EXPECT_EQ(cause, kCauseBadPath);
    sim.AddDrive('M', kDriveRemote, 5000);
    EXPECT_EQ(sim.GetDriveType("M:\\"), kDriveRemote);
    EXPECT_NE(f = Create("M:\\X"), 0u);
    Close(f);
    sim.RemoveDrive('M');
    EXPECT_FALSE(sim.Exists("M:\\X"));
}

TEST_F(SimFiles, FreeSpaceQueriesFollowTheDriveSettings) {
    uint64_t free = 0;
    uint32_t spc, bps, freeC, totalC;
    sim.SetFreeBytes('C', 123456789);
    ASSERT_TRUE(sim.GetDiskFreeSpace("C:\\", &spc, &bps, &freeC, &totalC));
    EXPECT_EQ(uint64_t(spc) * bps * freeC, 123456789u / 4096 * 4096);
    sim.SetClusterGeometry('C', 64, 512, 65535, 65535);
    ASSERT_TRUE(sim.GetDiskFreeSpace("C:\\", &spc, &bps, &freeC, &totalC));
    EXPECT_EQ(spc, 64u);
    EXPECT_EQ(freeC, 65535u);
    EXPECT_TRUE(sim.GetDiskFreeSpaceEx("C:\\", &free));
    EXPECT_EQ(free, 123456789u);
    sim.SetFreeSpaceExFails('C', true);
    EXPECT_FALSE(sim.GetDiskFreeSpaceEx("C:\\", &free));
    sim.SetFreeSpaceExFails('C', false);
    sim.SetFreeSpaceExAvailable(false);
    EXPECT_FALSE(sim.GetDiskFreeSpaceEx("C:\\", &free));
}

TEST_F(SimFiles, NewFilesTakeTheClockAndWritingMovesOnlyTheWriteTime) {
    FileTime t0 = SimWindows::MakeFileTime(2001, 4, 1, 12, 0, 0);
    EXPECT_EQ(sim.Now(), t0);
    EXPECT_EQ(SimWindows::MakeFileTime(1601, 1, 1), 0u);
    EXPECT_EQ(SimWindows::MakeFileTime(1970, 1, 1), 116444736000000000ull);
    FileHandle f = Create("C:\\T.DAT");
    sim.AdvanceNow(5 * SimWindows::kSecond);
    Write(f, "x");
    Close(f);
    FileInfo info = sim.Info("C:\\T.DAT");
    EXPECT_EQ(info.creation, t0);
    EXPECT_EQ(info.lastAccess, t0);
    EXPECT_EQ(info.lastWrite, t0 + 5 * SimWindows::kSecond);
    EXPECT_EQ(info.attributes, uint32_t(kAttrArchive));

    sim.AdvanceNow(SimWindows::kSecond);
    f = Create("C:\\T.DAT");  // emptied, but born when it was
    Close(f);
    info = sim.Info("C:\\T.DAT");
    EXPECT_EQ(info.creation, t0);
    EXPECT_EQ(info.size, 0u);
    EXPECT_EQ(info.lastWrite, t0 + 6 * SimWindows::kSecond);
}

TEST_F(SimFiles, PathsResolveLikeWindows) {
    ASSERT_TRUE(sim.AddFolder("C:\\GAMES\\TAVREL"));
    ASSERT_TRUE(sim.SetCurrentDirectory("c:/games"));
    EXPECT_EQ(sim.CurrentDirectory(), "C:\\games");
    EXPECT_EQ(sim.FullPath("TAVREL\\..\\X.DAT"), "C:\\games\\X.DAT");
    EXPECT_EQ(sim.FullPath("\\WINDOWS"), "C:\\WINDOWS");
    EXPECT_EQ(sim.FullPath("C:REL"), "C:\\games\\REL");
    EXPECT_EQ(sim.FullPath("D:REL"), "D:\\REL");
    EXPECT_EQ(sim.FullPath("C:\\..\\..\\A"), "C:\\A");
    EXPECT_EQ(sim.FullPath("\\\\server\\share"), "");
    char buf[260];
    EXPECT_EQ(sim.GetCurrentDirectory(buf, sizeof buf), 8u);
    EXPECT_EQ(sim.GetCurrentDirectory(buf, 8), 0u);
    EXPECT_EQ(buf[0], 0);
    EXPECT_FALSE(sim.RemoveDirectory("C:\\GAMES"));  // holds the current directory
    EXPECT_FALSE(sim.MoveFile("C:\\GAMES", "C:\\MOVED"));
}

TEST_F(SimFiles, DoubleByteNamesKeepTheirTrailBytes) {
    // ア is 0x83 0x41 and ヂ is 0x83 0x61: they differ only in an ASCII-looking trail byte.
    ASSERT_TRUE(sim.AddFile("C:\\ア.TXT", "a"));
    EXPECT_TRUE(sim.Exists("c:\\ア.txt"));
    EXPECT_FALSE(sim.Exists("C:\\ヂ.TXT"));
    // ソ is 0x83 0x5C: its trail byte is no separator.
    ASSERT_TRUE(sim.AddFile("C:\\ソフト\\表.TXT", "b"));
    EXPECT_EQ(sim.List("C:\\ソフト"), std::vector<std::string>{"表.TXT"});
    EXPECT_EQ(sim.FullPath("C:\\ソフト\\..\\表"), "C:\\表");
}

TEST_F(SimFiles, WildcardsFollowTheDosRules) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.*", "README", true},
        {"*.*", "A.B.C", true},
        {"*.", "README", true},
        {"*.", "A.B", false},
        {"A?", "A", true},
        {"A?", "AB", true},
        {"A?C", "A.C", false},
        {"*.DAT", "X.DAT.BAK", false},
        {"*.BAK", "X.DAT.BAK", true},
        {"?.dat", "a.DAT", true},
        {"??.DAT", "A.DAT", true},
        {"?.TXT", "表.TXT", true},
        {"*表*", "A表B", true},
        {"*", ".", true},
        {"A*B", "AXXB", true},
        {"A*B", "AXXC", false},
        {"ア*", "ヂ", false},
        {"*.D?T", "A.DAT", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.match) << c.pattern << " against " << c.name;
    }
    // A script may name any pattern: many stars against a long name that fails only at the
    // end once took exponential time (every way to split the name among the stars).
    const std::string stars(60, '*'), name(250, 'A');
    EXPECT_FALSE(MatchesWildcard(stars + "?" + stars + "B" + stars + ".", name));
    EXPECT_TRUE(MatchesWildcard(stars + "?" + stars + "A" + stars, name));
    EXPECT_FALSE(MatchesWildcard("*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A.*B", name + ".C"));
}

TEST_F(SimFiles, SearchListsInNameOrderAndSeesTheFolderAsItWasAtTheStart) {
    for (const char* n : {"b.dat", "A.DAT", "C.DAT"}) sim.AddFile(std::string("C:\\S\\") + n, "");
    FindEntry e;
    SearchHandle s = sim.FindFirst("C:\\S\\*.DAT", &e);
    ASSERT_NE(s, 0u);
    EXPECT_STREQ(e.name, "A.DAT");
    EXPECT_TRUE(sim.DeleteFile("C:\\S\\b.dat"));
    ASSERT_TRUE(sim.FindNext(s, &e));
    EXPECT_STREQ(e.name, "b.dat");
    ASSERT_TRUE(sim.FindNext(s, &e));
    EXPECT_STREQ(e.name, "C.DAT");
    EXPECT_FALSE(sim.FindNext(s, &e));
    EXPECT_EQ(sim.OpenSearchCount(), 1);
    sim.FindClose(s);
    EXPECT_EQ(sim.OpenSearchCount(), 0);
    EXPECT_EQ(sim.FindFirst("C:\\*\\A.DAT", &e), 0u);     // wildcards only in the last part
    EXPECT_EQ(sim.FindFirst("C:\\S\\A.DAT\\*", &e), 0u);  // a file holds no entries
}

TEST_F(SimFiles, MovesAcrossDrivesTakeFilesButNotFolders) {
    sim.AddDrive('E', kDriveFixed, 100);
    sim.AddFile("C:\\M\\F.DAT", std::string(40, 'f'));
    uint64_t cFree = sim.FreeBytes('C');
    EXPECT_FALSE(sim.MoveFile("C:\\M", "E:\\M"));
    EXPECT_TRUE(sim.MoveFile("C:\\M\\F.DAT", "E:\\F.DAT"));
    EXPECT_EQ(sim.Contents("E:\\F.DAT"), std::string(40, 'f'));
    EXPECT_EQ(sim.FreeBytes('E'), 60u);
    EXPECT_EQ(sim.FreeBytes('C'), cFree + 40);
    EXPECT_TRUE(sim.MoveFile("E:\\F.DAT", "e:\\f.dat"));  // a new spelling only
    EXPECT_EQ(sim.List("E:\\"), std::vector<std::string>{"f.dat"});
}

TEST_F(SimFiles, ReadersShareButAWriterExcludesEveryone) {
    sim.AddFile("C:\\R.DAT", "r");
    FileCause cause = kCauseNone;
    FileHandle r1 = sim.OpenForRead("C:\\R.DAT", &cause);
    FileHandle r2 = sim.OpenForRead("C:\\R.DAT", &cause);
    EXPECT_NE(r1, 0u);
    EXPECT_NE(r2, 0u);
    EXPECT_EQ(Create("C:\\R.DAT", &cause), 0u);
    EXPECT_EQ(cause, kCauseAccessDenied);
    EXPECT_FALSE(sim.MoveFile("C:\\R.DAT", "C:\\R2.DAT"));
    Close(r1);
    Close(r2);
    EXPECT_TRUE(sim.MoveFile("C:\\R.DAT", "C:\\R2.DAT"));
}

}  // namespace
