// The engine fixture: an installer engine whose keyword table holds the engine's own
// commands, over the recording platform.
#include "engine_fixture.h"

#include "script/argument_reader.h"
#include "script/dispatch.h"
#include "script/flow_commands.h"
#include "script/script_text.h"
#include "script/variables.h"

namespace enginetest {

namespace {

int CmdEcho(script::Engine& e) {
    // Test-only command: shows each of its arguments in a box, to observe the reader.
    char arg[script::kPathSize];
    int n = 0;
    while (script::ReadOptionalArgument(e, arg, sizeof arg) == 1) {
        e.sys->MessageBox(0, arg, "ECHO", 0);
        ++n;
    }
    return n ? script::kGoOn : script::kFailed;
}

const script::Keyword kEngineKeywords[] = {
    {"PRINT", script::CmdPrint},
    {"BITMAP", script::CmdBitmap},
    {"GOTO", script::CmdGoto},
    {"OPTIONS", script::CmdOptions},
    {"MENUTITLE", script::CmdMenuTitle},
    {"MENUITEMD", script::CmdMenuItemD},
    {"MENUITEM", script::CmdMenuItem},
    {"MENU", script::CmdMenu},
    {"INST_LAB", script::CmdInstLab},
    {"UNINST_LAB", script::CmdUninstLab},
    {"PLAY_LAB", script::CmdPlayLab},
    {"YESNO", script::CmdYesNo},
    {"WARNING", script::CmdWarning},
    {"QUIT", script::CmdQuit},
    {"SUBBTN1", script::CmdSubBtn1},
    {"SUBBTN2", script::CmdSubBtn2},
    {"BOOTDRIVE", script::CmdBootDrive},
    {"DSETUP", script::CmdDSetup},
    {"ECHO", CmdEcho},
};

}  // namespace

std::string CrLf(const std::string& lines) {
    std::string out;
    for (char c : lines) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

EngineFixture::EngineFixture() {
    script::ResetEngineState(e);
    e.sys = &sys;
    e.host = &host;
    host.engine = &e;
    e.keywords = kEngineKeywords;
    e.keywordCount = sizeof kEngineKeywords / sizeof kEngineKeywords[0];
    e.variables = script::kInstallerVariables;
    e.variableCount = script::kInstallerVariableCount;
}

int EngineFixture::Load(const std::string& lines) {
    std::string bytes = CrLf(lines);
    return script::LoadScriptBytes(e, bytes.data(), static_cast<int>(bytes.size()));
}

int EngineFixture::Run(const char* section) { return script::RunSection(e, section); }

}  // namespace enginetest
