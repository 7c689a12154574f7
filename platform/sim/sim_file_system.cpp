// The simulated Windows' file tree: its nodes, the test-facing view of files and folders,
// and the injected faults. Handles, path operations and drives have files of their own.
#include "platform/sim/sim_file_system.h"

#include <algorithm>

#include "platform/sim/sim_path_rules.h"

namespace plat {

using namespace sim;

SimFileSystem::SimFileSystem() { now_ = MakeFileTime(2001, 4, 1, 12, 0, 0); }

FileTime SimFileSystem::MakeFileTime(int year, int month, int day, int hour, int minute, int second) {
    // Days since 1970-01-01 of a proleptic Gregorian date.
    int y = year - (month <= 2 ? 1 : 0);
    int era = (y >= 0 ? y : y - 399) / 400;
    int yoe = y - era * 400;
    int mp = (month + 9) % 12;
    int doy = (153 * mp + 2) / 5 + day - 1;
    int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    int64_t days = static_cast<int64_t>(era) * 146097 + doe - 719468;
    int64_t secs = (days + 134774) * 86400 + hour * 3600 + minute * 60 + second;
    return static_cast<FileTime>(secs) * kSecond;
}

// ---- The tree --------------------------------------------------------------------------

bool SimFileSystem::Resolve(const std::string& path, std::string* full, FileCause* cause) const {
    return ResolvePath(path, cwd_, full, cause);
}

std::string SimFileSystem::Key(const std::string& full) { return UpperCaseName(full); }

FileInfo SimFileSystem::InfoOf(const Node& node) {
    FileInfo info;
    info.attributes = node.attributes;
    info.size = node.data.size();
    info.creation = node.creation;
    info.lastAccess = node.lastAccess;
    info.lastWrite = node.lastWrite;
    return info;
}

SimFileSystem::Node* SimFileSystem::Find(const std::string& key) {
    auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

const SimFileSystem::Node* SimFileSystem::Find(const std::string& key) const {
    auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

FileCause SimFileSystem::CheckParent(const std::string& full) const {
    const Drive* d = DriveOf(full);
    if (!d || d->type == kDriveNoRoot || d->type == kDriveUnknown) return kCauseBadPath;
    if (!d->ready) return kCauseGeneric;  // the device is not ready
    std::string parent = ParentOf(full);
    if (parent.empty()) return kCauseNone;
    const Node* n = Find(Key(parent));
    if (!n || !(n->attributes & kAttrDirectory)) return kCauseBadPath;
    return kCauseNone;
}

std::vector<std::string> SimFileSystem::ChildrenKeys(const std::string& key) const {
    std::vector<std::string> out;
    for (const auto& kv : nodes_) {
        if (kv.second.parent == key) out.push_back(kv.first);
    }
    return out;  // map order: siblings sorted by upper-cased name
}

bool SimFileSystem::Holds(const std::string& ancestorKey, const std::string& key) const {
    if (key == ancestorKey) return true;
    if (key.size() <= ancestorKey.size() || key.compare(0, ancestorKey.size(), ancestorKey) != 0) return false;
    return ancestorKey.back() == '\\' || key[ancestorKey.size()] == '\\';
}

SimFileSystem::Node& SimFileSystem::MakeNode(const std::string& full, uint32_t attributes) {
    Node n;
    std::string parent = ParentOf(full);
    n.parent = parent.empty() ? "" : Key(parent);
    n.name = LastComponent(full);
    n.attributes = attributes;
    n.creation = n.lastAccess = n.lastWrite = now_;
    Node& stored = nodes_[Key(full)];
    stored = n;
    return stored;
}

void SimFileSystem::EraseTree(const std::string& key) {
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        if (Holds(key, it->first)) {
            if (Drive* d = DriveOf(it->first)) d->freeBytes += it->second.data.size();
            it = nodes_.erase(it);
        } else {
            ++it;
        }
    }
}

SimFileSystem::Faults* SimFileSystem::FaultsFor(const std::string& key) {
    auto it = faults_.find(key);
    return it == faults_.end() ? nullptr : &it->second;
}

SimFileSystem::Faults& SimFileSystem::FaultsAt(const std::string& path) {
    std::string full;
    if (!Resolve(path, &full, nullptr)) full = path;
    return faults_[Key(full)];
}

// ---- Test-facing: files -----------------------------------------------------------------

bool SimFileSystem::AddFolder(const std::string& path, uint32_t attributes) {
    std::string full;
    if (!Resolve(path, &full, nullptr) || HasWildcard(full) || !DriveOf(full)) return false;
    std::vector<std::string> chain;
    for (std::string p = full; !p.empty(); p = ParentOf(p)) chain.push_back(p);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        Node* n = Find(Key(*it));
        if (n) {
            if (!(n->attributes & kAttrDirectory)) return false;
            continue;
        }
        MakeNode(*it, (it + 1 == chain.rend() ? attributes : kAttrDirectory) | kAttrDirectory);
    }
    return true;
}

bool SimFileSystem::AddFile(const std::string& path, const std::string& contents, uint32_t attributes) {
    std::string full;
    if (!Resolve(path, &full, nullptr) || HasWildcard(full) || full.size() <= 3) return false;
    if (!AddFolder(ParentOf(full))) return false;
    Node* n = Find(Key(full));
    if (n && (n->attributes & kAttrDirectory)) return false;
    Drive* d = DriveOf(full);
    if (n) d->freeBytes += n->data.size();
    Node& f = MakeNode(full, attributes & ~static_cast<uint32_t>(kAttrDirectory));
    f.data = contents;
    d->freeBytes -= std::min<uint64_t>(d->freeBytes, contents.size());
    return true;
}

bool SimFileSystem::Exists(const std::string& path) const {
    std::string full;
    return Resolve(path, &full, nullptr) && Find(Key(full));
}

bool SimFileSystem::IsFolder(const std::string& path) const {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return false;
    const Node* n = Find(Key(full));
    return n && (n->attributes & kAttrDirectory);
}

bool SimFileSystem::IsFile(const std::string& path) const {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return false;
    const Node* n = Find(Key(full));
    return n && !(n->attributes & kAttrDirectory);
}

std::string SimFileSystem::Contents(const std::string& path) const {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return "";
    const Node* n = Find(Key(full));
    return n ? n->data : "";
}

bool SimFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return false;
    Node* n = Find(Key(full));
    if (!n) return false;
    n->attributes = (attributes & ~static_cast<uint32_t>(kAttrDirectory)) | (n->attributes & kAttrDirectory);
    return true;
}

bool SimFileSystem::SetNameUnholdable(const std::string& path) {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return false;
    Node* n = Find(Key(full));
    if (!n) return false;
    n->unholdable = true;
    return true;
}

uint32_t SimFileSystem::Attributes(const std::string& path) const {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return kInvalidAttributes;
    const Node* n = Find(Key(full));
    return n ? n->attributes : kInvalidAttributes;
}

bool SimFileSystem::SetTimes(const std::string& path, FileTime creation, FileTime lastAccess, FileTime lastWrite) {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return false;
    Node* n = Find(Key(full));
    if (!n) return false;
    n->creation = creation;
    n->lastAccess = lastAccess;
    n->lastWrite = lastWrite;
    return true;
}

FileInfo SimFileSystem::Info(const std::string& path) const {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return FileInfo{};
    const Node* n = Find(Key(full));
    return n ? InfoOf(*n) : FileInfo{};
}

std::vector<std::string> SimFileSystem::List(const std::string& folder) const {
    std::vector<std::string> out;
    std::string full;
    if (!Resolve(folder, &full, nullptr)) return out;
    for (const std::string& k : ChildrenKeys(Key(full))) out.push_back(Find(k)->name);
    return out;
}

bool SimFileSystem::RemoveTree(const std::string& path) {
    std::string full;
    if (!Resolve(path, &full, nullptr) || full.size() <= 3 || !Find(Key(full))) return false;
    EraseTree(Key(full));
    return true;
}

std::string SimFileSystem::FullPath(const std::string& path) const {
    std::string full;
    return Resolve(path, &full, nullptr) ? full : "";
}

std::string SimFileSystem::CurrentDirectory() const { return cwd_; }

// ---- Test-facing: faults --------------------------------------------------------------

void SimFileSystem::FailReads(const std::string& path, uint64_t after) {
    Faults& f = FaultsAt(path);
    f.failReads = true;
    f.readsAfter = after;
}

void SimFileSystem::FailWrites(const std::string& path, uint64_t after) {
    Faults& f = FaultsAt(path);
    f.failWrites = true;
    f.writesAfter = after;
}

void SimFileSystem::FailCreate(const std::string& path, FileCause cause) { FaultsAt(path).createCause = cause; }
void SimFileSystem::FailOpenForRead(const std::string& path, FileCause cause) { FaultsAt(path).openCause = cause; }
void SimFileSystem::FailClose(const std::string& path, FileCause cause) { FaultsAt(path).closeCause = cause; }
void SimFileSystem::FailSetTimes(const std::string& path) { FaultsAt(path).failSetTimes = true; }
void SimFileSystem::FailDelete(const std::string& path) { FaultsAt(path).failDelete = true; }
void SimFileSystem::ClearFaults() { faults_.clear(); }

}  // namespace plat
