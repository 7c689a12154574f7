// File copy, disk space and drive types.
#pragma once

#include <cstdint>

#include "script/engine.h"

namespace commands {

using script::Engine;

int CmdCopy(Engine& e);
int CmdInstSize(Engine& e);

script::CopyResult CopyOneFile(Engine& e);
// 1 the script may go on, -1 a file failed (reported).
int ContinueMultiFileCopy(Engine& e);

uint64_t GetDriveFreeBytes(Engine& e, int driveIndex);
void ScanDriveTypes(Engine& e);
// From the drive letter of path; anything without a letter is another kind.
script::DriveKind DriveKindOf(const Engine& e, const char* path);

// copied / (total / 100), capped at 100; a divisor of 0 counts as 1.
int ProgressPercent(uint64_t copied, uint64_t total);

}  // namespace commands
