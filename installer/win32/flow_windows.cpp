// The flows' connections inside OSTREL.EXE (see flow_windows.h).
#include "installer/win32/flow_windows.h"

#include "installer/win32/program_wait.h"

#include "commands/uninstall_registration.h"
#include "installer/win32/menu_dialog.h"
#include "installer/win32/notice_dialog.h"
#include "installer/win32/uninstall_dialog.h"
#include "resources/ostrel_resource.h"

namespace installer {

FlowDialogs::FlowDialogs(HINSTANCE instance, script::Engine& e, Background& background, CMainFrame& frame,
                         CLauncherDlg& launcherDlg, Launcher& launcher)
    : InstallerHost(e, launcher, launcherDlg),
      instance_(instance),
      background_(background),
      frame_(frame),
      launcherDlg_(launcherDlg),
      launcher_(launcher),
      installFlow_(e),
      installDlg_(instance, installFlow_, background),
      uninstallFlow_(e) {
    installFlow_.Attach(&installDlg_, this);
}

plat::WindowHandle FlowDialogs::InstallDialogHandle() {
    return reinterpret_cast<plat::WindowHandle>(installDlg_.hwnd());
}

plat::WindowHandle FlowDialogs::UninstallDialogHandle() {
    return uninstallDlg_ ? reinterpret_cast<plat::WindowHandle>(uninstallDlg_->hwnd()) : 0;
}

void FlowDialogs::RunAndWait(plat::ProcessHandle process) {
    WaitWindows w;
    w.launcher = launcherDlg_.hwnd();
    w.frame = frame_.hwnd();
    w.installDialog = installDlg_.hwnd();
    w.uninstallDialog = uninstallDlg_ ? uninstallDlg_->hwnd() : nullptr;
    WaitForProgram(*e_.sys, process, w);
}

bool FlowDialogs::RunNoticeDialog() {
    CNoticeDlg dialog(commands::HasDirectXUninstallEntry(e_) != 0);
    dialog.RunModal(instance_, winui::TemplateId(IDD_NOTICE), nullptr);
    return dialog.proceed();
}

void FlowDialogs::RunMenuDialog() {
    CMenuDlg dialog(e_.menu);
    HWND owner = reinterpret_cast<HWND>(e_.host ? e_.host->MessageOwner() : 0);
    dialog.RunModal(instance_, winui::TemplateId(IDD_MENU), owner);
}

void FlowDialogs::RedrawProgress() {
    if (installDlg_.hwnd()) installFlow_.DrawProgress();
}

void FlowDialogs::RunInstallDialog() {
    launcherDlg_.ShowLauncher(false);
    installFlow_.PrepareInstall();
    frame_.ShowBackdrop();
    installDlg_.RunModal(instance_, winui::TemplateId(IDD_INSTALL), frame_.hwnd());
}

void FlowDialogs::RunUninstallFlow() { uninstallFlow_.RunUninstall(*this); }

void FlowDialogs::ReturnToLauncher() {
    frame_.HideBackdrop();
    ShowWindow(frame_.hwnd(), SW_SHOW);
    if (!launcherDlg_.LauncherExists()) return;
    launcher_.PlaceButtons();
    launcher_.UpdateButtonStates();
    launcherDlg_.ShowLauncher(true);
}

void FlowDialogs::RunModal(UninstallFlow& flow) {
    CUninstallDlg dialog(flow, background_);
    uninstallDlg_ = &dialog;  // its handle exists from the dialog's first message on
    dialog.RunModal(instance_, winui::TemplateId(IDD_UNINSTALL), frame_.hwnd());
    uninstallDlg_ = nullptr;
}

}  // namespace installer
