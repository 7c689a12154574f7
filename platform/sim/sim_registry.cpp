// The simulated Windows' registry (see sim_registry.h).
#include "platform/sim/sim_registry.h"

#include <cstring>

#include "platform/sim/sim_path_rules.h"

namespace plat {

namespace {

enum : uint32_t { kKeyQueryValue = 0x1, kKeySetValue = 0x2, kKeyCreateSubKey = 0x4 };
enum : long {
    kErrInvalidHandle = 6,
    kErrInvalidParameter = 87,
    kErrBadPathname = 161,
    kErrNoAccess = 998,
    kErrKeyDeleted = 1018
};

}  // namespace

SimRegistry::SimRegistry() {
    for (auto& r : roots_) r = std::make_shared<RegKey>();
}

namespace {

// Copies a key and everything below it; done records each copy, so that an open key that
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

SimRegistry::SimRegistry(const SimRegistry& other) : SimPart(other), keys_(other.keys_) {
    std::map<const RegKey*, std::shared_ptr<RegKey>> done;
    for (int i = 0; i < 5; ++i) roots_[i] = CopyKeyTree(other.roots_[i], &done);
    // An open key may be one deleted from its tree since: it is copied on its own.
    for (auto& kv : keys_) kv.second.key = CopyKeyTree(kv.second.key, &done);
}

std::shared_ptr<SimRegistry::RegKey> SimRegistry::RegRootKey(RegRoot root) const {
    int i = static_cast<int>(root);
    return i >= 0 && i < 5 ? roots_[i] : nullptr;
}

bool SimRegistry::SplitRegPath(const std::string& path, std::vector<std::string>* parts) {
    parts->clear();
    if (!path.empty() && path[0] == '\\') return false;
    for (const std::string& part : sim::SplitPath(path)) {
        if (!part.empty()) parts->push_back(part);  // doubled and trailing backslashes name no key
    }
    return true;
}

std::shared_ptr<SimRegistry::RegKey> SimRegistry::RegWalk(RegRoot root, const std::string& path) const {
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

std::shared_ptr<SimRegistry::RegKey> SimRegistry::RegWalkOrCreate(RegRoot root, const std::string& path,
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

void SimRegistry::MarkDeleted(RegKey& key) {
    key.deleted = true;
    for (auto& kv : key.subkeys) MarkDeleted(*kv.second);
}

SimRegistry::OpenKey* SimRegistry::FindKey(KeyHandle key) {
    auto it = keys_.find(key);
    return it == keys_.end() ? nullptr : &it->second;
}

long SimRegistry::RegCreateKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key, bool* created) {
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
    KeyHandle h = NewHandle();
    keys_[h] = OpenKey{cur, access};
    *key = h;
    if (created) *created = made;
    return kRegOk;
}

long SimRegistry::RegOpenKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key) {
    *key = 0;
    if (!RegRootKey(root)) return kErrInvalidHandle;
    std::vector<std::string> parts;
    if (!SplitRegPath(path ? path : "", &parts)) return kErrBadPathname;
    std::shared_ptr<RegKey> k = RegWalk(root, path ? path : "");
    if (!k) return kRegNotFound;
    if (k->readOnly && (access & (kKeySetValue | kKeyCreateSubKey))) return kRegAccessDenied;
    KeyHandle h = NewHandle();
    keys_[h] = OpenKey{k, access};
    *key = h;
    return kRegOk;
}

long SimRegistry::RegCloseKey(KeyHandle key) {
    return keys_.erase(key) ? static_cast<long>(kRegOk) : static_cast<long>(kErrInvalidHandle);
}

long SimRegistry::RegSetValue(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size) {
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

long SimRegistry::RegQueryValue(KeyHandle key, const char* name, uint32_t* type, void* data, uint32_t* size) {
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

long SimRegistry::RegDeleteValue(KeyHandle key, const char* name) {
    OpenKey* k = FindKey(key);
    if (!k) return kErrInvalidHandle;
    if (k->key->deleted) return kErrKeyDeleted;
    if (!(k->access & kKeySetValue)) return kRegAccessDenied;
    return k->key->values.erase(UpperCaseName(name ? name : "")) ? kRegOk : kRegNotFound;
}

long SimRegistry::RegDeleteKey(RegRoot root, const char* path) {
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
    if (!it->second->subkeys.empty() && GetVersion().platformId == 2) return kRegAccessDenied;
    MarkDeleted(*it->second);
    parent->subkeys.erase(it);
    return kRegOk;
}

bool SimRegistry::RegKeyExists(RegRoot root, const std::string& path) const { return RegWalk(root, path) != nullptr; }

bool SimRegistry::RegPutKey(RegRoot root, const std::string& path) {
    bool created;
    return RegWalkOrCreate(root, path, &created) != nullptr;
}

bool SimRegistry::RegPutValue(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
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

bool SimRegistry::RegGetValue(RegRoot root, const std::string& path, const std::string& name, uint32_t* type,
                              std::string* bytes) const {
    std::shared_ptr<RegKey> k = RegWalk(root, path);
    if (!k) return false;
    auto it = k->values.find(UpperCaseName(name));
    if (it == k->values.end()) return false;
    if (type) *type = it->second.type;
    if (bytes) *bytes = it->second.bytes;
    return true;
}

std::string SimRegistry::RegGetString(RegRoot root, const std::string& path, const std::string& name) const {
    std::string bytes;
    if (!RegGetValue(root, path, name, nullptr, &bytes)) return "";
    size_t z = bytes.find('\0');
    return z == std::string::npos ? bytes : bytes.substr(0, z);
}

std::vector<std::string> SimRegistry::RegSubkeys(RegRoot root, const std::string& path) const {
    std::vector<std::string> out;
    if (std::shared_ptr<RegKey> k = RegWalk(root, path)) {
        for (const auto& kv : k->subkeys) out.push_back(kv.second->name);
    }
    return out;
}

std::vector<std::string> SimRegistry::RegValueNames(RegRoot root, const std::string& path) const {
    std::vector<std::string> out;
    if (std::shared_ptr<RegKey> k = RegWalk(root, path)) {
        for (const auto& kv : k->values) out.push_back(kv.second.name);
    }
    return out;
}

bool SimRegistry::RegSetReadOnly(RegRoot root, const std::string& path, bool readOnly) {
    std::shared_ptr<RegKey> k = RegWalk(root, path);
    if (!k) return false;
    k->readOnly = readOnly;
    return true;
}

}  // namespace plat
