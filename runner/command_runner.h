// The command runner: runs the section [START] of COMMAND.INF with eight of the
// installer's commands, silently, and only while an installer is running.
#pragma once

#include "platform/platform.h"
#include "script/engine.h"

namespace runner {

constexpr char kInstallerFrameTitle[] = "Tavrel SETUP";

// The script file name chosen by the command line ("COMMAND.INF" without -s); the last
// -s or /S wins. size includes the zero.
void ParseRunnerCommandLine(const char* commandLine, char* name, size_t size);

// The whole run; the exit code, always 0. e is configured here as a runner engine.
int RunCommandRunner(script::Engine& e, plat::Platform& sys, const char* commandLine);

}  // namespace runner
