// The one seam between the programs' deciding code and the operating system.
// Two implementations exist: the real Win32 one (platform/win32) and a simulated
// Windows held in memory for native tests (platform/sim). Nothing outside platform/
// and the thin window code calls Win32 directly.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

// ---- Plain values, numerically equal to their Win32 counterparts ----------------

// File attribute bits.
enum : uint32_t {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrNormal = 0x80,
    kInvalidAttributes = 0xFFFFFFFFu,
};

// Causes of a failed file operation, numbered as the framework's file exceptions
// number them (the message texts are chosen by these numbers).
enum FileCause : int {
    kCauseNone = 0,
    kCauseGeneric = 1,
    kCauseFileNotFound = 2,
    kCauseBadPath = 3,
    kCauseTooManyOpenFiles = 4,
    kCauseAccessDenied = 5,
    kCauseSharingViolation = 11,
    kCauseDiskFull = 13,
};

// Drive type codes.
enum : int {
    kDriveUnknown = 0,
    kDriveNoRoot = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdrom = 5,
    kDriveRamDisk = 6,
};

// Message box styles and answers.
enum : unsigned {
    kMbOk = 0x00,
    kMbOkCancel = 0x01,
    kMbYesNo = 0x04,
    kMbIconQuestion = 0x20,
    kMbIconWarning = 0x30,
    kMbTopMost = 0x40000,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// Registry roots, in the order of the installer's root key table.
enum class RegRoot : int { CurrentUser, LocalMachine, Users, ClassesRoot, CurrentConfig };

// Registry value types.
enum : uint32_t { kRegNone = 0, kRegSz = 1, kRegBinary = 3, kRegDword = 4 };

// Registry access masks (Win32 values).
enum : uint32_t {
    kKeyRead = 0x20019,
    kKeyWrite = 0x20006,
    kKeyAllAccess = 0xF003F,
};

// Registry results: 0 success, otherwise a Win32 error code.
enum : long { kRegOk = 0, kRegNotFound = 2, kRegAccessDenied = 5, kRegMoreData = 234 };

// 100-nanosecond intervals since 1601, as Windows keeps file times.
using FileTime = uint64_t;

struct FileInfo {
    uint32_t attributes = 0;
    uint64_t size = 0;
    FileTime creation = 0;
    FileTime lastAccess = 0;
    FileTime lastWrite = 0;
};

struct FindEntry {
    char name[260] = {};
    uint32_t attributes = 0;
    uint64_t size = 0;
    // Names the search passed over since the previous entry (or, when the search ends or
    // finds nothing, before that): names Shift-JIS cannot hold, or that do not fit in
    // name. They are never given out changed, so no operation reaches another file.
    uint32_t skippedNames = 0;
};

struct VersionInfo {
    uint32_t platformId = 2;  // 1: Windows 95 family, 2: NT family
    uint32_t major = 5;
    uint32_t minor = 1;
    uint32_t build = 2600;
};

// Opaque handles. 0 is never a valid handle.
using FileHandle = uintptr_t;
using SearchHandle = uintptr_t;
using KeyHandle = uintptr_t;
using WindowHandle = uintptr_t;
using ProcessHandle = uintptr_t;

// One message taken from the thread's queue by PeekMessage.
struct PeekedMessage {
    bool isQuit = false;          // WM_QUIT
    bool isEnterKeyDown = false;  // WM_KEYDOWN with VK_RETURN
    uintptr_t opaque[8] = {};     // the implementation's copy of the message
};

// Special folders the installer asks the shell for.
enum class SpecialFolder { Desktop, Programs };

// ---- The interface ------------------------------------------------------------

class Platform {
public:
    virtual ~Platform() = default;

    // Files. Paths are Shift-JIS bytes. Each failing call reports its cause (a sharing
    // violation is reported as access denied).
    virtual FileHandle OpenForRead(const char* path, FileCause* cause) = 0;     // shared read/write
    virtual FileHandle CreateForWrite(const char* path, FileCause* cause) = 0;  // create or truncate, exclusive
    // Creates the file as CreateForWrite does, but only where nothing of that name exists;
    // otherwise opens nothing and sets *existed. A copy's usual destination is new, and one
    // question to the file system instead of two matters there: under Wine a name that is
    // not there is looked for through its whole folder.
    virtual FileHandle CreateNewForWrite(const char* path, bool* existed, FileCause* cause) {
        FileInfo info;
        *existed = GetFileInfo(path, &info);
        return *existed ? 0 : CreateForWrite(path, cause);
    }
    virtual FileHandle OpenForAppend(const char* path,
                                     FileCause* cause) = 0;  // open existing or create, position at end
    virtual bool ReadFile(FileHandle f, void* buffer, uint32_t size, uint32_t* got, FileCause* cause) = 0;
    virtual bool WriteFile(FileHandle f, const void* data, uint32_t size, FileCause* cause) = 0;
    virtual bool CloseFile(FileHandle f, FileCause* cause) = 0;
    virtual bool GetFileSize(FileHandle f, uint64_t* size) = 0;
    // Attributes, size and times of an open file, as GetFileInfo gives them by path.
    virtual bool GetOpenFileInfo(FileHandle f, FileInfo* info) = 0;
    // Sets the times of a file open for writing, as SetFileTimes does by path (a time of 0
    // is left as it is); no later write follows, so closing keeps them.
    virtual bool SetOpenFileTimes(FileHandle f, FileTime creation, FileTime lastAccess, FileTime lastWrite) = 0;
    virtual bool SeekFile(FileHandle f, uint64_t position) = 0;

    // By path.
    virtual bool GetFileInfo(const char* path, FileInfo* info) = 0;
    // A time of 0 is left as it is.
    virtual bool SetFileTimes(const char* path, FileTime creation, FileTime lastAccess, FileTime lastWrite) = 0;
    virtual bool DeleteFile(const char* path) = 0;
    virtual bool MoveFile(const char* from, const char* to) = 0;
    virtual bool CreateDirectory(const char* path) = 0;
    virtual bool RemoveDirectory(const char* path) = 0;
    // Copies the current directory (no trailing backslash except for a root) into buffer;
    // returns the length, 0 on failure.
    virtual uint32_t GetCurrentDirectory(char* buffer, uint32_t size) = 0;
    virtual bool SetCurrentDirectory(const char* path) = 0;

    // Directory search with Windows wildcard rules (* and ? in the last component).
    virtual SearchHandle FindFirst(const char* pattern, FindEntry* entry) = 0;
    virtual bool FindNext(SearchHandle search, FindEntry* entry) = 0;
    virtual void FindClose(SearchHandle search) = 0;

    // Drives. root is "X:\".
    virtual int GetDriveType(const char* root) = 0;
    // The extended free-space query as looked up at run time in KERNEL32.DLL:
    // false when the function is missing or the call fails. totalFree is the
    // drive's total free bytes (not the part available to the caller).
    virtual bool GetDiskFreeSpaceEx(const char* root, uint64_t* totalFree) = 0;
    virtual bool GetDiskFreeSpace(const char* root, uint32_t* sectorsPerCluster, uint32_t* bytesPerSector,
                                  uint32_t* freeClusters, uint32_t* totalClusters) = 0;

    // System facts.
    // build is the raw build word: on the 95 family its high 16 bits hold the version.
    virtual VersionInfo GetVersion() = 0;
    // Both return the length, or 0 (and an empty buffer) when the text does not fit.
    virtual uint32_t GetModuleFileName(char* buffer, uint32_t size) = 0;  // the running program's path
    virtual uint32_t GetWindowsDirectory(char* buffer, uint32_t size) = 0;
    // The folder's path with no trailing backslash; false when the shell cannot give it.
    virtual bool GetSpecialFolder(SpecialFolder which, char* buffer, uint32_t size) = 0;
    virtual void GetScreenSize(int* width, int* height) = 0;
    virtual uint32_t GetTickCount() = 0;

    // Registry. Results are Win32 error codes (kRegOk on success).
    virtual long RegCreateKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key, bool* created) = 0;
    virtual long RegOpenKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key) = 0;
    virtual long RegCloseKey(KeyHandle key) = 0;
    virtual long RegSetValue(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size) = 0;
    // size is in/out: the buffer's size, then the stored size (also when it did not fit: kRegMoreData).
    virtual long RegQueryValue(KeyHandle key, const char* name, uint32_t* type, void* data, uint32_t* size) = 0;
    virtual long RegDeleteValue(KeyHandle key, const char* name) = 0;
    virtual long RegDeleteKey(RegRoot root, const char* path) = 0;

    // Top-level windows of any program.
    virtual WindowHandle FindWindowByTitle(const char* title) = 0;
    virtual WindowHandle FindWindowByClass(const char* className) = 0;
    virtual void BringWindowToFront(WindowHandle window) = 0;  // top of the Z order and foreground
    virtual void ShowWindowNormal(WindowHandle window) = 0;

    // Processes.
    // Starts module with commandLine in the current directory; 0 when it cannot be started.
    virtual ProcessHandle StartProcess(const char* module, const char* commandLine) = 0;
    virtual void WaitForInputIdle(ProcessHandle process) = 0;
    virtual bool ProcessHasEnded(ProcessHandle process) = 0;
    virtual void CloseProcess(ProcessHandle process) = 0;
    virtual unsigned WinExec(const char* commandLine, int show) = 0;

    // Shell. The shell link component needs COM on the calling thread: the programs
    // initialise it once at start-up and uninitialise it when they end.
    virtual bool InitializeCom() { return true; }
    virtual void UninitializeCom() {}
    // The status (HRESULT) of the last step: 0 when the link file was written.
    virtual long CreateShellLink(const char* target, const char* linkPath, const char* description) = 0;
    virtual void NotifyShellItemDeleted(const char* path) = 0;

    // User interface.
    virtual int MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) = 0;
    // Removes the next waiting message of the thread, if there is one.
    virtual bool PeekMessage(PeekedMessage* message) = 0;
    virtual void DispatchMessage(const PeekedMessage& message) = 0;  // translate and dispatch
    virtual void PostQuitMessage(int code) = 0;
};

}  // namespace plat
