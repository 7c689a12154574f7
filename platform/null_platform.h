// A platform on which every operation fails or does nothing: the base of the simulated
// Windows and of the small fakes that single tests need.
#pragma once

#include "platform/platform.h"

namespace plat {

class NullPlatform : public Platform {
public:
    FileHandle OpenForRead(const char*, FileCause* c) override { return Fail(c); }
    FileHandle CreateForWrite(const char*, FileCause* c) override { return Fail(c); }
    FileHandle OpenForAppend(const char*, FileCause* c) override { return Fail(c); }
    bool ReadFile(FileHandle, void*, uint32_t, uint32_t* got, FileCause* c) override {
        if (got) *got = 0;
        Fail(c);
        return false;
    }
    bool WriteFile(FileHandle, const void*, uint32_t, FileCause* c) override { return Fail(c) != 0; }
    bool CloseFile(FileHandle, FileCause* c) override { return Fail(c) != 0; }
    bool GetFileSize(FileHandle, uint64_t*) override { return false; }
    bool GetOpenFileInfo(FileHandle, FileInfo*) override { return false; }
    bool SetOpenFileTimes(FileHandle, FileTime, FileTime, FileTime) override { return false; }
    bool SeekFile(FileHandle, uint64_t) override { return false; }
    bool GetFileInfo(const char*, FileInfo*) override { return false; }
    bool SetFileTimes(const char*, FileTime, FileTime, FileTime) override { return false; }
    bool DeleteFile(const char*) override { return false; }
    bool MoveFile(const char*, const char*) override { return false; }
    bool CreateDirectory(const char*) override { return false; }
    bool RemoveDirectory(const char*) override { return false; }
    uint32_t GetCurrentDirectory(char*, uint32_t) override { return 0; }
    bool SetCurrentDirectory(const char*) override { return false; }
    SearchHandle FindFirst(const char*, FindEntry*) override { return 0; }
    bool FindNext(SearchHandle, FindEntry*) override { return false; }
    void FindClose(SearchHandle) override {}
    int GetDriveType(const char*) override { return kDriveNoRoot; }
    bool GetDiskFreeSpaceEx(const char*, uint64_t*) override { return false; }
    bool GetDiskFreeSpace(const char*, uint32_t*, uint32_t*, uint32_t*, uint32_t*) override { return false; }
    VersionInfo GetVersion() override { return VersionInfo{}; }
    uint32_t GetModuleFileName(char*, uint32_t) override { return 0; }
    uint32_t GetWindowsDirectory(char*, uint32_t) override { return 0; }
    bool GetSpecialFolder(SpecialFolder, char*, uint32_t) override { return false; }
    void GetScreenSize(int* w, int* h) override {
        *w = 640;
        *h = 480;
    }
    uint32_t GetTickCount() override { return 0; }
    long RegCreateKey(RegRoot, const char*, uint32_t, KeyHandle*, bool*) override { return kRegAccessDenied; }
    long RegOpenKey(RegRoot, const char*, uint32_t, KeyHandle*) override { return kRegNotFound; }
    long RegCloseKey(KeyHandle) override { return kRegOk; }
    long RegSetValue(KeyHandle, const char*, uint32_t, const void*, uint32_t) override { return kRegAccessDenied; }
    long RegQueryValue(KeyHandle, const char*, uint32_t*, void*, uint32_t*) override { return kRegNotFound; }
    long RegDeleteValue(KeyHandle, const char*) override { return kRegNotFound; }
    long RegDeleteKey(RegRoot, const char*) override { return kRegNotFound; }
    WindowHandle FindWindowByTitle(const char*) override { return 0; }
    WindowHandle FindWindowByClass(const char*) override { return 0; }
    void BringWindowToFront(WindowHandle) override {}
    void ShowWindowNormal(WindowHandle) override {}
    ProcessHandle StartProcess(const char*, const char*) override { return 0; }
    void WaitForInputIdle(ProcessHandle) override {}
    bool ProcessHasEnded(ProcessHandle) override { return true; }
    void CloseProcess(ProcessHandle) override {}
    unsigned WinExec(const char*, int) override { return 2; }
    long CreateShellLink(const char*, const char*, const char*) override { return -1; }
    void NotifyShellItemDeleted(const char*) override {}
    int MessageBox(WindowHandle, const char*, const char*, unsigned) override { return kIdOk; }
    bool PeekMessage(PeekedMessage*) override { return false; }
    void DispatchMessage(const PeekedMessage&) override {}
    void PostQuitMessage(int) override {}

private:
    static FileHandle Fail(FileCause* c) {
        if (c) *c = kCauseGeneric;
        return 0;
    }
};

}  // namespace plat
