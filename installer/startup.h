// The installer's start-up sequence, decided here and driven through a small interface
// for the steps that make windows, so that it runs the same under tests and under Windows.
#pragma once

#include "script/engine.h"

namespace installer {

// The window-making steps of start-up.
class StartupWindows {
public:
    virtual ~StartupWindows() = default;
    // The invisible frame window "Tavrel SETUP"; false when it could not be made.
    virtual bool CreateFrame() = 0;
    // True when every dialog template the program uses is in its resources.
    virtual bool HasDialogTemplates() = 0;
    // The uninstall flow without the launcher (-u).
    virtual void RunUninstall() {}
    // Makes the launcher object and shows it. 1 up; 0 failed (already reported);
    // kLauncherNoMemory when the object could not be made (start-up reports it).
    virtual int CreateLauncher() = 0;
};

constexpr int kLauncherNoMemory = -1;

// Titles and class by which a running installer is recognised.
extern const char kLauncherTitle[];  // "Tavrel ｾｯﾄｱｯﾌﾟ"
extern const char kFrameTitle[];     // "Tavrel SETUP"
extern const char kFrameClass[];     // "Tavrel"

// True (and the other window brought forward) when another installer already runs.
bool AnotherInstallerRuns(plat::Platform& sys);

// The whole start-up after COM is initialised. commandLine is the text behind the
// program's name. True to enter the message loop, false to end the program.
bool RunStartup(script::Engine& e, StartupWindows& windows, const char* commandLine);

}  // namespace installer
