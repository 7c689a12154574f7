// The argument reader: reads a command line's arguments one at a time, with the script
// variables expanded in them.
#pragma once

#include <cstddef>

#include "script/engine.h"

namespace script {

// What to do with an argument that does not fit the caller's buffer.
enum class Overflow { Refuse, Cut };

// Reads the next argument into out (size bytes, zero included). 1 when read; otherwise
// the syntax error is shown with the line number and 0 is returned. With Overflow::Refuse
// an argument that does not fit is a syntax error; with Overflow::Cut it is cut.
int ReadArgument(Engine& e, char* out, size_t size, Overflow overflow = Overflow::Refuse);
// The same without any message: 1 when read, 0 when absent or unreadable (out is then
// empty). An argument that is present but does not fit (Overflow::Refuse) shows the
// syntax error and gives -1: the handler must then return -1 too, never act on a cut text.
int ReadOptionalArgument(Engine& e, char* out, size_t size, Overflow overflow = Overflow::Refuse);

// The value of an unsigned decimal of at most 7 digits, 0 when the text is none.
int ParseDecimal(const char* text);

}  // namespace script
