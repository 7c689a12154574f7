// The installer's environment: its own folder, the machine's folders the script can name,
// the registered TAVREL base folder, drive types, and the command line.
#pragma once

#include "script/engine.h"

namespace installer {

// The folder of the running program (with trailing backslash) from its own path, so a
// renamed program still finds its script. false when the path has no folder.
bool ProgramFolderFromModule(script::Engine& e, char* folder, size_t size);

// Fills the Windows, desktop and start-menu group folders for the platform family.
void SetupSystemFolders(script::Engine& e);

// The start-up environment; 1, or 0 after a reported failure.
int SetupEnvironment(script::Engine& e);

// Reads -s, -b, -u and -c from the program's arguments (the text behind its name).
void ParseCommandLine(script::Engine& e, const char* commandLine);

}  // namespace installer
