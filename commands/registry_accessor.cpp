// The installer's own registry record (SOFTWARE\Tavrel\Ostrel under HKEY_CURRENT_USER)
// and the small key tests that start-up, the options and REGJUMP use.
#include <cstring>
#include <vector>

#include "commands/registry_accessor.h"
#include "text/text_rules.h"

namespace commands {

namespace {

const char kAccessorKey[] = "SOFTWARE\\Tavrel\\Ostrel";
const char kMakerKey[] = "SOFTWARE\\Tavrel";
// Marks a new key as the installer's; stored without its terminating zero.
const char kMarkName[] = "DisplayName";
const char kMarkText[] = "Ostrel";

}  // namespace

int ReadRegistryText(plat::Platform& sys, plat::KeyHandle key, const char* name, char* buffer, uint32_t size) {
    if (!buffer || size == 0) return 0;
    uint32_t type = 0;
    uint32_t got = size;
    long status = sys.RegQueryValue(key, name, &type, buffer, &got);
    if (status == plat::kRegOk) {
        if (got > size) got = size;  // never trust a size beyond the buffer
        if (std::memchr(buffer, 0, got)) return 1;
        if (got < size) {
            buffer[got] = '\0';
            return 1;
        }
        buffer[size - 1] = '\0';  // filled to the brim without a zero: cut
        return 0;
    }
    if (status == plat::kRegMoreData) {
        // Too long for the buffer: hand back the part that fits, never more.
        buffer[0] = '\0';
        if (got <= size) return 0;
        std::vector<char> whole(got);
        uint32_t all = got;
        if (sys.RegQueryValue(key, name, &type, whole.data(), &all) == plat::kRegOk) {
            if (all > got) all = got;
            uint32_t take = all < size - 1 ? all : size - 1;
            std::memcpy(buffer, whole.data(), take);
            buffer[take] = '\0';
        }
        return 0;
    }
    return 0;
}

void OpenRegistryAccessor(Engine& e) {
    e.accessorKey = 0;
    plat::KeyHandle key = 0;
    bool created = false;
    if (e.sys->RegCreateKey(plat::RegRoot::CurrentUser, kAccessorKey, plat::kKeyAllAccess, &key, &created) !=
        plat::kRegOk)
        return;
    e.accessorKey = key;
    if (created) e.sys->RegSetValue(key, kMarkName, plat::kRegSz, kMarkText, sizeof kMarkText - 1);
    char mark[128];
    ReadSetting(e, kMarkName, mark, sizeof mark);
}

void CloseRegistryAccessor(Engine& e) {
    if (e.accessorKey) e.sys->RegCloseKey(e.accessorKey);
    e.accessorKey = 0;
}

int ReadSetting(Engine& e, const char* name, char* buffer, uint32_t size) {
    if (!e.accessorKey) return 0;
    return ReadRegistryText(*e.sys, e.accessorKey, name, buffer, size);
}

int WriteSetting(Engine& e, const char* name, const char* text) {
    if (!e.accessorKey) return 0;
    uint32_t size = static_cast<uint32_t>(std::strlen(text)) + 1;
    return e.sys->RegSetValue(e.accessorKey, name, plat::kRegSz, text, size) == plat::kRegOk ? 1 : 0;
}

void DeleteSetting(Engine& e, const char* name) {
    if (e.accessorKey) e.sys->RegDeleteValue(e.accessorKey, name);
}

int RecordInstallation(Engine& e) {
    // The base folder is the destination two levels up: D:\GAMES\TAVREL\GAME\ -> D:\GAMES.
    char base[script::kPathSize];
    std::strncpy(base, e.env.destFolder, sizeof base - 1);
    base[sizeof base - 1] = '\0';
    text::CutAtLastInnerBackslash(base);
    text::CutAtLastInnerBackslash(base);
    size_t length = std::strlen(base);
    if (length > 0 && base[length - 1] == ':') text::AppendOrRefuse(base, sizeof base, "\\");
    if (!WriteSetting(e, "Path", base)) return 0;
    return WriteSetting(e, e.options.dstDir, e.env.destFolder);
}

void ForgetInstallation(Engine& e) { DeleteSetting(e, e.options.dstDir); }

int EnsureMakerKey(Engine& e) {
    plat::KeyHandle key = 0;
    bool created = false;
    if (e.sys->RegCreateKey(plat::RegRoot::CurrentUser, kMakerKey, plat::kKeyAllAccess, &key, &created) != plat::kRegOk)
        return 0;
    e.sys->RegCloseKey(key);
    return 1;
}

int KeyExistsMachine(Engine& e, const char* path) {
    plat::KeyHandle key = 0;
    if (e.sys->RegOpenKey(plat::RegRoot::LocalMachine, path, plat::kKeyRead | plat::kKeyWrite, &key) != plat::kRegOk)
        return 0;
    e.sys->RegCloseKey(key);
    return 1;
}

}  // namespace commands
