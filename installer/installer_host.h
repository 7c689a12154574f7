// How the script engine reaches the installer's windows: the owner of message boxes, the
// BITMAP and OPTIONS commands. The window handles come from the window side.
#pragma once

#include "installer/launcher.h"
#include "script/engine.h"

namespace installer {

// The dialogs the install and uninstall flows show (0 while they do not exist).
class FlowWindows {
public:
    virtual ~FlowWindows() = default;
    virtual plat::WindowHandle InstallDialogHandle() { return 0; }
    virtual plat::WindowHandle UninstallDialogHandle() { return 0; }
    virtual bool RunNoticeDialog() { return false; }
    virtual void RunMenuDialog() {}
    virtual void RedrawProgress() {}
    virtual void RunAndWait(plat::ProcessHandle /*process*/) {}
};

class InstallerHost : public script::Host {
public:
    InstallerHost(script::Engine& e, Launcher& launcher, LauncherView& view, FlowWindows& flows)
        : e_(e), launcher_(launcher), view_(view), flows_(flows) {}

    plat::WindowHandle MessageOwner() override;
    plat::WindowHandle InstallDialog() override { return flows_.InstallDialogHandle(); }
    void ReadOptions() override;
    bool LoadBackground(const char* file) override;
    bool RunNoticeDialog() override { return flows_.RunNoticeDialog(); }
    void RunMenuDialog() override { flows_.RunMenuDialog(); }
    void RedrawProgress() override { flows_.RedrawProgress(); }
    void RunAndWait(plat::ProcessHandle process) override { flows_.RunAndWait(process); }

private:
    script::Engine& e_;
    Launcher& launcher_;
    LauncherView& view_;
    FlowWindows& flows_;
};

}  // namespace installer
