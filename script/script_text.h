// The script text: loading, line reading, the pattern matcher and section lookup.
#pragma once

#include "script/engine.h"

namespace script {

// Loads program folder + script name into the script text; 1 on success, 0 on failure
// (the size and "abnormal script" messages are shown here, the rest by the caller).
int LoadScript(Engine& e);
// Loads script bytes held in memory, with the same size rule and checks as LoadScript.
int LoadScriptBytes(Engine& e, const char* bytes, int size);

// Copies the next line into the line buffer; its length including CR LF, or -1 at the
// end of the script text or for an over-long line.
int ReadScriptLine(Engine& e);

// 0 when pattern matches the beginning of text (the match length is then set), else -1.
int MatchPattern(Engine& e, const char* pattern, const char* text);
// False when MatchPattern would fail on the first bytes already (neither is a wildcard and
// they differ): a cheap test before trying many patterns at the same place.
inline bool FirstByteMayMatch(const char* pattern, const char* text) {
    const unsigned char c = static_cast<unsigned char>(pattern[0]);
    const unsigned char t = static_cast<unsigned char>(text[0]);
    if (c == 0 || t == 0) return false;
    if (c == '~' || c == '?' || c == '*') return true;
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return letter ? (c | 0x20) == (t | 0x20) : c == t;
}

// 1 and the read position behind the first matching line, or 0.
int FindSection(Engine& e, const char* pattern);

// Removes trailing blanks, tabs, CR and LF (never the first byte).
void TrimLineEnd(char* buffer);

}  // namespace script
