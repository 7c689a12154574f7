// Registry commands, the installer's registry accessor and the key-existence test.
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

// The accessor: SOFTWARE\Tavrel\Ostrel under HKEY_CURRENT_USER.
void OpenRegistryAccessor(Engine& e);
void CloseRegistryAccessor(Engine& e);
// Reads a string value into buffer (always zero-terminated inside size); 1 when it exists.
int ReadSetting(Engine& e, const char* name, char* buffer, uint32_t size);
int WriteSetting(Engine& e, const char* name, const char* text);
void DeleteSetting(Engine& e, const char* name);
int RecordInstallation(Engine& e);
void ForgetInstallation(Engine& e);
int EnsureMakerKey(Engine& e);
int KeyExistsMachine(Engine& e, const char* path);

}  // namespace commands
