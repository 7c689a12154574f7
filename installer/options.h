// The script's options section: key lookup, value syntax, and every key the installer
// reads with its default and derived text.
#pragma once

#include <cstddef>

#include "script/engine.h"

namespace installer {

// Copies the key's value (at most size - 1 bytes) into destination. A key that is not
// found gets def; a key line without a value leaves destination as it was.
void GetOptionString(script::Engine& e, const char* key, const char* def, char* destination, size_t size);
// The key's value through ParseDecimal; def when the key is not found or has no value.
int GetOptionInt(script::Engine& e, const char* key, int def);

// Reads every key in order, builds the derived texts and the source folder, and decides
// whether the product is installed. Called at start-up and by the OPTIONS command.
void ReadOptions(script::Engine& e);

// The source folder rule: the program folder, then SrcDir's value applied to it.
void ApplySourceFolder(script::Engine& e, const char* srcDirValue);

// The rights line used as the default of InstMes2.
void BuildRightsLine(const char* yearRight, char* out, size_t size);

}  // namespace installer
