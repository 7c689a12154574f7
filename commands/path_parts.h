// Cutting Shift-JIS paths into folder and name. A byte 0x5C that is the second half of a
// two-byte character (as in "ソ" or "表") is part of a name, never a separator.
#pragma once

#include <cstddef>

namespace commands {

// Index of the last real backslash of path whose index lies in [low, high], or -1.
int LastSeparator(const char* path, int low, int high);
// True when the last character of path is a real backslash or a colon.
bool EndsInSeparatorOrColon(const char* path);
// True when path holds a * or ? (neither can be the second byte of a character).
bool HasWildcard(const char* path);
// out = a + b, zero-terminated; false (out emptied) when it does not fit in size bytes.
bool JoinPath(char* out, size_t size, const char* a, const char* b);

}  // namespace commands
