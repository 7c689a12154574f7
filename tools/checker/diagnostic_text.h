// The text the checker's diagnostics are made of: words, quotes, formatting and near misses.
#pragma once

#include <cstddef>
#include <string>

namespace checker {

bool IsWordByte(unsigned char c);
std::string UpperText(const std::string& s);  // ASCII letters upper-cased
// The first word of a line: letters, digits and underscores behind leading blanks.
std::string FirstWord(const char* line);
// A line as a diagnostic quotes it: trimmed, line breaks inside it shown as " / ".
std::string Quote(const std::string& sjis, size_t limit = 60);
// Restricted edit distance (adjacent swaps count one).
int EditDistance(const std::string& a, const std::string& b);
std::string Fmt(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
// The value syntax of a valid integer option or numeric argument: what ParseDecimal
// accepts, told apart from a text it turns into 0.
bool IsDecimal(const std::string& text);

}  // namespace checker
