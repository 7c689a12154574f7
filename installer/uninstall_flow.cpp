// The uninstall flow's decisions (see uninstall_flow.h).
#include "installer/uninstall_flow.h"

#include "commands/registry_accessor.h"
#include "script/dispatch.h"
#include "script/messages.h"
#include "script/variables.h"
#include "text/text_rules.h"

namespace installer {

void UninstallFlow::RunUninstall(UninstallDialogRunner& runner) {
    // Failures in all three sections carry the uninstall wording.
    e_.activityMode = script::kModeUninstalling;
    script::RefreshVariables(e_);
    text::CopyOrCut(path_, sizeof path_, e_.env.installedFolder);
    text::CopyOrCut(message_, sizeof message_, "以下のフォルダの中身を全て削除します。");
    script::RunSection(e_, e_.slots.initUninst);
    runner.RunModal(*this);
    script::RunSection(e_, e_.slots.exitUninst);
    e_.activityMode = script::kModeIdle;
}

void UninstallFlow::ConfirmUninstall(UninstallView& view) {
    if (script::ShowMessage(e_, "本当にアンインストールしても\n　　　よろしいですか？", "", plat::kMbYesNo) !=
        plat::kIdYes) {
        view.EndDialog(plat::kIdCancel);
        return;
    }
    path_[0] = '\0';
    text::CopyOrCut(message_, sizeof message_, "アンインストール中です。");
    view.ShowTexts(path_, message_);
    view.HideButtons();
    // A section that no line matches counts as done: there was nothing to remove.
    if (script::RunSection(e_, e_.slots.uninstall) != -1) {
        e_.productInstalled = false;
        view.Activate();
        script::ShowMessage(e_, "アンインストールが終了しました。", "", plat::kMbOk);
        commands::ForgetInstallation(e_);
    } else {
        e_.productInstalled = true;
    }
    view.EndDialog(plat::kIdOk);
}

}  // namespace installer
