// The dry run: the installer's start-up and flows run against the simulated Windows with
// a CD folder mapped as its CD-ROM drive, and a transcript of everything they did.
#pragma once

#include <string>
#include <vector>

namespace checker {

enum class DryAction { Setup, Uninstall, Play, Sub1, Sub2 };

struct DryRunOptions {
    std::string cdFolder;  // a real folder, read and never written
    std::string scriptName = "TAVREL.INF";
    bool utf8Scripts = false;        // *.INF in the folder are UTF-8 with LF
    std::vector<DryAction> actions;  // after start-up, in order
    std::string destination;         // typed on the destination screen; "" keeps the offer
    std::string answers;             // the answer file's text (UTF-8)
    bool family95 = false;
    // Commands (and message boxes) before a run is taken to loop for ever and ends.
    long maxCommands = 100000;
};

// One thing the installer did or showed; fields are UTF-8 (name, value) pairs.
struct DryEvent {
    std::string kind;
    std::vector<std::pair<std::string, std::string>> fields;
    std::string Field(const std::string& name) const;
};

struct DryRunReport {
    std::vector<DryEvent> events;  // in order: actions, sections, messages, jumps, ...
    // The machine's state afterwards compared with before.
    std::vector<DryEvent> folders;    // "folder": path
    std::vector<DryEvent> files;      // "file": path, size
    std::vector<DryEvent> removed;    // "removed": path
    std::vector<DryEvent> shortcuts;  // "shortcut": link, target, description
    std::vector<DryEvent> registry;   // "key" / "value" / "deleted"
    std::vector<DryEvent> uninstallEntry;
    std::vector<DryEvent> programs;  // "program": module, command line, folder
};

// false and error set when the folder or script cannot be read.
bool RunDry(const DryRunOptions& options, DryRunReport* report, std::string* error);

std::string FormatDryRun(const DryRunReport& report);
std::string FormatDryRunJson(const DryRunReport& report);

}  // namespace checker
