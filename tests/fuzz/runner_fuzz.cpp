// Any bytes as the command runner's COMMAND.INF, run as BRINMARK runs it: with the
// installer's window present (the script runs with the runner's own commands, variables
// and root keys) and absent (only the notice is shown). The runner is silent: whatever
// the script says, no message box may appear while it runs, and nothing may crash, hang
// or touch memory outside its buffers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/fuzz_checks.h"
#include "platform/sim/sim_windows.h"
#include "runner/command_runner.h"
#include "script/engine.h"

namespace {

using fuzzcheck::Require;

// GOTO back up [START] loops for ever, as in the real runner; the fuzzer stops it.
constexpr long kLineBudget = 400;

// A machine with something for REGJUMP, REGDELETE and CLRSHORTCUTA to find.
void PrepareMachine(plat::SimWindows& sys) {
    sys.SetModuleFileName("C:\\GAME\\BRINMARK.EXE");
    sys.AddFile("C:\\GAME\\BRINMARK.EXE", "");
    sys.RegPutValue(plat::RegRoot::LocalMachine, "SOFTWARE\\Tavrel\\GAME", "Path", plat::kRegSz,
                    std::string("C:\\GAME\0", 8));
    sys.RegPutKey(plat::RegRoot::LocalMachine, "SOFTWARE\\Tavrel\\GAME\\Sub");
    sys.RegPutValue(plat::RegRoot::CurrentUser, "Software\\Tavrel", "Last", plat::kRegSz, std::string("1\0", 2));
    sys.AddFile("C:\\WINDOWS\\Start Menu\\Programs\\Tavrel\\GAME.lnk", "link");
}

// A fresh engine per run: the runner configures it, the budget stays.
script::Engine& FreshEngine() {
    static script::Engine e;  // 20 KB of buffers: kept off the stack
    e = script::Engine{};
    e.dispatchLimit = kLineBudget;
    return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string script(reinterpret_cast<const char*>(data), size > 12000 ? 12000 : size);
    // The -s switch names the script file: both spellings the runner accepts.
    const char* commandLine = (size & 1) ? "-s COMMAND.INF" : "/SCOMMAND.INF";

    {  // No installer running: the notice, and the script is never read.
        plat::SimWindows sys;
        PrepareMachine(sys);
        sys.AddFile("C:\\GAME\\COMMAND.INF", script);
        Require(runner::RunCommandRunner(FreshEngine(), sys, commandLine) == 0);
        Require(sys.MessageBoxes().size() == 1);
        Require(!sys.RegKeyExists(plat::RegRoot::LocalMachine, "SOFTWARE\\Tavrel\\Setup"));
        Require(sys.RegKeyExists(plat::RegRoot::LocalMachine, "SOFTWARE\\Tavrel\\GAME\\Sub"));
    }
    {  // The installer's window is there: [START] runs, silently.
        plat::SimWindows sys;
        PrepareMachine(sys);
        sys.AddFile("C:\\GAME\\COMMAND.INF", script);
        sys.AddWindow("Tavrel SETUP", "TavrelSetupFrame");
        script::Engine& e = FreshEngine();
        Require(runner::RunCommandRunner(e, sys, commandLine) == 0);
        Require(sys.MessageBoxes().empty());
        Require(sys.OpenFileCount() == 0 && sys.OpenSearchCount() == 0 && sys.OpenKeyCount() == 0);
        Require(sys.Contents("C:\\GAME\\COMMAND.INF") == script);  // read, never written
    }
    return 0;
}
