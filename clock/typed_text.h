// Text typed into the clock's edit boxes, taken into the Shift-JIS bytes its records keep.
// An edit box holds Unicode on any system; what code page 932 has no code for must neither
// vanish nor turn into some other character, so it shows as a mark the user can see.
#pragma once

#include <cstddef>
#include <functional>

namespace pendrick {

// The full-width question mark (Shift-JIS 81 48): read at once as "a character was lost
// here", in every Japanese font, and as wide as the characters around it. (The geta mark
// 〓, typesetting's own stand-in, draws like "=" at memo sizes.) Its second byte is no
// line end or tab, so the memo's line rules never see it.
constexpr char kUnheldMark[] = "？";
constexpr char16_t kUnheldMarkUnicode = u'？';

// One UTF-16 unit (never a surrogate) in code page 932: writes its 1 or 2 bytes and
// returns how many, or 0 when the code page has no code of its own for it.
using Cp932Encoder = std::function<int(char16_t unit, char out[2])>;

struct TypedText {
    size_t length = 0;      // bytes written, without the terminator
    int replaced = 0;       // characters that became the mark
    bool cut = false;       // characters after the last one that fitted were left out
    size_t unitsTaken = 0;  // UTF-16 units of typed that the bytes stand for
};

// Converts count UTF-16 units into out (size bytes, always terminated). A character the
// code page cannot hold (a surrogate pair is one character) becomes kUnheldMark; the text
// ends before the first character that does not fit whole, so no double-byte character
// is ever split.
TypedText ShiftJisFromTyped(const char16_t* typed, size_t count, char* out, size_t size, const Cp932Encoder& encode);

}  // namespace pendrick
