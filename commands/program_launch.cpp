// EXE: starts a program from the script, leaving it running, waiting for it, or ending
// the installer afterwards. The wait itself belongs to the installer's windows (Host).
#include <cstring>

#include "commands/program_launch.h"
#include "commands/registry_accessor.h"
#include "script/argument_reader.h"
#include "script/messages.h"
#include "text/text_rules.h"

namespace commands {

namespace {

enum class Mode { GoOn, Stop, Quit, Path };

// The words are compared exactly: "stop" is no mode word.
Mode ModeOf(const char* word) {
    if (std::strcmp(word, "STOP") == 0) return Mode::Stop;
    if (std::strcmp(word, "QUIT") == 0) return Mode::Quit;
    if (std::strcmp(word, "PATH") == 0) return Mode::Path;
    return Mode::GoOn;
}

bool IsRelative(const char* path) {
    if (path[0] == '\\' || path[0] == '/') return false;
    if (path[0] != '\0' && path[1] == ':') return false;
    return true;
}

// A relative program path is taken against the current directory as it is before the
// command moves to the program's folder; otherwise the path would name a file below
// that folder. False when the full path would not fit.
bool ResolveProgramPath(Engine& e, const char* path, char* out, size_t size) {
    out[0] = '\0';
    if (!IsRelative(path)) return text::AppendOrRefuse(out, size, path);
    char current[script::kPathSize];
    uint32_t length = e.sys->GetCurrentDirectory(current, sizeof current);
    if (length == 0 || length >= sizeof current) return text::AppendOrRefuse(out, size, path);
    current[length] = '\0';
    const char* separator = text::EndsWithBackslash(current) ? "" : "\\";
    return text::JoinOrRefuse(out, size, current, separator, path);
}

// The started program's folder becomes the installer's current directory and stays so.
// A path without any backslash leaves the current directory alone.
void EnterProgramFolder(Engine& e, const char* scriptPath, const char* fullPath) {
    if (text::LastInnerBackslash(scriptPath) < 0) return;
    char folder[script::kPathSize];
    std::strncpy(folder, fullPath, sizeof folder - 1);
    folder[sizeof folder - 1] = '\0';
    int at = text::LastInnerBackslash(folder);
    if (at < 0) return;
    folder[at] = '\0';
    // "D:" alone would mean the drive's remembered folder, "" no folder at all: both are
    // meant as the root.
    if (at == 0 || (at == 2 && folder[1] == ':')) {
        folder[at] = '\\';
        folder[at + 1] = '\0';
    }
    e.sys->SetCurrentDirectory(folder);
}

}  // namespace

int CmdExe(Engine& e) {
    char program[script::kPathSize];
    if (!script::ReadArgument(e, program, sizeof program)) return script::kFailed;

    char arguments[script::kPathSize];
    if (script::ReadOptionalArgument(e, arguments, sizeof arguments) < 0) return script::kFailed;
    char word[script::kPathSize];
    if (script::ReadOptionalArgument(e, word, sizeof word) < 0) return script::kFailed;
    Mode mode = ModeOf(word);

    // With PATH the program sits below a folder the installer's record names.
    char scriptPath[script::kPathSize];
    bool fits = true;
    if (mode == Mode::Path) {
        char valueName[script::kPathSize];
        if (!script::ReadArgument(e, valueName, sizeof valueName)) return script::kFailed;
        char folder[script::kPathSize];
        if (!ReadSetting(e, valueName, folder, sizeof folder)) return script::kFailed;
        fits = text::JoinOrRefuse(scriptPath, sizeof scriptPath, folder, program);
    } else {
        std::memcpy(scriptPath, program, sizeof program);
    }

    char module[script::kPathSize];
    plat::ProcessHandle process = 0;
    if (fits && ResolveProgramPath(e, scriptPath, module, sizeof module)) {
        EnterProgramFolder(e, scriptPath, module);
        char commandLine[script::kPathSize + 1];
        text::JoinOrRefuse(commandLine, sizeof commandLine, " ", arguments);
        process = e.sys->StartProcess(module, commandLine);
    }

    switch (mode) {
        case Mode::Stop:
            if (process && e.host) e.host->RunAndWait(process);
            break;
        case Mode::Quit:
        case Mode::Path:
            if (process) e.sys->CloseProcess(process);
            e.sys->PostQuitMessage(0);
            return script::kEndSection;
        case Mode::GoOn: break;
    }
    if (process) e.sys->CloseProcess(process);
    return script::kGoOn;
}

}  // namespace commands
