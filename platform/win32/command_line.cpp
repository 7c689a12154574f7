// The wide command line in Shift-JIS (see command_line.h).
#include "platform/win32/command_line.h"

#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_clean.h"

namespace plat {

std::string ArgumentsOf(const wchar_t* commandLine) {
    const wchar_t* p = commandLine ? commandLine : L"";
    // The program's name ends at its closing quote, or at the first blank when unquoted.
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p == L'"') ++p;
    } else {
        while (*p > L' ') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    if (!*p) return std::string();
    const int needed = ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, p, -1, nullptr, 0, "|", nullptr);
    if (needed <= 0) return std::string();
    std::vector<char> sjis(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, p, -1, sjis.data(), needed, "|", nullptr);
    return std::string(sjis.data());
}

std::string CommandArguments() { return ArgumentsOf(::GetCommandLineW()); }

}  // namespace plat
