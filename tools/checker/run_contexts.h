// Where a section runs: the flows of the installer (start-up, Setup, the install run,
// the end of the install dialog, uninstall, Play, the sub buttons) and of the runner,
// each with the activity mode that words the messages shown while it runs.
#pragma once

#include "script/engine.h"

namespace checker {

using SlotMember = char (script::NameSlots::*)[script::kSlotSize];

struct RunContext {
    const char* name;    // for machines: start-up, setup, install-run, install-end, uninstall, play, sub1, sub2, runner
    const char* phrase;  // for people: "at start-up"
    const char* program;   // OSTREL.EXE or BRINMARK.EXE
    int mode;              // activity mode while the flow runs the section
    SlotMember slot;       // the name slot the flow runs; nullptr: only what redirect names
    const char* redirect;  // the command that points the slot elsewhere, or nullptr
    int redirectArg;       // which of its arguments
    const char* fixed;     // a section pattern that cannot be redirected, or nullptr
    int needs;             // the row whose section must exist for this one to run, or -1
};

// In the order a user meets them, so the first that applies comes first.
extern const RunContext kInstallerContexts[];
extern const int kInstallerContextCount;
extern const RunContext kRunnerContext;

}  // namespace checker
