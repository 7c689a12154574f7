// Code page 932 <-> UTF-8 for what the checker prints and reads: scripts are Shift-JIS,
// terminals and baselines are UTF-8.
#pragma once

#include <string>

namespace checker {

// Shift-JIS bytes as UTF-8; a byte that does not convert is shown as \xNN.
std::string SjisToUtf8(const std::string& sjis);
// UTF-8 as Shift-JIS; false (and out as far as it got) when a character has no
// Shift-JIS form.
bool Utf8ToSjis(const std::string& utf8, std::string* out);
// A script kept as UTF-8 text with LF line ends, as the CD's own bytes: Shift-JIS with
// CR LF, the conversion the CD layout makes.
bool Utf8SourceToScript(const std::string& utf8, std::string* script);

}  // namespace checker
