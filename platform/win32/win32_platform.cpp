// The platform layer on real Windows. Kept thin: every decision lives in the portable
// code; here each operation is the Win32 call that does it.
#include <shlobj.h>

#include "platform/win32/windows_clean.h"

#include <cstring>
#include <vector>

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

// Copies text into a caller's buffer only when it fits with its terminator.
uint32_t Fit(const char* text, uint32_t length, char* buffer, uint32_t size) {
    if (length == 0 || length >= size) {
        if (buffer && size) buffer[0] = 0;
        return 0;
    }
    if (text != buffer) std::memcpy(buffer, text, length + 1);
    return length;
}

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
        case ERROR_FILE_NOT_FOUND:
            return kCauseFileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_PATHNAME:
            return kCauseBadPath;
        case ERROR_TOO_MANY_OPEN_FILES:
            return kCauseTooManyOpenFiles;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return kCauseAccessDenied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return kCauseDiskFull;
        default:
            return kCauseGeneric;
    }
}

// ---- Files ------------------------------------------------------------------------------

FileHandle Win32Platform::OpenForRead(const char* path, FileCause* cause) {
    return Opened(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr),
                  cause);
}

FileHandle Win32Platform::CreateForWrite(const char* path, FileCause* cause) {
    return Opened(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr), cause);
}

FileHandle Win32Platform::OpenForAppend(const char* path, FileCause* cause) {
    FileHandle f =
        Opened(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr), cause);
    if (f && ::SetFilePointer(H(f), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        ::GetLastError() != NO_ERROR) {
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
    BY_HANDLE_FILE_INFORMATION fi;
    if (!::GetFileInformationByHandle(H(f), &fi)) return false;
    info->attributes = fi.dwFileAttributes;
    info->size = (static_cast<uint64_t>(fi.nFileSizeHigh) << 32) | fi.nFileSizeLow;
    info->creation = FromFiletime(fi.ftCreationTime);
    info->lastAccess = FromFiletime(fi.ftLastAccessTime);
    info->lastWrite = FromFiletime(fi.ftLastWriteTime);
    return true;
}

bool Win32Platform::SeekFile(FileHandle f, uint64_t position) {
    LONG high = static_cast<LONG>(position >> 32);
    DWORD r = ::SetFilePointer(H(f), static_cast<LONG>(position & 0xFFFFFFFFu), &high, FILE_BEGIN);
    return !(r == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR);
}

// ---- By path ------------------------------------------------------------------------------

bool Win32Platform::GetFileInfo(const char* path, FileInfo* info) {
    if (!path || !*path || HasWildcard(path)) return false;
    // A directory search gives attributes, times and size on every Windows version.
    WIN32_FIND_DATAA fd;
    HANDLE s = ::FindFirstFileA(path, &fd);
    if (s != INVALID_HANDLE_VALUE) {
        ::FindClose(s);
        info->attributes = fd.dwFileAttributes;
        info->size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        info->creation = FromFiletime(fd.ftCreationTime);
        info->lastAccess = FromFiletime(fd.ftLastAccessTime);
        info->lastWrite = FromFiletime(fd.ftLastWriteTime);
        return true;
    }
    // Roots are not found by a search.
    DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    *info = FileInfo{};
    info->attributes = attributes;
    return true;
}

bool Win32Platform::SetFileTimes(const char* path, FileTime creation, FileTime lastAccess, FileTime lastWrite) {
    // The 95 family knows no attribute-only access right.
    DWORD access = GetVersion().platformId == VER_PLATFORM_WIN32_NT ? FILE_WRITE_ATTRIBUTES : GENERIC_WRITE;
    HANDLE h = ::CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    FILETIME c = ToFiletime(creation), a = ToFiletime(lastAccess), w = ToFiletime(lastWrite);
    BOOL ok = ::SetFileTime(h, creation ? &c : nullptr, lastAccess ? &a : nullptr, lastWrite ? &w : nullptr);
    ::CloseHandle(h);
    return ok != FALSE;
}

bool Win32Platform::DeleteFile(const char* path) { return ::DeleteFileA(path) != FALSE; }

bool Win32Platform::MoveFile(const char* from, const char* to) { return ::MoveFileA(from, to) != FALSE; }

bool Win32Platform::CreateDirectory(const char* path) {
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    return ::CreateDirectoryA(path, &sa) != FALSE;
}

bool Win32Platform::RemoveDirectory(const char* path) { return ::RemoveDirectoryA(path) != FALSE; }

uint32_t Win32Platform::GetCurrentDirectory(char* buffer, uint32_t size) {
    return Fit(buffer, ::GetCurrentDirectoryA(size, buffer), buffer, size);
}

bool Win32Platform::SetCurrentDirectory(const char* path) { return ::SetCurrentDirectoryA(path) != FALSE; }

// ---- Search ---------------------------------------------------------------------------------

static void FillEntry(const WIN32_FIND_DATAA& fd, FindEntry* entry) {
    std::memset(entry->name, 0, sizeof entry->name);
    std::memcpy(entry->name, fd.cFileName, sizeof entry->name - 1);
    entry->attributes = fd.dwFileAttributes;
    entry->size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
}

SearchHandle Win32Platform::FindFirst(const char* pattern, FindEntry* entry) {
    WIN32_FIND_DATAA fd;
    HANDLE s = ::FindFirstFileA(pattern, &fd);
    if (s == INVALID_HANDLE_VALUE) return 0;
    FillEntry(fd, entry);
    return U(s);
}

bool Win32Platform::FindNext(SearchHandle search, FindEntry* entry) {
    WIN32_FIND_DATAA fd;
    if (!::FindNextFileA(H(search), &fd)) return false;
    FillEntry(fd, entry);
    return true;
}

void Win32Platform::FindClose(SearchHandle search) { ::FindClose(H(search)); }

// ---- Drives ---------------------------------------------------------------------------------

int Win32Platform::GetDriveType(const char* root) { return static_cast<int>(::GetDriveTypeA(root)); }

bool Win32Platform::GetDiskFreeSpaceEx(const char* root, uint64_t* totalFree) {
    // Looked up at run time: the first 95 release does not have it.
    typedef BOOL(WINAPI * Query)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    HMODULE kernel = ::LoadLibraryA("KERNEL32.DLL");
    if (!kernel) return false;
    Query query = reinterpret_cast<Query>(reinterpret_cast<void*>(::GetProcAddress(kernel, "GetDiskFreeSpaceExA")));
    bool ok = false;
    if (query) {
        ULARGE_INTEGER available, total, free;
        if (query(root, &available, &total, &free)) {
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
    if (!::GetDiskFreeSpaceA(root, &spc, &bps, &freeC, &totalC)) return false;
    *sectorsPerCluster = spc;
    *bytesPerSector = bps;
    *freeClusters = freeC;
    *totalClusters = totalC;
    return true;
}

// ---- System facts -------------------------------------------------------------------------

VersionInfo Win32Platform::GetVersion() {
    OSVERSIONINFOA vi;
    std::memset(&vi, 0, sizeof vi);
    vi.dwOSVersionInfoSize = sizeof vi;
    VersionInfo v;
    if (::GetVersionExA(&vi)) {
        v.platformId = vi.dwPlatformId;
        v.major = vi.dwMajorVersion;
        v.minor = vi.dwMinorVersion;
        v.build = vi.dwBuildNumber;
    }
    return v;
}

uint32_t Win32Platform::GetModuleFileName(char* buffer, uint32_t size) {
    return Fit(buffer, ::GetModuleFileNameA(nullptr, buffer, size), buffer, size);
}

uint32_t Win32Platform::GetWindowsDirectory(char* buffer, uint32_t size) {
    return Fit(buffer, ::GetWindowsDirectoryA(buffer, size), buffer, size);
}

bool Win32Platform::GetSpecialFolder(SpecialFolder which, char* buffer, uint32_t size) {
    IMalloc* shellMalloc = nullptr;
    if (FAILED(::SHGetMalloc(&shellMalloc)) || !shellMalloc) return false;
    LPITEMIDLIST items = nullptr;
    int csidl = which == SpecialFolder::Desktop ? CSIDL_DESKTOP : CSIDL_PROGRAMS;
    char path[MAX_PATH] = {};
    bool ok = SUCCEEDED(::SHGetSpecialFolderLocation(::GetDesktopWindow(), csidl, &items)) && items &&
              ::SHGetPathFromIDListA(items, path);
    if (items) shellMalloc->Free(items);
    shellMalloc->Release();
    if (!ok) return false;
    size_t n = std::strlen(path);
    if (n > 3 && path[n - 1] == '\\') path[--n] = 0;
    return Fit(path, static_cast<uint32_t>(n), buffer, size) != 0;
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
    char noClass[] = "";
    LONG r = ::RegCreateKeyExA(RootKey(root), path, 0, noClass, REG_OPTION_NON_VOLATILE, access, nullptr, &h,
                               &disposition);
    *key = r == ERROR_SUCCESS ? reinterpret_cast<KeyHandle>(h) : 0;
    if (created) *created = r == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
    return r;
}

long Win32Platform::RegOpenKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key) {
    HKEY h = nullptr;
    LONG r = ::RegOpenKeyExA(RootKey(root), path, 0, access, &h);
    *key = r == ERROR_SUCCESS ? reinterpret_cast<KeyHandle>(h) : 0;
    return r;
}

long Win32Platform::RegCloseKey(KeyHandle key) { return ::RegCloseKey(K(key)); }

long Win32Platform::RegSetValue(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size) {
    return ::RegSetValueExA(K(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

long Win32Platform::RegQueryValue(KeyHandle key, const char* name, uint32_t* type, void* data, uint32_t* size) {
    DWORD t = 0, s = size ? *size : 0;
    LONG r = ::RegQueryValueExA(K(key), name, nullptr, &t, static_cast<BYTE*>(data), size ? &s : nullptr);
    if (type && (r == ERROR_SUCCESS || r == ERROR_MORE_DATA)) *type = t;
    if (size && (r == ERROR_SUCCESS || r == ERROR_MORE_DATA)) *size = s;
    return r;
}

long Win32Platform::RegDeleteValue(KeyHandle key, const char* name) { return ::RegDeleteValueA(K(key), name); }

long Win32Platform::RegDeleteKey(RegRoot root, const char* path) { return ::RegDeleteKeyA(RootKey(root), path); }

// ---- Windows and processes ------------------------------------------------------------------

WindowHandle Win32Platform::FindWindowByTitle(const char* title) {
    return reinterpret_cast<WindowHandle>(::FindWindowA(nullptr, title));
}

WindowHandle Win32Platform::FindWindowByClass(const char* className) {
    return reinterpret_cast<WindowHandle>(::FindWindowA(className, nullptr));
}

void Win32Platform::BringWindowToFront(WindowHandle window) {
    HWND w = reinterpret_cast<HWND>(window);
    ::BringWindowToTop(w);
    ::SetForegroundWindow(w);
}

void Win32Platform::ShowWindowNormal(WindowHandle window) { ::ShowWindow(reinterpret_cast<HWND>(window), SW_SHOWNORMAL); }

ProcessHandle Win32Platform::StartProcess(const char* module, const char* commandLine) {
    // The module is taken as it stands (no search along the path); the program inherits
    // no handles, the environment and the current directory.
    std::vector<char> line(commandLine ? commandLine : "", (commandLine ? commandLine : "") +
                                                               std::strlen(commandLine ? commandLine : "") + 1);
    STARTUPINFOA si;
    std::memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    std::memset(&pi, 0, sizeof pi);
    if (!::CreateProcessA(module, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0;
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

unsigned Win32Platform::WinExec(const char* commandLine, int show) { return ::WinExec(commandLine, show); }

// ---- Shell ------------------------------------------------------------------------------------

bool Win32Platform::InitializeCom() { return SUCCEEDED(::CoInitialize(nullptr)); }

void Win32Platform::UninitializeCom() { ::CoUninitialize(); }

long Win32Platform::CreateShellLink(const char* target, const char* linkPath, const char* description) {
    IShellLinkA* link = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link));
    if (FAILED(hr)) return hr;
    IPersistFile* file = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(hr)) {
        link->Release();
        return hr;
    }
    link->SetPath(target);
    link->SetDescription(description);
    WCHAR wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wide, MAX_PATH);
    wide[MAX_PATH - 1] = 0;
    hr = file->Save(wide, TRUE);
    file->Release();
    link->Release();
    return hr;
}

void Win32Platform::NotifyShellItemDeleted(const char* path) { ::SHChangeNotify(SHCNE_DELETE, SHCNF_PATHA, path, nullptr); }

// ---- User interface -------------------------------------------------------------------------

int Win32Platform::MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    return ::MessageBoxA(reinterpret_cast<HWND>(owner), text, caption, style);
}

static_assert(sizeof(MSG) <= sizeof(PeekedMessage::opaque), "a message fits the opaque copy");

bool Win32Platform::PeekMessage(PeekedMessage* message) {
    MSG msg;
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
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
    ::DispatchMessageA(&msg);
}

void Win32Platform::PostQuitMessage(int code) { ::PostQuitMessage(code); }

}  // namespace plat
