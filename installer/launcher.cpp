// The launcher's decisions: layout, button rules and the button handlers.
#include "installer/launcher.h"

#include <climits>
#include <cstring>

#include "commands/registry_accessor.h"
#include "script/dispatch.h"
#include "text/text_rules.h"
#include "script/messages.h"
#include "script/script_text.h"

namespace installer {
namespace {

// Option values are up to seven digits: the products are taken in 64 bits and brought
// back into the range of a window coordinate.
int PercentOf(int64_t percent, int64_t size) {
    int64_t v = percent * size / 100;
    if (v > INT_MAX / 2) return INT_MAX / 2;
    if (v < INT_MIN / 2) return INT_MIN / 2;
    return static_cast<int>(v);
}

}  // namespace

Layout ComputeLayoutValues(const script::Options& o, int pictureWidth, int pictureHeight, int screenWidth,
                           int screenHeight) {
    Layout l;
    l.pictureWidth = pictureWidth;
    l.pictureHeight = pictureHeight;
    l.buttonWidth = PercentOf(o.btnWidth, pictureWidth);
    l.buttonHeight = PercentOf(o.btnHeight, pictureHeight);
    l.left = (screenWidth - pictureWidth) >> 1;
    l.top = (screenHeight - pictureHeight) >> 1;
    return l;
}

Rect ButtonRect(const Layout& l, int centreX, int centreY) {
    Rect r;
    r.left = PercentOf(centreX, l.pictureWidth) - (l.buttonWidth >> 1);
    r.top = PercentOf(centreY, l.pictureHeight) - (l.buttonHeight >> 1);
    r.width = l.buttonWidth;
    r.height = l.buttonHeight;
    return r;
}

ButtonStates DecideButtonStates(const script::Engine& e) {
    const script::Options& o = e.options;
    ButtonStates s;
    s.disableSetup = o.setupBtn == 0;
    s.playEnabled = e.productInstalled && o.playBtn != 0;
    s.disableExit = o.exitBtn == 0;
    s.uninstallEnabled = e.productInstalled && e.uninstallAvailable && o.uninstallBtn != 0;
    return s;
}

int DefaultButton(const script::Engine& e) {
    if (e.options.setupBtn != 0) return kIdSetup;
    if (e.productInstalled && e.options.playBtn != 0) return kIdPlay;
    return kIdExit;
}

void TileCounts(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight, int* columns, int* rows) {
    *columns = pictureWidth > 0 ? (screenWidth + pictureWidth - 1) / pictureWidth : 0;
    *rows = pictureHeight > 0 ? (screenHeight + pictureHeight - 1) / pictureHeight : 0;
}

int Launcher::Create() {
    e_.runningOnNT = e_.sys->GetVersion().platformId != 1;
    if (!view_.CreateLauncherWindow()) {
        script::ShowStartupMessage(e_, "ダイアログボックスの作成に失敗しました。\n　　　　　　　終了します。");
        return 0;
    }
    if (picture_.Load(*e_.sys, e_.env.pictureName) != CDib::kDone) {
        script::ShowStartupMessage(e_, "ビットマップファイルの読み込みに失敗しました。\n　　　　　　　　終了します。");
        return 0;
    }
    ComputeLayout();

    view_.ShowLauncher(false);
    view_.MoveFrame(Rect{e_.env.screenWidth / 2, e_.env.screenHeight / 2, 0, 0});
    PlaceButtons();
    const script::Options& o = e_.options;
    view_.SetButtonText(kIdSetup, o.setupText);
    view_.SetButtonText(kIdExit, o.exitText);
    view_.SetButtonText(kIdUninstall, o.uninstText);
    view_.SetButtonText(kIdPlay, o.playText);
    UpdateButtonStates();

    view_.ShowLauncher(true);
    view_.ShowAndEnableFrame();
    shown_ = true;
    view_.FocusLauncher();

    int def = DefaultButton(e_);
    if (def != kIdSetup) {
        view_.SetButtonDefault(kIdSetup, false);
        view_.SetButtonDefault(def, true);
        view_.FocusButton(def);
    }
    return 1;
}

void Launcher::ComputeLayout() {
    view_.RemakePalette();
    layout_ = ComputeLayoutValues(e_.options, picture_.Width(), picture_.Height(), e_.env.screenWidth,
                                  e_.env.screenHeight);
}

void Launcher::PlaceButtons() {
    view_.MoveLauncher(Rect{layout_.left, layout_.top, layout_.pictureWidth, layout_.pictureHeight});
    static const int kSubIds[2] = {kIdSub1, kIdSub2};
    for (int i = 0; i < 2; ++i) {
        if (!e_.sub[i].enabled) continue;
        view_.ShowButton(kSubIds[i], true);
        view_.SetButtonText(kSubIds[i], e_.sub[i].caption);
    }
    const script::Options& o = e_.options;
    view_.MoveButton(kIdSetup, ButtonRect(layout_, o.setupBtnX, o.setupBtnY));
    view_.MoveButton(kIdPlay, ButtonRect(layout_, o.playBtnX, o.playBtnY));
    view_.MoveButton(kIdExit, ButtonRect(layout_, o.exitBtnX, o.exitBtnY));
    view_.MoveButton(kIdUninstall, ButtonRect(layout_, o.unInstBtnX, o.unInstBtnY));
    view_.MoveButton(kIdSub1, ButtonRect(layout_, e_.sub[0].x, e_.sub[0].y));
    view_.MoveButton(kIdSub2, ButtonRect(layout_, e_.sub[1].x, e_.sub[1].y));
}

void Launcher::UpdateButtonStates() {
    ButtonStates s = DecideButtonStates(e_);
    if (s.disableSetup) view_.EnableButton(kIdSetup, false);
    view_.EnableButton(kIdPlay, s.playEnabled);
    if (s.disableExit) view_.EnableButton(kIdExit, false);
    view_.EnableButton(kIdUninstall, s.uninstallEnabled);
}

bool Launcher::LoadBackground(const char* fileName) {
    if (picture_.Load(*e_.sys, fileName) != CDib::kDone) return false;
    ComputeLayout();
    if (e_.activityMode == script::kModeInstalling)
        view_.RepaintFrame();
    else if (view_.LauncherExists())
        view_.RepaintLauncher();
    return true;
}

void Launcher::OnSetup() {
    if (flows_) flows_->RunInstallDialog();
}

void Launcher::OnPlay() {
    if (script::FindSection(e_, e_.slots.play)) {
        script::RunSection(e_, e_.slots.play);
        return;
    }
    if (commands::ReadSetting(e_, e_.options.dstDir, e_.env.installedFolder, sizeof e_.env.installedFolder) != 1)
        return;
    char dir[script::kPathSize];
    std::strcpy(dir, e_.env.installedFolder);
    text::DropTrailingBackslash(dir);
    e_.sys->SetCurrentDirectory(dir);
    e_.sys->WinExec(e_.options.exeName, 5);
    e_.sys->PostQuitMessage(0);
}

void Launcher::OnExit() { e_.sys->PostQuitMessage(0); }

void Launcher::OnUninstall() {
    if (!flows_) return;
    flows_->RunUninstallFlow();
    UpdateButtonStates();
    view_.BringLauncherForward();
    view_.SetButtonDefault(kIdUninstall, false);
    view_.SetButtonDefault(kIdExit, true);
    view_.FocusButton(kIdExit);
}

void Launcher::OnSubButton(int index) {
    if (index < 0 || index > 1) return;
    script::RunSection(e_, e_.sub[index].slot);
}

}  // namespace installer
