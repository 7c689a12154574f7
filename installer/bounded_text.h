// Bounded text helpers for the installer's fixed Shift-JIS buffers: every copy and
// append knows its destination's size and never splits a two-byte character.
#pragma once

#include <cstddef>

namespace installer {

// Copies at most size - 1 bytes of src into dst (always zero-terminated when size > 0),
// dropping a lead byte whose second byte would not fit. Returns true when all of src fit.
bool CopyText(char* dst, size_t size, const char* src);
// Appends src to dst the same way; true when all of it fit.
bool AppendText(char* dst, size_t size, const char* src);
// Appends a backslash unless dst is empty or already ends with one; false when it did not fit.
bool EnsureBackslash(char* dst, size_t size);
// Copies exactly n bytes of src (cut as CopyText cuts).
bool CopyTextN(char* dst, size_t size, const char* src, size_t n);
// Formats fmt with one text argument into dst, cut on a character boundary.
void FormatText(char* dst, size_t size, const char* fmt, const char* arg);

}  // namespace installer
