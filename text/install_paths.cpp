// The install destination's path rules (see install_paths.h).
#include "text/install_paths.h"

#include <cstring>

#include "text/lead_bytes.h"
#include "text/text_rules.h"

namespace text {

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

int DriveIndexOf(char letter) { return letter >= 'a' && letter <= 'z' ? letter - 'a' : letter - 'A'; }

bool IsBlankOnly(const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p)
        if (*p != ' ' && *p != '\t') return false;
    return true;
}

int RealBackslashes(const char* path, int* at, int capacity) {
    int count = 0;
    for (int i = 0; path[i] != '\0'; ++i) {
        if (IsEngineLeadByte(static_cast<unsigned char>(path[i])) && path[i + 1] != '\0') {
            ++i;
            continue;
        }
        if (path[i] == '\\' && count < capacity) at[count++] = i;
    }
    return count;
}

void CollapseBackslashes(char* path) {
    char* out = path;
    bool lastWasBackslash = false;
    for (const char* in = path; *in != '\0';) {
        if (IsEngineLeadByte(static_cast<unsigned char>(*in)) && in[1] != '\0') {
            *out++ = *in++;
            *out++ = *in++;
            lastWasBackslash = false;
            continue;
        }
        const bool backslash = *in == '\\';
        if (!(backslash && lastWasBackslash)) *out++ = *in;
        lastWasBackslash = backslash;
        ++in;
    }
    *out = '\0';
}

bool CompletePath(char* path, size_t size) {
    const size_t n = std::strlen(path);
    if (n == 0) return false;
    char out[kPathSize * 2];
    DriveRoot(path[0], out);
    if (n > 2) {
        // "X:\rest", "X\rest" and "X:rest" all name the folder rest on drive X; the last
        // two would otherwise be taken relative to a current directory.
        const char* rest = path + 2;
        if (path[1] == ':' && path[2] == '\\') rest = path + 3;
        if (std::strlen(rest) + 4 > sizeof out) return false;
        std::strcat(out, rest);
        if (!EndsWithBackslash(out) && !AppendOrRefuse(out, sizeof out, "\\")) return false;
    }
    return CopyOrCut(path, size, out);
}

void UpperCaseSingleByte(char* text) {
    for (size_t i = 0; text[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsEngineLeadByte(c) && text[i + 1] != '\0') {
            ++i;  // the trail byte may look like a lower-case letter
            continue;
        }
        if (c >= 'a' && c <= 'z') text[i] = static_cast<char>(c - 'a' + 'A');
    }
}

bool FormFinalPath(const char* base, bool update, const char* productFolder, char* out, size_t size) {
    char built[kPathSize];
    bool fits = CopyOrCut(built, sizeof built, base) && EnsureBackslash(built, sizeof built);
    if (fits && !update)
        fits = AppendOrCut(built, sizeof built, "TAVREL\\") && AppendOrCut(built, sizeof built, productFolder);
    if (!fits || std::strlen(built) + 1 > size) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    UpperCaseSingleByte(built);
    std::memcpy(out, built, std::strlen(built) + 1);
    return true;
}

void BaseOfDestination(const char* destination, char* out, size_t size) {
    CopyOrCut(out, size, destination);
    for (int cut = 0; cut < 2; ++cut) {
        const int at = LastInnerBackslash(out);
        if (at >= 1) out[at] = '\0';  // a backslash in the first byte is no folder boundary
    }
    EnsureBackslash(out, size);
}

}  // namespace text
