// The script variables: their values, snapshots of the environment paths, and the tables
// that say which names each program knows.
#pragma once

#include "script/engine.h"

namespace script {

// Recomputes the path variables from the environment (and reads the installed folder).
void RefreshVariables(Engine& e);

// The installer's fourteen variables and the runner's twelve.
extern const Variable kInstallerVariables[];
extern const int kInstallerVariableCount;
extern const Variable kRunnerVariables[];
extern const int kRunnerVariableCount;

}  // namespace script
