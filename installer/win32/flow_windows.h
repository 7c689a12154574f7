// The install and uninstall flows inside OSTREL.EXE: owns the flow objects and their
// dialogs, connects them to the launcher and the frame's backdrop, and is the engine's
// host.
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

class FlowDialogs : public InstallerHost,
                    public LauncherFlows,
                    public InstallSurroundings,
                    public UninstallDialogRunner {
public:
    FlowDialogs(HINSTANCE instance, script::Engine& e, Background& background, CMainFrame& frame,
                CLauncherDlg& launcherDlg, Launcher& launcher);

    // script::Host: the dialogs the engine asks for.
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

protected:
    // InstallerHost: the owners of the engine's message boxes while a flow runs.
    plat::WindowHandle InstallDialogHandle() override;
    plat::WindowHandle UninstallDialogHandle() override;

private:
    HINSTANCE instance_;
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
