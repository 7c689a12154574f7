// The text the checker's diagnostics are made of (see diagnostic_text.h).
// MinGW's C runtime printf knows no %zu; its own C99 one does.
#define __USE_MINGW_ANSI_STDIO 1
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "script/argument_reader.h"
#include "text/lead_bytes.h"
#include "tools/checker/diagnostic_text.h"
#include "tools/checker/text_encoding.h"

namespace checker {

bool IsWordByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}
static char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::string UpperText(const std::string& s) {
    std::string u = s;
    for (char& c : u) c = Upper(c);
    return u;
}

std::string FirstWord(const char* line) {
    const char* p = line;
    while (*p == ' ' || *p == '\t') ++p;
    std::string w;
    while (IsWordByte(static_cast<unsigned char>(*p))) w += *p++;
    return w;
}

std::string Quote(const std::string& sjis, size_t limit) {
    std::string s = sjis;
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '\t')) s.pop_back();
    size_t start = s.find_first_not_of(" \t");
    s = start == std::string::npos ? "" : s.substr(start);
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
            out += " / ";
            ++i;
        } else if (s[i] == '\n') {
            out += " / ";
        } else {
            out += s[i];
        }
    }
    if (out.size() > limit) {
        size_t cut = 0;
        while (cut < limit) cut += text::IsEngineLeadByte(static_cast<unsigned char>(out[cut])) ? 2 : 1;
        out = out.substr(0, cut) + "...";
    }
    return SjisToUtf8(out);
}

int EditDistance(const std::string& a, const std::string& b) {
    const size_t n = a.size(), m = b.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(i);
    for (size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; ++i) {
        for (size_t j = 1; j <= m; ++j) {
            int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

// The whole text, however long: quoted script text (a byte that does not convert takes
// four characters) would otherwise be cut in the middle of a UTF-8 character.
std::string Fmt(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    va_list again;
    va_copy(again, ap);
    const int n = std::vsnprintf(nullptr, 0, format, ap);
    va_end(ap);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    return text;
}

bool IsDecimal(const std::string& text) {
    if (script::ParseDecimal(text.c_str()) != 0) return true;
    size_t n = 0;
    while (n < text.size() && text[n] != ',' && text[n] != ' ' && text[n] != '\r' && text[n] != '\n') ++n;
    if (n == 0 || n > 7) return false;
    for (size_t i = 0; i < n; ++i)
        if (text[i] != '0') return false;
    return true;
}

}  // namespace checker
