// What every implementation of the platform layer must do, run on the simulation and on
// the real Win32 layer under Wine. Where Wine differs from Windows, a test named for the
// difference documents it and fails once the difference goes away.
#include <cctype>
#include <cstring>
#include <map>
#include <set>

#include "platform/sim/sim_windows.h"
#include "tests/support/lnk_reader.h"
#include "tests/support/test_platform.h"

#ifdef _WIN32
#include "tests/support/win32/shell_link_reader.h"
#endif

namespace {

using namespace plat;
using testsupport::PlatformTest;

class FileContract : public PlatformTest {};
class SearchContract : public PlatformTest {};
class FolderContract : public PlatformTest {};
class RegistryContract : public PlatformTest {};
class SystemContract : public PlatformTest {};
class UiContract : public PlatformTest {};

std::set<std::string> Names(Platform& sys, const std::string& pattern,
                            std::map<std::string, uint32_t>* attrs = nullptr) {
    std::set<std::string> names;
    FindEntry e;
    std::memset(static_cast<void*>(&e), 0x5A, sizeof e);
    SearchHandle s = sys.FindFirst(pattern.c_str(), &e);
    if (!s) return names;
    do {
        names.insert(e.name);
        if (attrs) (*attrs)[e.name] = e.attributes;
    } while (sys.FindNext(s, &e));
    sys.FindClose(s);
    return names;
}

// Under Wine on a system code page other than 932 (see the test named for it).
bool WineKeepsLinkPathsOnlyInTheSystemCodePage() {
#ifdef _WIN32
    return ::GetACP() != 932;
#else
    return false;
#endif
}

// ---- Files ---------------------------------------------------------------------------

TEST_F(FileContract, BytesRoundTripUnderADoubleByteNameWithABackslashTrailByte) {
    // 表 is 0x95 0x5C in Shift-JIS: the trail byte must not split the path.
    std::string path = tp().Path("表示.DAT");
    std::string bytes("A\0\r\n\x95\x5C\xFF", 7);
    ASSERT_TRUE(tp().WriteWholeFile(path, bytes));
    EXPECT_EQ(tp().ReadWholeFile(path), bytes);
    EXPECT_EQ(tp().List(tp().Scratch()), std::vector<std::string>{"表示.DAT"});
}

TEST_F(FileContract, CreateEmptiesAnExistingFileAndAppendAddsAtTheEnd) {
    std::string path = tp().Path("OUT.TXT");
    ASSERT_TRUE(tp().WriteWholeFile(path, "old contents"));
    ASSERT_TRUE(tp().WriteWholeFile(path, "new"));
    EXPECT_EQ(tp().ReadWholeFile(path), "new");

    FileCause cause = kCauseGeneric;
    FileHandle f = sys().OpenForAppend(path.c_str(), &cause);
    ASSERT_NE(f, 0u);
    EXPECT_TRUE(sys().WriteFile(f, "er", 2, &cause));
    uint64_t size = 0;
    EXPECT_TRUE(sys().GetFileSize(f, &size));
    EXPECT_EQ(size, 5u);
    EXPECT_TRUE(sys().CloseFile(f, &cause));
    EXPECT_EQ(tp().ReadWholeFile(path), "newer");

    FileInfo info;
    ASSERT_TRUE(sys().GetFileInfo(path.c_str(), &info));
    EXPECT_EQ(info.size, 5u);
    EXPECT_EQ(info.attributes & (kAttrReadOnly | kAttrDirectory | kAttrSystem | kAttrHidden), 0u);
}

TEST_F(FileContract, ReadingStopsAtTheEndAndSeekMovesThePosition) {
    std::string path = tp().Path("SEEK.BIN");
    ASSERT_TRUE(tp().WriteWholeFile(path, "0123456789"));
    FileCause cause = kCauseGeneric;
    FileHandle f = sys().OpenForRead(path.c_str(), &cause);
    ASSERT_NE(f, 0u);
    char buf[16] = {};
    uint32_t got = 99;
    ASSERT_TRUE(sys().SeekFile(f, 7));
    ASSERT_TRUE(sys().ReadFile(f, buf, sizeof buf, &got, &cause));
    EXPECT_EQ(std::string(buf, got), "789");
    ASSERT_TRUE(sys().ReadFile(f, buf, sizeof buf, &got, &cause));
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(sys().CloseFile(f, &cause));
}

TEST_F(FileContract, OpeningReportsMissingFileAndMissingFolderApart) {
    FileCause cause = kCauseNone;
    EXPECT_EQ(sys().OpenForRead(tp().Path("NONE.TXT").c_str(), &cause), 0u);
    EXPECT_EQ(cause, kCauseFileNotFound);
    cause = kCauseNone;
    EXPECT_EQ(sys().OpenForRead(tp().Path("NODIR\\NONE.TXT").c_str(), &cause), 0u);
    EXPECT_EQ(cause, kCauseBadPath);
    cause = kCauseNone;
    EXPECT_EQ(sys().CreateForWrite(tp().Path("NODIR\\NEW.TXT").c_str(), &cause), 0u);
    EXPECT_EQ(cause, kCauseBadPath);
    cause = kCauseNone;
    EXPECT_EQ(sys().CreateForWrite(tp().Path("BAD|NAME.TXT").c_str(), &cause), 0u);
    EXPECT_EQ(cause, kCauseBadPath);
}

TEST_F(FileContract, CreateNewMakesOnlyAnAbsentFileAndLeavesAnExistingOneAsItIs) {
    const std::string path = tp().Path("NEW.DAT");
    bool existed = true;
    FileCause cause = kCauseGeneric;
    FileHandle f = sys().CreateNewForWrite(path.c_str(), &existed, &cause);
    ASSERT_NE(f, 0u);
    EXPECT_FALSE(existed);
    EXPECT_TRUE(sys().WriteFile(f, "abc", 3, &cause));
    EXPECT_TRUE(sys().CloseFile(f, &cause));

    // The name in another case is the same file; read-only, it is not even opened.
    ASSERT_TRUE(tp().SetAttributes(path, kAttrReadOnly));
    EXPECT_EQ(sys().CreateNewForWrite(tp().Path("new.dat").c_str(), &existed, &cause), 0u);
    EXPECT_TRUE(existed);
    EXPECT_EQ(tp().ReadWholeFile(path), "abc");
    ASSERT_TRUE(tp().SetAttributes(path, kAttrNormal));

    // A missing folder on the way is a failure with its cause, not a name that exists.
    EXPECT_EQ(sys().CreateNewForWrite(tp().Path("NODIR\\NEW.DAT").c_str(), &existed, &cause), 0u);
    EXPECT_FALSE(existed);
    EXPECT_EQ(cause, kCauseBadPath);
}

TEST_F(FileContract, AFileOpenForWritingIsNotShared) {
    std::string path = tp().Path("LOCKED.TXT");
    FileCause cause = kCauseNone;
    FileHandle w = sys().CreateForWrite(path.c_str(), &cause);
    ASSERT_NE(w, 0u);
    EXPECT_EQ(sys().OpenForRead(path.c_str(), &cause), 0u);
    EXPECT_EQ(cause, kCauseAccessDenied);
    EXPECT_FALSE(sys().DeleteFile(path.c_str()));
    EXPECT_TRUE(sys().CloseFile(w, &cause));
    EXPECT_TRUE(sys().DeleteFile(path.c_str()));
}

TEST_F(FileContract, TimesRoundTripThroughSetFileTimes) {
    std::string path = tp().Path("TIMES.DAT");
    ASSERT_TRUE(tp().WriteWholeFile(path, "x"));
    FileTime access = SimWindows::MakeFileTime(1999, 12, 31, 23, 59, 58);
    FileTime write = SimWindows::MakeFileTime(1998, 7, 1, 8, 30, 0);
    ASSERT_TRUE(sys().SetFileTimes(path.c_str(), 0, access, write));
    FileInfo info;
    ASSERT_TRUE(sys().GetFileInfo(path.c_str(), &info));
    EXPECT_EQ(info.lastWrite, write);
    EXPECT_EQ(info.lastAccess, access);
}

TEST_F(FileContract, AnOpenFileReportsWhatItsPathReports) {
    std::string path = tp().Path("OPEN.DAT");
    ASSERT_TRUE(tp().WriteWholeFile(path, "twelve bytes"));
    ASSERT_TRUE(sys().SetFileTimes(path.c_str(), 0, SimWindows::MakeFileTime(1999, 1, 2, 3, 4, 6),
                                   SimWindows::MakeFileTime(1998, 7, 1, 8, 30, 0)));
    FileInfo byPath, byHandle;
    ASSERT_TRUE(sys().GetFileInfo(path.c_str(), &byPath));
    FileCause cause = kCauseGeneric;
    FileHandle f = sys().OpenForRead(path.c_str(), &cause);
    ASSERT_NE(f, 0u);
    const bool got = sys().GetOpenFileInfo(f, &byHandle);
    ASSERT_TRUE(sys().CloseFile(f, &cause));
    ASSERT_TRUE(got);
    EXPECT_EQ(byHandle.size, 12u);
    EXPECT_EQ(byHandle.attributes, byPath.attributes);
    EXPECT_EQ(byHandle.creation, byPath.creation);
    EXPECT_EQ(byHandle.lastWrite, byPath.lastWrite);
    EXPECT_EQ(byHandle.lastAccess, byPath.lastAccess);
}

TEST_F(FileContract, TimesSetThroughAWriterOutliveItsClose) {
    std::string path = tp().Path("STAMPED.DAT");
    FileCause cause = kCauseGeneric;
    FileHandle f = sys().CreateForWrite(path.c_str(), &cause);
    ASSERT_NE(f, 0u);
    ASSERT_TRUE(sys().WriteFile(f, "written", 7, &cause));
    const FileTime access = SimWindows::MakeFileTime(1999, 12, 31, 23, 59, 58);
    const FileTime write = SimWindows::MakeFileTime(1998, 7, 1, 8, 30, 0);
    const bool stamped = sys().SetOpenFileTimes(f, 0, access, write);
    ASSERT_TRUE(sys().CloseFile(f, &cause));
    ASSERT_TRUE(stamped);
    FileInfo info;
    ASSERT_TRUE(sys().GetFileInfo(path.c_str(), &info));
    EXPECT_EQ(info.lastWrite, write) << "closing a file written to must not stamp it anew";
    EXPECT_EQ(info.lastAccess, access);
    EXPECT_EQ(info.size, 7u);
}

TEST_F(FileContract, FoldersAndRootsHaveAStatusWithOrWithoutTheirBackslash) {
    ASSERT_TRUE(sys().CreateDirectory(tp().Path("DIR").c_str()));
    for (const std::string& path : {tp().Path("DIR"), tp().Path("DIR\\"), std::string("C:\\")}) {
        FileInfo info;
        info.attributes = 0;
        EXPECT_TRUE(sys().GetFileInfo(path.c_str(), &info)) << path;
        EXPECT_TRUE(info.attributes & kAttrDirectory) << path;
    }
    FileInfo info;
    EXPECT_FALSE(sys().GetFileInfo(tp().Path("D*").c_str(), &info)) << "a pattern names no file";
}

TEST_F(FileContract, CreationTimeRoundTripsExceptUnderWine) {
    std::string path = tp().Path("BORN.DAT");
    ASSERT_TRUE(tp().WriteWholeFile(path, "x"));
    FileTime creation = SimWindows::MakeFileTime(1997, 3, 4, 5, 6, 8);
    ASSERT_TRUE(sys().SetFileTimes(path.c_str(), creation, 0, 0));
    FileInfo info;
    ASSERT_TRUE(sys().GetFileInfo(path.c_str(), &info));
    if (tp().IsSimulated()) {
        EXPECT_EQ(info.creation, creation);
    } else {
        // Wine keeps no creation times of its own: the file reports what Linux has.
        EXPECT_NE(info.creation, creation) << "Wine now keeps creation times";
    }
}

TEST_F(FileContract, ReadOnlyFilesCannotBeDeleted) {
    std::string path = tp().Path("RO.TXT");
    ASSERT_TRUE(tp().WriteWholeFile(path, "keep"));
    ASSERT_TRUE(tp().SetAttributes(path, kAttrReadOnly));
    EXPECT_FALSE(sys().DeleteFile(path.c_str()));
    EXPECT_EQ(tp().ReadWholeFile(path), "keep");
    FileInfo info;
    ASSERT_TRUE(sys().GetFileInfo(path.c_str(), &info));
    EXPECT_TRUE(info.attributes & kAttrReadOnly);
}

TEST_F(FileContract, ReadOnlyFileRefusesWritingExceptUnderWineAsRoot) {
    std::string path = tp().Path("RO.TXT");
    ASSERT_TRUE(tp().WriteWholeFile(path, "keep"));
    ASSERT_TRUE(tp().SetAttributes(path, kAttrReadOnly));
    FileCause cause = kCauseNone;
    FileHandle f = sys().OpenForAppend(path.c_str(), &cause);
    if (tp().IsSimulated()) {
        EXPECT_EQ(f, 0u);
        EXPECT_EQ(cause, kCauseAccessDenied);
    } else {
        // Running as root, Wine opens a read-only file for writing.
        EXPECT_NE(f, 0u) << "Wine now refuses: the simulation's rule can be checked here too";
        if (f) sys().CloseFile(f, &cause);
    }
}

TEST_F(FileContract, HiddenAndSystemFilesAreNotCreatedOverExceptUnderWine) {
    for (uint32_t attribute : {kAttrHidden, kAttrSystem}) {
        std::string path = tp().Path(attribute == kAttrHidden ? "HIDDEN.DAT" : "SYSTEM.DAT");
        ASSERT_TRUE(tp().WriteWholeFile(path, "keep"));
        ASSERT_TRUE(tp().SetAttributes(path, attribute));
        FileCause cause = kCauseNone;
        FileHandle f = sys().CreateForWrite(path.c_str(), &cause);
        if (f) sys().CloseFile(f, &cause);
        if (tp().IsSimulated()) {
            // Windows wants the attribute asked for again when such a file is replaced.
            EXPECT_EQ(f, 0u) << attribute;
            EXPECT_EQ(cause, kCauseAccessDenied) << attribute;
            EXPECT_EQ(tp().ReadWholeFile(path), "keep");
        } else {
            EXPECT_NE(f, 0u) << "Wine now refuses to replace a file with attribute " << attribute;
        }
    }
}

TEST_F(FileContract, DeletingAMissingFileFails) {
    EXPECT_FALSE(sys().DeleteFile(tp().Path("GONE.TXT").c_str()));
    FileInfo info;
    EXPECT_FALSE(sys().GetFileInfo(tp().Path("GONE.TXT").c_str(), &info));
}

TEST_F(FileContract, MoveRenamesButNeverReplaces) {
    std::string a = tp().Path("A.TXT"), b = tp().Path("B.TXT"), c = tp().Path("C.TXT");
    ASSERT_TRUE(tp().WriteWholeFile(a, "a"));
    ASSERT_TRUE(tp().WriteWholeFile(b, "b"));
    EXPECT_FALSE(sys().MoveFile(a.c_str(), b.c_str()));
    EXPECT_EQ(tp().ReadWholeFile(a), "a");
    EXPECT_EQ(tp().ReadWholeFile(b), "b");
    EXPECT_TRUE(sys().MoveFile(a.c_str(), c.c_str()));
    EXPECT_FALSE(tp().Exists(a));
    EXPECT_EQ(tp().ReadWholeFile(c), "a");
    EXPECT_FALSE(sys().MoveFile(a.c_str(), tp().Path("D.TXT").c_str()));
}

TEST_F(FileContract, MoveTakesAFolderWithItsContents) {
    ASSERT_TRUE(sys().CreateDirectory(tp().Path("OLD").c_str()));
    ASSERT_TRUE(tp().WriteWholeFile(tp().Path("OLD\\IN.TXT"), "in"));
    EXPECT_TRUE(sys().MoveFile(tp().Path("OLD").c_str(), tp().Path("NEW").c_str()));
    EXPECT_EQ(tp().ReadWholeFile(tp().Path("NEW\\IN.TXT")), "in");
    EXPECT_FALSE(tp().Exists(tp().Path("OLD")));
}

// ---- Folders and the current directory -------------------------------------------------

TEST_F(FolderContract, CreateNeedsTheParentAndRefusesAnExistingName) {
    EXPECT_FALSE(sys().CreateDirectory(tp().Path("A\\B").c_str()));
    EXPECT_TRUE(sys().CreateDirectory(tp().Path("A").c_str()));
    EXPECT_FALSE(sys().CreateDirectory(tp().Path("A").c_str()));
    EXPECT_TRUE(sys().CreateDirectory(tp().Path("A\\B").c_str()));
    EXPECT_TRUE(tp().IsFolder(tp().Path("a\\b")));
}

TEST_F(FolderContract, RemoveTakesOnlyEmptyFolders) {
    ASSERT_TRUE(sys().CreateDirectory(tp().Path("FULL").c_str()));
    ASSERT_TRUE(tp().WriteWholeFile(tp().Path("FULL\\F.TXT"), "f"));
    EXPECT_FALSE(sys().RemoveDirectory(tp().Path("FULL").c_str()));
    EXPECT_TRUE(tp().Exists(tp().Path("FULL\\F.TXT")));
    EXPECT_FALSE(sys().RemoveDirectory(tp().Path("FULL\\F.TXT").c_str()));
    EXPECT_FALSE(sys().RemoveDirectory(tp().Path("MISSING").c_str()));
    ASSERT_TRUE(sys().DeleteFile(tp().Path("FULL\\F.TXT").c_str()));
    EXPECT_TRUE(sys().RemoveDirectory(tp().Path("FULL").c_str()));
    EXPECT_FALSE(tp().Exists(tp().Path("FULL")));
}

TEST_F(FolderContract, TheCurrentDirectoryIsNotRemoved) {
    ASSERT_TRUE(sys().CreateDirectory(tp().Path("HERE").c_str()));
    ASSERT_TRUE(sys().SetCurrentDirectory(tp().Path("HERE").c_str()));
    EXPECT_FALSE(sys().RemoveDirectory(tp().Path("HERE").c_str()));
    ASSERT_TRUE(sys().SetCurrentDirectory(tp().Scratch().c_str()));
    EXPECT_TRUE(sys().RemoveDirectory(tp().Path("HERE").c_str()));
}

TEST_F(FolderContract, RelativePathsFollowTheCurrentDirectoryUntilItIsRestored) {
    char saved[260];
    uint32_t n = sys().GetCurrentDirectory(saved, sizeof saved);
    ASSERT_GT(n, 0u);
    ASSERT_EQ(std::strlen(saved), n);

    std::string scratch = tp().Scratch();
    std::string noSlash = scratch.substr(0, scratch.size() - 1);
    ASSERT_TRUE(sys().SetCurrentDirectory(noSlash.c_str()));
    char now[260];
    ASSERT_GT(sys().GetCurrentDirectory(now, sizeof now), 0u);
    EXPECT_STRCASEEQ(now, noSlash.c_str());  // no trailing backslash

    ASSERT_TRUE(tp().WriteWholeFile("REL.TXT", "r"));
    EXPECT_EQ(tp().ReadWholeFile(tp().Path("REL.TXT")), "r");
    ASSERT_TRUE(sys().CreateDirectory("SUB"));
    ASSERT_TRUE(sys().SetCurrentDirectory("SUB"));
    EXPECT_EQ(tp().ReadWholeFile("..\\REL.TXT"), "r");

    ASSERT_TRUE(sys().SetCurrentDirectory("\\"));
    ASSERT_GT(sys().GetCurrentDirectory(now, sizeof now), 0u);
    EXPECT_EQ(std::strlen(now), 3u);  // "X:\"
    EXPECT_EQ(std::toupper(now[0]), std::toupper(scratch[0]));

    EXPECT_FALSE(sys().SetCurrentDirectory(tp().Path("NOPE").c_str()));
    ASSERT_TRUE(sys().SetCurrentDirectory(saved));
    char back[260];
    ASSERT_GT(sys().GetCurrentDirectory(back, sizeof back), 0u);
    EXPECT_STREQ(back, saved);
    EXPECT_EQ(sys().GetCurrentDirectory(back, 2), 0u);  // too small: nothing
}

// ---- Search ------------------------------------------------------------------------------

class SearchFiles : public SearchContract {
protected:
    void SetUp() override {
        SearchContract::SetUp();
        for (const char* f : {"A.DAT", "B.DAT", "AB.TXT", "README", "X.DAT.BAK"}) {
            ASSERT_TRUE(tp().WriteWholeFile(tp().Path(f), f));
        }
        ASSERT_TRUE(tp().WriteWholeFile(tp().Path("SYS.DAT"), "s"));
        ASSERT_TRUE(tp().SetAttributes(tp().Path("SYS.DAT"), kAttrSystem));
        ASSERT_TRUE(sys().CreateDirectory(tp().Path("SUB.DAT").c_str()));
    }
    std::set<std::string> In(const char* pattern, std::map<std::string, uint32_t>* attrs = nullptr) {
        return Names(sys(), tp().Path(pattern), attrs);
    }
};

TEST_F(SearchFiles, StarAndQuestionMarkFollowWindowsRules) {
    std::map<std::string, uint32_t> attrs;
    EXPECT_EQ(In("*.DAT", &attrs), (std::set<std::string>{"A.DAT", "B.DAT", "SYS.DAT", "SUB.DAT"}));
    EXPECT_TRUE(attrs["SYS.DAT"] & kAttrSystem);
    EXPECT_TRUE(attrs["SUB.DAT"] & kAttrDirectory);
    EXPECT_FALSE(attrs["A.DAT"] & (kAttrDirectory | kAttrSystem));
    EXPECT_EQ(In("?.dat"), (std::set<std::string>{"A.DAT", "B.DAT"}));
    EXPECT_EQ(In("A*"), (std::set<std::string>{"A.DAT", "AB.TXT"}));
    EXPECT_EQ(In("*.BAK"), (std::set<std::string>{"X.DAT.BAK"}));
    EXPECT_TRUE(In("*.NONE").empty());
}

TEST_F(SearchFiles, StarDotStarAlsoFindsNamesWithoutADotAndTheDotEntries) {
    std::set<std::string> all = In("*.*");
    for (const char* n : {".", "..", "A.DAT", "B.DAT", "AB.TXT", "README", "X.DAT.BAK", "SYS.DAT", "SUB.DAT"}) {
        EXPECT_TRUE(all.count(n)) << n;
    }
    EXPECT_EQ(all.size(), 9u);
    EXPECT_EQ(In("*"), all);
}

TEST_F(SearchFiles, APathWithoutWildcardsFindsTheEntryItself) {
    std::map<std::string, uint32_t> attrs;
    EXPECT_EQ(In("sub.dat", &attrs).size(), 1u);
    EXPECT_TRUE(attrs.begin()->second & kAttrDirectory);
    EXPECT_EQ(In("README"), (std::set<std::string>{"README"}));
    EXPECT_TRUE(In("MISSING").empty());
    EXPECT_TRUE(In("SUB.DAT\\").empty());
    EXPECT_TRUE(Names(sys(), tp().Path("NODIR\\*.*")).empty());
}

// ---- Registry ----------------------------------------------------------------------------

class RegistryKeys : public RegistryContract {
protected:
    std::string K(const std::string& sub) { return tp().RegistryScratch() + "\\" + sub; }
};

TEST_F(RegistryKeys, CreateReportsWhetherTheKeyIsNewAndOpenNeedsAnExistingKey) {
    KeyHandle k = 0;
    bool created = false;
    ASSERT_EQ(sys().RegOpenKey(RegRoot::CurrentUser, K("Made").c_str(), kKeyRead, &k), kRegNotFound);
    ASSERT_EQ(sys().RegCreateKey(RegRoot::CurrentUser, K("Made\\Deeper").c_str(), kKeyAllAccess, &k, &created), kRegOk);
    EXPECT_TRUE(created);
    EXPECT_EQ(sys().RegCloseKey(k), kRegOk);
    ASSERT_EQ(sys().RegCreateKey(RegRoot::CurrentUser, K("made\\DEEPER").c_str(), kKeyAllAccess, &k, &created), kRegOk);
    EXPECT_FALSE(created);
    EXPECT_EQ(sys().RegCloseKey(k), kRegOk);
    ASSERT_EQ(sys().RegOpenKey(RegRoot::CurrentUser, K("Made").c_str(), kKeyRead | kKeyWrite, &k), kRegOk);
    EXPECT_EQ(sys().RegCloseKey(k), kRegOk);
}

TEST_F(RegistryKeys, ValuesRoundTripByteForByte) {
    KeyHandle k = 0;
    bool created = false;
    ASSERT_EQ(sys().RegCreateKey(RegRoot::CurrentUser, K("Values").c_str(), kKeyAllAccess, &k, &created), kRegOk);
    // A string without its terminator; the byte after the data is not zero.
    const char ostrel[] = "Ostrel!";
    ASSERT_EQ(sys().RegSetValue(k, "DisplayName", kRegSz, ostrel, 6), kRegOk);
    const char text[] = "D:\\表示\\";
    ASSERT_EQ(sys().RegSetValue(k, "Path", kRegSz, text, sizeof text), kRegOk);
    const unsigned char bin[5] = {0, 1, 0xFF, 0x5C, 0};
    ASSERT_EQ(sys().RegSetValue(k, "Record", kRegBinary, bin, sizeof bin), kRegOk);

    char buf[64];
    std::memset(buf, 0x5A, sizeof buf);
    uint32_t type = 99, size = sizeof buf;
    ASSERT_EQ(sys().RegQueryValue(k, "displayname", &type, buf, &size), kRegOk);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(std::string(buf, 6), "Ostrel");
    EXPECT_GE(size, 6u);  // Windows may add the terminator it was not given

    size = sizeof buf;
    ASSERT_EQ(sys().RegQueryValue(k, "Path", &type, buf, &size), kRegOk);
    EXPECT_EQ(size, sizeof text);
    EXPECT_STREQ(buf, text);

    size = sizeof buf;
    ASSERT_EQ(sys().RegQueryValue(k, "Record", &type, buf, &size), kRegOk);
    EXPECT_EQ(type, kRegBinary);
    ASSERT_EQ(size, sizeof bin);
    EXPECT_EQ(std::memcmp(buf, bin, sizeof bin), 0);

    size = 3;
    EXPECT_EQ(sys().RegQueryValue(k, "Path", &type, buf, &size), kRegMoreData);
    EXPECT_EQ(size, sizeof text);
    size = 0;
    EXPECT_EQ(sys().RegQueryValue(k, "Path", &type, nullptr, &size), kRegOk);
    EXPECT_EQ(size, sizeof text);

    size = sizeof buf;
    EXPECT_EQ(sys().RegQueryValue(k, "Missing", &type, buf, &size), kRegNotFound);
    EXPECT_EQ(sys().RegDeleteValue(k, "Path"), kRegOk);
    EXPECT_EQ(sys().RegDeleteValue(k, "Path"), kRegNotFound);
    size = sizeof buf;
    EXPECT_EQ(sys().RegQueryValue(k, "Path", &type, buf, &size), kRegNotFound);
    EXPECT_EQ(sys().RegCloseKey(k), kRegOk);
}

TEST_F(RegistryKeys, StringWithoutTerminatorGainsOneByteUnderWine) {
    KeyHandle k = 0;
    bool created = false;
    ASSERT_EQ(sys().RegCreateKey(RegRoot::CurrentUser, K("Sz").c_str(), kKeyAllAccess, &k, &created), kRegOk);
    const char abc[] = "abc";  // the byte after the three is zero
    ASSERT_EQ(sys().RegSetValue(k, "V", kRegSz, abc, 3), kRegOk);
    char buf[16];
    uint32_t type = 0, size = sizeof buf;
    ASSERT_EQ(sys().RegQueryValue(k, "V", &type, buf, &size), kRegOk);
    if (tp().IsSimulated()) {
        EXPECT_EQ(size, 3u);
    } else {
        EXPECT_EQ(size, 4u) << "Wine now stores the size it was given";
    }
    sys().RegCloseKey(k);
}

TEST_F(RegistryKeys, DeleteKeyRemovesLeavesAndTreatsSubtreesByFamily) {
    KeyHandle k = 0;
    bool created = false;
    ASSERT_EQ(sys().RegCreateKey(RegRoot::CurrentUser, K("Tree\\Leaf").c_str(), kKeyAllAccess, &k, &created), kRegOk);
    sys().RegCloseKey(k);
    long withSubkey = sys().RegDeleteKey(RegRoot::CurrentUser, K("Tree").c_str());
    bool nt = sys().GetVersion().platformId == 2;
    if (nt) {
        EXPECT_NE(withSubkey, kRegOk);
        EXPECT_EQ(sys().RegOpenKey(RegRoot::CurrentUser, K("Tree\\Leaf").c_str(), kKeyRead, &k), kRegOk);
        sys().RegCloseKey(k);
        EXPECT_EQ(sys().RegDeleteKey(RegRoot::CurrentUser, K("Tree\\Leaf").c_str()), kRegOk);
        EXPECT_EQ(sys().RegDeleteKey(RegRoot::CurrentUser, K("Tree").c_str()), kRegOk);
    } else {
        EXPECT_EQ(withSubkey, kRegOk);
    }
    EXPECT_EQ(sys().RegOpenKey(RegRoot::CurrentUser, K("Tree").c_str(), kKeyRead, &k), kRegNotFound);
    EXPECT_EQ(sys().RegDeleteKey(RegRoot::CurrentUser, K("Tree").c_str()), kRegNotFound);
}

TEST_F(RegistryKeys, AKeyOpenedForReadingCannotSetValues) {
    KeyHandle k = 0;
    bool created = false;
    ASSERT_EQ(sys().RegCreateKey(RegRoot::CurrentUser, K("R").c_str(), kKeyRead, &k, &created), kRegOk);
    EXPECT_EQ(sys().RegSetValue(k, "V", kRegSz, "x", 2), kRegAccessDenied);
    sys().RegCloseKey(k);
}

// ---- System facts ------------------------------------------------------------------------

TEST_F(SystemContract, FactsAreThere) {
    char buf[260];
    uint32_t n = sys().GetModuleFileName(buf, sizeof buf);
    ASSERT_GT(n, 4u);
    EXPECT_STRCASEEQ(buf + n - 4, ".EXE");
    EXPECT_EQ(buf[1], ':');
    EXPECT_GT(sys().GetWindowsDirectory(buf, sizeof buf), 2u);
    VersionInfo v = sys().GetVersion();
    EXPECT_TRUE(v.platformId == 1 || v.platformId == 2);
    int w = 0, h = 0;
    sys().GetScreenSize(&w, &h);
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
    EXPECT_TRUE(sys().GetSpecialFolder(SpecialFolder::Desktop, buf, sizeof buf));
    EXPECT_NE(buf[std::strlen(buf) - 1], '\\');
}

TEST_F(SystemContract, TheScratchDriveIsAFixedDiskWithFreeSpace) {
    std::string root = tp().Scratch().substr(0, 3);
    EXPECT_EQ(sys().GetDriveType(root.c_str()), kDriveFixed);
    uint64_t free = 0;
    EXPECT_TRUE(sys().GetDiskFreeSpaceEx(root.c_str(), &free));
    EXPECT_GT(free, 0u);
    uint32_t spc = 0, bps = 0, freeC = 0, totalC = 0;
    EXPECT_TRUE(sys().GetDiskFreeSpace(root.c_str(), &spc, &bps, &freeC, &totalC));
    EXPECT_GT(spc * bps, 0u);
    EXPECT_EQ(sys().GetDriveType("Y:\\"), kDriveNoRoot);
}

TEST_F(SystemContract, AMissingProgramDoesNotStart) {
    EXPECT_EQ(sys().StartProcess(tp().Path("NOPROG.EXE").c_str(), " "), 0u);
}

TEST_F(SystemContract, AStartedProgramIsSeenToEnd) {
    // The test program itself, asked to run no test.
    char self[260];
    ASSERT_GT(sys().GetModuleFileName(self, sizeof self), 0u);
    ProcessHandle p = sys().StartProcess(self, " --gtest_filter=-*");
    ASSERT_NE(p, 0u);
    sys().WaitForInputIdle(p);
    if (tp().Sim()) tp().Sim()->EndProcess(p);
    bool ended = false;
    for (int i = 0; i < 300 && !ended; ++i) {
        ended = sys().ProcessHasEnded(p);
        if (!ended) tp().Pause(50);
    }
    EXPECT_TRUE(ended);
    sys().CloseProcess(p);
}

TEST_F(SystemContract, ShellLinkHoldsTargetAndDescription) {
    ASSERT_TRUE(sys().InitializeCom());
    // ソ ends in byte 0x5C: the link's path must keep it whole.
    std::string link = tp().Path("ゲーム ソフト.lnk");
    const char* target = "C:\\ゲーム\\表示.EXE";
    EXPECT_EQ(sys().CreateShellLink(target, link.c_str(), "ゲーム ソフト"), 0);
    EXPECT_EQ(tp().List(tp().Scratch()), std::vector<std::string>{"ゲーム ソフト.lnk"});
    testsupport::LinkFile parsed;
    ASSERT_TRUE(testsupport::ParseLinkFile(tp().ReadWholeFile(link), &parsed));
    if (!WineKeepsLinkPathsOnlyInTheSystemCodePage()) EXPECT_STRCASEEQ(parsed.target.c_str(), target);
    EXPECT_EQ(parsed.description, "ゲーム ソフト");
    EXPECT_NE(sys().CreateShellLink(target, tp().Path("NODIR\\X.lnk").c_str(), "X"), 0);
    sys().UninitializeCom();
}

TEST_F(SystemContract, ShellLinkPathLosesItsJapaneseUnderWineOnAnotherCodePage) {
    if (!WineKeepsLinkPathsOnlyInTheSystemCodePage()) GTEST_SKIP() << "the system code page is 932";
    // Wine's shell link writes and reads its path in the system's code page only (no
    // Unicode path), whatever the wide interface was given: the link loses the Japanese.
    ASSERT_TRUE(sys().InitializeCom());
    std::string link = tp().Path("L.lnk");
    const char* target = "C:\\ゲーム\\表示.EXE";
    EXPECT_EQ(sys().CreateShellLink(target, link.c_str(), "ゲーム"), 0);
    std::string readTarget, readDescription;
#ifdef _WIN32
    ASSERT_TRUE(testsupport::ReadLinkThroughShell(link, &readTarget, &readDescription));
#endif
    EXPECT_EQ(readTarget, "C:\\???\\??.EXE") << "Wine now keeps the Unicode path of a link";
    EXPECT_EQ(readDescription, "ゲーム");
    sys().UninitializeCom();
}

// ---- User interface ------------------------------------------------------------------------

TEST_F(UiContract, MessageBoxesAreAnsweredFromTheQueueAndRecorded) {
    tp().QueueMessageBoxAnswer(kIdYes);
    EXPECT_EQ(sys().MessageBox(0, "質問です", "", kMbYesNo | kMbIconQuestion), kIdYes);
    EXPECT_EQ(sys().MessageBox(0, "again", "Setup", kMbYesNo), kIdNo);
    EXPECT_EQ(sys().MessageBox(0, "ok", "", kMbOkCancel), kIdCancel);
    EXPECT_EQ(sys().MessageBox(0, "plain", "", kMbOk), kIdOk);
    auto boxes = tp().MessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "質問です");
    EXPECT_EQ(boxes[0].style, kMbYesNo | kMbIconQuestion);
    EXPECT_EQ(boxes[1].caption, "Setup");
    tp().ClearMessageBoxes();
    EXPECT_TRUE(tp().MessageBoxes().empty());
}

TEST_F(UiContract, EnterKeyAndQuitArriveThroughPeekMessage) {
    PeekedMessage m;
    while (sys().PeekMessage(&m)) {
    }
    tp().QueueEnterKey();
    ASSERT_TRUE(sys().PeekMessage(&m));
    EXPECT_TRUE(m.isEnterKeyDown);
    EXPECT_FALSE(m.isQuit);
    sys().DispatchMessage(m);  // on Windows this adds the key's character message
    sys().PostQuitMessage(3);
    bool quit = false;
    for (int i = 0; i < 10 && !quit && sys().PeekMessage(&m); ++i) {
        EXPECT_FALSE(m.isEnterKeyDown);
        quit = m.isQuit;
    }
    EXPECT_TRUE(quit);
    EXPECT_FALSE(sys().PeekMessage(&m));
}

}  // namespace
