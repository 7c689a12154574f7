// Start-up environment of the installer and its command line.
#include "installer/environment.h"

#include <cstring>

#include "commands/drive_info.h"
#include "commands/registry_accessor.h"
#include "script/messages.h"
#include "text/text_rules.h"

namespace installer {
namespace {

constexpr size_t kPath = script::kPathSize;

// The folder names of Japanese Windows 95-family systems (half-width katakana).
const char kDesktop95[] = "ﾃﾞｽｸﾄｯﾌﾟ\\";
const char kStartMenu95[] = "ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\Tavrel\\";
// Only used when the shell cannot tell where the desktop is.
const char kDesktopNT[] = "デスクトップ\\";
const char kStartMenuNT[] = "スタート メニュー\\プログラム\\Tavrel\\";

// Cuts path behind its last backslash (the backslash kept); false when there is none.
bool CutBehindLastBackslash(char* path) {
    const int last = text::LastBackslash(path);
    if (last < 0) return false;
    path[last + 1] = '\0';
    return true;
}

// Makes folder the current directory; the trailing backslash is dropped except for a root.
bool ChangeDirectory(plat::Platform& sys, const char* folder) {
    char dir[kPath];
    text::CopyOrCut(dir, sizeof dir, folder);
    text::DropTrailingBackslash(dir);
    return sys.SetCurrentDirectory(dir);
}

void DriveRootOf(const char* path, char* out) { text::DriveRoot(path[0] != '\0' ? path[0] : 'A', out); }

// True when base exists and holds a folder named TAVREL.
bool HoldsTavrelFolder(plat::Platform& sys, const char* base) {
    char saved[kPath];
    if (sys.GetCurrentDirectory(saved, sizeof saved) == 0) saved[0] = '\0';
    bool exists = ChangeDirectory(sys, base);
    if (saved[0] != '\0') sys.SetCurrentDirectory(saved);
    if (!exists) return false;

    char pattern[kPath];
    text::CopyOrCut(pattern, sizeof pattern, base);
    if (!text::EnsureBackslash(pattern, sizeof pattern) || !text::AppendOrCut(pattern, sizeof pattern, "TAVREL"))
        return false;
    plat::FindEntry entry;
    plat::SearchHandle h = sys.FindFirst(pattern, &entry);
    bool found = false;
    while (h != 0 && !found) {
        found = (entry.attributes & plat::kAttrDirectory) != 0;
        if (!found && !sys.FindNext(h, &entry)) break;
    }
    if (h != 0) sys.FindClose(h);
    return found;
}

}  // namespace

bool ProgramFolderFromModule(script::Engine& e, char* folder, size_t size) {
    char path[kPath];
    uint32_t n = e.sys->GetModuleFileName(path, sizeof path);
    if (n == 0 || n >= sizeof path) return false;
    path[n] = '\0';
    if (!CutBehindLastBackslash(path)) return false;
    return text::CopyOrCut(folder, size, path);
}

void SetupSystemFolders(script::Engine& e) {
    script::Environment& env = e.env;
    plat::Platform& sys = *e.sys;
    if (sys.GetVersion().platformId == 1) {
        uint32_t n = sys.GetWindowsDirectory(env.windowsFolder, kPath);
        if (n == 0 || n >= kPath) text::CopyOrCut(env.windowsFolder, kPath, "A:\\");
        text::CopyOrCut(env.desktopFolder, kPath, env.windowsFolder);
        text::EnsureBackslash(env.desktopFolder, kPath);
        text::CopyOrCut(env.startMenuFolder, kPath, env.desktopFolder);
        text::AppendOrCut(env.desktopFolder, kPath, kDesktop95);
        text::AppendOrCut(env.startMenuFolder, kPath, kStartMenu95);
        return;
    }

    // NT family: the shell's own folders, whatever their names in this language; the
    // Windows folder is the profile folder that holds the desktop.
    char desktop[kPath];
    if (sys.GetSpecialFolder(plat::SpecialFolder::Desktop, desktop, sizeof desktop) && desktop[0] != '\0') {
        text::CopyOrCut(env.desktopFolder, kPath, desktop);
        text::EnsureBackslash(env.desktopFolder, kPath);
        text::CopyOrCut(env.windowsFolder, kPath, desktop);
        size_t n = std::strlen(env.windowsFolder);
        if (n > 0 && env.windowsFolder[n - 1] == '\\') env.windowsFolder[n - 1] = '\0';
        if (!CutBehindLastBackslash(env.windowsFolder)) text::CopyOrCut(env.windowsFolder, kPath, "A:\\");
    } else {
        text::CopyOrCut(env.windowsFolder, kPath, "A:\\");
        text::CopyOrCut(env.desktopFolder, kPath, env.windowsFolder);
        text::AppendOrCut(env.desktopFolder, kPath, kDesktopNT);
    }

    char programs[kPath];
    if (sys.GetSpecialFolder(plat::SpecialFolder::Programs, programs, sizeof programs) && programs[0] != '\0') {
        text::CopyOrCut(env.startMenuFolder, kPath, programs);
        text::EnsureBackslash(env.startMenuFolder, kPath);
        text::AppendOrCut(env.startMenuFolder, kPath, "Tavrel\\");
    } else {
        text::CopyOrCut(env.startMenuFolder, kPath, env.windowsFolder);
        text::AppendOrCut(env.startMenuFolder, kPath, kStartMenuNT);
    }
}

int SetupEnvironment(script::Engine& e) {
    plat::Platform& sys = *e.sys;
    script::Environment& env = e.env;
    e.tavrelFolderFound = 0;
    e.productInstalled = false;
    // Known before [INIT] runs (and without a launcher, -u), so the registry commands'
    // 95-family reports hold from the first section on.
    e.runningOnNT = sys.GetVersion().platformId != 1;
    // The copy buffer lives in the engine itself, so there is no allocation to fail.

    commands::OpenRegistryAccessor(e);

    if (!ProgramFolderFromModule(e, env.programFolder, kPath)) text::CopyOrCut(env.programFolder, kPath, ".\\");
    text::CopyOrCut(env.sourceFolder, kPath, env.programFolder);

    SetupSystemFolders(e);

    char base[kPath];
    if (commands::ReadSetting(e, "Path", base, sizeof base) == 1) {
        text::CopyOrCut(env.tavrelBase, kPath, base);
        if (HoldsTavrelFolder(sys, base)) {
            e.tavrelFolderFound = 1;
        } else {
            DriveRootOf(env.windowsFolder, env.tavrelBase);
            script::ShowMessage(e, "   レジストリに記述されたドライブには、\nTAVRELフォルダは見つかりませんでした。",
                                "", plat::kMbOk | plat::kMbIconWarning);
        }
    } else {
        DriveRootOf(env.windowsFolder, env.tavrelBase);
    }

    commands::ScanDriveTypes(e);
    e.driveKind = commands::DriveKindOf(e, env.programFolder);

    e.options.dstDir[0] = '\0';
    e.pendingCopy = false;
    e.copy.sourcePath[0] = '\0';
    env.destFolder[0] = '\0';
    return 1;
}

void ParseCommandLine(script::Engine& e, const char* commandLine) {
    if (!commandLine) return;
    auto takeWord = [](const char*& p, char* out, size_t size) {
        while (*p == ' ' || *p == '\t') ++p;
        const char* start = p;
        while (*p != '\0' && *p != ' ' && *p != '\t' && *p != ',') ++p;
        size_t n = static_cast<size_t>(p - start);
        if (n > script::kPathSize - 1) n = script::kPathSize - 1;
        text::CopyOrCutN(out, size, start, n);
    };

    const char* p = commandLine;
    while (*p != '\0') {
        if (*p != '-' && *p != '/') {
            ++p;
            continue;
        }
        ++p;
        char option = *p;
        if (option == '\0') break;
        ++p;
        switch (option) {
            case 's':
            case 'S': takeWord(p, e.env.scriptName, sizeof e.env.scriptName); break;
            case 'b':
            case 'B': takeWord(p, e.env.pictureName, sizeof e.env.pictureName); break;
            case 'u':
            case 'U': e.uninstallOnly = true; break;
            case 'c':
            case 'C': {
                char folder[kPath];
                takeWord(p, folder, sizeof folder);
                // A folder that cannot take its backslash is not used: the program would
                // otherwise look for its script in a cut path.
                if (folder[0] == '\0' || !text::EnsureBackslash(folder, sizeof folder)) break;
                text::CopyOrCut(e.env.sourceFolder, kPath, folder);
                text::CopyOrCut(e.env.programFolder, kPath, folder);
                ChangeDirectory(*e.sys, folder);
                break;
            }
            default: break;
        }
    }
}

}  // namespace installer
