// OSTREL.EXE's application object: start-up through the portable sequence, the message
// loop, and shut-down.
#include "platform/win32/windows_clean.h"

#include "commands/keyword_tables.h"
#include "commands/registry_commands.h"
#include "installer/launcher.h"
#include "installer/startup.h"
#include "installer/win32/background.h"
#include "installer/win32/flow_windows.h"
#include "installer/win32/launcher_window.h"
#include "installer/win32/main_frame.h"
#include "platform/win32/command_line.h"
#include "platform/win32/win32_platform.h"
#include "resources/ostrel_resource.h"

namespace installer {
namespace {

class CInstallerApp : public StartupWindows {
public:
    explicit CInstallerApp(HINSTANCE instance)
        : instance_(instance),
          background_(picture_),
          frame_(e_, background_),
          launcherDlg_(instance, e_, background_, frame_),
          launcher_(e_, picture_, launcherDlg_),
          flows_(instance, e_, background_, frame_, launcherDlg_, launcher_) {
        commands::ConfigureInstallerEngine(e_);
        e_.sys = &sys_;
        e_.host = &flows_;
        launcherDlg_.SetLauncher(&launcher_);
        launcher_.SetFlows(&flows_);
    }

    bool InitInstance(const char* commandLine) {
        sys_.InitializeCom();
        return RunStartup(e_, *this, commandLine);
    }

    int Run() {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            HWND dialog = launcherDlg_.hwnd();
            if (dialog && IsDialogMessageW(dialog, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return static_cast<int>(msg.wParam);
    }

    int ExitInstance() {
        sys_.UninitializeCom();
        launcherDlg_.Destroy();
        commands::CloseRegistryAccessor(e_);
        return 0;
    }

    // StartupWindows
    bool CreateFrame() override { return frame_.Create(instance_); }
    bool HasDialogTemplates() override {
        for (int id : {IDD_INSTALL, IDD_LAUNCHER, IDD_UNINSTALL, IDD_MENU, IDD_FOLDER_BROWSE})
            if (!FindResourceW(instance_, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG))) return false;
        return true;
    }
    int CreateLauncher() override { return launcher_.Create(); }
    void RunUninstall() override { flows_.RunUninstallFlow(); }

private:
    HINSTANCE instance_;
    plat::Win32Platform sys_;
    script::Engine e_;
    CDib picture_;
    Background background_;
    CMainFrame frame_;
    CLauncherDlg launcherDlg_;
    Launcher launcher_;
    FlowDialogs flows_;  // also the engine's host
};

}  // namespace
}  // namespace installer

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The engine's state is large: keep the application object off the stack.
    static installer::CInstallerApp* app = new installer::CInstallerApp(instance);
    int code = 0;
    if (app->InitInstance(plat::CommandArguments().c_str())) code = app->Run();
    app->ExitInstance();
    return code;
}
