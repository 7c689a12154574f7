// Quick memo windows: opening, painting, dragging by the body, their menu, and the save
// and restore through the clock's registry key.
#include "clock/win32/memo_window.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "clock/win32/clock_app.h"
#include "platform/win32/wide_text.h"

namespace pendrick {

namespace {

enum MemoMenu : UINT { kMenuAddText = 1, kMenuTopMost, kMenuClose };

// A memo window: its data, bound to the window; the object deletes itself with it.
class MemoWindow : public winui::Window {
public:
    explicit MemoWindow(ClockApp& app) : app_(app) {}

    HWND Create(HINSTANCE instance, const MemoRect& place) {
        HWND window = winui::Window::Create(WS_EX_TOOLWINDOW, kMemoClass, "QuickMemo", WS_POPUP, place.left, place.top,
                                            place.width, place.height, nullptr, instance);
        ownsItself_ = window != nullptr;
        return window;
    }

    MemoData data;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage() override {
        if (ownsItself_) delete this;
    }

private:
    void OnPaint();
    void OnClose();
    void RunMenu();

    ClockApp& app_;
    bool ownsItself_ = false;  // from a successful creation on; before it, the opener frees it
};

// Only the clock's own memo windows, whose objects are MemoWindows.
MemoData* DataOf(HWND window) {
    MemoWindow* memo = static_cast<MemoWindow*>(winui::Window::FromHandle(window));
    return memo ? &memo->data : nullptr;
}

void ScreenSize(int* w, int* h) {
    *w = GetSystemMetrics(SM_CXSCREEN);
    *h = GetSystemMetrics(SM_CYSCREEN);
}

void MoveMemoOntoScreen(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    int sw, sh;
    ScreenSize(&sw, &sh);
    MemoRect m = MoveOntoScreen({r.left, r.top, r.right - r.left, r.bottom - r.top}, sw, sh);
    MoveWindow(window, m.left, m.top, m.width, m.height, TRUE);
}

int LineHeight(HDC dc) {
    SIZE s = {};
    GetTextExtentPoint32W(dc, L"TEST", 4, &s);
    return s.cy;
}

void MemoWindow::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    MemoData* memo = &data;
    if (app_.memoryDC) {
        RECT r;
        GetClientRect(hwnd_, &r);
        HBRUSH brush = CreateSolidBrush(memo->backColour);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        Rectangle(dc, 0, 0, r.right, r.bottom);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
        HGDIOBJ oldFont = SelectObject(dc, memo->font);
        SetTextColor(dc, memo->textColour);
        SetBkMode(dc, TRANSPARENT);
        int h = LineHeight(dc);
        SplitMemoText(memo->text, [&](int n, const char* bytes, int length) {
            plat::WideArg line(bytes, size_t(length));
            TextOutW(dc, 0, n * h, line.get(), int(line.length()));
        });
        SelectObject(dc, oldFont);
    }
    EndPaint(hwnd_, &ps);
}

void SizeMemoToItsText(HWND window, MemoData& memo) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, memo.font);
    MemoExtent e = SizeMemoToText(memo.text, [&](const char* bytes, int length) {
        SIZE s = {};
        plat::WideArg line(bytes, size_t(length));
        GetTextExtentPoint32W(dc, line.get(), int(line.length()), &s);
        return MemoExtent{int(s.cx), int(s.cy)};
    });
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    SetWindowPos(window, nullptr, 0, 0, e.width, e.height, SWP_NOMOVE | SWP_NOZORDER);
}

void MemoWindow::RunMenu() {
    HWND window = hwnd_;
    MemoData& memo = data;
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kMenuAddText, L"Add Text");
    AppendMenuW(menu, MF_STRING | (memo.topMost ? MF_CHECKED : 0), kMenuTopMost, L"Top Most");
    AppendMenuW(menu, MF_STRING, kMenuClose, L"Close");
    POINT p;
    GetCursorPos(&p);
    UINT id = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, window, nullptr));
    DestroyMenu(menu);
    switch (id) {
        case kMenuAddText:
            RunTextDialog(app_.instance, memo, window);
            SizeMemoToItsText(window, memo);
            InvalidateRect(window, nullptr, TRUE);
            UpdateWindow(window);
            break;
        case kMenuTopMost:
            memo.topMost = !memo.topMost;
            SetWindowPos(window, memo.topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            break;
        case kMenuClose:
            DeleteSavedMemo(app_.store, memo.savedNumber);
            PostMessageW(window, WM_CLOSE, 0, 0);
            break;
        default: break;
    }
}

void MemoWindow::OnClose() {
    if (data.font) DeleteObject(data.font);
    data.font = nullptr;
    HWND window = hwnd_;
    app_.memos.erase(std::remove(app_.memos.begin(), app_.memos.end(), window), app_.memos.end());
    DestroyWindow(window);  // the object goes with the window's last message
}

LRESULT MemoWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: OnPaint(); return 0;
        case WM_NCHITTEST: {
            LRESULT hit = Default(message, wParam, lParam);
            if (hit == HTCLIENT && (GetAsyncKeyState(VK_LBUTTON) & 0x8000)) return HTCAPTION;
            return hit;
        }
        case WM_RBUTTONUP: RunMenu(); return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kCommandCallWindow) MoveMemoOntoScreen(hwnd_);
            return 0;
        case WM_CLOSE: OnClose(); return 0;
        case WM_DESTROY:
        case WM_ERASEBKGND:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: return 0;
        default: break;
    }
    return Default(message, wParam, lParam);
}

class MemoSaver : public MemoSaveTarget {
public:
    explicit MemoSaver(ClockApp& app) : app_(app) {}
    bool RecordOf(uintptr_t handle, MemoRecord* record) override {
        HWND window = reinterpret_cast<HWND>(handle);
        MemoData* memo = IsWindow(window) ? DataOf(window) : nullptr;
        if (!memo) return false;
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof wp;
        GetWindowPlacement(window, &wp);
        *record = MemoRecord{};
        record->left = wp.rcNormalPosition.left;
        record->top = wp.rcNormalPosition.top;
        record->width = wp.rcNormalPosition.right - wp.rcNormalPosition.left;
        record->height = wp.rcNormalPosition.bottom - wp.rcNormalPosition.top;
        std::memcpy(record->text, memo->text, kMemoTextSize);
        record->textColour = memo->textColour;
        record->backColour = memo->backColour;
        record->topMost = memo->topMost;
        std::memcpy(record->face, memo->face, kMemoFaceSize);
        record->weight = memo->weight;
        record->size = memo->size;
        record->italic = memo->italic;
        return true;
    }
    void Write(int number, const MemoRecord& record) override { WriteSavedMemo(app_.store, number, record); }
    void Close(uintptr_t handle) override {
        HWND window = reinterpret_cast<HWND>(handle);
        if (IsWindow(window)) SendMessageW(window, WM_CLOSE, 0, 0);
    }

private:
    ClockApp& app_;
};

}  // namespace

HFONT CreateMemoFont(const MemoData& memo) {
    return CreateFontW(memo.size, 0, 0, 0, memo.weight, memo.italic ? TRUE : FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_ROMAN,
                       plat::WideArg(memo.face).get());
}

HWND OpenMemo(ClockApp& app, const MemoRecord* record, int savedNumber) {
    RECT clock = {};
    GetWindowRect(app.window, &clock);
    MemoRecord fresh = DefaultMemo(clock.left, clock.top);
    const MemoRecord& from = record ? *record : fresh;
    int sw, sh;
    ScreenSize(&sw, &sh);
    MemoRect place = record ? PlaceRestoredMemo(from, sw, sh) : MemoRect{from.left, from.top, from.width, from.height};

    MemoWindow* object = new MemoWindow(app);
    HWND window = object->Create(app.instance, place);
    if (!window) {
        delete object;
        return nullptr;
    }
    MemoData* memo = &object->data;
    std::memcpy(memo->face, from.face, kMemoFaceSize);
    memo->face[kMemoFaceSize - 1] = 0;
    memo->size = from.size;
    memo->weight = from.weight;
    memo->italic = from.italic;
    memo->font = CreateMemoFont(*memo);
    std::memcpy(memo->text, from.text, kMemoTextSize);
    memo->text[kMemoTextSize - 1] = 0;
    memo->textColour = from.textColour;
    memo->backColour = from.backColour;
    memo->topMost = from.topMost;
    memo->id = app.nextMemoId++;
    memo->savedNumber = savedNumber;
    app.memos.push_back(window);
    SetWindowPos(window, memo->topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    MoveMemoOntoScreen(window);
    InvalidateRect(window, nullptr, FALSE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

void RestoreMemos(ClockApp& app) {
    for (const SavedMemo& saved : ReadSavedMemos(app.store, app.clock.settings.memoCount))
        OpenMemo(app, &saved.record, saved.number);
}

int SaveAndCloseMemos(ClockApp& app) {
    std::vector<uintptr_t> own;
    for (HWND w : app.memos) own.push_back(reinterpret_cast<uintptr_t>(w));
    MemoSaver saver(app);
    return SaveAllMemos(own, saver);
}

void CallWindowsBack(ClockApp& app) {
    PostMessageW(app.window, WM_COMMAND, kCommandCallWindow, 0);
    plat::WideArg memoClass(kMemoClass);
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t name[259] = {};
        GetClassNameW(w, name, 259);
        if (std::wcscmp(name, memoClass.get()) == 0) PostMessageW(w, WM_COMMAND, kCommandCallWindow, 0);
    }
}

}  // namespace pendrick
