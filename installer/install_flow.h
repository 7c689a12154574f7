// The install flow: the install dialog's five screens (welcome, destination,
// confirmation, progress, completion), the destination checks, and the install run.
// The decisions live here; InstallView is the thin window side that carries them out,
// so the whole flow runs the same under native tests and inside the real dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "installer/install_geometry.h"
#include "resources/ostrel_resource.h"
#include "script/engine.h"

namespace installer {

// Control ids of the install dialog, from its template.
enum InstallControl : int {
    kInstOk = 1,    // the dialog manager's IDOK
    kInstStop = 2,  // IDCANCEL: also Esc and the close box
    kInstTitle = IDC_INST_TITLE,
    kInstRights = IDC_INST_RIGHTS,
    kInstLine1 = IDC_INST_LINE1,
    kInstLine2 = IDC_INST_LINE2,
    kInstLine3 = IDC_INST_LINE3,
    kInstLine4 = IDC_INST_LINE4,
    kInstBrowse = IDC_INST_BROWSE,
    kInstPath = IDC_INST_PATH,
    kInstPercent = IDC_INST_PERCENT,
};

// Install steps.
enum InstallStep : int {
    kStepOutside = 0,
    kStepWelcome = 1,
    kStepDestination = 2,
    kStepConfirm = 3,
    kStepInstalling = 4,
    kStepFinished = 5,
};

// Typed paths longer than this are refused outright.
constexpr size_t kMaxTypedPath = 180;
// Folders picked in the browse dialog longer than this are refused there.
constexpr size_t kMaxBrowsedFolder = 50;

class InstallView {
public:
    virtual ~InstallView() = default;
    virtual void SetCaption(const char* text) = 0;
    // Statics, buttons, the edit box and the percentage.
    virtual void SetText(int id, const char* text) = 0;
    // The edit box's text (at most size - 1 bytes, zero-terminated). False, with an empty
    // buffer, when it holds a character Shift-JIS has no code for.
    virtual bool GetText(int id, char* buffer, size_t size) = 0;
    virtual void ShowControl(int id, bool show) = 0;
    virtual void SetEditReadOnly(bool readOnly) = 0;
    virtual void MoveButton(int id, const ButtonPlace& place) = 0;
    virtual void MakeDefault(int id) = 0;
    virtual void Focus(int id) = 0;
    virtual void Activate() = 0;
    // Invalidates the whole dialog and updates it at once.
    virtual void RepaintNow(bool erase) = 0;
    // Draws the bar on a window context (blue fill, white outline).
    virtual void DrawBar(const ProgressPicture& picture) = 0;
    virtual void EndDialog(int result) = 0;
};

// What lies around the dialog: the backdrop and the launcher.
class InstallSurroundings {
public:
    virtual ~InstallSurroundings() = default;
    // Hides the backdrop, shows the frame and brings the launcher back with its buttons
    // placed and their states re-evaluated.
    virtual void ReturnToLauncher() = 0;
};

class InstallFlow {
public:
    explicit InstallFlow(script::Engine& e) : e_(e) {}

    void Attach(InstallView* view, InstallSurroundings* surroundings) {
        view_ = view;
        surroundings_ = surroundings;
    }

    // Before the dialog runs (the launcher's Setup).
    void PrepareInstall();
    // The dialog's window exists with this size: caption, geometry, activity mode.
    void OnCreate(int windowWidth, int windowHeight);
    // The texts the dialog's controls start with: lines 0 to 5 are 1003 to 1008.
    const char* LineText(int index) const { return lines_[index]; }

    void OnOk();
    void OnStop();  // the Stop button, Esc and the close box
    // Browse may run (the flow is at its destination screen's activity).
    bool BrowseAllowed() const { return e_.activityMode == script::kModeInstalling; }
    // After the browse dialog: the folder it showed when OK was accepted (chosen), and
    // the program folder made the current directory again (the dialog changes it).
    void AfterBrowse(bool chosen, const char* folder);
    // The folder the browse dialog starts in: the Windows drive's root.
    void BrowseStartFolder(char* out, size_t size) const;

    // Steps of the flow, public for the dialog and the tests.
    void ShowDestinationScreen(bool offer);
    void OfferExistingFolder(char letter);
    void AcceptTypedPath();
    int CheckAndCreatePath();
    int CreateTavrelFolder();
    bool ShowConfirmScreen();
    void FinishInstall();
    void StartInstall();
    int CreateInstallFolder();
    int RunInstall();
    void ShowProgressScreen();
    void ShowCompletionScreen();
    // Draws the bar for the current percentage on a window context, unless the last draw
    // since the progress screen was shown had the same percentage.
    void DrawProgress();
    // What a paint of the dialog draws.
    ProgressPicture Progress() const { return ComputeProgressPicture(geometry_, e_.copy.percent); }

    int step() const { return step_; }
    bool done() const { return done_; }
    bool updateInstall() const { return updateInstall_; }
    const char* installPath() const { return installPath_; }
    void SetInstallPath(const char* path);
    const InstallGeometry& geometry() const { return geometry_; }

private:
    void SetLine(int id, const char* text);
    void PlaceTwoButtons();
    void PlaceSingleStop(const char* caption);
    bool FinalPathFits(const char* base, bool update) const;
    bool AskOffer(const char* format, char letter);
    bool AcceptOfferedFolder();

    script::Engine& e_;
    InstallView* view_ = nullptr;
    InstallSurroundings* surroundings_ = nullptr;
    InstallGeometry geometry_;

    bool done_ = false;
    int drawnPercent_ = -1;  // what DrawProgress last drew; -1 nothing yet
    int step_ = kStepOutside;
    bool updateInstall_ = false;
    bool firstDestination_ = false;
    char installPath_[script::kPathSize] = {};
    char defaultPath_[4] = "A:\\";
    char updateFolder_[script::kPathSize] = {};
    char lines_[6][120] = {};
};

// The browse dialog accepts a folder only up to kMaxBrowsedFolder bytes.
inline bool BrowsedFolderFits(const char* folder) { return std::strlen(folder) <= kMaxBrowsedFolder; }

}  // namespace installer
