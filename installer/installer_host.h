// How the script engine reaches the installer: the owner of message boxes and the
// OPTIONS and BITMAP commands are answered here; the window side derives from it and
// adds the dialogs the engine asks for (notice, menu, progress, the wait for a program).
#pragma once

#include "installer/launcher.h"
#include "script/engine.h"

namespace installer {

class InstallerHost : public script::Host {
public:
    InstallerHost(script::Engine& e, Launcher& launcher, LauncherView& view)
        : e_(e), launcher_(launcher), view_(view) {}

    plat::WindowHandle MessageOwner() override;
    void ReadOptions() override;
    bool LoadBackground(const char* file) override;

protected:
    // The flows' dialogs while they exist, 0 otherwise.
    virtual plat::WindowHandle InstallDialogHandle() { return 0; }
    virtual plat::WindowHandle UninstallDialogHandle() { return 0; }

    script::Engine& e_;

private:
    Launcher& launcher_;
    LauncherView& view_;
};

}  // namespace installer
