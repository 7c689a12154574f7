// The memo dialogs: text (with its colour and font buttons), colour and font.
#include <cstdio>
#include <cstring>

#include "clock/dialog_rules.h"
#include "clock/win32/clock_app.h"
#include "platform/win32/dialog_window.h"
#include "clock/win32/memo_window.h"

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
            const char* sample = "Ｔｅｓｔ";
            TextOutA(d.hDC, d.rcItem.left + 1, d.rcItem.top + 1, sample, int(std::strlen(sample)));
        }
    }
};

// Only the TrueType families, listed by their full names.
int CALLBACK AddTrueTypeFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM list) {
    if (type & TRUETYPE_FONTTYPE) {
        const ENUMLOGFONTA* e = reinterpret_cast<const ENUMLOGFONTA*>(font);
        HWND box = reinterpret_cast<HWND>(list);
        LPARAM name = reinterpret_cast<LPARAM>(e->elfFullName);
        // Some platforms report a family once per character set: list each name once.
        if (SendMessageA(box, CB_FINDSTRINGEXACT, WPARAM(-1), name) == CB_ERR) SendMessageA(box, CB_ADDSTRING, 0, name);
    }
    return 1;
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
        SendMessageA(faces, CB_RESETCONTENT, 0, 0);
        HDC dc = GetDC(window);
        EnumFontFamiliesA(dc, nullptr, AddTrueTypeFamily, reinterpret_cast<LPARAM>(faces));
        ReleaseDC(window, dc);
        int count = int(SendMessageA(faces, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char name[LF_FULLFACESIZE + 1] = {};
            if (SendMessageA(faces, CB_GETLBTEXTLEN, i, 0) > LF_FULLFACESIZE) continue;
            SendMessageA(faces, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
            if (std::strcmp(name, memo_.face) == 0) {
                SendMessageA(faces, CB_SETCURSEL, i, 0);
                break;
            }
        }
        char text[16];
        for (int w = 0; w < kWeightSteps; ++w) {
            std::snprintf(text, sizeof text, "%d", w * 100);
            SendDlgItemMessageA(window, kListWeight, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        SendDlgItemMessageA(window, kListWeight, CB_SETCURSEL, SelectionForFontWeight(memo_.weight), 0);
        for (int s = kFirstFontSize; s <= kLastFontSize; ++s) {
            std::snprintf(text, sizeof text, "%d", s);
            SendDlgItemMessageA(window, kListSize, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        SendDlgItemMessageA(window, kListSize, CB_SETCURSEL, SelectionForFontSize(memo_.size), 0);
        CheckDlgButton(window, kBoxItalic, memo_.italic ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    }

    void OnOK() override {
        HWND faces = GetDlgItem(hwnd_, kListFace);
        int selected = int(SendMessageA(faces, CB_GETCURSEL, 0, 0));
        if (selected >= 0 && SendMessageA(faces, CB_GETLBTEXTLEN, selected, 0) < kMemoFaceSize) {
            SendMessageA(faces, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(face_));
            chosen_ = true;
        }
        size_ = FontSizeFromSelection(int(SendDlgItemMessageA(hwnd_, kListSize, CB_GETCURSEL, 0, 0)));
        weight_ = FontWeightFromSelection(int(SendDlgItemMessageA(hwnd_, kListWeight, CB_GETCURSEL, 0, 0)));
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
        SendDlgItemMessageA(window, kEditText, EM_LIMITTEXT, kMemoTextLimit, 0);
        SetDlgItemTextA(window, kEditText, memo_.text);
        text_ = memo_.textColour;
        back_ = memo_.backColour;
        return TRUE;
    }

    BOOL OnCommand(int id, int code) override {
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
        GetDlgItemTextA(hwnd_, kEditText, memo_.text, kMemoTextLimit + 1);
        memo_.textColour = text_;
        memo_.backColour = back_;
        winui::Dialog::OnOK();
    }

private:
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
