// The simulated Windows: system facts, registry, windows, processes, shell links and the
// user interface (message boxes and the message queue).
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/sim/sim_windows.h"
#include "text/lead_bytes.h"

namespace plat {

namespace {

enum : uint32_t { kKeyQueryValue = 0x1, kKeySetValue = 0x2, kKeyCreateSubKey = 0x4 };
enum : long { kErrInvalidHandle = 6, kErrInvalidParameter = 87, kErrBadPathname = 161, kErrNoAccess = 998,
              kErrKeyDeleted = 1018 };

void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}
void Set32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

// ---- System facts ------------------------------------------------------------------------

void SimWindows::SetFamily95() {
    version_.platformId = 1;
    version_.major = 4;
    version_.minor = 10;
    version_.build = 0x040A07CE;
}

void SimWindows::SetFamilyNT() { version_ = VersionInfo{}; }

void SimWindows::SetSpecialFolder(SpecialFolder which, const std::string& path) {
    if (which == SpecialFolder::Desktop) {
        desktopSet_ = true;
        desktopOverride_ = path;
    } else {
        programsSet_ = true;
        programsOverride_ = path;
    }
}

uint32_t SimWindows::GetModuleFileName(char* buffer, uint32_t size) { return CopyOut(modulePath_, buffer, size); }

uint32_t SimWindows::GetWindowsDirectory(char* buffer, uint32_t size) { return CopyOut(windowsDir_, buffer, size); }

bool SimWindows::GetSpecialFolder(SpecialFolder which, char* buffer, uint32_t size) {
    bool nt = version_.platformId == 2;
    std::string path;
    if (which == SpecialFolder::Desktop) {
        path = desktopSet_ ? desktopOverride_ : (nt ? desktopNT_ : desktop95_);
    } else {
        path = programsSet_ ? programsOverride_ : (nt ? programsNT_ : programs95_);
    }
    if (path.empty()) return false;
    return CopyOut(path, buffer, size) != 0;
}

void SimWindows::GetScreenSize(int* width, int* height) {
    *width = screenW_;
    *height = screenH_;
}

uint32_t SimWindows::GetTickCount() {
    uint32_t t = ticks_;
    ticks_ += tickStep_;
    return t;
}

// ---- Registry ------------------------------------------------------------------------------

namespace {

// Copies a key and everything below it; done records each copy, so an open key that
// points into the tree gets the copy of its key.
template <typename Key>
std::shared_ptr<Key> CopyKeyTree(const std::shared_ptr<Key>& key, std::map<const Key*, std::shared_ptr<Key>>* done) {
    if (!key) return nullptr;
    auto found = done->find(key.get());
    if (found != done->end()) return found->second;
    auto copy = std::make_shared<Key>(*key);
    (*done)[key.get()] = copy;
    for (auto& kv : copy->subkeys) kv.second = CopyKeyTree(kv.second, done);
    return copy;
}

}  // namespace

SimWindows::Registry::Registry(const Registry& other) : open(other.open) {
    std::map<const RegKey*, std::shared_ptr<RegKey>> done;
    for (int i = 0; i < 5; ++i) roots[i] = CopyKeyTree(other.roots[i], &done);
    // An open key may be one deleted from its tree since: it is copied on its own.
    for (auto& kv : open) kv.second.key = CopyKeyTree(kv.second.key, &done);
}

std::shared_ptr<SimWindows::RegKey> SimWindows::RegRootKey(RegRoot root) const {
    int i = static_cast<int>(root);
    return i >= 0 && i < 5 ? registry_.roots[i] : nullptr;
}

bool SimWindows::SplitRegPath(const std::string& path, std::vector<std::string>* parts) {
    parts->clear();
    if (!path.empty() && path[0] == '\\') return false;
    std::string cur;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (text::Cp932CharLength(path.data(), i, path.size()) == 2) {
            cur += path[i];
            cur += path[++i];
        } else if (c == '\\') {
            if (!cur.empty()) parts->push_back(cur);
            cur.clear();
        } else {
            cur += path[i];
        }
    }
    if (!cur.empty()) parts->push_back(cur);
    return true;
}

std::shared_ptr<SimWindows::RegKey> SimWindows::RegWalk(RegRoot root, const std::string& path) const {
    std::vector<std::string> parts;
    std::shared_ptr<RegKey> cur = RegRootKey(root);
    if (!cur || !SplitRegPath(path, &parts)) return nullptr;
    for (const std::string& p : parts) {
        auto it = cur->subkeys.find(UpperCaseName(p));
        if (it == cur->subkeys.end()) return nullptr;
        cur = it->second;
    }
    return cur;
}

std::shared_ptr<SimWindows::RegKey> SimWindows::RegWalkOrCreate(RegRoot root, const std::string& path,
                                                                bool* created) {
    std::vector<std::string> parts;
    std::shared_ptr<RegKey> cur = RegRootKey(root);
    if (!cur || !SplitRegPath(path, &parts)) return nullptr;
    *created = false;
    for (const std::string& p : parts) {
        auto& slot = cur->subkeys[UpperCaseName(p)];
        if (!slot) {
            slot = std::make_shared<RegKey>();
            slot->name = p;
            *created = true;
        } else {
            *created = false;
        }
        cur = slot;
    }
    return cur;
}

void SimWindows::MarkDeleted(RegKey& key) {
    key.deleted = true;
    for (auto& kv : key.subkeys) MarkDeleted(*kv.second);
}

SimWindows::OpenKey* SimWindows::FindKey(KeyHandle key) {
    auto it = registry_.open.find(key);
    return it == registry_.open.end() ? nullptr : &it->second;
}

long SimWindows::RegCreateKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key, bool* created) {
    *key = 0;
    if (created) *created = false;
    std::vector<std::string> parts;
    std::shared_ptr<RegKey> cur = RegRootKey(root);
    if (!cur) return kErrInvalidHandle;
    if (!SplitRegPath(path ? path : "", &parts)) return kErrBadPathname;
    bool made = false;
    for (const std::string& p : parts) {
        auto it = cur->subkeys.find(UpperCaseName(p));
        if (it != cur->subkeys.end()) {
            cur = it->second;
            made = false;
            continue;
        }
        if (cur->readOnly) return kRegAccessDenied;
        auto k = std::make_shared<RegKey>();
        k->name = p;
        cur->subkeys[UpperCaseName(p)] = k;
        cur = k;
        made = true;
    }
    if (cur->readOnly && (access & (kKeySetValue | kKeyCreateSubKey))) return kRegAccessDenied;
    KeyHandle h = nextHandle_++;
    registry_.open[h] = OpenKey{cur, access};
    *key = h;
    if (created) *created = made;
    return kRegOk;
}

long SimWindows::RegOpenKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key) {
    *key = 0;
    if (!RegRootKey(root)) return kErrInvalidHandle;
    std::vector<std::string> parts;
    if (!SplitRegPath(path ? path : "", &parts)) return kErrBadPathname;
    std::shared_ptr<RegKey> k = RegWalk(root, path ? path : "");
    if (!k) return kRegNotFound;
    if (k->readOnly && (access & (kKeySetValue | kKeyCreateSubKey))) return kRegAccessDenied;
    KeyHandle h = nextHandle_++;
    registry_.open[h] = OpenKey{k, access};
    *key = h;
    return kRegOk;
}

long SimWindows::RegCloseKey(KeyHandle key) { return registry_.open.erase(key) ? static_cast<long>(kRegOk) : static_cast<long>(kErrInvalidHandle); }

long SimWindows::RegSetValue(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size) {
    OpenKey* k = FindKey(key);
    if (!k) return kErrInvalidHandle;
    if (k->key->deleted) return kErrKeyDeleted;
    if (!(k->access & kKeySetValue)) return kRegAccessDenied;
    if (!data && size) return kErrNoAccess;
    std::string n = name ? name : "";
    RegValue& v = k->key->values[UpperCaseName(n)];
    v.name = n;
    v.type = type;
    v.bytes.assign(static_cast<const char*>(data ? data : ""), size);
    return kRegOk;
}

long SimWindows::RegQueryValue(KeyHandle key, const char* name, uint32_t* type, void* data, uint32_t* size) {
    OpenKey* k = FindKey(key);
    if (!k) return kErrInvalidHandle;
    if (k->key->deleted) return kErrKeyDeleted;
    if (!(k->access & kKeyQueryValue)) return kRegAccessDenied;
    if (data && !size) return kErrInvalidParameter;
    auto it = k->key->values.find(UpperCaseName(name ? name : ""));
    if (it == k->key->values.end()) return kRegNotFound;
    const RegValue& v = it->second;
    if (type) *type = v.type;
    if (!size) return kRegOk;
    uint32_t stored = static_cast<uint32_t>(v.bytes.size());
    if (data && *size < stored) {
        *size = stored;
        return kRegMoreData;
    }
    if (data && stored) std::memcpy(data, v.bytes.data(), stored);
    *size = stored;
    return kRegOk;
}

long SimWindows::RegDeleteValue(KeyHandle key, const char* name) {
    OpenKey* k = FindKey(key);
    if (!k) return kErrInvalidHandle;
    if (k->key->deleted) return kErrKeyDeleted;
    if (!(k->access & kKeySetValue)) return kRegAccessDenied;
    return k->key->values.erase(UpperCaseName(name ? name : "")) ? kRegOk : kRegNotFound;
}

long SimWindows::RegDeleteKey(RegRoot root, const char* path) {
    std::vector<std::string> parts;
    if (!RegRootKey(root)) return kErrInvalidHandle;
    if (!SplitRegPath(path ? path : "", &parts)) return kErrBadPathname;
    if (parts.empty()) return kRegAccessDenied;  // a root cannot be deleted
    std::string parentPath;
    for (size_t i = 0; i + 1 < parts.size(); ++i) parentPath += parts[i] + "\\";
    std::shared_ptr<RegKey> parent = RegWalk(root, parentPath);
    if (!parent) return kRegNotFound;
    auto it = parent->subkeys.find(UpperCaseName(parts.back()));
    if (it == parent->subkeys.end()) return kRegNotFound;
    if (parent->readOnly || it->second->readOnly) return kRegAccessDenied;
    // The NT family deletes only leaf keys; the 95 family takes the subtree with it.
    if (!it->second->subkeys.empty() && version_.platformId == 2) return kRegAccessDenied;
    MarkDeleted(*it->second);
    parent->subkeys.erase(it);
    return kRegOk;
}

bool SimWindows::RegKeyExists(RegRoot root, const std::string& path) const { return RegWalk(root, path) != nullptr; }

bool SimWindows::RegPutKey(RegRoot root, const std::string& path) {
    bool created;
    return RegWalkOrCreate(root, path, &created) != nullptr;
}

bool SimWindows::RegPutValue(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                             const std::string& bytes) {
    bool created;
    std::shared_ptr<RegKey> k = RegWalkOrCreate(root, path, &created);
    if (!k) return false;
    RegValue& v = k->values[UpperCaseName(name)];
    v.name = name;
    v.type = type;
    v.bytes = bytes;
    return true;
}

bool SimWindows::RegGetValue(RegRoot root, const std::string& path, const std::string& name, uint32_t* type,
                             std::string* bytes) const {
    std::shared_ptr<RegKey> k = RegWalk(root, path);
    if (!k) return false;
    auto it = k->values.find(UpperCaseName(name));
    if (it == k->values.end()) return false;
    if (type) *type = it->second.type;
    if (bytes) *bytes = it->second.bytes;
    return true;
}

std::string SimWindows::RegGetString(RegRoot root, const std::string& path, const std::string& name) const {
    std::string bytes;
    if (!RegGetValue(root, path, name, nullptr, &bytes)) return "";
    size_t z = bytes.find('\0');
    return z == std::string::npos ? bytes : bytes.substr(0, z);
}

std::vector<std::string> SimWindows::RegSubkeys(RegRoot root, const std::string& path) const {
    std::vector<std::string> out;
    if (std::shared_ptr<RegKey> k = RegWalk(root, path)) {
        for (const auto& kv : k->subkeys) out.push_back(kv.second->name);
    }
    return out;
}

std::vector<std::string> SimWindows::RegValueNames(RegRoot root, const std::string& path) const {
    std::vector<std::string> out;
    if (std::shared_ptr<RegKey> k = RegWalk(root, path)) {
        for (const auto& kv : k->values) out.push_back(kv.second.name);
    }
    return out;
}

bool SimWindows::RegSetReadOnly(RegRoot root, const std::string& path, bool readOnly) {
    std::shared_ptr<RegKey> k = RegWalk(root, path);
    if (!k) return false;
    k->readOnly = readOnly;
    return true;
}

// ---- Windows ---------------------------------------------------------------------------------

WindowHandle SimWindows::AddWindow(const std::string& title, const std::string& className) {
    WindowHandle h = nextHandle_++;
    windows_[h] = Window{title, className};
    return h;
}

void SimWindows::RemoveWindow(WindowHandle window) { windows_.erase(window); }

WindowHandle SimWindows::FindWindowByTitle(const char* title) {
    for (const auto& kv : windows_) {
        if (title && UpperCaseName(kv.second.title) == UpperCaseName(title)) return kv.first;
    }
    return 0;
}

WindowHandle SimWindows::FindWindowByClass(const char* className) {
    for (const auto& kv : windows_) {
        if (className && UpperCaseName(kv.second.className) == UpperCaseName(className)) return kv.first;
    }
    return 0;
}

void SimWindows::BringWindowToFront(WindowHandle window) {
    windowEvents_.push_back({window, WindowAction::BroughtToFront});
}

void SimWindows::ShowWindowNormal(WindowHandle window) { windowEvents_.push_back({window, WindowAction::ShownNormal}); }

// ---- Processes ---------------------------------------------------------------------------------

SimWindows::ProcessRecord* SimWindows::FindProcess(ProcessHandle process) {
    for (ProcessRecord& p : processes_) {
        if (p.handle == process && process) return &p;
    }
    return nullptr;
}

void SimWindows::SetProcessUnstartable(const std::string& module) { unstartable_.insert(Key(FullPath(module))); }

ProcessHandle SimWindows::StartProcess(const char* module, const char* commandLine) {
    std::string full;
    bool ok = module && Resolve(module, &full, nullptr);
    if (!ok || unstartable_.count(Key(full)) || (requireProgramFiles_ && !IsFile(full))) {
        failedStarts_.push_back(ok ? full : (module ? module : ""));
        return 0;
    }
    ProcessRecord p;
    p.handle = nextHandle_++;
    p.module = module;
    p.commandLine = commandLine ? commandLine : "";
    p.currentDirectory = cwd_;
    p.pollsUntilEnd = defaultPolls_;
    processes_.push_back(p);
    return p.handle;
}

void SimWindows::WaitForInputIdle(ProcessHandle process) {
    if (ProcessRecord* p = FindProcess(process)) p->waitForInputIdleCalls++;
}

bool SimWindows::ProcessHasEnded(ProcessHandle process) {
    ProcessRecord* p = FindProcess(process);
    if (!p || p->closed || p->ended) return true;  // the exit-code query fails or says so
    if (p->pollsUntilEnd == 0) {
        p->ended = true;
        return true;
    }
    if (p->pollsUntilEnd > 0) p->pollsUntilEnd--;
    return false;
}

void SimWindows::EndProcess(ProcessHandle process) {
    if (ProcessRecord* p = FindProcess(process)) p->ended = true;
}

void SimWindows::EndAllProcesses() {
    for (ProcessRecord& p : processes_) p.ended = true;
}

void SimWindows::CloseProcess(ProcessHandle process) {
    if (ProcessRecord* p = FindProcess(process)) p->closed = true;
}

unsigned SimWindows::WinExec(const char* commandLine, int show) {
    winExecs_.push_back({commandLine ? commandLine : "", show});
    return winExecResult_;
}

// ---- Shell ---------------------------------------------------------------------------------------

bool SimWindows::InitializeCom() {
    comInit_++;
    comInitCalls_++;
    return true;
}

void SimWindows::UninitializeCom() {
    if (comInit_ > 0) comInit_--;
}

std::string SimWindows::MakeLinkFileBytes(const std::string& target, const std::string& description) {
    enum : uint32_t { kHasLinkInfo = 0x2, kHasName = 0x4 };
    std::string s;
    Put32(s, 0x4C);
    static const unsigned char kClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                             0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    s.append(reinterpret_cast<const char*>(kClsid), 16);
    Put32(s, kHasLinkInfo | (description.empty() ? 0u : static_cast<uint32_t>(kHasName)));
    Put32(s, 0);                    // target attributes
    s.append(24, '\0');             // creation, access and write times
    Put32(s, 0);                    // target size
    Put32(s, 0);                    // icon index
    Put32(s, 1);                    // show normally
    Put16(s, 0);                    // hot key
    s.append(10, '\0');             // reserved
    // Link information: a volume and the target as local base path.
    size_t info = s.size();
    Put32(s, 0);     // size, set below
    Put32(s, 0x1C);  // header size
    Put32(s, 1);     // volume id and local base path
    Put32(s, 0x1C);  // volume id offset
    Put32(s, 0);     // local base path offset, set below
    Put32(s, 0);     // no network part
    Put32(s, 0);     // common path suffix offset, set below
    Put32(s, 0x11);  // volume id: size, drive type, serial, label offset, empty label
    Put32(s, kDriveFixed);
    Put32(s, 0x20010401);
    Put32(s, 0x10);
    s += '\0';
    Set32(s, info + 16, static_cast<uint32_t>(s.size() - info));
    s += target;
    s += '\0';
    Set32(s, info + 24, static_cast<uint32_t>(s.size() - info));
    s += '\0';
    Set32(s, info, static_cast<uint32_t>(s.size() - info));
    if (!description.empty()) {
        Put16(s, static_cast<uint16_t>(description.size()));
        s += description;
    }
    Put32(s, 0);  // no extra data
    return s;
}

long SimWindows::CreateShellLink(const char* target, const char* linkPath, const char* description) {
    ShellLinkRecord rec{target ? target : "", linkPath ? linkPath : "", description ? description : "", 0};
    long hr = 0;
    if (linkUnavailable_) {
        hr = static_cast<long>(0x80040154);  // class not registered
    } else if (requireCom_ && comInit_ == 0) {
        hr = static_cast<long>(0x800401F0);  // COM not initialised
    } else {
        FileCause cause = kCauseNone;
        FileHandle f = CreateForWrite(rec.linkPath.c_str(), &cause);
        std::string bytes = MakeLinkFileBytes(rec.target, rec.description);
        if (f && !WriteFile(f, bytes.data(), static_cast<uint32_t>(bytes.size()), &cause)) {
            CloseFile(f, nullptr);
            DeleteFile(rec.linkPath.c_str());
            f = 0;
        } else if (f && !CloseFile(f, &cause)) {
            f = 0;
        }
        if (!f) {
            switch (cause) {
                case kCauseBadPath: hr = static_cast<long>(0x80070003); break;
                case kCauseAccessDenied: hr = static_cast<long>(0x80070005); break;
                case kCauseDiskFull: hr = static_cast<long>(0x80070070); break;
                default: hr = static_cast<long>(0x80004005); break;
            }
        }
    }
    rec.result = hr;
    links_.push_back(rec);
    return hr;
}

void SimWindows::NotifyShellItemDeleted(const char* path) { notifications_.push_back(path ? path : ""); }

// ---- User interface ------------------------------------------------------------------------------

int SimWindows::MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    if (++boxCount_ > boxLimit_) {
        // Thrown, so that the test fails and the others still run.
        throw std::runtime_error("SimWindows: too many message boxes; is a loop waiting for an answer the test never queued?");
    }
    MessageBoxCall call;
    call.owner = owner;
    call.text = text ? text : "";
    call.caption = caption ? caption : "";
    call.style = style;
    int answer = boxHook_ ? boxHook_(call) : 0;
    if (!answer && !answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (!answer) {
        switch (style & 0xF) {
            case kMbOkCancel: answer = kIdCancel; break;
            case kMbYesNo: answer = kIdNo; break;
            case 3: answer = kIdCancel; break;  // Yes/No/Cancel
            default: answer = kIdOk; break;
        }
    }
    call.answer = answer;
    boxes_.push_back(call);
    return answer;
}

bool SimWindows::PeekMessage(PeekedMessage* message) {
    peekCalls_++;
    if (peekHook_) peekHook_();
    if (messages_.empty()) return false;
    QueuedMessage m = messages_.front();
    messages_.pop_front();
    *message = PeekedMessage{};
    message->isQuit = m.kind == MessageKind::Quit;
    message->isEnterKeyDown = m.kind == MessageKind::EnterKeyDown;
    message->opaque[0] = static_cast<uintptr_t>(m.kind);
    message->opaque[1] = static_cast<uintptr_t>(m.id);
    return true;
}

void SimWindows::DispatchMessage(const PeekedMessage& message) {
    QueuedMessage m;
    m.kind = static_cast<MessageKind>(message.opaque[0]);
    m.id = static_cast<int>(message.opaque[1]);
    dispatched_.push_back(m);
    if (dispatchHook_) dispatchHook_(m);
}

void SimWindows::PostQuitMessage(int code) {
    quits_.push_back(code);
    messages_.push_back({MessageKind::Quit, code});
}

}  // namespace plat
