// The install and uninstall flows inside OSTREL.EXE: owns the flow objects and their
// dialogs, and connects them to the launcher, the frame's backdrop and the engine's host.
#pragma once

#include "platform/win32/windows_clean.h"

#include "installer/install_flow.h"
#include "installer/installer_host.h"
#include "installer/launcher.h"
#include "installer/uninstall_flow.h"
#include "installer/win32/background.h"
#include "installer/win32/install_dialog.h"
#include "installer/win32/launcher_window.h"
#include "installer/win32/main_frame.h"

namespace installer {

class FlowDialogs : public FlowWindows,
                    public LauncherFlows,
                    public InstallSurroundings,
                    public UninstallDialogRunner {
public:
    FlowDialogs(HINSTANCE instance, script::Engine& e, Background& background, CMainFrame& frame,
                CLauncherDlg& launcherDlg, Launcher& launcher);

    // FlowWindows: the dialogs' handles and the dialogs the engine asks for.
    plat::WindowHandle InstallDialogHandle() override;
    plat::WindowHandle UninstallDialogHandle() override;
    bool RunNoticeDialog() override;
    void RunMenuDialog() override;
    void RedrawProgress() override;
    void RunAndWait(plat::ProcessHandle process) override;

    // LauncherFlows: Setup and Uninstall.
    void RunInstallDialog() override;
    void RunUninstallFlow() override;

    // InstallSurroundings
    void ReturnToLauncher() override;

    // UninstallDialogRunner
    void RunModal(UninstallFlow& flow) override;

private:
    HINSTANCE instance_;
    script::Engine& e_;
    Background& background_;
    CMainFrame& frame_;
    CLauncherDlg& launcherDlg_;
    Launcher& launcher_;
    InstallFlow installFlow_;
    CInstallDlg installDlg_;
    UninstallFlow uninstallFlow_;
    winui::Dialog* uninstallDlg_ = nullptr;  // while the uninstall dialog runs
};

}  // namespace installer
