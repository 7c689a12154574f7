// The simulated Windows' registry. It has five roots; values are stored byte for byte
// with exactly the size given; a handle opened without KEY_SET_VALUE cannot set or delete
// values (access denied); on the NT family RegDeleteKey refuses a key with subkeys
// (access denied), on the 95 family it removes the whole subtree; keys marked read-only
// cannot be opened with write access nor get new subkeys (access denied).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_part.h"

namespace plat {

class SimRegistry : public virtual SimPart {
public:
    SimRegistry();
    // The copy's keys are copies: two simulations never share a key.
    SimRegistry(const SimRegistry& other);
    SimRegistry& operator=(const SimRegistry&) = delete;

    // ---- Test-facing API ---------------------------------------------------------------
    bool RegKeyExists(RegRoot root, const std::string& path) const;
    bool RegPutKey(RegRoot root, const std::string& path);  // with missing parents
    // Stores a value (creating the key). For REG_SZ pass the bytes exactly as stored.
    bool RegPutValue(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                     const std::string& bytes);
    // The stored bytes and type of a value; false when key or value is missing.
    bool RegGetValue(RegRoot root, const std::string& path, const std::string& name, uint32_t* type,
                     std::string* bytes) const;
    // A REG_SZ's text up to its first zero byte (or all of it); "" when missing.
    std::string RegGetString(RegRoot root, const std::string& path, const std::string& name) const;
    std::vector<std::string> RegSubkeys(RegRoot root, const std::string& path) const;
    std::vector<std::string> RegValueNames(RegRoot root, const std::string& path) const;
    // A read-only key cannot be opened with write access nor get subkeys or be deleted.
    bool RegSetReadOnly(RegRoot root, const std::string& path, bool readOnly);
    int OpenKeyCount() const { return static_cast<int>(keys_.size()); }  // for leak checks

    // ---- plat::Platform ----------------------------------------------------------------
    long RegCreateKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key, bool* created) override;
    long RegOpenKey(RegRoot root, const char* path, uint32_t access, KeyHandle* key) override;
    long RegCloseKey(KeyHandle key) override;
    long RegSetValue(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size) override;
    long RegQueryValue(KeyHandle key, const char* name, uint32_t* type, void* data, uint32_t* size) override;
    long RegDeleteValue(KeyHandle key, const char* name) override;
    long RegDeleteKey(RegRoot root, const char* path) override;

private:
    struct RegValue {
        std::string name;
        uint32_t type = kRegNone;
        std::string bytes;
    };
    struct RegKey {
        std::string name;
        std::map<std::string, std::shared_ptr<RegKey>> subkeys;  // by upper-cased name
        std::map<std::string, RegValue> values;                  // by upper-cased name
        bool readOnly = false;
        bool deleted = false;
    };
    struct OpenKey {
        std::shared_ptr<RegKey> key;
        uint32_t access = 0;
    };

    std::shared_ptr<RegKey> RegRootKey(RegRoot root) const;
    std::shared_ptr<RegKey> RegWalk(RegRoot root, const std::string& path) const;
    std::shared_ptr<RegKey> RegWalkOrCreate(RegRoot root, const std::string& path, bool* created);
    static bool SplitRegPath(const std::string& path, std::vector<std::string>* parts);
    static void MarkDeleted(RegKey& key);
    OpenKey* FindKey(KeyHandle key);

    std::shared_ptr<RegKey> roots_[5];
    std::map<KeyHandle, OpenKey> keys_;
};

}  // namespace plat
