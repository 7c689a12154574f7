// The install destination's path rules: how a typed folder is tidied, completed into a
// drive path and turned into the final install folder. Byte rules only, so they are
// tested on their own and the install flow keeps to its screens.
#pragma once

#include <cstddef>

namespace text {

bool IsAsciiLetter(unsigned char c);
// 0 for A or a, 25 for Z or z.
int DriveIndexOf(char letter);
// True when [begin, end) holds nothing but blanks and tabs (an empty range included).
bool IsBlankOnly(const char* begin, const char* end);
// Positions of the real backslashes of path, at most capacity of them (a trail byte that
// looks like one is not); returns how many were stored.
int RealBackslashes(const char* path, int* at, int capacity);

// Replaces every run of backslashes by one (double-byte characters kept whole).
void CollapseBackslashes(char* path);
// Completes a checked path of the form "X", "X:", "X\" or longer into a folder path with
// a trailing backslash ("d" -> "d:\", "D\" -> "D:\", "C:\GAME" -> "C:\GAME\"). A
// longer path written "X\..." or "X:..." gets its missing colon or backslash. False when
// the result would not fit in size bytes.
bool CompletePath(char* path, size_t size);
// The final install folder: base, a backslash, and unless update "TAVREL\" + product
// folder; single-byte letters upper-cased. False (out empty) when it does not fit.
bool FormFinalPath(const char* base, bool update, const char* productFolder, char* out, size_t size);
// Upper-cases single-byte letters; double-byte characters are left as they are.
void UpperCaseSingleByte(char* text);
// The Tavrel base folder of a destination: cut twice at a backslash, backslash ensured.
void BaseOfDestination(const char* destination, char* out, size_t size);

}  // namespace text
