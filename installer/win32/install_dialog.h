// The install dialog (template 131): the window side of InstallFlow. Every screen change
// is decided by the flow; this class only moves, shows and paints controls.
#pragma once

#include "platform/win32/windows_clean.h"

#include "installer/install_flow.h"
#include "installer/win32/background.h"
#include "platform/win32/dialog_window.h"
#include "platform/win32/window_text.h"

namespace installer {

class CInstallDlg : public winui::Dialog, public InstallView {
public:
    CInstallDlg(HINSTANCE instance, InstallFlow& flow, Background& background)
        : instance_(instance), flow_(flow), background_(background) {}

    // InstallView
    void SetCaption(const char* text) override { winui::SetText(hwnd_, text); }
    void SetText(int id, const char* text) override;
    bool GetText(int id, char* buffer, size_t size) override;
    void ShowControl(int id, bool show) override { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
    void SetEditReadOnly(bool readOnly) override { SendMessageW(Item(kInstPath), EM_SETREADONLY, readOnly, 0); }
    void MoveButton(int id, const ButtonPlace& p) override { MoveWindow(Item(id), p.x, p.y, p.width, p.height, TRUE); }
    void MakeDefault(int id) override;
    void Focus(int id) override { SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE); }
    void Activate() override;
    void RepaintNow(bool erase) override;
    void DrawBar(const ProgressPicture& picture) override;
    void EndDialog(int result) override { EndModal(result); }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(int id, int code) override;
    BOOL OnPaint() override;
    BOOL OnQueryNewPalette() override { return background_.RealizeOnQuery(hwnd_); }
    BOOL OnPaletteChanged(HWND) override { return background_.RealizeOnQuery(hwnd_); }

private:
    void Draw(HDC dc, const ProgressPicture& picture);

    HINSTANCE instance_;
    InstallFlow& flow_;
    Background& background_;
    HWND percent_ = nullptr;  // the percentage's static, set up to a hundred times a copy
};

}  // namespace installer
