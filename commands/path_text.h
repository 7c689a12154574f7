// Small byte-string helpers for the system commands: bounded joining and the
// "cut at the last backslash" rule, both safe for Shift-JIS paths.
#pragma once

#include <cstddef>
#include <cstring>

#include "script/script_text.h"

namespace commands {

// Index of the last backslash before the final byte of text (the final byte itself is
// never taken, so "C:\GAME\" cuts at the backslash after C:), or -1 when there is none.
// The second byte of a double-byte character is never taken for a backslash.
inline int FindCutPoint(const char* text) {
    int length = static_cast<int>(std::strlen(text));
    int found = -1;
    for (int i = 0; i < length - 1; ++i) {
        if (script::IsLeadByte(static_cast<unsigned char>(text[i]))) {
            ++i;  // the trail byte may look like a backslash
            continue;
        }
        if (text[i] == '\\') found = i;
    }
    return found;
}

// Cuts text at its cut point (the backslash and everything after it removed).
// False, and text unchanged, when it has no backslash to cut at.
inline bool CutAtLastBackslash(char* text) {
    int at = FindCutPoint(text);
    if (at < 0) return false;
    text[at] = '\0';
    return true;
}

// True when text already ends in a backslash that is not the second byte of a
// double-byte character.
inline bool EndsWithBackslash(const char* text) {
    int length = static_cast<int>(std::strlen(text));
    if (length == 0) return false;
    bool lastIsTrail = false;
    for (int i = 0; i < length; ++i) {
        if (script::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length) {
            lastIsTrail = (i + 1 == length - 1);
            ++i;
        } else {
            lastIsTrail = false;
        }
    }
    return !lastIsTrail && text[length - 1] == '\\';
}

// Appends text to out (size bytes, zero included). When the result would not fit,
// out is left as it was and false is returned.
inline bool AppendText(char* out, size_t size, const char* text) {
    size_t have = std::strlen(out);
    size_t add = std::strlen(text);
    if (have + add + 1 > size) return false;
    std::memcpy(out + have, text, add + 1);
    return true;
}

// out = first + second (+ third); false and out empty when it would not fit.
inline bool JoinText(char* out, size_t size, const char* first, const char* second, const char* third = "") {
    if (size == 0) return false;
    out[0] = '\0';
    if (AppendText(out, size, first) && AppendText(out, size, second) && AppendText(out, size, third)) return true;
    out[0] = '\0';
    return false;
}

}  // namespace commands
