// Shortcut commands: link files on the desktop, in the maker's start-menu group or in
// any folder, and their removal. None of them reports a failure of the shell.
#include <cstring>

#include "commands/file_commands.h"
#include "commands/shortcut_commands.h"
#include "script/argument_reader.h"
#include "text/text_rules.h"

namespace commands {

namespace {

const char kLinkExtension[] = ".lnk";

// folder + name + ".lnk" when folder ends in a backslash, folder + "\" + name + ".lnk"
// otherwise (an empty folder thus becomes "\"). False when the result would not fit.
bool LinkPathInFolder(char* out, size_t size, const char* folder, const char* name) {
    out[0] = '\0';
    if (!text::AppendOrRefuse(out, size, folder)) return false;
    if (!text::EndsWithBackslash(out) && !text::AppendOrRefuse(out, size, "\\")) return false;
    if (text::AppendOrRefuse(out, size, name) && text::AppendOrRefuse(out, size, kLinkExtension)) return true;
    out[0] = '\0';
    return false;
}

// The description of a link is its shortcut name. A link path too long for the
// system is a link that cannot be written: nothing happens, like any shell failure.
void CreateShellLink(Engine& e, const char* target, const char* linkPath, const char* description) {
    if (linkPath[0] == '\0') return;
    e.sys->CreateShellLink(target, linkPath, description);
}

}  // namespace

int CmdShortcutD(Engine& e) {
    char target[script::kPathSize];
    char name[script::kPathSize];
    if (!script::ReadArgument(e, target, sizeof target)) return script::kFailed;
    if (!script::ReadArgument(e, name, sizeof name)) return script::kFailed;
    char link[script::kPathSize];
    text::JoinOrRefuse(link, sizeof link, e.env.desktopFolder, name, kLinkExtension);
    CreateShellLink(e, target, link, name);
    return script::kGoOn;
}

int CmdShortcutP(Engine& e) {
    // The group folder is made before anything is read, one level only.
    char group[script::kPathSize];
    std::strncpy(group, e.env.startMenuFolder, sizeof group - 1);
    group[sizeof group - 1] = '\0';
    size_t length = std::strlen(group);
    if (length > 0 && text::EndsWithBackslash(group)) group[length - 1] = '\0';
    if (group[0] != '\0') CreateFolder(e, group);

    char target[script::kPathSize];
    char name[script::kPathSize];
    if (!script::ReadArgument(e, target, sizeof target)) return script::kFailed;
    if (!script::ReadArgument(e, name, sizeof name)) return script::kFailed;
    char link[script::kPathSize];
    text::JoinOrRefuse(link, sizeof link, e.env.startMenuFolder, name, kLinkExtension);
    CreateShellLink(e, target, link, name);
    RefreshStartMenu(e);
    return script::kGoOn;
}

int CmdShortcutA(Engine& e) {
    char target[script::kPathSize];
    char name[script::kPathSize];
    char folder[script::kPathSize];
    if (!script::ReadArgument(e, target, sizeof target)) return script::kFailed;
    if (!script::ReadArgument(e, name, sizeof name)) return script::kFailed;
    if (!script::ReadArgument(e, folder, sizeof folder)) return script::kFailed;
    char link[script::kPathSize];
    LinkPathInFolder(link, sizeof link, folder, name);
    CreateShellLink(e, target, link, name);
    return script::kGoOn;
}

int CmdClrShortcut(Engine& e) {
    char name[script::kPathSize];
    if (!script::ReadArgument(e, name, sizeof name)) return script::kFailed;
    char link[script::kPathSize];
    if (text::JoinOrRefuse(link, sizeof link, e.env.startMenuFolder, name, kLinkExtension)) DeleteShellLink(e, link);
    return script::kGoOn;
}

int CmdClrShortcutA(Engine& e) {
    char name[script::kPathSize];
    char folder[script::kPathSize];
    if (!script::ReadArgument(e, name, sizeof name)) return script::kFailed;
    if (!script::ReadArgument(e, folder, sizeof folder)) return script::kFailed;
    char link[script::kPathSize];
    if (LinkPathInFolder(link, sizeof link, folder, name)) DeleteShellLink(e, link);
    return script::kGoOn;
}

void DeleteShellLink(Engine& e, const char* linkPath) {
    e.sys->DeleteFile(linkPath);
    e.sys->NotifyShellItemDeleted(linkPath);
    if (e.refreshStartMenuOnDelete) RefreshStartMenu(e);
}

void RefreshStartMenu(Engine& e) {
    // The shell rereads the start menu when a folder appears in it and goes again.
    char probe[script::kPathSize];
    std::strncpy(probe, e.env.startMenuFolder, sizeof probe - 1);
    probe[sizeof probe - 1] = '\0';
    if (!text::CutAtLastInnerBackslash(probe)) return;
    if (!text::AppendOrRefuse(probe, sizeof probe, "\\TavrelTemp.tmp")) return;
    if (FolderExists(e, probe)) return;
    if (e.sys->CreateDirectory(probe)) e.sys->RemoveDirectory(probe);
}

}  // namespace commands
