// The installer's registry accessor (its own record, SOFTWARE\Tavrel\Ostrel under
// HKEY_CURRENT_USER), the bounded reading of a stored text, and the key tests that
// start-up, the options and REGJUMP use.
#pragma once

#include <cstdint>

#include "script/engine.h"

namespace commands {

using script::Engine;

// Reads a stored text from an open key into buffer (size bytes). Whatever is stored
// (no terminating zero, another type, more than size bytes), buffer ends with a zero
// inside its size: a value that does not fit is cut and 0 is returned. 1 when the value
// exists and fits. A missing value leaves buffer as it was and gives 0.
int ReadRegistryText(plat::Platform& sys, plat::KeyHandle key, const char* name, char* buffer, uint32_t size);

// The accessor: SOFTWARE\Tavrel\Ostrel under HKEY_CURRENT_USER.
void OpenRegistryAccessor(Engine& e);
void CloseRegistryAccessor(Engine& e);
// Reads a value of the accessor's key as ReadRegistryText does; 1 when it exists and fits.
int ReadSetting(Engine& e, const char* name, char* buffer, uint32_t size);
int WriteSetting(Engine& e, const char* name, const char* text);
void DeleteSetting(Engine& e, const char* name);
int RecordInstallation(Engine& e);
void ForgetInstallation(Engine& e);
// SOFTWARE\Tavrel under HKEY_CURRENT_USER, created when missing; 1 when it exists.
int EnsureMakerKey(Engine& e);
// 1 when the key under HKEY_LOCAL_MACHINE opens for reading and writing.
int KeyExistsMachine(Engine& e, const char* path);

}  // namespace commands
