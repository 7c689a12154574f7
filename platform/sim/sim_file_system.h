// The simulated Windows' drives, files and folders: the tree, open handles, searches,
// injected faults and the clock that stamps file times.
//
//  - paths follow sim_path_rules.h: Shift-JIS bytes, compared without regard to ASCII
//    case, resolved against the current directory.
//  - FindFirst lists "." and ".." (except in a root), then the folder's entries sorted by
//    upper-cased name; a pattern without wildcards finds the entry itself (file or
//    folder); a pattern ending in "\" finds nothing. The list is taken when the search
//    starts.
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
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/sim/sim_part.h"

namespace plat {

class SimFileSystem : public virtual SimPart {
public:
    SimFileSystem();

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
    void SetClusterGeometry(char letter, uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters,
                            uint32_t totalClusters);
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
    // Gives an existing file or folder a name Shift-JIS cannot hold, as a disk written on
    // another system may: searches pass over it and count it in skippedNames, as the real
    // layer does. Its path here is only the test's handle on it.
    bool SetNameUnholdable(const std::string& path);
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

    // ---- Test-facing API: the clock of file times --------------------------------------
    void SetNow(FileTime now) { now_ = now; }
    void AdvanceNow(FileTime by) { now_ += by; }
    FileTime Now() const { return now_; }
    // Local calendar time to a file time (no time zones in the simulation).
    static FileTime MakeFileTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    static constexpr FileTime kSecond = 10000000ull;

    // ---- plat::Platform ----------------------------------------------------------------
    FileHandle OpenForRead(const char* path, FileCause* cause) override;
    FileHandle CreateForWrite(const char* path, FileCause* cause) override;
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

private:
    struct Node {
        std::string parent;  // key of the folder holding it; "" for a root
        std::string name;    // the last component as created ("C:" for a root)
        uint32_t attributes = kAttrArchive;
        FileTime creation = 0, lastAccess = 0, lastWrite = 0;
        std::string data;
        bool unholdable = false;  // see SetNameUnholdable
        int readers = 0;          // open handles that share
        int writers = 0;          // exclusive handles
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
        uint32_t skippedAtEnd = 0;  // passed over after the last entry
    };
    struct Faults {
        bool failReads = false, failWrites = false, failSetTimes = false, failDelete = false;
        uint64_t readsAfter = 0, writesAfter = 0;
        FileCause createCause = kCauseNone, openCause = kCauseNone, closeCause = kCauseNone;
    };

    // Resolve gives the display-case full path ("C:\A\b.txt"); Key upper-cases it.
    bool Resolve(const std::string& path, std::string* full, FileCause* cause) const;
    static std::string Key(const std::string& full);
    static FileInfo InfoOf(const Node& node);
    Node* Find(const std::string& key);
    const Node* Find(const std::string& key) const;
    // Checks that the folder that would hold full exists and the drive is usable.
    FileCause CheckParent(const std::string& full) const;
    Drive* DriveOf(const std::string& full);
    const Drive* DriveOf(const std::string& full) const;
    Drive& DriveAt(char letter);  // either case; made when missing
    std::vector<std::string> ChildrenKeys(const std::string& key) const;
    Node& MakeNode(const std::string& full, uint32_t attributes);
    void EraseTree(const std::string& key);
    FileHandle OpenForWriting(const char* path, bool truncate, FileCause* cause);
    Faults* FaultsFor(const std::string& key);
    Faults& FaultsAt(const std::string& path);
    bool Holds(const std::string& ancestorKey, const std::string& key) const;

    std::map<std::string, Node> nodes_;  // by Key(full path)
    std::map<char, Drive> drives_;
    std::string cwd_ = "C:\\";
    std::map<FileHandle, OpenFile> files_;
    std::map<SearchHandle, Search> searches_;
    std::map<std::string, Faults> faults_;
    bool freeSpaceExAvailable_ = true;
    FileTime now_ = 0;
};

}  // namespace plat
