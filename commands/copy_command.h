// COPY: one file or a wildcard set, and the rest of a set copied one file per step.
#pragma once

#include "script/engine.h"

namespace commands {

using script::Engine;

int CmdCopy(Engine& e);
// 1 the script may go on, -1 a file failed (reported).
int ContinueMultiFileCopy(Engine& e);

}  // namespace commands
