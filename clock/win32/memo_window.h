// A quick memo window's data and the dialogs that edit it.
#pragma once

#include "platform/win32/windows_clean.h"

#include "clock/memo.h"

namespace pendrick {

struct MemoData {
    char text[kMemoTextSize] = {};
    COLORREF textColour = 0;
    COLORREF backColour = 0;
    int topMost = 1;
    int id = 0;
    HFONT font = nullptr;
    char face[kMemoFaceSize] = {};
    int weight = 700;
    int size = 16;
    int italic = 0;
    // The value this memo was restored from, -1 when it was never saved.
    int savedNumber = -1;
};

HFONT CreateMemoFont(const MemoData& memo);
// memo_dialogs.cpp: the text dialog (with its colour and font dialogs) for a memo.
void RunTextDialog(HINSTANCE instance, MemoData& memo, HWND owner);

}  // namespace pendrick
