// The registry commands and the root tables that tell the installer's and the runner's
// key numbers apart. The installer's own record is in registry_accessor.h.
#pragma once

#include <cstdint>

#include "script/engine.h"

namespace commands {

using script::Engine;

extern const plat::RegRoot kInstallerRootTable[5];
extern const plat::RegRoot kRunnerRootTable[5];

int CmdRegCreateKey(Engine& e);
int CmdRegSetString(Engine& e);
int CmdRegDelete(Engine& e);
// Jumps to a label when a key under HKEY_LOCAL_MACHINE exists.
int CmdRegJump(Engine& e);

}  // namespace commands
