// A small in-memory Windows for the copy engine's own tests: files with times, open
// handles that block deletion as on Windows, injected read and write faults, a message
// queue and scripted message-box answers.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/null_platform.h"

namespace copytest {

class CopyFakePlatform : public plat::NullPlatform {
public:
    struct File {
        std::string data;
        plat::FileInfo info;
    };
    struct Open {
        std::string path;
        size_t pos = 0;
        bool writable = false;
    };

    std::map<std::string, File> files;
    std::map<plat::FileHandle, Open> handles;
    plat::FileHandle nextHandle = 100;

    // Faults: writes fail with diskFullCause once a file would grow beyond this many bytes.
    size_t writeLimit = SIZE_MAX;
    plat::FileCause writeFailCause = plat::kCauseDiskFull;
    std::string unreadablePath;  // reads of this file fail
    plat::FileCause createFailCause = plat::kCauseNone;  // when set, CreateForWrite fails

    // Drives.
    plat::VersionInfo version;
    bool haveExtendedQuery = true;
    uint64_t extendedFree = 0;
    uint32_t sectorsPerCluster = 8, bytesPerSector = 512, freeClusters = 0;
    std::vector<std::string> rootsAsked;
    std::map<char, int> driveTypes;

    // User interface.
    std::deque<plat::PeekedMessage> queue;
    int dispatched = 0;
    int quitPosts = 0;
    std::vector<std::string> boxes;
    std::vector<unsigned> boxStyles;
    std::deque<int> answers;  // kIdOk when empty

    void AddFile(const std::string& path, const std::string& data, plat::FileTime created = 0,
                 plat::FileTime written = 0, uint32_t attributes = plat::kAttrArchive) {
        File f;
        f.data = data;
        f.info.attributes = attributes;
        f.info.size = data.size();
        f.info.creation = created;
        f.info.lastWrite = written;
        f.info.lastAccess = written;
        files[path] = f;
    }
    int OpenCount() const { return static_cast<int>(handles.size()); }

    plat::FileHandle OpenForRead(const char* path, plat::FileCause* cause) override {
        if (!files.count(path)) {
            *cause = plat::kCauseFileNotFound;
            return 0;
        }
        handles[nextHandle] = Open{path, 0, false};
        return nextHandle++;
    }
    plat::FileHandle CreateForWrite(const char* path, plat::FileCause* cause) override {
        if (createFailCause != plat::kCauseNone) {
            *cause = createFailCause;
            return 0;
        }
        File& f = files[path];
        f.data.clear();
        f.info = plat::FileInfo{};
        f.info.attributes = plat::kAttrArchive;
        f.info.creation = f.info.lastWrite = f.info.lastAccess = 777770000000ull;  // "now"
        handles[nextHandle] = Open{path, 0, true};
        return nextHandle++;
    }
    bool ReadFile(plat::FileHandle h, void* buffer, uint32_t size, uint32_t* got, plat::FileCause* cause) override {
        Open& o = handles.at(h);
        *got = 0;
        if (o.path == unreadablePath) {
            *cause = plat::kCauseGeneric;
            return false;
        }
        const std::string& d = files.at(o.path).data;
        const size_t n = std::min<size_t>(size, d.size() - o.pos);
        d.copy(static_cast<char*>(buffer), n, o.pos);
        o.pos += n;
        *got = static_cast<uint32_t>(n);
        return true;
    }
    bool WriteFile(plat::FileHandle h, const void* data, uint32_t size, plat::FileCause* cause) override {
        Open& o = handles.at(h);
        File& f = files.at(o.path);
        if (f.data.size() + size > writeLimit) {
            f.data.append(static_cast<const char*>(data), writeLimit - f.data.size());  // what fitted stays
            f.info.size = f.data.size();
            *cause = writeFailCause;
            return false;
        }
        f.data.append(static_cast<const char*>(data), size);
        f.info.size = f.data.size();
        return true;
    }
    bool CloseFile(plat::FileHandle h, plat::FileCause*) override { return handles.erase(h) == 1; }
    bool GetFileInfo(const char* path, plat::FileInfo* info) override {
        auto it = files.find(path);
        if (it == files.end()) return false;
        *info = it->second.info;
        return true;
    }
    bool SetFileTimes(const char* path, plat::FileTime c, plat::FileTime a, plat::FileTime w) override {
        auto it = files.find(path);
        if (it == files.end()) return false;
        it->second.info.creation = c;
        it->second.info.lastAccess = a;
        it->second.info.lastWrite = w;
        return true;
    }
    // As on Windows, a file that is still open cannot be deleted.
    bool DeleteFile(const char* path) override {
        for (auto& [h, o] : handles)
            if (o.path == path) return false;
        return files.erase(path) == 1;
    }

    int GetDriveType(const char* root) override {
        rootsAsked.push_back(root);
        auto it = driveTypes.find(root[0]);
        return it == driveTypes.end() ? plat::kDriveNoRoot : it->second;
    }
    bool GetDiskFreeSpaceEx(const char* root, uint64_t* totalFree) override {
        rootsAsked.push_back(root);
        if (!haveExtendedQuery) return false;
        *totalFree = extendedFree;
        return true;
    }
    bool GetDiskFreeSpace(const char* root, uint32_t* spc, uint32_t* bps, uint32_t* fc, uint32_t* tc) override {
        rootsAsked.push_back(root);
        *spc = sectorsPerCluster;
        *bps = bytesPerSector;
        *fc = freeClusters;
        *tc = freeClusters;
        return true;
    }
    plat::VersionInfo GetVersion() override { return version; }

    int MessageBox(plat::WindowHandle, const char* text, const char*, unsigned style) override {
        boxes.push_back(text);
        boxStyles.push_back(style);
        if (answers.empty()) return plat::kIdOk;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    bool PeekMessage(plat::PeekedMessage* m) override {
        if (queue.empty()) return false;
        *m = queue.front();
        queue.pop_front();
        return true;
    }
    void DispatchMessage(const plat::PeekedMessage&) override { ++dispatched; }
    void PostQuitMessage(int) override { ++quitPosts; }
};

inline plat::PeekedMessage EnterKey() {
    plat::PeekedMessage m;
    m.isEnterKeyDown = true;
    return m;
}
inline plat::PeekedMessage Quit() {
    plat::PeekedMessage m;
    m.isQuit = true;
    return m;
}

}  // namespace copytest
