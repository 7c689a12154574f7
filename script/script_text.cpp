// The script text: loading it, cutting it into lines, matching patterns against lines and
// finding the first line that matches. Every lookup of the engine rests on these four.
#include "script/script_text.h"

#include <cstdio>
#include <cstring>

#include "script/messages.h"
#include "text/lead_bytes.h"

namespace script {

namespace {

const char kTooLargeText[] = "スクリプトファイルのサイズが大きすぎます。";
const char kAbnormalText[] = "スクリプトファイルが異常です。";

bool IsBlank(unsigned char b) { return b == ' ' || b == '\t'; }
bool IsDigit(unsigned char b) { return b >= '0' && b <= '9'; }
bool IsLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }
unsigned char Lower(unsigned char b) { return (b >= 'A' && b <= 'Z') ? b + 32 : b; }

// A pattern ending in a wildcard must end at a token boundary in the text.
bool IsBoundary(unsigned char b) { return b <= 0x20 || b >= 0x80 || b == '\t' || b == ',' || b == '='; }

// Whether [from, to) holds an odd number of double quotes.
bool OddQuotes(const char* from, const char* to) {
    bool odd = false;
    while ((from = static_cast<const char*>(std::memchr(from, '"', static_cast<size_t>(to - from)))) != nullptr) {
        odd = !odd;
        ++from;
    }
    return odd;
}

// The text of size bytes is in place: check it holds an options section.
int AcceptScript(Engine& e, int size) {
    ScriptText& s = e.script;
    s.length = size;
    s.readPos = 0;
    s.lineCount = 0;
    s.line[0] = 0;
    if (!FindSection(e, "~[OPTIONS]")) {
        ShowStartupMessage(e, kAbnormalText);
        return 0;
    }
    return 1;
}

}  // namespace

int LoadScriptBytes(Engine& e, const char* bytes, int size) {
    if (size > kScriptCapacity) {
        ShowStartupMessage(e, kTooLargeText);
        size = kScriptCapacity;
    }
    if (size < 0) size = 0;
    if (size > 0) std::memcpy(e.script.text, bytes, size);
    return AcceptScript(e, size);
}

int LoadScript(Engine& e) {
    char path[kPathSize * 2];
    std::snprintf(path, sizeof path, "%s%s", e.env.programFolder, e.env.scriptName);
    plat::FileCause cause = plat::kCauseNone;
    plat::FileHandle f = e.sys->OpenForRead(path, &cause);
    if (!f) return 0;
    uint64_t size = 0;
    if (!e.sys->GetFileSize(f, &size)) {
        e.sys->CloseFile(f, &cause);
        return 0;
    }
    if (size > kScriptCapacity) {
        ShowStartupMessage(e, kTooLargeText);
        size = kScriptCapacity;
    }
    e.script.length = 0;  // until the whole read succeeded
    uint32_t total = 0;
    while (total < size) {
        uint32_t got = 0;
        if (!e.sys->ReadFile(f, e.script.text + total, static_cast<uint32_t>(size) - total, &got, &cause)) {
            e.sys->CloseFile(f, &cause);
            return 0;
        }
        if (got == 0) break;
        total += got;
    }
    if (!e.sys->CloseFile(f, &cause)) return 0;
    if (total != size) return 0;
    return AcceptScript(e, static_cast<int>(total));
}

int ReadScriptLine(Engine& e) {
    ScriptText& s = e.script;
    const int start = s.readPos;
    const int length = s.length;
    if (start >= length) {
        s.line[0] = 0;
        return -1;
    }
    // Find the line's end first and copy it whole: every lookup reads the script line by
    // line from its start, so this search is most of the time a script takes. A line ends
    // at an LF behind a CR outside quotes, looked at up to the script's last byte and the
    // longest line; otherwise it runs to whichever of those comes first and ends the
    // script. memchr finds the candidates, the quotes before each one are counted. An
    // over-long line ends the script: nothing behind it is ever read, so a later read
    // cannot resume in the middle of the line and run its tail.
    const char* text = s.text;
    const int scanEnd = length - 1 < start + kMaxLineBytes ? length - 1 : start + kMaxLineBytes;
    bool quoted = false;
    int count = length - start < kMaxLineBytes ? length - start : kMaxLineBytes;  // bytes of the line
    int result = -1;
    int next = length;  // where the next read starts
    for (int from = start; from < scanEnd;) {
        const void* found = std::memchr(text + from, '\n', static_cast<size_t>(scanEnd - from));
        if (found == nullptr) break;
        const int lf = static_cast<int>(static_cast<const char*>(found) - text);
        if (OddQuotes(text + from, text + lf)) quoted = !quoted;
        if (lf > start && text[lf - 1] == '\r' && !quoted) {
            count = lf - start + 1;
            result = count;
            next = lf + 1;
            ++s.lineCount;
            break;
        }
        from = lf + 1;
    }
    std::memcpy(s.line, s.text + start, static_cast<size_t>(count));
    s.line[count] = 0;
    s.readPos = next;
    return result;
}

int MatchPattern(Engine& e, const char* pattern, const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pattern);
    const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
    if (!*p || !*t) return -1;
    size_t pi = 0, ti = 0;
    for (;;) {
        unsigned char c = p[pi];
        if (c == '~' || c == '?') {
            if (c == '~') {
                while (IsBlank(t[ti])) ++ti;
            } else {
                while (IsDigit(t[ti])) ++ti;
            }
            if (!t[ti]) return -1;
            ++pi;
            if (!p[pi]) {
                if (!IsBoundary(t[ti])) return -1;
                e.script.matchLength = static_cast<int>(ti + 1);
                return 0;
            }
            continue;
        }
        if (c == '*') {
            unsigned char next = p[pi + 1];
            if (!next) return -1;
            while (t[ti] != next) {
                if (!t[ti]) return -1;
                ++ti;
            }
            ++pi;
            c = next;
        }
        if (IsLetter(c) ? Lower(t[ti]) != Lower(c) : t[ti] != c) return -1;
        // The second byte of a two-byte character is compared exactly: in either case
        // a letter there is part of another character, not a letter.
        if (text::IsEngineLeadByte(c) && p[pi + 1] && t[ti + 1]) {
            if (p[pi + 1] != t[ti + 1]) return -1;
            ++pi;
            ++ti;
        }
        ++pi;
        ++ti;
        if (!p[pi]) {
            e.script.matchLength = static_cast<int>(ti);
            return 0;
        }
        if (!t[ti]) return -1;
    }
}

int FindSection(Engine& e, const char* pattern) {
    ScriptText& s = e.script;
    s.readPos = 0;
    s.lineCount = 0;
    for (;;) {
        int r = ReadScriptLine(e);
        if (MatchPattern(e, pattern, s.line) == 0) return 1;
        if (r == -1) {
            s.readPos = s.length;
            return 0;
        }
    }
}

void TrimLineEnd(char* buffer) {
    size_t n = std::strlen(buffer);
    while (n > 1) {
        char c = buffer[n - 1];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
        buffer[--n] = 0;
    }
}

}  // namespace script
