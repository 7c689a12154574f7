// The copy engine: one file copied in blocks, and the install progress it advances.
#pragma once

#include <cstdint>

#include "script/engine.h"

namespace commands {

using script::Engine;

script::CopyResult CopyOneFile(Engine& e);

// copied / (total / 100), capped at 100; a divisor of 0 counts as 1.
int ProgressPercent(uint64_t copied, uint64_t total);

}  // namespace commands
