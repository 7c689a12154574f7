// The simulated Windows: files, folders, drives and search.
// The registry, processes, shell and user interface live in sim_system.cpp.
#include "platform/sim/sim_windows.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "text/lead_bytes.h"

namespace plat {

namespace {

bool IsWildcard(char c) { return c == '*' || c == '?'; }

// Splits at backslashes; a trail byte is never a separator.
std::vector<std::string> SplitPath(const std::string& s) {
    std::vector<std::string> parts;
    std::string cur;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (text::Cp932CharLength(s.data(), i, s.size()) == 2) {
            cur += s[i];
            cur += s[++i];
        } else if (c == '\\') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += s[i];
        }
    }
    parts.push_back(cur);
    return parts;
}

// Index of the last backslash that is not a trail byte, or npos.
size_t LastBackslash(const std::string& s) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (text::Cp932CharLength(s.data(), i, s.size()) == 2) {
            ++i;
        } else if (c == '\\') {
            last = i;
        }
    }
    return last;
}

bool HasWildcard(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        if (text::Cp932CharLength(s.data(), i, s.size()) == 2) {
            ++i;
        } else if (IsWildcard(s[i])) {
            return true;
        }
    }
    return false;
}

// Characters Windows refuses in names (wildcards are checked separately).
bool HasBadNameChar(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (text::Cp932CharLength(s.data(), i, s.size()) == 2) {
            ++i;
        } else if (c < 0x20 || std::strchr("<>:\"|", c)) {
            return true;
        }
    }
    return false;
}

// One character per element: a double-byte character stays whole; ASCII is upper-cased.
std::vector<std::string> Chars(const std::string& s) {
    std::vector<std::string> out;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (text::Cp932CharLength(s.data(), i, s.size()) == 2) {
            out.push_back(s.substr(i, 2));
            ++i;
        } else {
            char u = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : s[i];
            out.push_back(std::string(1, u));
        }
    }
    return out;
}

// Pattern elements after the DOS translation.
enum : char { kStar = '*', kDosStar = '<', kDosQm = '>', kDosDot = '"' };

bool MatchFrom(const std::vector<std::string>& p, size_t pi, const std::vector<std::string>& n, size_t ni,
               size_t lastDot) {
    while (pi < p.size()) {
        const std::string& pc = p[pi];
        if (pc.size() == 1 && pc[0] == kStar) {
            for (size_t k = ni; k <= n.size(); ++k) {
                if (MatchFrom(p, pi + 1, n, k, lastDot)) return true;
            }
            return false;
        }
        if (pc.size() == 1 && pc[0] == kDosStar) {
            // Zero or more characters, never the name's final dot.
            for (size_t k = ni; k <= n.size(); ++k) {
                if (MatchFrom(p, pi + 1, n, k, lastDot)) return true;
                if (k < n.size() && k == lastDot) return false;
            }
            return false;
        }
        if (pc.size() == 1 && pc[0] == kDosQm) {
            // Any one character; zero at a dot or at the end.
            if (ni == n.size() || n[ni] == ".") {
                ++pi;
                continue;
            }
            ++pi;
            ++ni;
            continue;
        }
        if (pc.size() == 1 && pc[0] == kDosDot) {
            // A dot, or nothing at the end of the name.
            if (ni == n.size()) {
                ++pi;
                continue;
            }
            if (n[ni] != ".") return false;
            ++pi;
            ++ni;
            continue;
        }
        if (ni >= n.size() || n[ni] != pc) return false;
        ++pi;
        ++ni;
    }
    return ni == n.size();
}

void CopyName(const std::string& name, FindEntry* entry) {
    std::memset(entry->name, 0, sizeof entry->name);
    std::memcpy(entry->name, name.data(), std::min(name.size(), sizeof entry->name - 1));
}

char DriveLetterOf(const char* root) {
    if (!root || !root[0] || root[1] != ':') return 0;
    char c = root[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return (c >= 'A' && c <= 'Z') ? c : 0;
}

}  // namespace

bool MatchesWildcard(const std::string& pattern, const std::string& name) {
    std::vector<std::string> p = Chars(pattern);
    if (pattern == "*.*") p = Chars("*");
    for (size_t i = 0; i < p.size(); ++i) {
        if (p[i].size() != 1) continue;
        char next = i + 1 < p.size() && p[i + 1].size() == 1 ? p[i + 1][0] : 0;
        bool atEnd = i + 1 == p.size();
        if (p[i][0] == '?') {
            p[i][0] = kDosQm;
        } else if (p[i][0] == '*' && next == '.') {
            p[i][0] = kDosStar;
        } else if (p[i][0] == '.' && (atEnd || next == '?' || next == '*')) {
            p[i][0] = kDosDot;
        }
    }
    std::vector<std::string> n = Chars(name);
    size_t lastDot = n.size();
    for (size_t i = 0; i < n.size(); ++i) {
        if (n[i] == ".") lastDot = i;
    }
    return MatchFrom(p, 0, n, 0, lastDot);
}

// ---- Construction -----------------------------------------------------------------------

SimWindows::SimWindows() {
    now_ = MakeFileTime(2001, 4, 1, 12, 0, 0);
    for (auto& r : registry_.roots) r = std::make_shared<RegKey>();
    AddDrive('A', kDriveRemovable, 0, false);
    AddDrive('C', kDriveFixed, 2ull << 30);
    AddDrive('D', kDriveCdrom, 0);
    desktop95_ = "C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ";
    programs95_ = "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ";
    desktopNT_ = "C:\\Documents and Settings\\User\\デスクトップ";
    programsNT_ = "C:\\Documents and Settings\\User\\スタート メニュー\\プログラム";
    for (const std::string* f : {&windowsDir_, &desktop95_, &programs95_, &desktopNT_, &programsNT_}) {
        AddFolder(*f);
    }
    AddFile(modulePath_, "");
    RegPutKey(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    RegPutKey(RegRoot::CurrentUser, "Software");
}

SimWindows::~SimWindows() = default;

FileTime SimWindows::MakeFileTime(int year, int month, int day, int hour, int minute, int second) {
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

// ---- Paths -------------------------------------------------------------------------------

bool SimWindows::Resolve(const std::string& path, std::string* full, FileCause* cause) const {
    std::string p;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (text::Cp932CharLength(path.data(), i, path.size()) == 2) {
            p += path[i];
            p += path[++i];
        } else {
            p += c == '/' ? '\\' : path[i];
        }
    }
    if (p.empty()) {
        if (cause) *cause = kCauseBadPath;
        return false;
    }
    char drive = cwd_[0];
    std::vector<std::string> parts;
    std::string rest;
    auto cwdParts = [&]() {
        std::vector<std::string> v = SplitPath(cwd_.substr(3));
        v.erase(std::remove(v.begin(), v.end(), std::string()), v.end());
        return v;
    };
    if (p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]))) {
        drive = static_cast<char>(std::toupper(static_cast<unsigned char>(p[0])));
        rest = p.substr(2);
        if ((rest.empty() || rest[0] != '\\') && drive == cwd_[0]) parts = cwdParts();
    } else if (p[0] == '\\') {
        if (p.size() > 1 && p[1] == '\\') {  // UNC names are not simulated
            if (cause) *cause = kCauseBadPath;
            return false;
        }
        rest = p;
    } else {
        parts = cwdParts();
        rest = p;
    }
    for (const std::string& c : SplitPath(rest)) {
        if (c.empty() || c == ".") continue;
        if (c == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        if (HasBadNameChar(c)) {
            if (cause) *cause = kCauseBadPath;
            return false;
        }
        parts.push_back(c);
    }
    std::string out(1, drive);
    out += ":\\";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += '\\';
        out += parts[i];
    }
    *full = out;
    return true;
}

std::string UpperCaseName(const std::string& name) {
    std::string k = name;
    for (size_t i = 0; i < k.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(k[i]);
        if (text::Cp932CharLength(k.data(), i, k.size()) == 2) {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            k[i] = static_cast<char>(c - 32);
        }
    }
    return k;
}

std::string SimWindows::Key(const std::string& full) { return UpperCaseName(full); }

std::string SimWindows::ParentOf(const std::string& full) {
    if (full.size() <= 3) return "";
    size_t b = LastBackslash(full);
    if (b == std::string::npos) return "";
    return b == 2 ? full.substr(0, 3) : full.substr(0, b);
}

std::string SimWindows::LastComponent(const std::string& full) {
    if (full.size() <= 3) return full.substr(0, 2);
    size_t b = LastBackslash(full);
    return b == std::string::npos ? full : full.substr(b + 1);
}

SimWindows::Node* SimWindows::Find(const std::string& key) {
    auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

const SimWindows::Node* SimWindows::Find(const std::string& key) const {
    auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

SimWindows::Drive* SimWindows::DriveOf(const std::string& full) {
    auto it = drives_.find(full.empty() ? 0 : full[0]);
    return it == drives_.end() ? nullptr : &it->second;
}

const SimWindows::Drive* SimWindows::DriveOf(const std::string& full) const {
    auto it = drives_.find(full.empty() ? 0 : full[0]);
    return it == drives_.end() ? nullptr : &it->second;
}

FileCause SimWindows::CheckParent(const std::string& full) const {
    const Drive* d = DriveOf(full);
    if (!d || d->type == kDriveNoRoot || d->type == kDriveUnknown) return kCauseBadPath;
    if (!d->ready) return kCauseGeneric;  // the device is not ready
    std::string parent = ParentOf(full);
    if (parent.empty()) return kCauseNone;
    const Node* n = Find(Key(parent));
    if (!n || !(n->attributes & kAttrDirectory)) return kCauseBadPath;
    return kCauseNone;
}

std::vector<std::string> SimWindows::ChildrenKeys(const std::string& key) const {
    std::vector<std::string> out;
    for (const auto& kv : nodes_) {
        if (kv.second.parent == key) out.push_back(kv.first);
    }
    return out;  // map order: siblings sorted by upper-cased name
}

bool SimWindows::Holds(const std::string& ancestorKey, const std::string& key) const {
    if (key == ancestorKey) return true;
    if (key.size() <= ancestorKey.size() || key.compare(0, ancestorKey.size(), ancestorKey) != 0) return false;
    return ancestorKey.back() == '\\' || key[ancestorKey.size()] == '\\';
}

SimWindows::Node& SimWindows::MakeNode(const std::string& full, uint32_t attributes) {
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

void SimWindows::EraseTree(const std::string& key) {
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        if (Holds(key, it->first)) {
            if (Drive* d = DriveOf(it->first)) d->freeBytes += it->second.data.size();
            it = nodes_.erase(it);
        } else {
            ++it;
        }
    }
}

uint32_t SimWindows::CopyOut(const std::string& text, char* buffer, uint32_t size) const {
    if (!buffer || size == 0) return 0;
    if (text.size() + 1 > size) {
        buffer[0] = 0;
        return 0;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<uint32_t>(text.size());
}

SimWindows::Faults* SimWindows::FaultsFor(const std::string& key) {
    auto it = faults_.find(key);
    return it == faults_.end() ? nullptr : &it->second;
}

SimWindows::Faults& SimWindows::FaultsAt(const std::string& path) {
    std::string full;
    if (!Resolve(path, &full, nullptr)) full = path;
    return faults_[Key(full)];
}

// ---- Test-facing: drives --------------------------------------------------------------

void SimWindows::AddDrive(char letter, int type, uint64_t freeBytes, bool ready) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    Drive d;
    d.type = type;
    d.freeBytes = freeBytes;
    d.ready = ready;
    drives_[letter] = d;
    std::string root = std::string(1, letter) + ":\\";
    if (!Find(root)) {
        Node& n = MakeNode(root, kAttrDirectory);
        n.parent.clear();
    }
}

void SimWindows::RemoveDrive(char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    EraseTree(std::string(1, letter) + ":\\");
    drives_.erase(letter);
}

void SimWindows::SetDriveType(char letter, int type) {
    drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))].type = type;
}

void SimWindows::SetDriveReady(char letter, bool ready) {
    drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))].ready = ready;
}

void SimWindows::SetFreeBytes(char letter, uint64_t bytes) {
    drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))].freeBytes = bytes;
}

uint64_t SimWindows::FreeBytes(char letter) const {
    auto it = drives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    return it == drives_.end() ? 0 : it->second.freeBytes;
}

void SimWindows::SetFreeSpaceExAvailable(bool available) { freeSpaceExAvailable_ = available; }

void SimWindows::SetFreeSpaceExFails(char letter, bool fails) {
    drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))].exFails = fails;
}

void SimWindows::SetClusterGeometry(char letter, uint32_t sectorsPerCluster, uint32_t bytesPerSector,
                                    uint32_t freeClusters, uint32_t totalClusters) {
    Drive& d = drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))];
    d.geometryFixed = true;
    d.sectorsPerCluster = sectorsPerCluster;
    d.bytesPerSector = bytesPerSector;
    d.freeClusters = freeClusters;
    d.totalClusters = totalClusters;
}

void SimWindows::FillDiskAfter(char letter, uint64_t bytes) {
    Drive& d = drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))];
    d.fillLimited = true;
    d.fillAfter = bytes;
}

// ---- Test-facing: files -----------------------------------------------------------------

bool SimWindows::AddFolder(const std::string& path, uint32_t attributes) {
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

bool SimWindows::AddFile(const std::string& path, const std::string& contents, uint32_t attributes) {
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

bool SimWindows::Exists(const std::string& path) const {
    std::string full;
    return Resolve(path, &full, nullptr) && Find(Key(full));
}

bool SimWindows::IsFolder(const std::string& path) const {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return false;
    const Node* n = Find(Key(full));
    return n && (n->attributes & kAttrDirectory);
}

bool SimWindows::IsFile(const std::string& path) const {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return false;
    const Node* n = Find(Key(full));
    return n && !(n->attributes & kAttrDirectory);
}

std::string SimWindows::Contents(const std::string& path) const {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return "";
    const Node* n = Find(Key(full));
    return n ? n->data : "";
}

bool SimWindows::SetAttributes(const std::string& path, uint32_t attributes) {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return false;
    Node* n = Find(Key(full));
    if (!n) return false;
    n->attributes = (attributes & ~static_cast<uint32_t>(kAttrDirectory)) | (n->attributes & kAttrDirectory);
    return true;
}

uint32_t SimWindows::Attributes(const std::string& path) const {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return kInvalidAttributes;
    const Node* n = Find(Key(full));
    return n ? n->attributes : kInvalidAttributes;
}

bool SimWindows::SetTimes(const std::string& path, FileTime creation, FileTime lastAccess, FileTime lastWrite) {
    std::string full;
    if (!Resolve(path, &full, nullptr)) return false;
    Node* n = Find(Key(full));
    if (!n) return false;
    n->creation = creation;
    n->lastAccess = lastAccess;
    n->lastWrite = lastWrite;
    return true;
}

FileInfo SimWindows::Info(const std::string& path) const {
    FileInfo info;
    std::string full;
    if (!Resolve(path, &full, nullptr)) return info;
    if (const Node* n = Find(Key(full))) {
        info.attributes = n->attributes;
        info.size = n->data.size();
        info.creation = n->creation;
        info.lastAccess = n->lastAccess;
        info.lastWrite = n->lastWrite;
    }
    return info;
}

std::vector<std::string> SimWindows::List(const std::string& folder) const {
    std::vector<std::string> out;
    std::string full;
    if (!Resolve(folder, &full, nullptr)) return out;
    for (const std::string& k : ChildrenKeys(Key(full))) out.push_back(Find(k)->name);
    return out;
}

bool SimWindows::RemoveTree(const std::string& path) {
    std::string full;
    if (!Resolve(path, &full, nullptr) || full.size() <= 3 || !Find(Key(full))) return false;
    EraseTree(Key(full));
    return true;
}

std::string SimWindows::FullPath(const std::string& path) const {
    std::string full;
    return Resolve(path, &full, nullptr) ? full : "";
}

std::string SimWindows::CurrentDirectory() const { return cwd_; }

// ---- Test-facing: faults --------------------------------------------------------------

void SimWindows::FailReads(const std::string& path, uint64_t after) {
    Faults& f = FaultsAt(path);
    f.failReads = true;
    f.readsAfter = after;
}

void SimWindows::FailWrites(const std::string& path, uint64_t after) {
    Faults& f = FaultsAt(path);
    f.failWrites = true;
    f.writesAfter = after;
}

void SimWindows::FailCreate(const std::string& path, FileCause cause) { FaultsAt(path).createCause = cause; }
void SimWindows::FailOpenForRead(const std::string& path, FileCause cause) { FaultsAt(path).openCause = cause; }
void SimWindows::FailClose(const std::string& path, FileCause cause) { FaultsAt(path).closeCause = cause; }
void SimWindows::FailSetTimes(const std::string& path) { FaultsAt(path).failSetTimes = true; }
void SimWindows::FailDelete(const std::string& path) { FaultsAt(path).failDelete = true; }
void SimWindows::ClearFaults() { faults_.clear(); }

// ---- Files --------------------------------------------------------------------------

static void SetCause(FileCause* cause, FileCause value) {
    if (cause) *cause = value;
}

FileHandle SimWindows::OpenForRead(const char* path, FileCause* cause) {
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
    FileHandle h = nextHandle_++;
    OpenFile of;
    of.key = key;
    files_[h] = of;
    SetCause(cause, kCauseNone);
    return h;
}

FileHandle SimWindows::OpenForWriting(const char* path, bool truncate, FileCause* cause) {
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
    FileHandle h = nextHandle_++;
    OpenFile of;
    of.key = key;
    of.write = true;
    of.position = truncate ? 0 : n->data.size();
    files_[h] = of;
    SetCause(cause, kCauseNone);
    return h;
}

FileHandle SimWindows::CreateForWrite(const char* path, FileCause* cause) { return OpenForWriting(path, true, cause); }
FileHandle SimWindows::OpenForAppend(const char* path, FileCause* cause) { return OpenForWriting(path, false, cause); }

bool SimWindows::ReadFile(FileHandle f, void* buffer, uint32_t size, uint32_t* got, FileCause* cause) {
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

bool SimWindows::WriteFile(FileHandle f, const void* data, uint32_t size, FileCause* cause) {
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

bool SimWindows::CloseFile(FileHandle f, FileCause* cause) {
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

bool SimWindows::GetFileSize(FileHandle f, uint64_t* size) {
    auto it = files_.find(f);
    if (it == files_.end()) return false;
    *size = Find(it->second.key)->data.size();
    return true;
}

bool SimWindows::GetOpenFileInfo(FileHandle f, FileInfo* info) {
    auto it = files_.find(f);
    if (it == files_.end()) return false;
    const Node* n = Find(it->second.key);
    if (!n) return false;
    info->attributes = n->attributes;
    info->size = n->data.size();
    info->creation = n->creation;
    info->lastAccess = n->lastAccess;
    info->lastWrite = n->lastWrite;
    return true;
}

bool SimWindows::SeekFile(FileHandle f, uint64_t position) {
    auto it = files_.find(f);
    if (it == files_.end()) return false;
    it->second.position = position;
    return true;
}

// ---- By path -----------------------------------------------------------------------------

bool SimWindows::GetFileInfo(const char* path, FileInfo* info) {
    std::string full;
    if (!path || !Resolve(path, &full, nullptr) || HasWildcard(full)) return false;
    if (CheckParent(full) != kCauseNone) return false;
    const Node* n = Find(Key(full));
    if (!n) return false;
    info->attributes = n->attributes;
    info->size = n->data.size();
    info->creation = n->creation;
    info->lastAccess = n->lastAccess;
    info->lastWrite = n->lastWrite;
    return true;
}

bool SimWindows::SetFileTimes(const char* path, FileTime creation, FileTime lastAccess, FileTime lastWrite) {
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

bool SimWindows::DeleteFile(const char* path) {
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

bool SimWindows::MoveFile(const char* from, const char* to) {
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

bool SimWindows::CreateDirectory(const char* path) {
    std::string full;
    if (!path || !Resolve(path, &full, nullptr) || HasWildcard(full) || full.size() <= 3) return false;
    std::string key = Key(full);
    if (Faults* f = FaultsFor(key); f && f->createCause != kCauseNone) return false;
    if (CheckParent(full) != kCauseNone || Find(key)) return false;
    if (DriveOf(full)->type == kDriveCdrom) return false;
    MakeNode(full, kAttrDirectory);
    return true;
}

bool SimWindows::RemoveDirectory(const char* path) {
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

uint32_t SimWindows::GetCurrentDirectory(char* buffer, uint32_t size) { return CopyOut(cwd_, buffer, size); }

bool SimWindows::SetCurrentDirectory(const char* path) {
    std::string full;
    if (!path || !Resolve(path, &full, nullptr) || HasWildcard(full)) return false;
    if (CheckParent(full) != kCauseNone) return false;
    const Node* n = Find(Key(full));
    if (!n || !(n->attributes & kAttrDirectory)) return false;
    cwd_ = full;
    return true;
}

// ---- Search ------------------------------------------------------------------------------

SearchHandle SimWindows::FindFirst(const char* pattern, FindEntry* entry) {
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
    auto add = [&](const std::string& name, const Node& n) {
        FindEntry e;
        CopyName(name, &e);
        e.attributes = n.attributes;
        e.size = n.data.size();
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
    if (s.entries.empty()) return 0;
    *entry = s.entries[0];
    s.next = 1;
    SearchHandle h = nextHandle_++;
    searches_[h] = s;
    return h;
}

bool SimWindows::FindNext(SearchHandle search, FindEntry* entry) {
    auto it = searches_.find(search);
    if (it == searches_.end() || it->second.next >= it->second.entries.size()) return false;
    *entry = it->second.entries[it->second.next++];
    return true;
}

void SimWindows::FindClose(SearchHandle search) { searches_.erase(search); }

// ---- Drives -------------------------------------------------------------------------------

int SimWindows::GetDriveType(const char* root) {
    char letter = root ? DriveLetterOf(root) : cwd_[0];
    auto it = drives_.find(letter);
    return it == drives_.end() ? kDriveNoRoot : it->second.type;
}

bool SimWindows::GetDiskFreeSpaceEx(const char* root, uint64_t* totalFree) {
    if (!freeSpaceExAvailable_) return false;
    auto it = drives_.find(DriveLetterOf(root));
    if (it == drives_.end() || !it->second.ready || it->second.exFails || it->second.type <= kDriveNoRoot) return false;
    *totalFree = it->second.freeBytes;
    return true;
}

bool SimWindows::GetDiskFreeSpace(const char* root, uint32_t* sectorsPerCluster, uint32_t* bytesPerSector,
                                  uint32_t* freeClusters, uint32_t* totalClusters) {
    auto it = drives_.find(DriveLetterOf(root));
    if (it == drives_.end() || !it->second.ready || it->second.type <= kDriveNoRoot) return false;
    const Drive& d = it->second;
    uint32_t freeC = d.freeClusters, totalC = d.totalClusters;
    if (!d.geometryFixed) {
        uint64_t c = d.freeBytes / (8 * 512);
        freeC = static_cast<uint32_t>(std::min<uint64_t>(c, 0xFFFFFFFFu));
        totalC = static_cast<uint32_t>(std::min<uint64_t>(c + 262144, 0xFFFFFFFFu));
    }
    *sectorsPerCluster = d.geometryFixed ? d.sectorsPerCluster : 8;
    *bytesPerSector = d.geometryFixed ? d.bytesPerSector : 512;
    *freeClusters = freeC;
    *totalClusters = totalC;
    return true;
}

}  // namespace plat
