// REGCREATEKEY, REGSETSTRING, REGDELETE and REGJUMP, and the two root key tables: the installer's
// and the command runner's, which swaps the first two roots.
#include <cstring>

#include "commands/registry_accessor.h"
#include "commands/registry_commands.h"
#include "script/argument_reader.h"
#include "script/messages.h"
#include "script/script_text.h"

namespace commands {

using plat::RegRoot;

const RegRoot kInstallerRootTable[5] = {RegRoot::CurrentUser, RegRoot::LocalMachine, RegRoot::Users,
                                        RegRoot::ClassesRoot, RegRoot::CurrentConfig};
const RegRoot kRunnerRootTable[5] = {RegRoot::LocalMachine, RegRoot::CurrentUser, RegRoot::Users, RegRoot::ClassesRoot,
                                     RegRoot::CurrentConfig};

namespace {

constexpr int kValueNameSize = 80;  // value names hold at most 79 bytes

const RegRoot* Roots(const Engine& e) { return e.rootTable ? e.rootTable : kInstallerRootTable; }

bool IsRootIndex(int index) { return index >= 0 && index <= 4; }

// The optional root index: a missing one, or one that is no decimal number, means 0.
// False when the reader refused it (already reported).
bool ReadRootIndex(Engine& e, int* index) {
    char text[script::kPathSize];
    int read = script::ReadOptionalArgument(e, text, sizeof text);
    if (read < 0) return false;
    *index = read ? script::ParseDecimal(text) : 0;
    return true;
}

// A failed create or set stops the section on the 95 family only; the NT family goes on
// without a word.
int RegistryFailure(Engine& e, const char* text) {
    if (e.runningOnNT) return script::kGoOn;
    script::ShowMessage(e, text, "", plat::kMbOk | plat::kMbIconWarning);
    return script::kFailed;
}

}  // namespace

int CmdRegCreateKey(Engine& e) {
    char path[script::kPathSize];
    if (!script::ReadArgument(e, path, sizeof path)) return script::kFailed;
    int index = 0;
    if (!ReadRootIndex(e, &index)) return script::kFailed;

    bool done = false;
    if (IsRootIndex(index)) {
        plat::KeyHandle key = 0;
        bool created = false;
        if (e.sys->RegCreateKey(Roots(e)[index], path, plat::kKeyAllAccess, &key, &created) == plat::kRegOk) {
            e.sys->RegCloseKey(key);
            done = true;
        }
    }
    if (done) return script::kGoOn;
    return RegistryFailure(e, "レジストリキーの作成に失敗しました。");
}

int CmdRegSetString(Engine& e) {
    char path[script::kPathSize];
    char name[kValueNameSize];
    char text[script::kPathSize];
    if (!script::ReadArgument(e, path, sizeof path)) return script::kFailed;
    if (!script::ReadArgument(e, name, sizeof name)) return script::kFailed;
    if (!script::ReadArgument(e, text, sizeof text)) return script::kFailed;
    int index = 0;
    if (!ReadRootIndex(e, &index)) return script::kFailed;

    bool done = false;
    if (IsRootIndex(index)) {
        // The key must exist already: REGSETSTRING never creates one.
        plat::KeyHandle key = 0;
        if (e.sys->RegOpenKey(Roots(e)[index], path, plat::kKeyRead | plat::kKeyWrite, &key) == plat::kRegOk) {
            uint32_t size = static_cast<uint32_t>(std::strlen(text)) + 1;
            done = e.sys->RegSetValue(key, name, plat::kRegSz, text, size) == plat::kRegOk;
            e.sys->RegCloseKey(key);
        }
    }
    if (done) return script::kGoOn;
    return RegistryFailure(e, "レジストリの値の設定に失敗しました。");
}

int CmdRegDelete(Engine& e) {
    char path[script::kPathSize];
    if (!script::ReadArgument(e, path, sizeof path)) return script::kFailed;
    int index = 0;
    if (!ReadRootIndex(e, &index)) return script::kFailed;
    if (IsRootIndex(index)) e.sys->RegDeleteKey(Roots(e)[index], path);
    return script::kGoOn;
}

int CmdRegJump(Engine& e) {
    char key[script::kPathSize];
    if (!script::ReadArgument(e, key, sizeof key)) return script::kFailed;
    if (!KeyExistsMachine(e, key)) return script::kGoOn;
    char target[script::kPathSize];
    if (!script::ReadArgument(e, target, sizeof target)) return script::kFailed;
    script::FindSection(e, target);
    return script::kGoOn;
}

}  // namespace commands
