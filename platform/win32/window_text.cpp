// Window texts through the wide API (see window_text.h).
#include "platform/win32/window_text.h"

#include <cstring>
#include <vector>

#include "text/lead_bytes.h"

namespace winui {

void SetText(HWND window, const char* sjis) { SetWindowTextW(window, plat::WideArg(sjis).get()); }

void SetItemText(HWND dialog, int id, const char* sjis) { SetDlgItemTextW(dialog, id, plat::WideArg(sjis).get()); }

plat::TextFit ReadText(HWND window, char* buffer, size_t size) {
    if (!buffer || size == 0) return plat::TextFit::kTooLong;
    buffer[0] = '\0';
    // The whole text first, so that a character past the buffer is judged too.
    std::vector<wchar_t> wide(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    GetWindowTextW(window, wide.data(), static_cast<int>(wide.size()));
    BOOL usedDefault = FALSE;
    const int needed = WideCharToMultiByte(plat::kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), -1, nullptr, 0,
                                           nullptr, &usedDefault);
    if (needed <= 0 || usedDefault) return plat::TextFit::kNotShiftJis;
    std::vector<char> sjis(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(plat::kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), -1, sjis.data(), needed, nullptr,
                        nullptr);
    const size_t length = static_cast<size_t>(needed) - 1;
    size_t kept = 0;
    while (kept < length) {
        const size_t step = text::Cp932CharLength(sjis.data(), kept, length);
        if (kept + step >= size) break;
        kept += step;
    }
    std::memcpy(buffer, sjis.data(), kept);
    buffer[kept] = '\0';
    return kept == length ? plat::TextFit::kFits : plat::TextFit::kTooLong;
}

plat::TextFit ReadItemText(HWND dialog, int id, char* buffer, size_t size) {
    return ReadText(GetDlgItem(dialog, id), buffer, size);
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxW(owner, plat::WideArg(text).get(), plat::WideArg(caption).get(), style);
}

}  // namespace winui
