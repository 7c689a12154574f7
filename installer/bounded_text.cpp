// Bounded text helpers (see bounded_text.h).
#include "installer/bounded_text.h"

#include <cstdio>
#include <cstring>

#include "script/script_text.h"

namespace installer {

bool CopyTextN(char* dst, size_t size, const char* src, size_t n) {
    if (size == 0) return n == 0;
    size_t i = 0;
    while (i < n) {
        size_t step = (script::IsLeadByte(static_cast<unsigned char>(src[i])) && i + 1 < n) ? 2 : 1;
        if (i + step > size - 1) break;
        std::memcpy(dst + i, src + i, step);
        i += step;
    }
    dst[i] = '\0';
    return i == n;
}

bool CopyText(char* dst, size_t size, const char* src) { return CopyTextN(dst, size, src, std::strlen(src)); }

bool AppendText(char* dst, size_t size, const char* src) {
    size_t used = std::strlen(dst);
    if (used >= size) return false;
    return CopyText(dst + used, size - used, src);
}

bool EnsureBackslash(char* dst, size_t size) {
    size_t n = std::strlen(dst);
    if (n == 0 || dst[n - 1] == '\\') return true;
    return AppendText(dst, size, "\\");
}

void FormatText(char* dst, size_t size, const char* fmt, const char* arg) {
    char wide[1024];
    std::snprintf(wide, sizeof wide, fmt, arg);
    CopyText(dst, size, wide);
}

}  // namespace installer
