// The launcher: the picture-faced main screen with its six buttons. The decisions (layout
// in pixels, which buttons are enabled and which is the default, what each button runs)
// are made here; LauncherView is the thin window side that carries them out.
#pragma once

#include "installer/dib.h"
#include "resources/ostrel_resource.h"
#include "script/engine.h"

namespace installer {

// The launcher's buttons, by their ids in its template.
enum LauncherButton : int {
    kIdSetup = IDC_SETUP,
    kIdExit = IDC_EXIT,
    kIdPlay = IDC_PLAY,
    kIdUninstall = IDC_UNINSTALL,
    kIdSub1 = IDC_SUB1,
    kIdSub2 = IDC_SUB2,
};

struct Rect {
    int left, top, width, height;
};

struct Layout {
    int pictureWidth = 0, pictureHeight = 0;
    int buttonWidth = 0, buttonHeight = 0;
    int left = 0, top = 0;  // the launcher's place on the screen
};

// Pixel values from the options, the picture's size and the screen's.
Layout ComputeLayoutValues(const script::Options& o, int pictureWidth, int pictureHeight, int screenWidth,
                           int screenHeight);
// A button of the layout's size centred at (x, y) percent of the picture.
Rect ButtonRect(const Layout& layout, int centreX, int centreY);

struct ButtonStates {
    bool disableSetup;  // Setup is only ever disabled here, never re-enabled
    bool playEnabled;
    bool disableExit;
    bool uninstallEnabled;
};
ButtonStates DecideButtonStates(const script::Engine& e);
// The button that is the default push button (and has the focus) once the launcher shows.
int DefaultButton(const script::Engine& e);

// Columns and rows of pictures that cover the screen.
void TileCounts(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight, int* columns, int* rows);

class LauncherView {
public:
    virtual ~LauncherView() = default;
    // Makes the launcher from its template as a child of the frame and sets its title.
    virtual bool CreateLauncherWindow() = 0;
    virtual bool LauncherExists() = 0;
    // Remakes the background palette from the picture.
    virtual void RemakePalette() = 0;
    virtual void ShowLauncher(bool show) = 0;
    virtual void MoveLauncher(const Rect& r) = 0;
    virtual void MoveFrame(const Rect& r) = 0;  // without repainting
    virtual void ShowAndEnableFrame() = 0;
    virtual void FocusLauncher() = 0;
    virtual void MoveButton(int id, const Rect& r) = 0;
    virtual void ShowButton(int id, bool show) = 0;
    virtual void SetButtonText(int id, const char* text) = 0;
    virtual void EnableButton(int id, bool enable) = 0;
    virtual void SetButtonDefault(int id, bool isDefault) = 0;  // with redraw
    virtual void FocusButton(int id) = 0;
    virtual void BringLauncherForward() = 0;
    // Invalidate, erase and update at once: the frame's backdrop or the launcher.
    virtual void RepaintFrame() = 0;
    virtual void RepaintLauncher() = 0;
    virtual plat::WindowHandle LauncherHandle() = 0;
};

// The install and uninstall flows as the launcher's Setup and Uninstall run them.
class LauncherFlows {
public:
    virtual ~LauncherFlows() = default;
    // Hides the launcher, prepares the install, shows the backdrop and runs the install
    // dialog; the launcher comes back when the flow finishes.
    virtual void RunInstallDialog() = 0;
    virtual void RunUninstallFlow() = 0;
};

class Launcher {
public:
    Launcher(script::Engine& e, CDib& picture, LauncherView& view) : e_(e), picture_(picture), view_(view) {}

    // The last step of start-up: 1 when the launcher is up, 0 after a reported failure.
    int Create();
    void ComputeLayout();
    void PlaceButtons();
    void UpdateButtonStates();

    // The BITMAP command: true when the picture was loaded (the layout is then redone).
    bool LoadBackground(const char* fileName);

    void OnSetup();
    void OnPlay();
    void OnExit();
    void OnUninstall();
    void OnSubButton(int index);  // 0 or 1

    void SetFlows(LauncherFlows* flows) { flows_ = flows; }
    const Layout& layout() const { return layout_; }
    bool shown() const { return shown_; }

private:
    script::Engine& e_;
    CDib& picture_;
    LauncherView& view_;
    Layout layout_;
    bool shown_ = false;
    LauncherFlows* flows_ = nullptr;
};

}  // namespace installer
