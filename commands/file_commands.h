// File and folder commands and the small file operations other commands share.
#pragma once

#include "script/engine.h"

namespace commands {

using script::Engine;

int CmdCreate(Engine& e);
int CmdWrite(Engine& e);
int CmdClose(Engine& e);
int CmdMkdir(Engine& e);
int CmdRmdir(Engine& e);
int CmdDelete(Engine& e);
int CmdRename(Engine& e);
int CmdFind(Engine& e);

// Ends the output file's life when a new section starts. The file is closed rather than
// only forgotten, so it is not left locked (and undeletable) until the program ends.
void ReleaseOutputFile(Engine& e);

bool FolderExists(Engine& e, const char* path);
bool CreateFolder(Engine& e, const char* path);
// Directory search over the engine's one search; entries qualify when their attributes
// hold every bit of required and none of excluded.
bool FindFirstMatch(Engine& e, const char* pattern, uint32_t required, uint32_t excluded);
bool FindNextMatch(Engine& e, uint32_t required, uint32_t excluded);
void CloseSearch(Engine& e);

constexpr uint32_t kExcludeDirAndSystem = plat::kAttrDirectory | plat::kAttrSystem;

}  // namespace commands
