// Typed Unicode text to the records' Shift-JIS (see typed_text.h).
#include "clock/typed_text.h"

#include <cstring>

namespace pendrick {

namespace {

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

TypedText ShiftJisFromTyped(const char16_t* typed, size_t count, char* out, size_t size, const Cp932Encoder& encode) {
    TypedText result;
    if (!out || size == 0) return result;
    out[0] = 0;
    const size_t room = size - 1;
    for (size_t i = 0; typed && i < count;) {
        char bytes[2];
        int n = 0;
        size_t units = 1;
        char16_t u = typed[i];
        if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(typed[i + 1])) {
            units = 2;  // beyond the code page's plane: nothing there has a code
        } else if (!IsHighSurrogate(u) && !IsLowSurrogate(u)) {
            n = encode(u, bytes);
            if (n < 0 || n > 2) n = 0;
        }
        const bool unheld = n == 0;
        if (unheld) {
            n = int(sizeof kUnheldMark - 1);
            std::memcpy(bytes, kUnheldMark, size_t(n));
        }
        if (result.length + size_t(n) > room) {
            result.cut = true;
            break;
        }
        std::memcpy(out + result.length, bytes, size_t(n));
        result.length += size_t(n);
        if (unheld) ++result.replaced;
        i += units;
        result.unitsTaken = i;
    }
    out[result.length] = 0;
    return result;
}

}  // namespace pendrick
