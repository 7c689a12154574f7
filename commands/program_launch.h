// Program launch.
#pragma once

#include "script/engine.h"

namespace commands {

using script::Engine;

int CmdExe(Engine& e);

}  // namespace commands
