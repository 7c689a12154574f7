// The keyword tables of the installer and of the command runner, and the set-up that makes
// an engine one or the other. The runner's differences are data: its keyword subset, its
// root key table, its variables, and its silence.
#include "commands/keyword_tables.h"

#include "commands/copy_command.h"
#include "commands/drive_info.h"
#include "commands/file_commands.h"
#include "commands/program_launch.h"
#include "commands/registry_accessor.h"
#include "commands/registry_commands.h"
#include "commands/shortcut_commands.h"
#include "commands/uninstall_registration.h"
#include "script/flow_commands.h"
#include "script/variables.h"

namespace commands {

using namespace script;

// Tried in this order; the first that matches the start of the line wins, so a keyword
// stands before every keyword that is its prefix (MENUITEMD, MENUITEM, MENU).
const Keyword kInstallerKeywords[] = {
    {"CREATE", CmdCreate},
    {"WRITE", CmdWrite},
    {"CLOSE", CmdClose},
    {"PRINT", CmdPrint},
    {"BITMAP", CmdBitmap},
    {"MKDIR", CmdMkdir},
    {"RMDIR", CmdRmdir},
    {"FIND", CmdFind},
    {"SHORTCUTD", CmdShortcutD},
    {"SHORTCUTA", CmdShortcutA},
    {"CLRSHORTCUTA", CmdClrShortcutA},
    {"SHORTCUTP", CmdShortcutP},
    {"CLRSHORTCUT", CmdClrShortcut},
    {"COPY", CmdCopy},
    {"DELETE", CmdDelete},
    {"GOTO", CmdGoto},
    {"REGJUMP", CmdRegJump},
    {"UNINSTINFO", CmdUninstInfo},
    {"CLRUNINSTINFO", CmdClrUninstInfo},
    {"OPTIONS", CmdOptions},
    {"MENUTITLE", CmdMenuTitle},
    {"MENUITEMD", CmdMenuItemD},
    {"MENUITEM", CmdMenuItem},
    {"MENU", CmdMenu},
    {"INST_LAB", CmdInstLab},
    {"UNINST_LAB", CmdUninstLab},
    {"PLAY_LAB", CmdPlayLab},
    {"YESNO", CmdYesNo},
    {"WARNING", CmdWarning},
    {"EXE", CmdExe},
    {"QUIT", CmdQuit},
    {"SUBBTN1", CmdSubBtn1},
    {"SUBBTN2", CmdSubBtn2},
    {"BOOTDRIVE", CmdBootDrive},
    {"RENAME", CmdRename},
    {"REGDELETE", CmdRegDelete},
    {"REGSETSTRING", CmdRegSetString},
    {"REGCREATEKEY", CmdRegCreateKey},
    {"INSTSIZE", CmdInstSize},
    {"DSETUP", CmdDSetup},
};
const int kInstallerKeywordCount = sizeof kInstallerKeywords / sizeof kInstallerKeywords[0];

const Keyword kRunnerKeywords[] = {
    {"PRINT", CmdPrint},
    {"GOTO", CmdGoto},
    {"REGJUMP", CmdRegJump},
    {"YESNO", CmdYesNo},
    {"REGDELETE", CmdRegDelete},
    {"REGSETSTRING", CmdRegSetString},
    {"REGCREATEKEY", CmdRegCreateKey},
    {"CLRSHORTCUTA", CmdClrShortcutA},
};
const int kRunnerKeywordCount = sizeof kRunnerKeywords / sizeof kRunnerKeywords[0];

const CommandServices kCommandServices = {ContinueMultiFileCopy, ReleaseOutputFile, ReadSetting};

namespace {

// What makes an engine the installer's or the runner's.
struct EngineProfile {
    const Keyword* keywords;
    int keywordCount;
    const Variable* variables;
    int variableCount;
    const plat::RegRoot* rootTable;
    bool silent;
    bool refreshStartMenuOnDelete;
};

void Configure(Engine& e, const EngineProfile& p) {
    ResetEngineState(e);
    e.keywords = p.keywords;
    e.keywordCount = p.keywordCount;
    e.variables = p.variables;
    e.variableCount = p.variableCount;
    e.rootTable = p.rootTable;
    e.silent = p.silent;
    e.refreshStartMenuOnDelete = p.refreshStartMenuOnDelete;
    e.services = &kCommandServices;
}

}  // namespace

void ConfigureInstallerEngine(Engine& e) {
    Configure(e, {kInstallerKeywords, kInstallerKeywordCount, kInstallerVariables, kInstallerVariableCount,
                  kInstallerRootTable, false, true});
}

void ConfigureRunnerEngine(Engine& e) {
    Configure(e, {kRunnerKeywords, kRunnerKeywordCount, kRunnerVariables, kRunnerVariableCount, kRunnerRootTable, true,
                  false});
}

}  // namespace commands
