// A simulated Windows held in memory: drives, files, folders, the registry, windows,
// processes, shell links, message boxes and the message queue, all deterministic, so that
// the deciding code can be tested natively against the same seam the real programs use.
//
// The OS side (plat::Platform) follows Windows' rules as the programs meet them:
//  - paths are Shift-JIS bytes, compared without regard to ASCII case (the trail byte of a
//    double-byte character is never taken for a backslash or a letter); "X:\..." is
//    absolute, "\..." is the root of the current drive, anything else is relative to the
//    current directory; "." and ".." are resolved; "/" counts as "\".
//  - FindFirst lists "." and ".." (except in a root), then the folder's entries sorted by
//    upper-cased name; "*" and "?" follow the DOS rules ("*.*" also matches names without
//    a dot, "A?" matches "A", "*." matches names without a dot); a pattern without
//    wildcards finds the entry itself (file or folder); a pattern ending in "\" finds
//    nothing. The list is taken when the search starts.
//  - read-only files cannot be deleted, created over or opened for writing (access
//    denied); a hidden or system file cannot be created over (access denied); an open
//    file cannot be deleted or moved, and a file open for writing cannot be opened again
//    (sharing violation, reported as access denied); CreateDirectory needs the parent and
//    fails on an existing name; RemoveDirectory only removes an empty folder that is not
//    the current directory (nor holds it); MoveFile fails when the target exists and
//    moves folders only within a drive.
//  - a file's growth takes bytes from its drive's free space; a write that does not fit
//    fails with the disk-full cause and writes nothing.
//  - new files and folders get the simulated clock's 'now' as all three times; writing
//    sets the last-write time to 'now'. SetFileTimes leaves a time of 0 unchanged.
//  - the registry has five roots; values are stored byte for byte with exactly the size
//    given; a handle opened without KEY_SET_VALUE cannot set or delete values (access
//    denied); on the NT family RegDeleteKey refuses a key with subkeys (access denied), on
//    the 95 family it removes the whole subtree; keys marked read-only cannot be opened
//    with write access nor get new subkeys (access denied).
//  - StartProcess needs the module to exist as a file (relative modules are resolved
//    against the current directory); see SetRequireProgramFiles.
//  - shell links are written as real .lnk files (ANSI strings, the target in the link
//    information's local base path, the description as the name string).
//  - PostQuitMessage also puts a quit message at the end of the message queue.
//
// Default machine: A: removable without a disk, C: fixed with 2 GiB free, D: CD-ROM with
// 0 bytes free; the NT family (5.1 build 2600); Windows folder C:\WINDOWS; module
// D:\OSTREL.EXE (an empty file); current directory C:\; screen 1024 x 768; tick count
// 1000; 'now' 2001-04-01 12:00:00. The folders of both families' desktops and start-menu
// programs exist (see the constructor).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace plat {

class SimWindows : public Platform {
public:
    SimWindows();
    ~SimWindows() override;
    // A copy is a simulation of its own (files, registry, open handles, records): a
    // prepared machine can be copied for every run instead of being built again.
    SimWindows(const SimWindows&) = default;
    SimWindows& operator=(const SimWindows&) = delete;

    // ---- Test-facing records ----------------------------------------------------------
    struct MessageBoxCall {
        WindowHandle owner = 0;
        std::string text;
        std::string caption;
        unsigned style = 0;
        int answer = 0;
    };
    struct ProcessRecord {
        ProcessHandle handle = 0;
        std::string module;            // as given
        std::string commandLine;       // as given
        std::string currentDirectory;  // the simulated current directory at the start
        bool ended = false;
        bool closed = false;
        int waitForInputIdleCalls = 0;
        int pollsUntilEnd = -1;  // ProcessHasEnded answers yes after this many polls; -1 never
    };
    struct WinExecRecord {
        std::string commandLine;
        int show = 0;
    };
    struct ShellLinkRecord {
        std::string target, linkPath, description;
        long result = 0;
    };
    enum class WindowAction { BroughtToFront, ShownNormal };
    struct WindowEvent {
        WindowHandle window = 0;
        WindowAction action = WindowAction::BroughtToFront;
    };
    enum class MessageKind { EnterKeyDown, Quit, Other };
    struct QueuedMessage {
        MessageKind kind = MessageKind::Other;
        int id = 0;  // Other: the test's own number; Quit: the exit code
    };

    // ---- Test-facing API: drives -------------------------------------------------------
    // Adds or replaces a drive (letter either case). A ready drive has a root folder.
    void AddDrive(char letter, int type, uint64_t freeBytes, bool ready = true);
    void RemoveDrive(char letter);
    void SetDriveType(char letter, int type);
    void SetDriveReady(char letter, bool ready);  // not ready: no files, no free space
    void SetFreeBytes(char letter, uint64_t bytes);
    uint64_t FreeBytes(char letter) const;
    // GetDiskFreeSpaceEx missing from KERNEL32 (the first 95 release): every query fails.
    void SetFreeSpaceExAvailable(bool available);
    // The extended query fails for this drive only.
    void SetFreeSpaceExFails(char letter, bool fails);
    // Fixed answer of the old free-space query. Without it the old query derives its
    // answer from the free bytes with 8 sectors of 512 bytes per cluster (free clusters
    // capped at 0xFFFFFFFF).
    void SetClusterGeometry(char letter, uint32_t sectorsPerCluster, uint32_t bytesPerSector,
                            uint32_t freeClusters, uint32_t totalClusters);
    // The disk fills after n more written bytes, whatever its free bytes say.
    void FillDiskAfter(char letter, uint64_t bytes);

    // ---- Test-facing API: files and folders (all paths resolved like the OS side) ------
    // Creates or replaces a file, making missing folders (set-up: no read-only, CD-ROM or
    // fault rules apply; the contents take free bytes as far as there are any).
    bool AddFile(const std::string& path, const std::string& contents, uint32_t attributes = kAttrArchive);
    // Creates the folder and every missing parent.
    bool AddFolder(const std::string& path, uint32_t attributes = kAttrDirectory);
    bool Exists(const std::string& path) const;
    bool IsFolder(const std::string& path) const;
    bool IsFile(const std::string& path) const;
    // The contents of a file; empty when there is none (check IsFile).
    std::string Contents(const std::string& path) const;
    // Replaces the attribute bits (the directory bit is kept as it is).
    bool SetAttributes(const std::string& path, uint32_t attributes);
    uint32_t Attributes(const std::string& path) const;  // kInvalidAttributes when missing
    bool SetTimes(const std::string& path, FileTime creation, FileTime lastAccess, FileTime lastWrite);
    FileInfo Info(const std::string& path) const;  // zeros when missing
    // Names (as created) directly inside a folder, in listing order.
    std::vector<std::string> List(const std::string& folder) const;
    // Removes a file or a folder with everything in it, whatever the attributes.
    bool RemoveTree(const std::string& path);
    // The full path the OS side would use for path, or "" when it cannot be resolved.
    std::string FullPath(const std::string& path) const;
    std::string CurrentDirectory() const;

    // ---- Test-facing API: injected faults (by path; they outlive the file) -------------
    // Reads fail (generic cause) once 'after' bytes have been read through a handle.
    void FailReads(const std::string& path, uint64_t after = 0);
    // Writes fail (generic cause) once 'after' bytes have been written through a handle.
    void FailWrites(const std::string& path, uint64_t after = 0);
    // CreateForWrite and OpenForAppend fail with this cause; CreateDirectory fails.
    void FailCreate(const std::string& path, FileCause cause);
    void FailOpenForRead(const std::string& path, FileCause cause);
    void FailClose(const std::string& path, FileCause cause = kCauseGeneric);
    void FailSetTimes(const std::string& path);
    void FailDelete(const std::string& path);  // DeleteFile fails although it could
    void ClearFaults();

    // Counts of what the code under test holds open (for leak checks).
    int OpenFileCount() const { return static_cast<int>(files_.size()); }
    int OpenSearchCount() const { return static_cast<int>(searches_.size()); }
    int OpenKeyCount() const { return static_cast<int>(registry_.open.size()); }

    // ---- Test-facing API: clock --------------------------------------------------------
    void SetNow(FileTime now) { now_ = now; }
    void AdvanceNow(FileTime by) { now_ += by; }
    FileTime Now() const { return now_; }
    // Local calendar time to a file time (no time zones in the simulation).
    static FileTime MakeFileTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    static constexpr FileTime kSecond = 10000000ull;
    void SetTickCount(uint32_t ticks) { ticks_ = ticks; }
    void AdvanceTicks(uint32_t by) { ticks_ += by; }
    // Every GetTickCount call advances the count by this much afterwards (default 0).
    void SetTickStep(uint32_t step) { tickStep_ = step; }

    // ---- Test-facing API: system facts -------------------------------------------------
    // 95 family: platform id 1, 4.10, dwBuildNumber 0x040A07CE (as Windows 98 reports
    // it: the build, 1998, is its low 16 bits). NT family: platform id 2, 5.1 build 2600.
    void SetFamily95();
    void SetFamilyNT();
    void SetVersion(const VersionInfo& v) { version_ = v; }
    void SetWindowsDirectory(const std::string& path) { windowsDir_ = path; }
    // Path without trailing backslash; "" makes the shell fail to give the folder.
    void SetSpecialFolder(SpecialFolder which, const std::string& path);
    void SetModuleFileName(const std::string& path) { modulePath_ = path; }
    void SetScreenSize(int width, int height) { screenW_ = width; screenH_ = height; }
    bool ComInitialized() const { return comInit_ > 0; }
    int ComInitializeCalls() const { return comInitCalls_; }
    // With this set, CreateShellLink fails with CO_E_NOTINITIALIZED unless COM is on.
    void SetRequireComForLinks(bool require) { requireCom_ = require; }

    // ---- Test-facing API: registry -----------------------------------------------------
    bool RegKeyExists(RegRoot root, const std::string& path) const;
    bool RegPutKey(RegRoot root, const std::string& path);  // with missing parents
    // Stores a value (creating the key). For REG_SZ pass the bytes exactly as stored.
    bool RegPutValue(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                     const std::string& bytes);
    // The stored bytes and type of a value; false when key or value is missing.
    bool RegGetValue(RegRoot root, const std::string& path, const std::string& name, uint32_t* type,
                     std::string* bytes) const;
    // A REG_SZ's text up to its first zero byte (or all of it); "" when missing.
    std::string RegGetString(RegRoot root, const std::string& path, const std::string& name) const;
    std::vector<std::string> RegSubkeys(RegRoot root, const std::string& path) const;
    std::vector<std::string> RegValueNames(RegRoot root, const std::string& path) const;
    // A read-only key cannot be opened with write access nor get subkeys or be deleted.
    bool RegSetReadOnly(RegRoot root, const std::string& path, bool readOnly);

    // ---- Test-facing API: windows and processes ----------------------------------------
    WindowHandle AddWindow(const std::string& title, const std::string& className);
    void RemoveWindow(WindowHandle window);
    const std::vector<WindowEvent>& WindowEvents() const { return windowEvents_; }
    const std::vector<ProcessRecord>& Processes() const { return processes_; }
    // Module paths (resolved at the start) and their command lines that failed to start.
    const std::vector<std::string>& FailedStarts() const { return failedStarts_; }
    void EndProcess(ProcessHandle process);
    void EndAllProcesses();
    void SetProcessUnstartable(const std::string& module);
    // New processes end after this many ProcessHasEnded polls (-1: only by EndProcess).
    void SetProcessEndsAfterPolls(int polls) { defaultPolls_ = polls; }
    // Off: a module need not exist as a file to start.
    void SetRequireProgramFiles(bool require) { requireProgramFiles_ = require; }
    const std::vector<WinExecRecord>& WinExecCalls() const { return winExecs_; }
    void SetWinExecResult(unsigned result) { winExecResult_ = result; }

    // ---- Test-facing API: shell --------------------------------------------------------
    const std::vector<ShellLinkRecord>& ShellLinks() const { return links_; }
    const std::vector<std::string>& ShellNotifications() const { return notifications_; }
    void SetShellLinkUnavailable(bool unavailable) { linkUnavailable_ = unavailable; }
    // The bytes a link file for target and description holds (as written by CreateShellLink).
    static std::string MakeLinkFileBytes(const std::string& target, const std::string& description);

    // ---- Test-facing API: user interface -----------------------------------------------
    // Answers are taken in order. Without a queued answer: IDOK for OK boxes, IDNO for
    // Yes/No, IDCANCEL for OK/Cancel.
    void QueueMessageBoxAnswer(int answer) { answers_.push_back(answer); }
    size_t PendingMessageBoxAnswers() const { return answers_.size(); }
    const std::vector<MessageBoxCall>& MessageBoxes() const { return boxes_; }
    void ClearMessageBoxes() { boxes_.clear(); }
    // Called for every box before the queue; a non-zero result answers the box.
    void SetMessageBoxHook(std::function<int(const MessageBoxCall&)> hook) { boxHook_ = std::move(hook); }
    // A loop that keeps asking (FIND with default answers asks for ever) is stopped with
    // a std::runtime_error once this many boxes were shown (default 10000); gtest then
    // fails the test and goes on with the next.
    void SetMessageBoxLimit(size_t limit) { boxLimit_ = limit; }

    void QueueEnterKey() { messages_.push_back({MessageKind::EnterKeyDown, 0}); }
    void QueueQuit(int code = 0) { messages_.push_back({MessageKind::Quit, code}); }
    void QueueMessage(int id) { messages_.push_back({MessageKind::Other, id}); }
    size_t PendingMessages() const { return messages_.size(); }
    const std::vector<QueuedMessage>& DispatchedMessages() const { return dispatched_; }
    // Called at the start of every PeekMessage (for example to queue a message at a
    // certain moment) and for every dispatched message.
    void SetPeekHook(std::function<void()> hook) { peekHook_ = std::move(hook); }
    void SetDispatchHook(std::function<void(const QueuedMessage&)> hook) { dispatchHook_ = std::move(hook); }
    int PeekCalls() const { return peekCalls_; }
    const std::vector<int>& QuitRequests() const { return quits_; }  // PostQuitMessage codes

    // ---- plat::Platform ----------------------------------------------------------------
    FileHandle OpenForRead(const char* path, FileCause* cause) override;
    FileHandle CreateForWrite(const char* path, FileCause* cause) override;
    FileHandle OpenForAppend(const char* path, FileCause* cause) override;
    bool ReadFile(FileHandle f, void* buffer, uint32_t size, uint32_t* got, FileCause* cause) override;
    bool WriteFile(FileHandle f, const void* data, uint32_t size, FileCause* cause) override;
    bool CloseFile(FileHandle f, FileCause* cause) override;
    bool GetFileSize(FileHandle f, uint64_t* size) override;
    bool GetOpenFileInfo(FileHandle f, FileInfo* info) override;
    bool SeekFile(FileHandle f, uint64_t position) override;
    bool GetFileInfo(const char* path, FileInfo* info) override;
    bool SetFileTimes(const char* path, FileTime creation, FileTime lastAccess, FileTime lastWrite) override;
    bool DeleteFile(const char* path) override;
    bool MoveFile(const char* from, const char* to) override;
    bool CreateDirectory(const char* path) override;
    bool RemoveDirectory(const char* path) override;
    uint32_t GetCurrentDirectory(char* buffer, uint32_t size) override;
    bool SetCurrentDirectory(const char* path) override;
    SearchHandle FindFirst(const char* pattern, FindEntry* entry) override;
    bool FindNext(SearchHandle search, FindEntry* entry) override;
    void FindClose(SearchHandle search) override;
    int GetDriveType(const char* root) override;
    bool GetDiskFreeSpaceEx(const char* root, uint64_t* totalFree) override;
    bool GetDiskFreeSpace(const char* root, uint32_t* sectorsPerCluster, uint32_t* bytesPerSector,
                          uint32_t* freeClusters, uint32_t* totalClusters) override;
    VersionInfo GetVersion() override { return version_; }
    uint32_t GetModuleFileName(char* buffer, uint32_t size) override;
    uint32_t GetWindowsDirectory(char* buffer, uint32_t size) override;
    bool GetSpecialFolder(SpecialFolder which, char* buffer, uint32_t size) override;
    void GetScreenSize(int* width, int* height) override;
    uint32_t GetTickCount() override;
    long RegCreateKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key, bool* created) override;
    long RegOpenKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key) override;
    long RegCloseKey(KeyHandle key) override;
    long RegSetValue(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size) override;
    long RegQueryValue(KeyHandle key, const char* name, uint32_t* type, void* data, uint32_t* size) override;
    long RegDeleteValue(KeyHandle key, const char* name) override;
    long RegDeleteKey(RegRoot root, const char* path) override;
    WindowHandle FindWindowByTitle(const char* title) override;
    WindowHandle FindWindowByClass(const char* className) override;
    void BringWindowToFront(WindowHandle window) override;
    void ShowWindowNormal(WindowHandle window) override;
    ProcessHandle StartProcess(const char* module, const char* commandLine) override;
    void WaitForInputIdle(ProcessHandle process) override;
    bool ProcessHasEnded(ProcessHandle process) override;
    void CloseProcess(ProcessHandle process) override;
    unsigned WinExec(const char* commandLine, int show) override;
    bool InitializeCom() override;
    void UninitializeCom() override;
    long CreateShellLink(const char* target, const char* linkPath, const char* description) override;
    void NotifyShellItemDeleted(const char* path) override;
    int MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) override;
    bool PeekMessage(PeekedMessage* message) override;
    void DispatchMessage(const PeekedMessage& message) override;
    void PostQuitMessage(int code) override;

private:
    struct Node {
        std::string parent;  // key of the folder holding it; "" for a root
        std::string name;    // the last component as created ("C:" for a root)
        uint32_t attributes = kAttrArchive;
        FileTime creation = 0, lastAccess = 0, lastWrite = 0;
        std::string data;
        int readers = 0;  // open handles that share
        int writers = 0;  // exclusive handles
    };
    struct Drive {
        int type = kDriveFixed;
        bool ready = true;
        uint64_t freeBytes = 0;
        bool exFails = false;
        bool geometryFixed = false;
        uint32_t sectorsPerCluster = 8, bytesPerSector = 512, freeClusters = 0, totalClusters = 0;
        bool fillLimited = false;
        uint64_t fillAfter = 0;
    };
    struct OpenFile {
        std::string key;
        uint64_t position = 0;
        bool write = false;
        uint64_t readCount = 0, writeCount = 0;
    };
    struct Search {
        std::vector<FindEntry> entries;
        size_t next = 0;
    };
    struct Faults {
        bool failReads = false, failWrites = false, failSetTimes = false, failDelete = false;
        uint64_t readsAfter = 0, writesAfter = 0;
        FileCause createCause = kCauseNone, openCause = kCauseNone, closeCause = kCauseNone;
    };
    struct RegValue {
        std::string name;
        uint32_t type = kRegNone;
        std::string bytes;
    };
    struct RegKey {
        std::string name;
        std::map<std::string, std::shared_ptr<RegKey>> subkeys;  // by upper-cased name
        std::map<std::string, RegValue> values;                   // by upper-cased name
        bool readOnly = false;
        bool deleted = false;
    };
    struct OpenKey {
        std::shared_ptr<RegKey> key;
        uint32_t access = 0;
    };
    struct Window {
        std::string title, className;
    };

    // Paths. Resolve gives the display-case full path ("C:\A\b.txt"); Key upper-cases it.
    bool Resolve(const std::string& path, std::string* full, FileCause* cause) const;
    static std::string Key(const std::string& full);
    static std::string ParentOf(const std::string& full);  // "" for a root
    static std::string LastComponent(const std::string& full);
    Node* Find(const std::string& key);
    const Node* Find(const std::string& key) const;
    // Checks that the folder that would hold full exists and the drive is usable.
    FileCause CheckParent(const std::string& full) const;
    Drive* DriveOf(const std::string& full);
    const Drive* DriveOf(const std::string& full) const;
    std::vector<std::string> ChildrenKeys(const std::string& key) const;
    Node& MakeNode(const std::string& full, uint32_t attributes);
    void EraseTree(const std::string& key);
    FileHandle OpenForWriting(const char* path, bool truncate, FileCause* cause);
    bool ChangeSize(Node& node, uint64_t newSize, FileCause* cause);
    Faults* FaultsFor(const std::string& key);
    Faults& FaultsAt(const std::string& path);
    bool Holds(const std::string& ancestorKey, const std::string& key) const;
    uint32_t CopyOut(const std::string& text, char* buffer, uint32_t size) const;

    std::shared_ptr<RegKey> RegRootKey(RegRoot root) const;
    std::shared_ptr<RegKey> RegWalk(RegRoot root, const std::string& path) const;
    std::shared_ptr<RegKey> RegWalkOrCreate(RegRoot root, const std::string& path, bool* created);
    static bool SplitRegPath(const std::string& path, std::vector<std::string>* parts);
    static void MarkDeleted(RegKey& key);
    OpenKey* FindKey(KeyHandle key);

    ProcessRecord* FindProcess(ProcessHandle process);

    std::map<std::string, Node> nodes_;  // by Key(full path)
    std::map<char, Drive> drives_;
    std::string cwd_ = "C:\\";
    std::map<FileHandle, OpenFile> files_;
    std::map<SearchHandle, Search> searches_;
    std::map<std::string, Faults> faults_;
    uintptr_t nextHandle_ = 0x100;
    bool freeSpaceExAvailable_ = true;

    FileTime now_ = 0;
    uint32_t ticks_ = 1000;
    uint32_t tickStep_ = 0;

    VersionInfo version_;
    std::string windowsDir_ = "C:\\WINDOWS";
    std::string desktop95_, programs95_, desktopNT_, programsNT_;
    bool desktopSet_ = false, programsSet_ = false;
    std::string desktopOverride_, programsOverride_;
    std::string modulePath_ = "D:\\OSTREL.EXE";
    int screenW_ = 1024, screenH_ = 768;
    int comInit_ = 0, comInitCalls_ = 0;
    bool requireCom_ = false;

    // The registry trees and the open keys into them. Copying it copies the trees, so
    // two copied simulations never share a key.
    struct Registry {
        std::shared_ptr<RegKey> roots[5];
        std::map<KeyHandle, OpenKey> open;
        Registry() = default;
        Registry(const Registry& other);
        Registry& operator=(const Registry&) = delete;
    };
    Registry registry_;

    std::map<WindowHandle, Window> windows_;
    std::vector<WindowEvent> windowEvents_;
    std::vector<ProcessRecord> processes_;
    std::vector<std::string> failedStarts_;
    std::set<std::string> unstartable_;
    int defaultPolls_ = -1;
    bool requireProgramFiles_ = true;
    std::vector<WinExecRecord> winExecs_;
    unsigned winExecResult_ = 33;

    std::vector<ShellLinkRecord> links_;
    std::vector<std::string> notifications_;
    bool linkUnavailable_ = false;

    std::deque<int> answers_;
    std::vector<MessageBoxCall> boxes_;
    std::function<int(const MessageBoxCall&)> boxHook_;
    size_t boxLimit_ = 10000;
    size_t boxCount_ = 0;
    std::deque<QueuedMessage> messages_;
    std::vector<QueuedMessage> dispatched_;
    std::function<void()> peekHook_;
    std::function<void(const QueuedMessage&)> dispatchHook_;
    int peekCalls_ = 0;
    std::vector<int> quits_;
};

// Windows file-name matching of one name against one pattern component (DOS rules for
// "*.", "?" and "*.*"), ASCII letters in either case, double-byte characters whole.
bool MatchesWildcard(const std::string& pattern, const std::string& name);

// The name with its single-byte letters upper-cased (two-byte characters left as they
// are): how paths and registry names are compared without regard to case.
std::string UpperCaseName(const std::string& name);

}  // namespace plat
