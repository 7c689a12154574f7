// The simulated Windows' open files: reading, writing and closing through handles.
#include "platform/sim/sim_file_system.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/sim_path_rules.h"

namespace plat {

using namespace sim;

static void SetCause(FileCause* cause, FileCause value) {
    if (cause) *cause = value;
}

FileHandle SimFileSystem::OpenForRead(const char* path, FileCause* cause) {
    std::string full;
    if (!path || !Resolve(path, &full, cause)) return 0;
    if (HasWildcard(full)) return SetCause(cause, kCauseBadPath), 0;
    std::string key = Key(full);
    if (Faults* f = FaultsFor(key); f && f->openCause != kCauseNone) return SetCause(cause, f->openCause), 0;
    if (FileCause c = CheckParent(full); c != kCauseNone) return SetCause(cause, c), 0;
    Node* n = Find(key);
    if (!n) return SetCause(cause, kCauseFileNotFound), 0;
    if (n->attributes & kAttrDirectory) return SetCause(cause, kCauseAccessDenied), 0;
    if (n->writers > 0) return SetCause(cause, kCauseAccessDenied), 0;  // sharing violation
    n->readers++;
    FileHandle h = NewHandle();
    OpenFile of;
    of.key = key;
    files_[h] = of;
    SetCause(cause, kCauseNone);
    return h;
}

FileHandle SimFileSystem::OpenForWriting(const char* path, bool truncate, FileCause* cause) {
    std::string full;
    if (!path || !Resolve(path, &full, cause)) return 0;
    if (HasWildcard(full) || full.size() <= 3) return SetCause(cause, kCauseBadPath), 0;
    std::string key = Key(full);
    if (Faults* f = FaultsFor(key); f && f->createCause != kCauseNone) return SetCause(cause, f->createCause), 0;
    if (FileCause c = CheckParent(full); c != kCauseNone) return SetCause(cause, c), 0;
    if (DriveOf(full)->type == kDriveCdrom) return SetCause(cause, kCauseAccessDenied), 0;
    Node* n = Find(key);
    if (n) {
        if (n->attributes & (kAttrDirectory | kAttrReadOnly)) return SetCause(cause, kCauseAccessDenied), 0;
        // Replacing a hidden or system file needs those attributes asked for again.
        if (truncate && (n->attributes & (kAttrHidden | kAttrSystem))) return SetCause(cause, kCauseAccessDenied), 0;
        if (n->readers > 0 || n->writers > 0) return SetCause(cause, kCauseAccessDenied), 0;
        if (truncate) {
            DriveOf(full)->freeBytes += n->data.size();
            n->data.clear();
            n->attributes = kAttrArchive;
            n->lastWrite = now_;
        }
    } else {
        n = &MakeNode(full, kAttrArchive);
    }
    n->writers++;
    FileHandle h = NewHandle();
    OpenFile of;
    of.key = key;
    of.write = true;
    of.position = truncate ? 0 : n->data.size();
    files_[h] = of;
    SetCause(cause, kCauseNone);
    return h;
}

FileHandle SimFileSystem::CreateForWrite(const char* path, FileCause* cause) {
    return OpenForWriting(path, true, cause);
}

FileHandle SimFileSystem::OpenForAppend(const char* path, FileCause* cause) {
    return OpenForWriting(path, false, cause);
}

bool SimFileSystem::ReadFile(FileHandle f, void* buffer, uint32_t size, uint32_t* got, FileCause* cause) {
    if (got) *got = 0;
    auto it = files_.find(f);
    if (it == files_.end()) return SetCause(cause, kCauseGeneric), false;
    OpenFile& of = it->second;
    if (of.write) return SetCause(cause, kCauseAccessDenied), false;
    Node* n = Find(of.key);
    uint64_t avail = of.position < n->data.size() ? n->data.size() - of.position : 0;
    uint64_t count = std::min<uint64_t>(avail, size);
    if (Faults* fl = FaultsFor(of.key); fl && fl->failReads && count > 0) {
        if (of.readCount >= fl->readsAfter) return SetCause(cause, kCauseGeneric), false;
        count = std::min<uint64_t>(count, fl->readsAfter - of.readCount);
    }
    if (count) std::memcpy(buffer, n->data.data() + of.position, static_cast<size_t>(count));
    of.position += count;
    of.readCount += count;
    if (got) *got = static_cast<uint32_t>(count);
    SetCause(cause, kCauseNone);
    return true;
}

bool SimFileSystem::WriteFile(FileHandle f, const void* data, uint32_t size, FileCause* cause) {
    auto it = files_.find(f);
    if (it == files_.end()) return SetCause(cause, kCauseGeneric), false;
    OpenFile& of = it->second;
    if (!of.write) return SetCause(cause, kCauseAccessDenied), false;
    Node* n = Find(of.key);
    Drive* d = DriveOf(of.key);
    if (Faults* fl = FaultsFor(of.key); fl && fl->failWrites && of.writeCount + size > fl->writesAfter) {
        return SetCause(cause, kCauseGeneric), false;
    }
    uint64_t end = of.position + size;
    uint64_t growth = end > n->data.size() ? end - n->data.size() : 0;
    if (d->fillLimited && size > d->fillAfter) return SetCause(cause, kCauseDiskFull), false;
    if (growth > d->freeBytes) return SetCause(cause, kCauseDiskFull), false;
    if (d->fillLimited) d->fillAfter -= size;
    d->freeBytes -= growth;
    if (end > n->data.size()) n->data.resize(static_cast<size_t>(end));
    if (size) std::memcpy(&n->data[static_cast<size_t>(of.position)], data, size);
    of.position = end;
    of.writeCount += size;
    n->lastWrite = now_;
    SetCause(cause, kCauseNone);
    return true;
}

bool SimFileSystem::CloseFile(FileHandle f, FileCause* cause) {
    auto it = files_.find(f);
    if (it == files_.end()) return SetCause(cause, kCauseGeneric), false;
    std::string key = it->second.key;
    if (Node* n = Find(key)) (it->second.write ? n->writers : n->readers)--;
    files_.erase(it);
    // The handle is gone either way; an injected fault only changes the answer.
    if (Faults* fl = FaultsFor(key); fl && fl->closeCause != kCauseNone) return SetCause(cause, fl->closeCause), false;
    SetCause(cause, kCauseNone);
    return true;
}

bool SimFileSystem::GetFileSize(FileHandle f, uint64_t* size) {
    auto it = files_.find(f);
    if (it == files_.end()) return false;
    *size = Find(it->second.key)->data.size();
    return true;
}

bool SimFileSystem::GetOpenFileInfo(FileHandle f, FileInfo* info) {
    auto it = files_.find(f);
    if (it == files_.end()) return false;
    const Node* n = Find(it->second.key);
    if (!n) return false;
    *info = InfoOf(*n);
    return true;
}

bool SimFileSystem::SetOpenFileTimes(FileHandle f, FileTime creation, FileTime lastAccess, FileTime lastWrite) {
    auto it = files_.find(f);
    if (it == files_.end() || !it->second.write) return false;
    if (Faults* fl = FaultsFor(it->second.key); fl && fl->failSetTimes) return false;
    Node* n = Find(it->second.key);
    if (!n) return false;
    if (creation) n->creation = creation;
    if (lastAccess) n->lastAccess = lastAccess;
    if (lastWrite) n->lastWrite = lastWrite;
    return true;
}

bool SimFileSystem::SeekFile(FileHandle f, uint64_t position) {
    auto it = files_.find(f);
    if (it == files_.end()) return false;
    it->second.position = position;
    return true;
}

}  // namespace plat
