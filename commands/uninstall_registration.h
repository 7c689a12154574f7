// The Windows uninstall entry.
#pragma once

#include "script/engine.h"

namespace commands {

using script::Engine;

int CmdUninstInfo(Engine& e);
int CmdClrUninstInfo(Engine& e);
int HasDirectXUninstallEntry(Engine& e);

}  // namespace commands
