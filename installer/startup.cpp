// The installer's start-up sequence.
#include "installer/startup.h"

#include <cstring>

#include "installer/environment.h"
#include "installer/options.h"
#include "script/dispatch.h"
#include "script/messages.h"
#include "script/script_text.h"

namespace installer {

const char kLauncherTitle[] = "Tavrel ｾｯﾄｱｯﾌﾟ";
const char kFrameTitle[] = "Tavrel SETUP";
const char kFrameClass[] = "Tavrel";

bool AnotherInstallerRuns(plat::Platform& sys) {
    plat::WindowHandle other = sys.FindWindowByTitle(kLauncherTitle);
    if (other == 0) other = sys.FindWindowByTitle(kFrameTitle);
    if (other != 0) {
        sys.BringWindowToFront(other);
        return true;
    }
    other = sys.FindWindowByClass(kFrameClass);
    if (other != 0) {
        sys.ShowWindowNormal(other);
        return true;
    }
    return false;
}

bool RunStartup(script::Engine& e, StartupWindows& windows, const char* commandLine) {
    plat::Platform& sys = *e.sys;
    if (AnotherInstallerRuns(sys)) return false;

    // Relative names (the script, the picture) are found beside the program.
    char folder[script::kPathSize];
    if (ProgramFolderFromModule(e, folder, sizeof folder)) {
        size_t n = std::strlen(folder);
        if (n > 3) folder[n - 1] = '\0';
        sys.SetCurrentDirectory(folder);
    }
    sys.GetScreenSize(&e.env.screenWidth, &e.env.screenHeight);

    if (!windows.CreateFrame()) return false;
    if (!SetupEnvironment(e)) return false;
    ParseCommandLine(e, commandLine);

    if (!script::LoadScript(e)) {
        script::ShowStartupMessage(e, "スクリプトファイルを読み込めませんでした。\n　　　　　　　終了します。");
        return false;
    }
    ReadOptions(e);

    // The game this CD installs is running: bring it forward instead.
    plat::WindowHandle game = sys.FindWindowByClass(e.options.className);
    if (game != 0) {
        sys.ShowWindowNormal(game);
        return false;
    }

    if (!windows.HasDialogTemplates()) {
        script::ShowStartupMessage(e, "リソースの読み込みに失敗しました。\n　　　　　 終了します。");
        return false;
    }

    script::RunSection(e, e.slots.init);
    if (script::FindSection(e, e.slots.uninstall)) e.uninstallAvailable = true;

    if (e.uninstallOnly) {
        windows.RunUninstall();
        return false;
    }

    int launcher = windows.CreateLauncher();
    if (launcher == kLauncherNoMemory) {
        script::ShowStartupMessage(e, "メモリが足りません。終了します。");
        return false;
    }
    return launcher == 1;
}

}  // namespace installer
