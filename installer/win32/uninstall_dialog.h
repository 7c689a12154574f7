// The uninstall dialog (template 132): the window side of UninstallFlow.
#pragma once

#include "platform/win32/windows_clean.h"

#include "installer/uninstall_flow.h"
#include "installer/win32/background.h"
#include "platform/win32/dialog_window.h"

namespace installer {

class CUninstallDlg : public winui::Dialog, public UninstallView {
public:
    CUninstallDlg(UninstallFlow& flow, Background& background) : flow_(flow), background_(background) {}

    // UninstallView
    void ShowTexts(const char* path, const char* message) override;
    void HideButtons() override;
    void Activate() override;
    void EndDialog(int result) override { EndModal(result); }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(int id, int code) override;
    BOOL OnQueryNewPalette() override { return background_.RealizeOnQuery(hwnd_); }
    BOOL OnPaletteChanged(HWND) override { return background_.RealizeOnQuery(hwnd_); }

private:
    UninstallFlow& flow_;
    Background& background_;
};

}  // namespace installer
