// The flows and their activity modes, as installer/ runs them: [INIT_INST] runs before
// the install dialog exists and [EXIT_INST] after it has ended, so both are idle;
// the Uninstall button and -u run the same uninstall flow.
#include "tools/checker/run_contexts.h"

namespace checker {

namespace {
using script::NameSlots;
constexpr int kIdle = script::kModeIdle;
constexpr int kInstalling = script::kModeInstalling;
constexpr int kUninstalling = script::kModeUninstalling;
const char kUninstallPhrase[] = "in the uninstall flow, from Uninstall or -u";
constexpr int kInstallRow = 3;  // without an install section the run ends before [WIN_SCRIPT]
}  // namespace

const RunContext kInstallerContexts[] = {
    {"start-up", "at start-up", "OSTREL.EXE", kIdle, &NameSlots::init, nullptr, 0, nullptr, -1},
    {"setup", "when Setup is pressed", "OSTREL.EXE", kIdle, &NameSlots::initInst, "INST_LAB", 1, nullptr, -1},
    {"install-run", "in the install run", "OSTREL.EXE", kInstalling, &NameSlots::copy, nullptr, 0, nullptr, -1},
    {"install-run", "in the install run's step mode", "OSTREL.EXE", kInstalling, &NameSlots::install, "INST_LAB", 0,
     nullptr, -1},
    {"install-run", "in the install run", "OSTREL.EXE", kInstalling, &NameSlots::winScript, "INST_LAB", 3, nullptr,
     kInstallRow},
    {"install-end", "when the install dialog closes", "OSTREL.EXE", kIdle, &NameSlots::exitInst, "INST_LAB", 2, nullptr,
     -1},
    {"uninstall", kUninstallPhrase, "OSTREL.EXE", kUninstalling, &NameSlots::initUninst, "UNINST_LAB", 1, nullptr, -1},
    {"uninstall", kUninstallPhrase, "OSTREL.EXE", kUninstalling, &NameSlots::uninstall, "UNINST_LAB", 0, nullptr, -1},
    {"uninstall", kUninstallPhrase, "OSTREL.EXE", kUninstalling, &NameSlots::exitUninst, "UNINST_LAB", 2, nullptr, -1},
    {"play", "when Play is pressed", "OSTREL.EXE", kIdle, &NameSlots::play, "PLAY_LAB", 0, nullptr, -1},
    {"sub1", "when sub button 1 is pressed", "OSTREL.EXE", kIdle, nullptr, "SUBBTN1", 1, nullptr, -1},
    {"sub2", "when sub button 2 is pressed", "OSTREL.EXE", kIdle, nullptr, "SUBBTN2", 1, nullptr, -1},
};
const int kInstallerContextCount = sizeof kInstallerContexts / sizeof kInstallerContexts[0];

const RunContext kRunnerContext = {
    "runner", "when the runner runs", "BRINMARK.EXE", kIdle, nullptr, nullptr, 0, "~[START]", -1};

}  // namespace checker
