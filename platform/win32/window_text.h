// Window texts in Shift-JIS on the wide API: what the installer's and the clock's windows
// show and read back, converted with code page 932 whatever the system's code page.
#pragma once

#include <cstddef>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_clean.h"

namespace winui {

void SetText(HWND window, const char* sjis);
void SetItemText(HWND dialog, int id, const char* sjis);

// A window's text (an edit box's) in Shift-JIS. kTooLong: the buffer holds the text cut
// after the last whole character that fits, as the ANSI call cut it; kNotShiftJis: the
// text holds a character Shift-JIS has no code for, and the buffer holds an empty text.
plat::TextFit ReadText(HWND window, char* buffer, size_t size);
plat::TextFit ReadItemText(HWND dialog, int id, char* buffer, size_t size);

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);

}  // namespace winui
