// The command runner's start-up and run. It shares the engine and the registry and
// shortcut handlers with the installer; what differs is configuration: the keyword
// subset, the swapped root key table, the variables, and a reporter that shows nothing.
#include "runner/command_runner.h"

#include <cstdio>
#include <cstring>

#include "commands/keyword_tables.h"
#include "commands/registry_accessor.h"
#include "script/dispatch.h"
#include "script/script_text.h"
#include "text/text_rules.h"

namespace runner {

namespace {

constexpr char kNotice[] = "このアプリケーションは、\nアンインストール時に使用します。\n";
constexpr char kNoticeCaption[] = "Tavrel Setup追加コマンド";
constexpr char kRunnerKey[] = "SOFTWARE\\Tavrel\\Setup";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The runner's key under HKEY_LOCAL_MACHINE, marked with its display name when new.
void PrepareRunnerKey(plat::Platform& sys) {
    plat::KeyHandle key = 0;
    bool created = false;
    if (sys.RegCreateKey(plat::RegRoot::LocalMachine, kRunnerKey, plat::kKeyAllAccess, &key, &created) != plat::kRegOk)
        return;
    if (created) sys.RegSetValue(key, "DisplayName", plat::kRegSz, "Setup", 5);
    char name[128];
    commands::ReadRegistryText(sys, key, "DisplayName", name, sizeof name);
    sys.RegCloseKey(key);
}

// The program folder without its trailing backslash.
void FindProgramFolder(plat::Platform& sys, char* folder, size_t size) {
    char path[script::kPathSize] = {};
    uint32_t n = sys.GetModuleFileName(path, sizeof path);
    if (n == 0 || n >= sizeof path) path[0] = 0;
    const int slash = text::LastBackslash(path);
    if (slash >= 0) path[slash] = 0;
    std::snprintf(folder, size, "%s", path);
}

// Reads the whole script when it fits the engine's 10000 bytes; otherwise nothing.
void LoadRunnerScript(script::Engine& e, const char* path) {
    script::ScriptText& s = e.script;
    s.length = 0;
    s.readPos = 0;
    plat::FileCause cause = plat::kCauseNone;
    plat::FileHandle f = e.sys->OpenForRead(path, &cause);
    if (!f) return;
    uint64_t size = 0;
    uint32_t got = 0;
    if (e.sys->GetFileSize(f, &size) && size <= script::kScriptCapacity && size > 0 &&
        e.sys->ReadFile(f, s.text, static_cast<uint32_t>(size), &got, &cause) && got == size) {
        s.length = static_cast<int>(size);
    }
    e.sys->CloseFile(f, &cause);
}

// Only %WinDrv% and %WinDir% have values in the runner; every other name is empty.
void SetRunnerVariables(script::Engine& e) {
    std::memset(&e.vars, 0, sizeof e.vars);
    text::DriveOf(e.env.windowsFolder, e.vars.winDrv);
    text::FolderOf(e.env.windowsFolder, e.vars.winDir, sizeof e.vars.winDir);
}

// The lines of [START], as a section run does them, up to a failure, a header or the end.
void RunStartSection(script::Engine& e) {
    for (;;) {
        int read = 0;
        const int result = script::ReadAndDispatch(e, &read);
        if (read == -1 || result != script::kGoOn) return;
    }
}

}  // namespace

void ParseRunnerCommandLine(const char* commandLine, char* name, size_t size) {
    std::snprintf(name, size, "COMMAND.INF");
    for (const char* p = commandLine; *p; ++p) {
        if ((*p != '-' && *p != '/') || (p[1] != 's' && p[1] != 'S')) continue;
        p += 2;
        while (IsBlank(*p)) ++p;
        size_t n = 0;
        while (p[n] && !IsBlank(p[n]) && p[n] != ',' && n + 1 < size && n < 259) ++n;
        if (n > 0) {
            std::memcpy(name, p, n);
            name[n] = 0;
        }
        p += n;
        if (!*p) break;
    }
}

int RunCommandRunner(script::Engine& e, plat::Platform& sys, const char* commandLine) {
    commands::ConfigureRunnerEngine(e);
    e.sys = &sys;
    if (!sys.FindWindowByTitle(kInstallerFrameTitle)) {
        sys.MessageBox(0, kNotice, kNoticeCaption, plat::kMbOk);
        return 0;
    }
    char scriptName[script::kPathSize];
    ParseRunnerCommandLine(commandLine, scriptName, sizeof scriptName);

    e.runningOnNT = sys.GetVersion().platformId != 1;
    PrepareRunnerKey(sys);
    char folder[script::kPathSize];
    FindProgramFolder(sys, folder, sizeof folder);
    sys.SetCurrentDirectory(folder);
    if (sys.GetWindowsDirectory(e.env.windowsFolder, sizeof e.env.windowsFolder) == 0)
        std::snprintf(e.env.windowsFolder, sizeof e.env.windowsFolder, "A:\\");

    // A script path that does not fit is refused rather than cut to another file's name.
    char path[script::kPathSize];
    int n = std::snprintf(path, sizeof path, "%s\\%s", folder, scriptName);
    if (n < 0 || n >= static_cast<int>(sizeof path)) return 0;
    LoadRunnerScript(e, path);
    if (e.script.length == 0 || !script::FindSection(e, "~[START]")) return 0;
    SetRunnerVariables(e);
    RunStartSection(e);
    return 0;
}

}  // namespace runner
