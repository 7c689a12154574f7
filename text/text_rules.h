// The byte-string rules every program uses for Shift-JIS paths and fixed text buffers.
// Every rule takes a two-byte character whole: its second byte 0x5C is never a backslash.
#pragma once

#include <cstddef>

namespace text {

constexpr int kPathSize = 260;  // Windows' path limit, zero included: every path buffer

// ---- Looking for backslashes ---------------------------------------------------------------
// These take a two-byte character whole, so its second byte 0x5C (ソ, 表, 能) is never a
// separator.

// Lets a caller bound the name part of a path: index of the last backslash in [low, high], or -1.
int LastSeparator(const char* path, int low, int high);
// A trailing backslash names the folder itself, so only the backslashes before the final byte count.
int LastInnerBackslash(const char* text);
// Climbs one folder up; false (text unchanged) when there is no inner backslash to cut at.
bool CutAtLastInnerBackslash(char* text);
// Decides whether a separator is still needed before a name is joined on.
bool EndsWithBackslash(const char* text);
// A path ending in "X:" already names a folder, so it needs no separator either.
bool EndsInSeparatorOrColon(const char* path);
// Neither * nor ? can be the second byte of a character, so a byte search is enough.
bool HasWildcard(const char* path);

// The folder cut of a module or shell path: index of the last backslash (the final byte
// included), or -1.
int LastBackslash(const char* text);
// The installed folder's parent: out = path cut at its last backslash before the final byte.
void ParentOf(const char* path, char* out, size_t size);

// ---- Bounded joining: all or nothing -------------------------------------------------------
// For paths, where a shortened result would name some other file.

// Appends text; false and out untouched when the result would not fit in size bytes.
bool AppendOrRefuse(char* out, size_t size, const char* text);
// out = first + second + third; false and out emptied when it would not fit. out may be first.
bool JoinOrRefuse(char* out, size_t size, const char* first, const char* second, const char* third = "");

// ---- Bounded copying: as much as fits ------------------------------------------------------
// For shown text and the installer's own buffers, where a shortened result is still useful.
// The cut is made on a character boundary; each returns true when everything fit.

bool CopyOrCut(char* dst, size_t size, const char* src);
// Copies the first n bytes of src, as CopyOrCut would copy them.
bool CopyOrCutN(char* dst, size_t size, const char* src, size_t n);
bool AppendOrCut(char* dst, size_t size, const char* src);
// printf into a 1024-byte scratch line first, so a long argument is cut and never overruns dst.
void FormatOrCut(char* dst, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));

// ---- Trailing backslashes and drive pieces -------------------------------------------------
// A name ending in ソ (second byte 0x5C) does not end in a backslash.

// Readies a folder for a name; an empty text names no folder and stays empty. False when no room.
bool EnsureBackslash(char* dst, size_t size);
// As EnsureBackslash, but an empty text becomes "\" and no room is not an error.
void AppendBackslash(char* text, size_t size);
// A current directory is set without its trailing backslash, except a drive root's ("X:\").
void DropTrailingBackslash(char* folder);
// "X:\" for a drive letter; out holds at least 4 bytes.
void DriveRoot(char letter, char out[4]);
// "X:\" from the first two bytes of path ("\" for an empty one); out holds at least 4 bytes.
void DriveOf(const char* path, char* out);
// The path behind its drive (first three bytes), ending in a backslash when not empty.
void FolderOf(const char* path, char* out, size_t size);

}  // namespace text
