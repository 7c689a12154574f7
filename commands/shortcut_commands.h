// Shortcut commands.
#pragma once

#include "script/engine.h"

namespace commands {

using script::Engine;

int CmdShortcutD(Engine& e);
int CmdShortcutP(Engine& e);
int CmdShortcutA(Engine& e);
int CmdClrShortcut(Engine& e);
int CmdClrShortcutA(Engine& e);

void DeleteShellLink(Engine& e, const char* linkPath);
void RefreshStartMenu(Engine& e);

}  // namespace commands
