// The keyword dispatcher and the two section runners.
#pragma once

#include "script/engine.h"

namespace script {

int DispatchLine(Engine& e);
// Reads the next line and dispatches it; *readResult is ReadScriptLine's (-1 at the end).
int ReadAndDispatch(Engine& e, int* readResult);
// 0 no such section, 1 ran to its end, -1 aborted.
int RunSection(Engine& e, const char* pattern);
// 1 a line ran and the section goes on, 0 the section ended, -1 a command failed.
int StepSection(Engine& e);

}  // namespace script
