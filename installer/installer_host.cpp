// The installer's answers to the script engine.
#include "installer/installer_host.h"

#include "installer/options.h"

namespace installer {

plat::WindowHandle InstallerHost::MessageOwner() {
    switch (e_.activityMode) {
        case script::kModeInstalling: return InstallDialogHandle();
        case script::kModeUninstalling: return UninstallDialogHandle();
        default: return view_.LauncherExists() ? view_.LauncherHandle() : 0;
    }
}

void InstallerHost::ReadOptions() { installer::ReadOptions(e_); }

bool InstallerHost::LoadBackground(const char* file) { return launcher_.LoadBackground(file); }

}  // namespace installer
