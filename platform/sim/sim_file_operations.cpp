// The simulated Windows' operations on files and folders by path, and searches.
#include "platform/sim/sim_file_system.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/sim_path_rules.h"

namespace plat {

using namespace sim;

namespace {

void CopyName(const std::string& name, FindEntry* entry) {
    std::memset(entry->name, 0, sizeof entry->name);
    std::memcpy(entry->name, name.data(), std::min(name.size(), sizeof entry->name - 1));
}

}  // namespace

// ---- By path -----------------------------------------------------------------------------

bool SimFileSystem::GetFileInfo(const char* path, FileInfo* info) {
    std::string full;
    if (!path || !Resolve(path, &full, nullptr) || HasWildcard(full)) return false;
    if (CheckParent(full) != kCauseNone) return false;
    const Node* n = Find(Key(full));
    if (!n) return false;
    *info = InfoOf(*n);
    return true;
}

bool SimFileSystem::SetFileTimes(const char* path, FileTime creation, FileTime lastAccess, FileTime lastWrite) {
    std::string full;
    if (!path || !Resolve(path, &full, nullptr) || HasWildcard(full)) return false;
    std::string key = Key(full);
    if (Faults* f = FaultsFor(key); f && f->failSetTimes) return false;
    if (CheckParent(full) != kCauseNone) return false;
    Node* n = Find(key);
    if (!n || n->writers > 0) return false;  // an exclusive writer shares nothing
    if (DriveOf(full)->type == kDriveCdrom) return false;
    if (creation) n->creation = creation;
    if (lastAccess) n->lastAccess = lastAccess;
    if (lastWrite) n->lastWrite = lastWrite;
    return true;
}

bool SimFileSystem::DeleteFile(const char* path) {
    std::string full;
    if (!path || !Resolve(path, &full, nullptr) || HasWildcard(full)) return false;
    std::string key = Key(full);
    if (CheckParent(full) != kCauseNone) return false;
    Node* n = Find(key);
    if (!n || (n->attributes & (kAttrDirectory | kAttrReadOnly))) return false;
    if (n->readers > 0 || n->writers > 0) return false;
    if (Faults* f = FaultsFor(key); f && f->failDelete) return false;
    if (DriveOf(full)->type == kDriveCdrom) return false;
    EraseTree(key);
    return true;
}

bool SimFileSystem::MoveFile(const char* from, const char* to) {
    std::string src, dst;
    if (!from || !to || !Resolve(from, &src, nullptr) || !Resolve(to, &dst, nullptr)) return false;
    if (HasWildcard(src) || HasWildcard(dst) || src.size() <= 3 || dst.size() <= 3) return false;
    if (CheckParent(src) != kCauseNone || CheckParent(dst) != kCauseNone) return false;
    std::string sk = Key(src), dk = Key(dst);
    Node* s = Find(sk);
    if (!s) return false;
    if (DriveOf(src)->type == kDriveCdrom || DriveOf(dst)->type == kDriveCdrom) return false;
    bool folder = (s->attributes & kAttrDirectory) != 0;
    if (sk == dk) {  // only the spelling changes
        s->name = LastComponent(dst);
        return true;
    }
    if (Find(dk)) return false;
    if (folder && (src[0] != dst[0] || Holds(sk, dk) || Holds(sk, Key(cwd_)))) return false;
    for (const auto& kv : nodes_) {
        if (Holds(sk, kv.first) && (kv.second.readers > 0 || kv.second.writers > 0)) return false;
    }
    if (!folder && src[0] != dst[0]) {  // another drive: the data moves
        Drive* d = DriveOf(dst);
        uint64_t size = s->data.size();
        if (size > d->freeBytes || (d->fillLimited && size > d->fillAfter)) return false;
        d->freeBytes -= size;
        if (d->fillLimited) d->fillAfter -= size;
        DriveOf(src)->freeBytes += size;
    }
    std::map<std::string, Node> moved;
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        if (Holds(sk, it->first)) {
            Node n = it->second;
            std::string newKey = dk + it->first.substr(sk.size());
            if (it->first == sk) {
                n.parent = Key(ParentOf(dst));
                n.name = LastComponent(dst);
            } else {
                n.parent = dk + n.parent.substr(sk.size());
            }
            moved[newKey] = n;
            it = nodes_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& kv : moved) nodes_[kv.first] = kv.second;
    return true;
}

bool SimFileSystem::CreateDirectory(const char* path) {
    std::string full;
    if (!path || !Resolve(path, &full, nullptr) || HasWildcard(full) || full.size() <= 3) return false;
    std::string key = Key(full);
    if (Faults* f = FaultsFor(key); f && f->createCause != kCauseNone) return false;
    if (CheckParent(full) != kCauseNone || Find(key)) return false;
    if (DriveOf(full)->type == kDriveCdrom) return false;
    MakeNode(full, kAttrDirectory);
    return true;
}

bool SimFileSystem::RemoveDirectory(const char* path) {
    std::string full;
    if (!path || !Resolve(path, &full, nullptr) || HasWildcard(full) || full.size() <= 3) return false;
    std::string key = Key(full);
    if (CheckParent(full) != kCauseNone) return false;
    Node* n = Find(key);
    if (!n || !(n->attributes & kAttrDirectory) || (n->attributes & kAttrReadOnly)) return false;
    if (!ChildrenKeys(key).empty()) return false;
    if (Holds(key, Key(cwd_))) return false;  // in use as the current directory
    if (DriveOf(full)->type == kDriveCdrom) return false;
    nodes_.erase(key);
    return true;
}

uint32_t SimFileSystem::GetCurrentDirectory(char* buffer, uint32_t size) { return CopyOut(cwd_, buffer, size); }

bool SimFileSystem::SetCurrentDirectory(const char* path) {
    std::string full;
    if (!path || !Resolve(path, &full, nullptr) || HasWildcard(full)) return false;
    if (CheckParent(full) != kCauseNone) return false;
    const Node* n = Find(Key(full));
    if (!n || !(n->attributes & kAttrDirectory)) return false;
    cwd_ = full;
    return true;
}

// ---- Search ------------------------------------------------------------------------------

SearchHandle SimFileSystem::FindFirst(const char* pattern, FindEntry* entry) {
    if (!pattern || !*pattern) return 0;
    std::string pat = pattern;
    size_t lb = LastBackslash(pat);
    if (lb != std::string::npos && lb + 1 == pat.size()) return 0;  // "X:\DIR\" names no entry
    std::string full;
    if (!Resolve(pat, &full, nullptr) || full.size() <= 3) return 0;
    std::string dir = ParentOf(full);
    std::string last = LastComponent(full);
    if (HasWildcard(dir) || CheckParent(full) != kCauseNone) return 0;
    Search s;
    uint32_t skipped = 0;
    auto add = [&](const std::string& name, const Node& n) {
        if (n.unholdable && name != "." && name != "..") {
            ++skipped;
            return;
        }
        FindEntry e;
        CopyName(name, &e);
        e.attributes = n.attributes;
        e.size = n.data.size();
        e.skippedNames = skipped;
        skipped = 0;
        s.entries.push_back(e);
    };
    if (!HasWildcard(last)) {
        const Node* n = Find(Key(full));
        if (!n) return 0;
        add(n->name, *n);
    } else {
        std::string dk = Key(dir);
        const Node* d = Find(dk);
        if (!d || !(d->attributes & kAttrDirectory)) return 0;
        if (dk.size() > 3) {
            for (const char* dots : {".", ".."}) {
                if (MatchesWildcard(last, dots)) add(dots, *d);
            }
        }
        for (const std::string& k : ChildrenKeys(dk)) {
            const Node* n = Find(k);
            if (MatchesWildcard(last, n->name)) add(n->name, *n);
        }
    }
    if (s.entries.empty()) {
        entry->skippedNames = skipped;
        return 0;
    }
    s.skippedAtEnd = skipped;
    *entry = s.entries[0];
    s.next = 1;
    SearchHandle h = NewHandle();
    searches_[h] = s;
    return h;
}

bool SimFileSystem::FindNext(SearchHandle search, FindEntry* entry) {
    auto it = searches_.find(search);
    if (it == searches_.end()) return false;
    Search& s = it->second;
    if (s.next >= s.entries.size()) {
        entry->skippedNames = s.skippedAtEnd;
        s.skippedAtEnd = 0;
        return false;
    }
    *entry = s.entries[s.next++];
    return true;
}

void SimFileSystem::FindClose(SearchHandle search) { searches_.erase(search); }

}  // namespace plat
