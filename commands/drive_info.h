// Drives: their types, their free space and the INSTSIZE check against the chosen drive.
#pragma once

#include <cstdint>

#include "script/engine.h"

namespace commands {

using script::Engine;

int CmdInstSize(Engine& e);

uint64_t GetDriveFreeBytes(Engine& e, int driveIndex);
void ScanDriveTypes(Engine& e);
// From the drive letter of path; anything without a letter is another kind.
script::DriveKind DriveKindOf(const Engine& e, const char* path);

}  // namespace commands
