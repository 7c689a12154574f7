// The keyword tables of the two programs that run scripts.
#pragma once

#include "script/engine.h"

namespace commands {

// The installer's forty keywords, in the order they are tried.
extern const script::Keyword kInstallerKeywords[];
extern const int kInstallerKeywordCount;
// The command runner's eight.
extern const script::Keyword kRunnerKeywords[];
extern const int kRunnerKeywordCount;

// What the section runners need of the commands (copy sets, the output file, settings).
extern const script::CommandServices kCommandServices;

// Makes e an installer engine (keywords, variables, root table) or a runner engine.
void ConfigureInstallerEngine(script::Engine& e);
void ConfigureRunnerEngine(script::Engine& e);

}  // namespace commands
