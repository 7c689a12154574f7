// Commands that act on the flow of the script and on the launcher's state.
#pragma once

#include "script/engine.h"

namespace script {

int CmdGoto(Engine& e);
int CmdYesNo(Engine& e);
int CmdWarning(Engine& e);
int CmdBootDrive(Engine& e);
int CmdInstLab(Engine& e);
int CmdUninstLab(Engine& e);
int CmdPlayLab(Engine& e);
int CmdSubBtn1(Engine& e);
int CmdSubBtn2(Engine& e);
int CmdQuit(Engine& e);
int CmdPrint(Engine& e);
int CmdOptions(Engine& e);
int CmdBitmap(Engine& e);
int CmdDSetup(Engine& e);

// The menu commands.
int CmdMenuTitle(Engine& e);
int CmdMenuItem(Engine& e);
int CmdMenuItemD(Engine& e);
int CmdMenu(Engine& e);

}  // namespace script
