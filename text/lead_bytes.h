// The two Shift-JIS lead-byte tests: the engine's own and code page 932's. They differ on
// purpose: the programs walk text with their own wider test (0x80 and 0xFD to 0xFF count
// as lead bytes too), while Windows walks it with the code page's table.
#pragma once

#include <cstddef>

namespace text {

// The programs' own test, used by every rule that cuts, copies or searches script text and
// paths, so that they cut where the programs always have.
inline bool IsEngineLeadByte(unsigned char b) { return (b >= 0x80 && b < 0xA0) || b >= 0xE0; }

// Code page 932's lead bytes, as Windows' own path and name handling sees them.
inline bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Bytes of the code-page character starting at s[i] of an n-byte text: 2 for a lead byte
// with a byte behind it, else 1. Lets a walk keep a two-byte character whole.
inline size_t Cp932CharLength(const char* s, size_t i, size_t n) {
    return IsCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < n ? 2 : 1;
}

}  // namespace text
