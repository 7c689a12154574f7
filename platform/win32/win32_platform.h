// The platform layer on real Windows: each operation is one or a few Win32 calls. Error
// codes become the file-error causes the message texts are chosen by.
#pragma once

#include "platform/platform.h"

namespace plat {

class Win32Platform : public Platform {
public:
    // Maps a Win32 error code (GetLastError) to a file-error cause.
    static FileCause CauseFromError(unsigned long error);

    FileHandle OpenForRead(const char* path, FileCause* cause) override;
    FileHandle CreateForWrite(const char* path, FileCause* cause) override;
    FileHandle CreateNewForWrite(const char* path, bool* existed, FileCause* cause) override;
    FileHandle OpenForAppend(const char* path, FileCause* cause) override;
    bool ReadFile(FileHandle f, void* buffer, uint32_t size, uint32_t* got, FileCause* cause) override;
    bool WriteFile(FileHandle f, const void* data, uint32_t size, FileCause* cause) override;
    bool CloseFile(FileHandle f, FileCause* cause) override;
    bool GetFileSize(FileHandle f, uint64_t* size) override;
    bool GetOpenFileInfo(FileHandle f, FileInfo* info) override;
    bool SetOpenFileTimes(FileHandle f, FileTime creation, FileTime lastAccess, FileTime lastWrite) override;
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
    VersionInfo GetVersion() override;
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
    unsigned long lastFullPoll_ = 0;  // tick count of the last PeekMessage that found nothing
};

}  // namespace plat
