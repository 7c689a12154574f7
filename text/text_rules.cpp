// The byte-string rules for Shift-JIS paths and fixed text buffers (see text_rules.h).
#include "text/text_rules.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "text/lead_bytes.h"

namespace text {

namespace {

// Index where the character starting at i ends (exclusive); a lead byte with nothing
// behind it stands alone.
int NextCharacter(const char* text, int i) {
    return IsEngineLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0' ? i + 2 : i + 1;
}

// Index of the last character's first byte, or -1 for an empty text.
int LastCharacterStart(const char* text) {
    int last = -1;
    for (int i = 0; text[i] != '\0'; i = NextCharacter(text, i)) last = i;
    return last;
}

}  // namespace

int LastSeparator(const char* path, int low, int high) {
    int found = -1;
    for (int i = 0; path[i] != '\0'; i = NextCharacter(path, i)) {
        if (path[i] == '\\' && i >= low && i <= high) found = i;
    }
    return found;
}

int LastInnerBackslash(const char* text) { return LastSeparator(text, 0, static_cast<int>(std::strlen(text)) - 2); }

bool CutAtLastInnerBackslash(char* text) {
    const int at = LastInnerBackslash(text);
    if (at < 0) return false;
    text[at] = '\0';
    return true;
}

bool EndsWithBackslash(const char* text) {
    const int last = LastCharacterStart(text);
    return last >= 0 && text[last] == '\\';  // a two-byte character starts with a lead byte
}

bool EndsInSeparatorOrColon(const char* path) {
    const int last = LastCharacterStart(path);
    return last >= 0 && (path[last] == '\\' || path[last] == ':');
}

bool HasWildcard(const char* path) { return std::strpbrk(path, "*?") != nullptr; }

int LastBackslash(const char* text) { return LastSeparator(text, 0, static_cast<int>(std::strlen(text))); }

void ParentOf(const char* path, char* out, size_t size) {
    std::snprintf(out, size, "%s", path);
    const int at = LastInnerBackslash(out);
    if (at >= 0) out[at] = 0;
}

bool AppendOrRefuse(char* out, size_t size, const char* text) {
    const size_t have = std::strlen(out);
    const size_t add = std::strlen(text);
    if (have + add + 1 > size) return false;
    std::memcpy(out + have, text, add + 1);
    return true;
}

bool JoinOrRefuse(char* out, size_t size, const char* first, const char* second, const char* third) {
    if (size == 0) return false;
    const size_t a = std::strlen(first), b = std::strlen(second), c = std::strlen(third);
    if (a + b + c + 1 > size) {
        out[0] = '\0';
        return false;
    }
    std::memmove(out, first, a);
    std::memmove(out + a, second, b);
    std::memmove(out + a + b, third, c + 1);
    return true;
}

bool CopyOrCutN(char* dst, size_t size, const char* src, size_t n) {
    if (size == 0) return n == 0;
    size_t i = 0;
    while (i < n) {
        const size_t step = (IsEngineLeadByte(static_cast<unsigned char>(src[i])) && i + 1 < n) ? 2 : 1;
        if (i + step > size - 1) break;
        // Byte by byte, not memcpy: a call per character costs more than the copy.
        dst[i] = src[i];
        if (step == 2) dst[i + 1] = src[i + 1];
        i += step;
    }
    dst[i] = '\0';
    return i == n;
}

bool CopyOrCut(char* dst, size_t size, const char* src) { return CopyOrCutN(dst, size, src, std::strlen(src)); }

bool AppendOrCut(char* dst, size_t size, const char* src) {
    const size_t used = std::strlen(dst);
    if (used >= size) return false;
    return CopyOrCut(dst + used, size - used, src);
}

void FormatOrCut(char* dst, size_t size, const char* format, ...) {
    char wide[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(wide, sizeof wide, format, args);
    va_end(args);
    CopyOrCut(dst, size, wide);
}

bool EnsureBackslash(char* dst, size_t size) {
    if (dst[0] == 0 || EndsWithBackslash(dst)) return true;
    return AppendOrCut(dst, size, "\\");
}

void AppendBackslash(char* text, size_t size) {
    const size_t n = std::strlen(text);
    if ((n == 0 || !EndsWithBackslash(text)) && n + 1 < size) {
        text[n] = '\\';
        text[n + 1] = 0;
    }
}

void DropTrailingBackslash(char* folder) {
    const size_t n = std::strlen(folder);
    if (n > 3 && EndsWithBackslash(folder)) folder[n - 1] = '\0';
}

void DriveRoot(char letter, char out[4]) {
    out[0] = letter;
    out[1] = ':';
    out[2] = '\\';
    out[3] = '\0';
}

void DriveOf(const char* path, char* out) {
    size_t n = std::strlen(path);
    if (n > 2) n = 2;
    std::memcpy(out, path, n);
    out[n] = '\\';
    out[n + 1] = 0;
}

void FolderOf(const char* path, char* out, size_t size) {
    out[0] = 0;
    if (std::strlen(path) < 3) return;
    std::snprintf(out, size, "%s", path + 3);
    EnsureBackslash(out, size);
}

}  // namespace text
