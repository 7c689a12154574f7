// The platform layer on real Windows. Kept thin: every decision lives in the portable
// code; here each operation is the Win32 call that does it.
#include <shlobj.h>

#include "platform/win32/windows_clean.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace plat {

namespace {

HANDLE H(uintptr_t h) { return reinterpret_cast<HANDLE>(h); }
uintptr_t U(HANDLE h) { return reinterpret_cast<uintptr_t>(h); }

void SetCause(FileCause* cause, FileCause value) {
    if (cause) *cause = value;
}

FileHandle Opened(HANDLE h, FileCause* cause) {
    if (h == INVALID_HANDLE_VALUE) {
        SetCause(cause, Win32Platform::CauseFromError(::GetLastError()));
        return 0;
    }
    SetCause(cause, kCauseNone);
    return U(h);
}

FileTime FromFiletime(const FILETIME& ft) {
    return (static_cast<FileTime>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME ToFiletime(FileTime t) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(t & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
    return ft;
}

bool HasWildcard(const char* path) { return std::strpbrk(path, "*?") != nullptr; }

// Room for any path the programs can use (their Shift-JIS buffers hold MAX_PATH bytes).
enum : uint32_t { kWidePathCapacity = 1024 };

// Hands a path Windows gave as wide text to a caller as Shift-JIS: its length, or 0 (and
// an empty buffer) when Windows failed, it does not fit, or Shift-JIS cannot hold it.
uint32_t FitWide(const wchar_t* wide, DWORD wideLength, uint32_t wideCapacity, char* buffer, uint32_t size) {
    if (buffer && size) buffer[0] = 0;
    if (wideLength == 0 || wideLength >= wideCapacity) return 0;
    if (ToShiftJis(wide, buffer, size) != TextFit::kFits) return 0;
    return static_cast<uint32_t>(std::strlen(buffer));
}

// Registry types whose data is text and so crosses the seam converted.
bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

HKEY RootKey(RegRoot root) {
    switch (root) {
        case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RegRoot::Users: return HKEY_USERS;
        case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    return nullptr;
}

HKEY K(KeyHandle key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

FileCause Win32Platform::CauseFromError(unsigned long error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND: return kCauseFileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_PATHNAME: return kCauseBadPath;
        case ERROR_TOO_MANY_OPEN_FILES: return kCauseTooManyOpenFiles;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return kCauseAccessDenied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return kCauseDiskFull;
        default: return kCauseGeneric;
    }
}

// ---- Files ------------------------------------------------------------------------------

FileHandle Win32Platform::OpenForRead(const char* path, FileCause* cause) {
    return Opened(::CreateFileW(WideArg(path).get(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                  cause);
}

FileHandle Win32Platform::CreateForWrite(const char* path, FileCause* cause) {
    return Opened(::CreateFileW(WideArg(path).get(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr),
                  cause);
}

FileHandle Win32Platform::CreateNewForWrite(const char* path, bool* existed, FileCause* cause) {
    HANDLE h = ::CreateFileW(WideArg(path).get(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    const DWORD error = h == INVALID_HANDLE_VALUE ? ::GetLastError() : NO_ERROR;
    *existed = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    if (*existed) {
        SetCause(cause, kCauseNone);
        return 0;
    }
    return Opened(h, cause);
}

FileHandle Win32Platform::OpenForAppend(const char* path, FileCause* cause) {
    FileHandle f = Opened(::CreateFileW(WideArg(path).get(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr),
                          cause);
    if (f && ::SetFilePointer(H(f), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) {
        SetCause(cause, CauseFromError(::GetLastError()));
        ::CloseHandle(H(f));
        return 0;
    }
    return f;
}

bool Win32Platform::ReadFile(FileHandle f, void* buffer, uint32_t size, uint32_t* got, FileCause* cause) {
    DWORD n = 0;
    BOOL ok = ::ReadFile(H(f), buffer, size, &n, nullptr);
    if (got) *got = ok ? n : 0;
    SetCause(cause, ok ? kCauseNone : CauseFromError(::GetLastError()));
    return ok != FALSE;
}

bool Win32Platform::WriteFile(FileHandle f, const void* data, uint32_t size, FileCause* cause) {
    DWORD n = 0;
    if (!::WriteFile(H(f), data, size, &n, nullptr)) {
        SetCause(cause, CauseFromError(::GetLastError()));
        return false;
    }
    if (n != size) {  // a short write means the disk is full
        SetCause(cause, kCauseDiskFull);
        return false;
    }
    SetCause(cause, kCauseNone);
    return true;
}

bool Win32Platform::CloseFile(FileHandle f, FileCause* cause) {
    if (!::CloseHandle(H(f))) {
        SetCause(cause, CauseFromError(::GetLastError()));
        return false;
    }
    SetCause(cause, kCauseNone);
    return true;
}

bool Win32Platform::GetFileSize(FileHandle f, uint64_t* size) {
    DWORD high = 0;
    DWORD low = ::GetFileSize(H(f), &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return false;
    *size = (static_cast<uint64_t>(high) << 32) | low;
    return true;
}

bool Win32Platform::GetOpenFileInfo(FileHandle f, FileInfo* info) {
    // GetFileInformationByHandle also asks for the volume's serial number, which under Wine
    // is a trip to the mount manager that costs more than copying a small file; the basic
    // information holds the rest. Looked up at run time: Windows before Vista lacks it.
    typedef BOOL(WINAPI * Query)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
    HMODULE kernel = ::GetModuleHandleW(L"KERNEL32.DLL");
    Query query = kernel ? reinterpret_cast<Query>(
                               reinterpret_cast<void*>(::GetProcAddress(kernel, "GetFileInformationByHandleEx")))
                         : nullptr;
    uint64_t size = 0;
    if (query) {
        FILE_BASIC_INFO basic;
        if (!query(H(f), FileBasicInfo, &basic, sizeof basic) || !GetFileSize(f, &size)) return false;
        info->attributes = basic.FileAttributes;
        info->size = size;
        info->creation = static_cast<FileTime>(basic.CreationTime.QuadPart);
        info->lastAccess = static_cast<FileTime>(basic.LastAccessTime.QuadPart);
        info->lastWrite = static_cast<FileTime>(basic.LastWriteTime.QuadPart);
        return true;
    }
    BY_HANDLE_FILE_INFORMATION fi;
    if (!::GetFileInformationByHandle(H(f), &fi)) return false;
    info->attributes = fi.dwFileAttributes;
    info->size = (static_cast<uint64_t>(fi.nFileSizeHigh) << 32) | fi.nFileSizeLow;
    info->creation = FromFiletime(fi.ftCreationTime);
    info->lastAccess = FromFiletime(fi.ftLastAccessTime);
    info->lastWrite = FromFiletime(fi.ftLastWriteTime);
    return true;
}

bool Win32Platform::SetOpenFileTimes(FileHandle f, FileTime creation, FileTime lastAccess, FileTime lastWrite) {
    FILETIME c = ToFiletime(creation), a = ToFiletime(lastAccess), w = ToFiletime(lastWrite);
    return ::SetFileTime(H(f), creation ? &c : nullptr, lastAccess ? &a : nullptr, lastWrite ? &w : nullptr) != FALSE;
}

bool Win32Platform::SeekFile(FileHandle f, uint64_t position) {
    LONG high = static_cast<LONG>(position >> 32);
    DWORD r = ::SetFilePointer(H(f), static_cast<LONG>(position & 0xFFFFFFFFu), &high, FILE_BEGIN);
    return !(r == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR);
}

// ---- By path ------------------------------------------------------------------------------

bool Win32Platform::GetFileInfo(const char* path, FileInfo* info) {
    if (!path || !*path || HasWildcard(path)) return false;
    // One look-up of the name (a directory search costs several under Wine, and the copy
    // asks this of every destination).
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(WideArg(path).get(), GetFileExInfoStandard, &data)) return false;
    info->attributes = data.dwFileAttributes;
    info->size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    info->creation = FromFiletime(data.ftCreationTime);
    info->lastAccess = FromFiletime(data.ftLastAccessTime);
    info->lastWrite = FromFiletime(data.ftLastWriteTime);
    return true;
}

bool Win32Platform::SetFileTimes(const char* path, FileTime creation, FileTime lastAccess, FileTime lastWrite) {
    // The 95 family knows no attribute-only access right.
    DWORD access = GetVersion().platformId == VER_PLATFORM_WIN32_NT ? FILE_WRITE_ATTRIBUTES : GENERIC_WRITE;
    HANDLE h = ::CreateFileW(WideArg(path).get(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    FILETIME c = ToFiletime(creation), a = ToFiletime(lastAccess), w = ToFiletime(lastWrite);
    BOOL ok = ::SetFileTime(h, creation ? &c : nullptr, lastAccess ? &a : nullptr, lastWrite ? &w : nullptr);
    ::CloseHandle(h);
    return ok != FALSE;
}

bool Win32Platform::DeleteFile(const char* path) { return ::DeleteFileW(WideArg(path).get()) != FALSE; }

bool Win32Platform::MoveFile(const char* from, const char* to) {
    return ::MoveFileW(WideArg(from).get(), WideArg(to).get()) != FALSE;
}

bool Win32Platform::CreateDirectory(const char* path) {
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    return ::CreateDirectoryW(WideArg(path).get(), &sa) != FALSE;
}

bool Win32Platform::RemoveDirectory(const char* path) { return ::RemoveDirectoryW(WideArg(path).get()) != FALSE; }

uint32_t Win32Platform::GetCurrentDirectory(char* buffer, uint32_t size) {
    wchar_t wide[kWidePathCapacity];
    return FitWide(wide, ::GetCurrentDirectoryW(kWidePathCapacity, wide), kWidePathCapacity, buffer, size);
}

bool Win32Platform::SetCurrentDirectory(const char* path) {
    return ::SetCurrentDirectoryW(WideArg(path).get()) != FALSE;
}

// ---- Search ---------------------------------------------------------------------------------

// Fills entry from a found name, or says false when Shift-JIS cannot hold the name or
// it does not fit: a name that changed on the way would point at another file.
static bool FillEntry(const WIN32_FIND_DATAW& fd, FindEntry* entry) {
    char name[sizeof entry->name];
    if (ToShiftJis(fd.cFileName, name, sizeof name) != TextFit::kFits) return false;
    std::memset(entry->name, 0, sizeof entry->name);
    std::memcpy(entry->name, name, std::strlen(name));
    entry->attributes = fd.dwFileAttributes;
    entry->size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    return true;
}

// Moves on from the entry in fd to the next one Shift-JIS can name, counting the others.
static bool NextNamed(HANDLE s, WIN32_FIND_DATAW* fd, bool haveOne, FindEntry* entry) {
    uint32_t skipped = 0;
    bool found = false;
    while (haveOne) {
        if (FillEntry(*fd, entry)) {
            found = true;
            break;
        }
        ++skipped;
        haveOne = ::FindNextFileW(s, fd) != FALSE;
    }
    entry->skippedNames = skipped;
    return found;
}

SearchHandle Win32Platform::FindFirst(const char* pattern, FindEntry* entry) {
    WIN32_FIND_DATAW fd;
    HANDLE s = ::FindFirstFileW(WideArg(pattern).get(), &fd);
    if (s == INVALID_HANDLE_VALUE) {
        entry->skippedNames = 0;
        return 0;
    }
    if (!NextNamed(s, &fd, true, entry)) {
        ::FindClose(s);
        return 0;
    }
    return U(s);
}

bool Win32Platform::FindNext(SearchHandle search, FindEntry* entry) {
    WIN32_FIND_DATAW fd;
    return NextNamed(H(search), &fd, ::FindNextFileW(H(search), &fd) != FALSE, entry);
}

void Win32Platform::FindClose(SearchHandle search) { ::FindClose(H(search)); }

// ---- Drives ---------------------------------------------------------------------------------

int Win32Platform::GetDriveType(const char* root) { return static_cast<int>(::GetDriveTypeW(WideArg(root).get())); }

bool Win32Platform::GetDiskFreeSpaceEx(const char* root, uint64_t* totalFree) {
    // Looked up at run time: the first 95 release does not have it.
    typedef BOOL(WINAPI * Query)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    HMODULE kernel = ::LoadLibraryW(L"KERNEL32.DLL");
    if (!kernel) return false;
    Query query = reinterpret_cast<Query>(reinterpret_cast<void*>(::GetProcAddress(kernel, "GetDiskFreeSpaceExW")));
    bool ok = false;
    if (query) {
        ULARGE_INTEGER available, total, free;
        if (query(WideArg(root).get(), &available, &total, &free)) {
            *totalFree = free.QuadPart;
            ok = true;
        }
    }
    ::FreeLibrary(kernel);
    return ok;
}

bool Win32Platform::GetDiskFreeSpace(const char* root, uint32_t* sectorsPerCluster, uint32_t* bytesPerSector,
                                     uint32_t* freeClusters, uint32_t* totalClusters) {
    DWORD spc = 0, bps = 0, freeC = 0, totalC = 0;
    if (!::GetDiskFreeSpaceW(WideArg(root).get(), &spc, &bps, &freeC, &totalC)) return false;
    *sectorsPerCluster = spc;
    *bytesPerSector = bps;
    *freeClusters = freeC;
    *totalClusters = totalC;
    return true;
}

// ---- System facts -------------------------------------------------------------------------

VersionInfo Win32Platform::GetVersion() {
    OSVERSIONINFOW vi;
    std::memset(&vi, 0, sizeof vi);
    vi.dwOSVersionInfoSize = sizeof vi;
    VersionInfo v;
    if (::GetVersionExW(&vi)) {
        v.platformId = vi.dwPlatformId;
        v.major = vi.dwMajorVersion;
        v.minor = vi.dwMinorVersion;
        v.build = vi.dwBuildNumber;
    }
    return v;
}

uint32_t Win32Platform::GetModuleFileName(char* buffer, uint32_t size) {
    wchar_t wide[kWidePathCapacity];
    return FitWide(wide, ::GetModuleFileNameW(nullptr, wide, kWidePathCapacity), kWidePathCapacity, buffer, size);
}

uint32_t Win32Platform::GetWindowsDirectory(char* buffer, uint32_t size) {
    wchar_t wide[MAX_PATH];
    return FitWide(wide, ::GetWindowsDirectoryW(wide, MAX_PATH), MAX_PATH, buffer, size);
}

bool Win32Platform::GetSpecialFolder(SpecialFolder which, char* buffer, uint32_t size) {
    IMalloc* shellMalloc = nullptr;
    if (FAILED(::SHGetMalloc(&shellMalloc)) || !shellMalloc) return false;
    LPITEMIDLIST items = nullptr;
    int csidl = which == SpecialFolder::Desktop ? CSIDL_DESKTOP : CSIDL_PROGRAMS;
    wchar_t wide[MAX_PATH] = {};
    bool ok = SUCCEEDED(::SHGetSpecialFolderLocation(::GetDesktopWindow(), csidl, &items)) && items &&
              ::SHGetPathFromIDListW(items, wide);
    if (items) shellMalloc->Free(items);
    shellMalloc->Release();
    if (!ok) return false;
    size_t n = std::wcslen(wide);
    if (n > 3 && wide[n - 1] == L'\\') wide[--n] = 0;
    return FitWide(wide, static_cast<DWORD>(n), MAX_PATH, buffer, size) != 0;
}

void Win32Platform::GetScreenSize(int* width, int* height) {
    *width = ::GetSystemMetrics(SM_CXSCREEN);
    *height = ::GetSystemMetrics(SM_CYSCREEN);
}

uint32_t Win32Platform::GetTickCount() { return ::GetTickCount(); }

// ---- Registry -------------------------------------------------------------------------------

long Win32Platform::RegCreateKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key, bool* created) {
    HKEY h = nullptr;
    DWORD disposition = 0;
    wchar_t noClass[] = L"";
    LONG r = ::RegCreateKeyExW(RootKey(root), WideArg(path).get(), 0, noClass, REG_OPTION_NON_VOLATILE, access, nullptr,
                               &h, &disposition);
    *key = r == ERROR_SUCCESS ? reinterpret_cast<KeyHandle>(h) : 0;
    if (created) *created = r == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
    return r;
}

long Win32Platform::RegOpenKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key) {
    HKEY h = nullptr;
    LONG r = ::RegOpenKeyExW(RootKey(root), WideArg(path).get(), 0, access, &h);
    *key = r == ERROR_SUCCESS ? reinterpret_cast<KeyHandle>(h) : 0;
    return r;
}

long Win32Platform::RegCloseKey(KeyHandle key) { return ::RegCloseKey(K(key)); }

long Win32Platform::RegSetValue(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size) {
    WideArg wideName(name);
    if (!IsTextType(type) || !data) {
        return ::RegSetValueExW(K(key), wideName.get(), 0, type, static_cast<const BYTE*>(data), size);
    }
    // Text is stored as Unicode and always with its terminator, also when the caller's
    // count left it out (a reader would otherwise run past the end).
    WideArg text(static_cast<const char*>(data), size);
    size_t chars = text.length();
    if (chars == 0 || text.get()[chars - 1] != L'\0') ++chars;
    return ::RegSetValueExW(K(key), wideName.get(), 0, type, reinterpret_cast<const BYTE*>(text.get()),
                            static_cast<DWORD>(chars * sizeof(wchar_t)));
}

long Win32Platform::RegQueryValue(KeyHandle key, const char* name, uint32_t* type, void* data, uint32_t* size) {
    WideArg wideName(name);
    DWORD t = 0, s = 0;
    LONG r = ::RegQueryValueExW(K(key), wideName.get(), nullptr, &t, nullptr, &s);
    if (r != ERROR_SUCCESS) return r;
    if (type) *type = t;
    if (!IsTextType(t)) {
        s = size ? *size : 0;
        r = ::RegQueryValueExW(K(key), wideName.get(), nullptr, &t, static_cast<BYTE*>(data), size ? &s : nullptr);
        if (size && (r == ERROR_SUCCESS || r == ERROR_MORE_DATA)) *size = s;
        return r;
    }
    // Text comes back as the Shift-JIS bytes it was stored from; sizes count those bytes.
    std::vector<wchar_t> wide(s / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>((wide.size() - 1) * sizeof(wchar_t));
    r = ::RegQueryValueExW(K(key), wideName.get(), nullptr, &t, reinterpret_cast<BYTE*>(wide.data()), &got);
    if (r != ERROR_SUCCESS) return r;
    int chars = static_cast<int>(got / sizeof(wchar_t));
    BOOL usedDefault = FALSE;
    int bytes = chars == 0 ? 0
                           : ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), chars, nullptr,
                                                   0, nullptr, &usedDefault);
    // A text Shift-JIS cannot hold is refused, never handed on changed.
    if (usedDefault || (chars > 0 && bytes <= 0)) return ERROR_NO_UNICODE_TRANSLATION;
    if (!size) return ERROR_SUCCESS;
    uint32_t room = *size;
    *size = static_cast<uint32_t>(bytes);
    if (!data) return ERROR_SUCCESS;
    if (static_cast<uint32_t>(bytes) > room) return ERROR_MORE_DATA;
    if (bytes > 0) {
        ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), chars, static_cast<char*>(data),
                              bytes, nullptr, nullptr);
    }
    return ERROR_SUCCESS;
}

long Win32Platform::RegDeleteValue(KeyHandle key, const char* name) {
    return ::RegDeleteValueW(K(key), WideArg(name).get());
}

long Win32Platform::RegDeleteKey(RegRoot root, const char* path) {
    return ::RegDeleteKeyW(RootKey(root), WideArg(path).get());
}

// ---- Windows and processes ------------------------------------------------------------------

WindowHandle Win32Platform::FindWindowByTitle(const char* title) {
    return reinterpret_cast<WindowHandle>(::FindWindowW(nullptr, WideArg(title).get()));
}

WindowHandle Win32Platform::FindWindowByClass(const char* className) {
    return reinterpret_cast<WindowHandle>(::FindWindowW(WideArg(className).get(), nullptr));
}

void Win32Platform::BringWindowToFront(WindowHandle window) {
    HWND w = reinterpret_cast<HWND>(window);
    ::BringWindowToTop(w);
    ::SetForegroundWindow(w);
}

void Win32Platform::ShowWindowNormal(WindowHandle window) {
    ::ShowWindow(reinterpret_cast<HWND>(window), SW_SHOWNORMAL);
}

ProcessHandle Win32Platform::StartProcess(const char* module, const char* commandLine) {
    // The module is taken as it stands (no search along the path); the program inherits
    // no handles, the environment and the current directory.
    WideArg line(commandLine ? commandLine : "");  // CreateProcessW may write into the line
    STARTUPINFOW si;
    std::memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    std::memset(&pi, 0, sizeof pi);
    if (!::CreateProcessW(WideArg(module).get(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 0;
    ::CloseHandle(pi.hThread);
    return U(pi.hProcess);
}

void Win32Platform::WaitForInputIdle(ProcessHandle process) { ::WaitForInputIdle(H(process), INFINITE); }

bool Win32Platform::ProcessHasEnded(ProcessHandle process) {
    // Waiting on the process itself also tells a program that exited with 259 apart.
    DWORD w = ::WaitForSingleObject(H(process), 0);
    if (w == WAIT_OBJECT_0) return true;
    if (w == WAIT_TIMEOUT) return false;
    DWORD code = 0;
    return !::GetExitCodeProcess(H(process), &code) || code != STILL_ACTIVE;
}

void Win32Platform::CloseProcess(ProcessHandle process) { ::CloseHandle(H(process)); }

unsigned Win32Platform::WinExec(const char* commandLine, int show) {
    // WinExec has no wide form: this is what it does, with the line converted. Its
    // results: 33 once started, else the error code (below 32), 11 for any other failure.
    WideArg line(commandLine ? commandLine : "");
    STARTUPINFOW si;
    std::memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION pi;
    std::memset(&pi, 0, sizeof pi);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        DWORD error = ::GetLastError();
        return error < 32 ? error : 11;
    }
    ::WaitForInputIdle(pi.hProcess, 30000);  // gives the program time to come up
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return 33;
}

// ---- Shell ------------------------------------------------------------------------------------

bool Win32Platform::InitializeCom() { return SUCCEEDED(::CoInitialize(nullptr)); }

void Win32Platform::UninitializeCom() { ::CoUninitialize(); }

long Win32Platform::CreateShellLink(const char* target, const char* linkPath, const char* description) {
    IShellLinkW* link = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&link));
    if (FAILED(hr)) return hr;
    IPersistFile* file = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(hr)) {
        link->Release();
        return hr;
    }
    link->SetPath(WideArg(target).get());
    link->SetDescription(WideArg(description).get());
    hr = file->Save(WideArg(linkPath).get(), TRUE);
    file->Release();
    link->Release();
    return hr;
}

void Win32Platform::NotifyShellItemDeleted(const char* path) {
    ::SHChangeNotify(SHCNE_DELETE, SHCNF_PATHW, WideArg(path).get(), nullptr);
}

// ---- User interface -------------------------------------------------------------------------

int Win32Platform::MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    return ::MessageBoxW(reinterpret_cast<HWND>(owner), WideArg(text).get(), WideArg(caption).get(), style);
}

static_assert(sizeof(MSG) <= sizeof(PeekedMessage::opaque), "a message fits the opaque copy");

bool Win32Platform::PeekMessage(PeekedMessage* message) {
    // A PeekMessage that finds nothing is dear under Wine: it flushes the windows to the X
    // server and polls it, round trips that cost milliseconds on a busy machine, and the copy
    // asks a hundred times a second. The queue's status is cheap and names every message that
    // is waiting; the full poll, which also brings in the window system's own input and
    // paint, still runs at least every kFullPollMs.
    enum : UINT { kEveryKind = 0x00FF };  // QS_ALLINPUT as every version knows it (no raw input)
    enum : DWORD { kFullPollMs = 50 };
    const DWORD now = ::GetTickCount();
    if (HIWORD(::GetQueueStatus(kEveryKind)) == 0 && now - lastFullPoll_ < kFullPollMs) return false;
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        lastFullPoll_ = now;
        return false;
    }
    *message = PeekedMessage{};
    message->isQuit = msg.message == WM_QUIT;
    message->isEnterKeyDown = msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN;
    std::memcpy(message->opaque, &msg, sizeof msg);
    return true;
}

void Win32Platform::DispatchMessage(const PeekedMessage& message) {
    MSG msg;
    std::memcpy(&msg, message.opaque, sizeof msg);
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void Win32Platform::PostQuitMessage(int code) { ::PostQuitMessage(code); }

}  // namespace plat
