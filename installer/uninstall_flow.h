// The uninstall flow: the script's uninstall sections around a small confirmation
// dialog. UninstallView is the dialog's thin window side; UninstallDialogRunner makes
// the dialog, runs it modally and destroys it.
#pragma once

#include "script/engine.h"
#include "resources/ostrel_resource.h"

namespace installer {

// Control ids of the uninstall dialog, from its template.
enum UninstallControl : int {
    kUninstOk = 1,      // the dialog manager's IDOK
    kUninstCancel = 2,  // IDCANCEL
    kUninstMessage = IDC_UNINST_MESSAGE,
    kUninstFolder = IDC_UNINST_FOLDER,
};

class UninstallView {
public:
    virtual ~UninstallView() = default;
    // Puts the flow's path and message texts into their statics at once.
    virtual void ShowTexts(const char* path, const char* message) = 0;
    virtual void HideButtons() = 0;  // OK and Cancel
    virtual void Activate() = 0;
    virtual void EndDialog(int result) = 0;
};

class UninstallFlow;

class UninstallDialogRunner {
public:
    virtual ~UninstallDialogRunner() = default;
    // Makes the dialog with the frame window as parent, runs it until it ends and
    // destroys it. Its OK calls flow.ConfirmUninstall.
    virtual void RunModal(UninstallFlow& flow) = 0;
};

class UninstallFlow {
public:
    explicit UninstallFlow(script::Engine& e) : e_(e) {}

    void RunUninstall(UninstallDialogRunner& runner);
    // The dialog's OK.
    void ConfirmUninstall(UninstallView& view);

    // The texts the dialog starts with.
    const char* pathText() const { return path_; }
    const char* messageText() const { return message_; }

private:
    script::Engine& e_;
    char path_[script::kPathSize] = {};
    char message_[80] = {};
};

}  // namespace installer
