// The memo dialogs: text (with its colour and font buttons), colour and font.
#include <cstdio>
#include <cstring>
#include <string>

#include "clock/dialog_rules.h"
#include "clock/typed_text.h"
#include "clock/win32/clock_app.h"
#include "clock/win32/memo_window.h"
#include "platform/win32/dialog_window.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window_text.h"

namespace pendrick {

namespace {

enum : int {
    kEditText = 1007,
    kButtonColour = 3,
    kButtonFont = 4,
    kFirstColourButton = 1008,
    kLastColourButton = 1027,
    kPreviewButton = 1028,
    kRadioText = 1029,
    kRadioBack = 1030,
    kListFace = 1030,
    kListSize = 1031,
    kListWeight = 1032,
    kBoxItalic = 1033,
};

const COLORREF kPaletteColours[20] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
    RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
    RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
    RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255),
};

class ColourDialog : public winui::Dialog {
public:
    static constexpr char kTemplate[] = "IDD_COLOR";

    ColourDialog(COLORREF text, COLORREF back) : text_(text), back_(back) {}

    BOOL OnInitDialog() override {
        HWND window = hwnd_;
        ok_ = false;
        ShowWindow(window, SW_SHOWNORMAL);  // shown before its controls are filled in
        UpdateWindow(window);
        CheckRadioButton(window, kRadioText, kRadioBack, kRadioText);
        InvalidateButtons();
        return TRUE;
    }

    BOOL OnDrawItem(const DRAWITEMSTRUCT& item) override {
        DrawButton(item);
        return TRUE;
    }

    BOOL OnCommand(int id, int code) override {
        if (id >= kFirstColourButton && id <= kLastColourButton) {
            COLORREF c = kPaletteColours[id - kFirstColourButton];
            if (IsDlgButtonChecked(hwnd_, kRadioText) == BST_CHECKED)
                text_ = c;
            else
                back_ = c;
            InvalidateRect(GetDlgItem(hwnd_, kPreviewButton), nullptr, FALSE);
            return TRUE;
        }
        return winui::Dialog::OnCommand(id, code);
    }

    void OnOK() override {
        ok_ = true;
        winui::Dialog::OnOK();
    }

    bool ok_ = false;
    COLORREF text_, back_;

private:
    void InvalidateButtons() {
        for (int id = kFirstColourButton; id <= kPreviewButton; ++id)
            InvalidateRect(GetDlgItem(hwnd_, id), nullptr, FALSE);
    }

    void DrawButton(const DRAWITEMSTRUCT& d) {
        int id = int(d.CtlID);
        COLORREF fill = id == kPreviewButton ? back_ : kPaletteColours[(id - kFirstColourButton) % 20];
        HBRUSH brush = CreateSolidBrush(fill);
        HGDIOBJ oldBrush = SelectObject(d.hDC, brush);
        HGDIOBJ oldPen = SelectObject(d.hDC, GetStockObject(BLACK_PEN));
        Rectangle(d.hDC, d.rcItem.left, d.rcItem.top, d.rcItem.right, d.rcItem.bottom);
        SelectObject(d.hDC, oldPen);
        SelectObject(d.hDC, oldBrush);
        DeleteObject(brush);
        if (id == kPreviewButton) {
            SetBkMode(d.hDC, TRANSPARENT);
            SetTextColor(d.hDC, text_);
            plat::WideArg sample("Ｔｅｓｔ");
            TextOutW(d.hDC, d.rcItem.left + 1, d.rcItem.top + 1, sample.get(), int(sample.length()));
        }
    }
};

// Only the TrueType families, listed by their full names. A name Shift-JIS cannot hold is
// left out: the memo record could not keep it, and a stand-in would name no font.
int CALLBACK AddTrueTypeFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM list) {
    if (type & TRUETYPE_FONTTYPE) {
        const ENUMLOGFONTW* e = reinterpret_cast<const ENUMLOGFONTW*>(font);
        char face[LF_FULLFACESIZE * 2 + 1];
        if (plat::ToShiftJis(e->elfFullName, face, sizeof face) == plat::TextFit::kNotShiftJis) return 1;
        HWND box = reinterpret_cast<HWND>(list);
        LPARAM name = reinterpret_cast<LPARAM>(e->elfFullName);
        // Some platforms report a family once per character set: list each name once.
        if (SendMessageW(box, CB_FINDSTRINGEXACT, WPARAM(-1), name) == CB_ERR) SendMessageW(box, CB_ADDSTRING, 0, name);
    }
    return 1;
}

// A list entry's text in Shift-JIS when it fits size bytes.
bool EntryText(HWND list, int index, char* out, size_t size) {
    LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length < 0 || length > LF_FULLFACESIZE) return false;
    wchar_t wide[LF_FULLFACESIZE + 1] = {};
    SendMessageW(list, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(wide));
    return plat::ToShiftJis(wide, out, size) == plat::TextFit::kFits;
}

void AddNumber(HWND dialog, int list, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    SendDlgItemMessageW(dialog, list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(plat::WideArg(text).get()));
}

// One UTF-16 unit in code page 932, without Windows' stand-ins for what it cannot hold.
int EncodeCp932(char16_t unit, char out[2]) {
    wchar_t wide = wchar_t(unit);
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(plat::kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, out, 2, nullptr, &usedDefault);
    return n > 0 && !usedDefault ? n : 0;
}

std::u16string WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(size_t(length > 0 ? length : 0) + 1, L'\0');
    int got = GetWindowTextW(window, &text[0], int(text.size()));
    return std::u16string(text.begin(), text.begin() + (got > 0 ? got : 0));
}

class FontDialog : public winui::Dialog {
public:
    static constexpr char kTemplate[] = "IDD_FONT";

    explicit FontDialog(const MemoData& memo) : memo_(memo) {}

    BOOL OnInitDialog() override {
        HWND window = hwnd_;
        chosen_ = false;
        face_[0] = 0;
        ShowWindow(window, SW_SHOWNORMAL);  // shown before its controls are filled in
        HWND faces = GetDlgItem(window, kListFace);
        SendMessageW(faces, CB_RESETCONTENT, 0, 0);
        HDC dc = GetDC(window);
        EnumFontFamiliesW(dc, nullptr, AddTrueTypeFamily, reinterpret_cast<LPARAM>(faces));
        ReleaseDC(window, dc);
        int count = int(SendMessageW(faces, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char name[LF_FULLFACESIZE * 2 + 1] = {};
            if (EntryText(faces, i, name, sizeof name) && std::strcmp(name, memo_.face) == 0) {
                SendMessageW(faces, CB_SETCURSEL, i, 0);
                break;
            }
        }
        for (int w = 0; w < kWeightSteps; ++w) AddNumber(window, kListWeight, w * 100);
        SendDlgItemMessageW(window, kListWeight, CB_SETCURSEL, SelectionForFontWeight(memo_.weight), 0);
        for (int s = kFirstFontSize; s <= kLastFontSize; ++s) AddNumber(window, kListSize, s);
        SendDlgItemMessageW(window, kListSize, CB_SETCURSEL, SelectionForFontSize(memo_.size), 0);
        CheckDlgButton(window, kBoxItalic, memo_.italic ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    }

    void OnOK() override {
        HWND faces = GetDlgItem(hwnd_, kListFace);
        int selected = int(SendMessageW(faces, CB_GETCURSEL, 0, 0));
        // A name longer than the record's face field is not taken (nor cut into another name).
        if (selected >= 0 && EntryText(faces, selected, face_, sizeof face_)) chosen_ = true;
        size_ = FontSizeFromSelection(int(SendDlgItemMessageW(hwnd_, kListSize, CB_GETCURSEL, 0, 0)));
        weight_ = FontWeightFromSelection(int(SendDlgItemMessageW(hwnd_, kListWeight, CB_GETCURSEL, 0, 0)));
        italic_ = IsDlgButtonChecked(hwnd_, kBoxItalic) == BST_CHECKED;
        winui::Dialog::OnOK();
    }

    bool chosen_ = false;
    char face_[kMemoFaceSize] = {};
    int size_ = 16, weight_ = 700, italic_ = 0;

private:
    const MemoData& memo_;
};

class TextDialog : public winui::Dialog {
public:
    static constexpr char kTemplate[] = "IDD_TEXT";

    explicit TextDialog(MemoData& memo) : memo_(memo) {}

    BOOL OnInitDialog() override {
        HWND window = hwnd_;
        ShowWindow(window, SW_SHOWNORMAL);  // shown before its controls are filled in
        SendDlgItemMessageW(window, kEditText, EM_LIMITTEXT, kMemoTextLimit, 0);
        winui::SetItemText(window, kEditText, memo_.text);
        text_ = memo_.textColour;
        back_ = memo_.backColour;
        return TRUE;
    }

    BOOL OnCommand(int id, int code) override {
        if (id == kEditText && code == EN_CHANGE) {
            KeepWithinRecord();
            return TRUE;
        }
        if (id == kButtonColour) {
            ColourDialog* d = new ColourDialog(text_, back_);
            d->RunModal(instance(), d->kTemplate, hwnd_);
            if (d->ok_) {
                text_ = d->text_;
                back_ = d->back_;
            }
            d->Dispose();
            return TRUE;
        }
        if (id == kButtonFont) {
            FontDialog* d = new FontDialog(memo_);
            d->RunModal(instance(), d->kTemplate, hwnd_);
            if (d->chosen_) {
                // Takes effect at once and stays even if this dialog is cancelled.
                if (memo_.font) DeleteObject(memo_.font);
                std::memcpy(memo_.face, d->face_, kMemoFaceSize);
                memo_.size = d->size_;
                memo_.weight = d->weight_;
                memo_.italic = d->italic_;
                memo_.font = CreateMemoFont(memo_);
            }
            d->Dispose();
            return TRUE;
        }
        return winui::Dialog::OnCommand(id, code);
    }

    void OnOK() override {
        std::memset(memo_.text, 0, sizeof memo_.text);
        std::u16string typed = WindowText(Item(kEditText));
        ShiftJisFromTyped(typed.data(), typed.size(), memo_.text, kMemoTextLimit + 1, EncodeCp932);
        memo_.textColour = text_;
        memo_.backColour = back_;
        winui::Dialog::OnOK();
    }

private:
    // The box counts characters, the record bytes: what would not fit the record's 511
    // bytes is taken back out of the box at once, as a limit in bytes would have kept it out.
    void KeepWithinRecord() {
        HWND edit = Item(kEditText);
        std::u16string typed = WindowText(edit);
        char bytes[kMemoTextLimit + 1];
        TypedText taken = ShiftJisFromTyped(typed.data(), typed.size(), bytes, sizeof bytes, EncodeCp932);
        if (!taken.cut) return;
        SendMessageW(edit, EM_SETSEL, WPARAM(taken.unitsTaken), LPARAM(-1));
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
        MessageBeep(MB_OK);
    }

    MemoData& memo_;
    COLORREF text_ = 0, back_ = 0;
};

}  // namespace

void RunTextDialog(HINSTANCE instance, MemoData& memo, HWND owner) {
    TextDialog* dialog = new TextDialog(memo);
    dialog->RunModal(instance, dialog->kTemplate, owner);
    dialog->Dispose();
}

}  // namespace pendrick
