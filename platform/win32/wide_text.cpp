// Conversions with code page 932 named explicitly: never CP_ACP, which follows the
// system's locale and would store a Japanese name garbled on any other Windows.
#include "platform/win32/wide_text.h"

#include "platform/win32/windows_clean.h"

namespace plat {

TextFit ToShiftJis(const wchar_t* wide, char* buffer, size_t size) {
    if (!buffer || size == 0) return TextFit::kTooLong;
    buffer[0] = 0;
    if (!wide) return TextFit::kFits;
    // Asked first without a buffer, so "does not fit" and "cannot be held" stay apart.
    BOOL usedDefault = FALSE;
    int needed = ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr,
                                       &usedDefault);
    if (needed <= 0 || usedDefault) return TextFit::kNotShiftJis;
    if (static_cast<size_t>(needed) > size) return TextFit::kTooLong;
    int written = ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide, -1, buffer,
                                        static_cast<int>(size), nullptr, &usedDefault);
    if (written <= 0 || usedDefault) {
        buffer[0] = 0;
        return TextFit::kNotShiftJis;
    }
    buffer[size - 1] = 0;
    return TextFit::kFits;
}

bool ToWide(const char* sjis, wchar_t* buffer, size_t size) {
    if (!buffer || size == 0) return false;
    buffer[0] = 0;
    if (!sjis) return true;
    int needed = ::MultiByteToWideChar(kShiftJisCodePage, 0, sjis, -1, nullptr, 0);
    if (needed <= 0 || static_cast<size_t>(needed) > size) return false;
    ::MultiByteToWideChar(kShiftJisCodePage, 0, sjis, -1, buffer, static_cast<int>(size));
    buffer[size - 1] = 0;
    return true;
}

WideArg::WideArg(const char* sjis) {
    if (!sjis) {
        isNull_ = true;
        text_.assign(1, L'\0');
        return;
    }
    Convert(sjis, -1);
}

WideArg::WideArg(const char* sjis, size_t length) { Convert(sjis ? sjis : "", static_cast<int>(length)); }

void WideArg::Convert(const char* sjis, int length) {
    // A length of -1 counts the terminator in; a counted text gets one added.
    int needed = length == 0 ? 0 : ::MultiByteToWideChar(kShiftJisCodePage, 0, sjis, length, nullptr, 0);
    if (needed < 0) needed = 0;
    text_.assign(static_cast<size_t>(needed) + 1, L'\0');
    if (needed > 0) ::MultiByteToWideChar(kShiftJisCodePage, 0, sjis, length, text_.data(), needed);
    if (length < 0 && needed > 0) text_.pop_back();  // the converted terminator is already there
}

}  // namespace plat
