// The product's entry in the system's list of removable programs (UNINSTINFO,
// CLRUNINSTINFO) and the test for the DirectX entry that the notice dialog uses.
#include <cstdio>
#include <cstring>

#include "commands/uninstall_registration.h"
#include "script/argument_reader.h"
#include "script/messages.h"
#include "text/text_rules.h"

namespace commands {

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr size_t kEntryPathSize = sizeof kUninstallKey + script::kPathSize;

// The entry's key path from the DstDir option. An empty product name would name the
// Uninstall key itself, which holds every program's entry: that is refused.
bool EntryPath(const Engine& e, char* out, size_t size) {
    if (e.options.dstDir[0] == '\0') return false;
    return text::JoinOrRefuse(out, size, kUninstallKey, "\\", e.options.dstDir);
}

// The uninstall keys' failures are shown like start-up messages ("Setup", no owner) but
// without an icon; the silent runner shows nothing here either.
void ShowKeyFailure(Engine& e, const char* text) { script::ShowUnownedMessage(e, text, "Setup", plat::kMbOk); }

void SetText(Engine& e, plat::KeyHandle key, const char* name, const char* text) {
    e.sys->RegSetValue(key, name, plat::kRegSz, text, static_cast<uint32_t>(std::strlen(text)) + 1);
}

}  // namespace

int CmdUninstInfo(Engine& e) {
    char displayName[script::kPathSize];
    char command[script::kPathSize];
    if (!script::ReadArgument(e, displayName, sizeof displayName)) return script::kFailed;
    if (!script::ReadArgument(e, command, sizeof command)) return script::kFailed;
    char entryPath[kEntryPathSize];
    if (!EntryPath(e, entryPath, sizeof entryPath)) {
        script::ReportSyntaxError(e);
        return script::kFailed;
    }

    plat::KeyHandle parent = 0;
    bool created = false;
    long status = e.sys->RegCreateKey(plat::RegRoot::LocalMachine, kUninstallKey, plat::kKeyAllAccess, &parent,
                                      &created);
    if (status != plat::kRegOk) {
        parent = 0;
        if (!e.runningOnNT) ShowKeyFailure(e, "レジストリキーのオープンに失敗しました。");
    }
    // The entry lives under the parent: without the parent there is no entry either.
    plat::KeyHandle entry = 0;
    if (!parent || e.sys->RegCreateKey(plat::RegRoot::LocalMachine, entryPath, plat::kKeyAllAccess, &entry, &created) !=
                       plat::kRegOk) {
        entry = 0;
        if (!e.runningOnNT) ShowKeyFailure(e, "レジストリキーの作成に失敗しました。");
    }
    if (entry) {
        SetText(e, entry, "DisplayName", displayName);
        SetText(e, entry, "UninstallString", command);
        e.sys->RegCloseKey(entry);
    }
    if (parent) e.sys->RegCloseKey(parent);
    return script::kGoOn;
}

int CmdClrUninstInfo(Engine& e) {
    char entryPath[kEntryPathSize];
    if (!EntryPath(e, entryPath, sizeof entryPath)) {
        script::ReportSyntaxError(e);
        return script::kFailed;
    }
    e.sys->RegDeleteKey(plat::RegRoot::LocalMachine, entryPath);
    return script::kGoOn;
}

int HasDirectXUninstallEntry(Engine& e) {
    plat::KeyHandle key = 0;
    if (e.sys->RegOpenKey(plat::RegRoot::LocalMachine,
                          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DirectXDrivers",
                          plat::kKeyRead | plat::kKeyWrite, &key) != plat::kRegOk)
        return 0;
    e.sys->RegCloseKey(key);
    return 1;
}

}  // namespace commands
