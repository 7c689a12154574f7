// The install flow's decisions (see install_flow.h): the screens, the destination
// checks, the install run with its progress, and the end of a pass.
#include "installer/install_flow.h"

#include <cstdio>
#include <cstring>

#include "commands/copy_engine.h"
#include "commands/drive_info.h"
#include "commands/file_commands.h"
#include "commands/registry_accessor.h"
#include "script/dispatch.h"
#include "script/messages.h"
#include "script/script_text.h"
#include "script/variables.h"
#include "text/install_paths.h"
#include "text/text_rules.h"

namespace installer {

namespace {

constexpr unsigned kWarningBox = plat::kMbOk | plat::kMbIconWarning;
constexpr unsigned kQuestionBox = plat::kMbYesNo | plat::kMbIconQuestion;
constexpr unsigned kPlainBox = plat::kMbOk;
constexpr unsigned kPlainYesNo = plat::kMbYesNo;

const char kTooLong[] = "パスが長すぎます。";
const char kBadPath[] = "パスが異常です。";
const char kTavrelFolder[] = "TAVREL";

}  // namespace

// ---- The flow -------------------------------------------------------------------------

void InstallFlow::SetInstallPath(const char* path) { text::CopyOrCut(installPath_, sizeof installPath_, path); }

void InstallFlow::SetLine(int id, const char* text) { view_->SetText(id, text); }

void InstallFlow::PlaceTwoButtons() {
    ButtonPlace ok, stop;
    TwoButtonRow(geometry_, &ok, &stop);
    view_->MoveButton(kInstOk, ok);
    view_->MoveButton(kInstStop, stop);
}

void InstallFlow::PlaceSingleStop(const char* caption) {
    view_->MoveButton(kInstStop, SingleButton(geometry_));
    view_->SetText(kInstStop, caption);
    view_->MakeDefault(kInstStop);
    view_->Focus(kInstStop);
}

void InstallFlow::PrepareInstall() {
    done_ = false;
    e_.copy.percent = -1;
    step_ = kStepWelcome;
    const char letter = e_.env.windowsFolder[0] != '\0' ? e_.env.windowsFolder[0] : 'A';
    e_.chosenDriveLetter = letter;
    e_.chosenDriveIndex = text::DriveIndexOf(letter);
    defaultPath_[0] = letter;
    SetInstallPath(defaultPath_);
    script::RunSection(e_, e_.slots.initInst);
    for (int i = 0; i < 6; ++i) text::CopyOrCut(lines_[i], sizeof lines_[i], e_.options.instMes[i]);
}

void InstallFlow::OnCreate(int windowWidth, int windowHeight) {
    view_->SetCaption(e_.options.instTitle);
    geometry_ = ComputeInstallGeometry(windowWidth, windowHeight);
    e_.activityMode = script::kModeInstalling;
}

void InstallFlow::OnOk() {
    if (e_.activityMode != script::kModeInstalling) return;
    switch (step_) {
        case kStepWelcome: {
            updateInstall_ = false;
            updateFolder_[0] = '\0';
            bool usable = e_.options.instUpdate[0] != '\0' &&
                          commands::ReadSetting(e_, e_.options.instUpdate, updateFolder_, sizeof updateFolder_) == 1;
            // The update folder must still take its backslash to become the install path.
            char withBackslash[script::kPathSize];
            usable = usable && updateFolder_[0] != '\0' &&
                     text::CopyOrCut(withBackslash, sizeof withBackslash, updateFolder_) &&
                     text::EnsureBackslash(withBackslash, sizeof withBackslash);
            if (usable && commands::FolderExists(e_, updateFolder_)) {
                updateInstall_ = true;
                SetInstallPath(updateFolder_);
                step_ = kStepConfirm;
                ShowConfirmScreen();
                view_->SetText(kInstOk, "決定");
                return;
            }
            step_ = kStepDestination;
            const bool offer = !firstDestination_;
            firstDestination_ = true;
            ShowDestinationScreen(offer);
            return;
        }
        case kStepDestination: AcceptTypedPath(); return;
        case kStepConfirm: StartInstall(); return;
        default: return;
    }
}

void InstallFlow::OnStop() {
    if (e_.activityMode != script::kModeInstalling) return;
    if (step_ == kStepInstalling) {
        if (script::ShowMessage(e_, "インストールを中止しますか？", "", kQuestionBox) == plat::kIdYes)
            e_.copy.cancelState = script::kCancelRequested;
        return;
    }
    FinishInstall();
}

void InstallFlow::BrowseStartFolder(char* out, size_t size) const {
    char root[4] = "A:\\";
    if (e_.env.windowsFolder[0] != '\0') root[0] = e_.env.windowsFolder[0];
    text::CopyOrCut(out, size, root);
}

void InstallFlow::AfterBrowse(bool chosen, const char* folder) {
    if (chosen) {
        SetInstallPath(folder);
        view_->SetText(kInstPath, installPath_);
        view_->ShowControl(kInstPath, true);
    }
    char program[script::kPathSize];
    text::CopyOrCut(program, sizeof program, e_.env.programFolder);
    text::DropTrailingBackslash(program);
    e_.sys->SetCurrentDirectory(program);
}

void InstallFlow::ShowDestinationScreen(bool offer) {
    view_->ShowControl(kInstLine1, false);
    view_->ShowControl(kInstLine4, false);
    view_->ShowControl(kInstPercent, false);
    SetLine(kInstLine2, "「TAVREL」フォルダを作成します。");
    SetLine(kInstLine3, "作成するドライブ・フォルダを指定してください。");
    view_->SetText(kInstPath, installPath_);
    view_->ShowControl(kInstPath, true);
    view_->SetEditReadOnly(false);
    ButtonPlace ok, browse, stop;
    ThreeButtonRow(geometry_, &ok, &browse, &stop);
    view_->MoveButton(kInstOk, ok);
    view_->MoveButton(kInstBrowse, browse);
    view_->MoveButton(kInstStop, stop);
    view_->SetText(kInstOk, "決定");
    view_->SetText(kInstBrowse, "参照");
    view_->ShowControl(kInstBrowse, true);
    view_->SetText(kInstStop, "中止");
    view_->RepaintNow(false);
    if (offer) OfferExistingFolder(e_.env.windowsFolder[0]);
}

bool InstallFlow::AskOffer(const char* format, char letter) {
    char question[260];
    text::FormatOrCut(question, sizeof question, format, letter, e_.options.title);
    return script::ShowMessage(e_, question, "", kQuestionBox) == plat::kIdYes;
}

bool InstallFlow::FinalPathFits(const char* base, bool update) const {
    char final[script::kPathSize];
    return text::FormFinalPath(base, update, e_.options.dstDir, final, sizeof final);
}

// Yes to an offered folder: the confirmation follows when the drive has room.
bool InstallFlow::AcceptOfferedFolder() {
    if (!FinalPathFits(installPath_, false)) {
        script::ShowMessage(e_, kTooLong, "", kWarningBox);
        return false;
    }
    if (commands::GetDriveFreeBytes(e_, e_.chosenDriveIndex) > e_.copy.installSize) {
        step_ = kStepConfirm;
        ShowConfirmScreen();
        return true;
    }
    script::ReportNoSpace(e_, e_.chosenDriveLetter, e_.copy.installSize);
    return false;
}

void InstallFlow::OfferExistingFolder(char letter) {
    if (e_.tavrelFolderFound == 1) {
        const char found = e_.env.tavrelBase[0];
        if (!text::IsAsciiLetter(static_cast<unsigned char>(found))) return;
        e_.chosenDriveLetter = found;
        e_.chosenDriveIndex = text::DriveIndexOf(found);
        SetInstallPath(e_.env.tavrelBase);
        if (!AskOffer("%cドライブにTAVRELフォルダが見つかりました。\nここに%sをインストールしますか？", found)) return;
        AcceptOfferedFolder();
        return;
    }
    if (e_.tavrelFolderFound != 0) return;
    char pattern[12];
    std::snprintf(pattern, sizeof pattern, "%c:\\TAVREL", letter);
    const bool exists = commands::FindFirstMatch(e_, pattern, plat::kAttrDirectory, 0);
    commands::CloseSearch(e_);
    if (!exists) return;
    if (!AskOffer("%cドライブに「TAVREL」フォルダが存在します。\nここに%sをインストールしますか？", letter)) return;
    AcceptOfferedFolder();
}

void InstallFlow::AcceptTypedPath() {
    char typed[script::kPathSize];
    if (!view_->GetText(kInstPath, typed, sizeof typed)) {
        // Any stand-in for the character would name another folder.
        script::ShowMessage(e_, kBadPath, "", kWarningBox);
        e_.tavrelFolderFound = 2;
        return;
    }
    const char* start = typed;
    while (*start >= 1 && *start <= 32) ++start;
    SetInstallPath(start);
    if (installPath_[0] == '\0') {
        script::ShowMessage(e_, "インストールするパスを指定してください。", "", kWarningBox);
        e_.tavrelFolderFound = 2;
        return;
    }
    if (!CheckAndCreatePath()) {
        if (e_.destinationStatus == script::kDestinationDriveUnusable)
            script::ShowMessage(e_, "そのドライブは使用できません。", "", kWarningBox);
        else if (e_.destinationStatus == script::kDestinationBadPath)
            script::ShowMessage(e_, kBadPath, "", kWarningBox);
        e_.tavrelFolderFound = 2;
        return;
    }
    if (!CreateTavrelFolder()) return;
    step_ = kStepConfirm;
    ShowConfirmScreen();
}

int InstallFlow::CheckAndCreatePath() {
    e_.destinationStatus = script::kDestinationBadPath;
    char* path = installPath_;
    text::CollapseBackslashes(path);
    size_t n = std::strlen(path);
    // The final folder (this path, TAVREL and the product folder) must fit its buffer too.
    char completed[script::kPathSize];
    const bool fits = n <= kMaxTypedPath &&
                      (n == 0 || (text::CopyOrCut(completed, sizeof completed, path) &&
                                  text::CompletePath(completed, sizeof completed) && FinalPathFits(completed, false)));
    if (!fits) {
        script::ShowMessage(e_, kTooLong, "", kWarningBox);
        e_.destinationStatus = script::kDestinationReported;
        return 0;
    }
    if (n == 0) return 0;
    if (n > 1 && path[1] != '\\' && path[1] != ':') return 0;
    if (!text::IsAsciiLetter(static_cast<unsigned char>(path[0]))) return 0;
    e_.chosenDriveLetter = path[0];
    e_.chosenDriveIndex = text::DriveIndexOf(path[0]);

    const int type = e_.driveTypes[e_.chosenDriveIndex];
    if (type == plat::kDriveUnknown || type == plat::kDriveNoRoot) {
        e_.destinationStatus = script::kDestinationDriveUnusable;
        return 0;
    }
    if (type == plat::kDriveCdrom) {
        script::ShowMessage(e_, "このドライブはCD-ROMドライブです。\nインストール出来ません。", "", kWarningBox);
        e_.destinationStatus = script::kDestinationReported;
        return 0;
    }
    if (commands::GetDriveFreeBytes(e_, e_.chosenDriveIndex) <= e_.copy.installSize) {
        script::ReportNoSpace(e_, e_.chosenDriveLetter, e_.copy.installSize);
        e_.destinationStatus = script::kDestinationNoSpace;
        return 0;
    }
    if (e_.tavrelFolderFound != 1 && type != plat::kDriveFixed) {
        const int answer = script::ShowMessage(
            e_, "指定されたドライブはハードディスクではありませんが、\n　　　　　　　　作業を進めますか？", "",
            kQuestionBox);
        if (answer != plat::kIdYes) {
            e_.tavrelFolderFound = 2;
            e_.destinationStatus = script::kDestinationReported;
            return 0;
        }
    }

    std::memcpy(path, completed, std::strlen(completed) + 1);
    n = std::strlen(path);
    if (n < 4) return 1;

    // Every level below the drive, shortest first. All are checked before any is made,
    // so a refused path leaves no folders behind.
    int at[script::kPathSize];
    const int count = text::RealBackslashes(path, at, script::kPathSize);
    for (int k = 1; k < count; ++k) {
        if (text::IsBlankOnly(path + at[k - 1] + 1, path + at[k])) return 0;
    }
    for (int k = 1; k < count; ++k) {
        char prefix[script::kPathSize];
        text::CopyOrCutN(prefix, sizeof prefix, path, static_cast<size_t>(at[k]));
        if (commands::FolderExists(e_, prefix)) continue;
        if (!commands::CreateFolder(e_, prefix)) {
            script::ShowMessage(e_, "フォルダの作成に失敗しました。", "", kPlainBox);
            e_.destinationStatus = script::kDestinationReported;
            return 0;
        }
    }
    return 1;
}

int InstallFlow::CreateTavrelFolder() {
    char folder[script::kPathSize];
    const bool fits = text::CopyOrCut(folder, sizeof folder, installPath_) &&
                      text::EnsureBackslash(folder, sizeof folder) &&
                      text::AppendOrCut(folder, sizeof folder, kTavrelFolder);
    if (fits && (commands::FolderExists(e_, folder) || commands::CreateFolder(e_, folder))) return 1;
    script::ShowMessage(e_, "tavrelフォルダの作成に失敗しました。", "", kWarningBox);
    return 0;
}

bool InstallFlow::ShowConfirmScreen() {
    view_->ShowControl(kInstLine1, false);
    view_->ShowControl(kInstLine4, false);
    view_->ShowControl(kInstBrowse, false);
    view_->SetEditReadOnly(true);
    char line[400];
    text::CopyOrCut(line, sizeof line, "[決定]を押すと ");
    if (!updateInstall_) {
        text::AppendOrCut(line, sizeof line, e_.options.dstDir);
        text::AppendOrCut(line, sizeof line, " フォルダを作成し、");
    }
    SetLine(kInstLine2, line);
    SetLine(kInstLine3, "インストールを開始します。");
    view_->ShowControl(kInstLine3, true);
    char final[script::kPathSize];
    const bool fits = text::FormFinalPath(installPath_, updateInstall_, e_.options.dstDir, final, sizeof final);
    // Callers check the length beforehand; an empty path is refused by the install run.
    SetInstallPath(fits ? final : "");
    view_->SetText(kInstPath, installPath_);
    PlaceTwoButtons();
    view_->SetText(kInstStop, "中止");
    view_->RepaintNow(false);
    return fits;
}

void InstallFlow::FinishInstall() {
    if (done_) return;
    done_ = true;
    step_ = kStepOutside;
    firstDestination_ = false;
    e_.activityMode = script::kModeIdle;
    e_.copy.cancelState = script::kCancelIdle;
    e_.pendingCopy = false;
    script::RunSection(e_, e_.slots.exitInst);
    if (view_) view_->EndDialog(plat::kIdCancel);
    if (surroundings_) surroundings_->ReturnToLauncher();
}

void InstallFlow::StartInstall() {
    if (!CreateInstallFolder()) {
        script::ShowMessage(e_, "インストールを中断します。", "", kPlainBox);
        FinishInstall();
        return;
    }
    step_ = kStepInstalling;
    text::CopyOrCut(e_.env.destFolder, sizeof e_.env.destFolder, installPath_);
    text::BaseOfDestination(e_.env.destFolder, e_.env.tavrelBase, sizeof e_.env.tavrelBase);
    e_.copy.percent = 0;
    if (RunInstall() != 1) FinishInstall();
}

int InstallFlow::CreateInstallFolder() {
    const size_t n = std::strlen(installPath_);
    if (n < 11 || n > 260) {
        script::ShowMessage(e_, kBadPath, "", kWarningBox);
        return 0;
    }
    if (commands::FolderExists(e_, installPath_) && !updateInstall_) {
        char question[400];
        text::FormatOrCut(question, sizeof question, "%sフォルダはすでに存在します。\n　　上書きしてよろしいですか？",
                          e_.options.dstDir);
        return script::ShowMessage(e_, question, "", kPlainYesNo) == plat::kIdYes ? 1 : 0;
    }
    if (!commands::CreateFolder(e_, installPath_)) {
        script::ShowMessage(e_, "フォルダを作成できませんでした。\nインストールを中断します。", "", kWarningBox);
        return 0;
    }
    return 1;
}

int InstallFlow::RunInstall() {
    auto fail = [this]() {
        e_.stepMode = false;
        view_->ShowControl(kInstStop, true);
        e_.copy.percent = 0;
        return 0;
    };
    e_.stepMode = true;
    script::RunSection(e_, e_.slots.copy);
    // A stop confirmed while the copy section ran has removed the file it was copying:
    // going on would report a complete install without it.
    if (e_.copy.cancelState == script::kCancelRequested) return fail();
    ShowProgressScreen();
    e_.copy.copiedBytes = 0;
    if (!script::FindSection(e_, e_.slots.install)) return fail();
    commands::ReleaseOutputFile(e_);
    script::RefreshVariables(e_);
    if (e_.copy.copyTotal == 0) e_.copy.copyTotal = 100;
    e_.pendingCopy = false;
    e_.copy.cancelState = script::kCancelRunning;

    int result = script::StepSection(e_);
    while (result == 1) {
        if (done_) {
            result = -1;
            break;
        }
        e_.copy.percent = commands::ProgressPercent(e_.copy.copiedBytes, e_.copy.copyTotal);
        DrawProgress();
        result = script::StepSection(e_);
    }
    view_->ShowControl(kInstStop, false);
    e_.stepMode = false;
    if (e_.copy.cancelState != script::kCancelRunning || result != 0) return fail();

    e_.copy.percent = 100;
    DrawProgress();
    if (script::RunSection(e_, e_.slots.winScript) == -1) return fail();
    if (!commands::RecordInstallation(e_) && !e_.runningOnNT) {
        script::ShowMessage(e_, "レジストリの書き込みに失敗しました。\nインストールを中断します。", "", kWarningBox);
        return fail();
    }

    e_.copy.percent = -1;
    view_->RepaintNow(true);
    ShowCompletionScreen();
    e_.productInstalled = true;
    e_.tavrelFolderFound = 1;
    step_ = kStepFinished;
    e_.copy.cancelState = script::kCancelIdle;
    view_->ShowControl(kInstStop, true);
    return 1;
}

void InstallFlow::ShowProgressScreen() {
    view_->ShowControl(kInstOk, false);
    view_->ShowControl(kInstBrowse, false);
    view_->ShowControl(kInstPath, false);
    view_->ShowControl(kInstPercent, true);
    view_->ShowControl(kInstLine3, false);
    SetLine(kInstLine2, "インストール中です。");
    PlaceSingleStop("中止");
    e_.copy.percent = 0;
    drawnPercent_ = -1;
    DrawProgress();
}

void InstallFlow::ShowCompletionScreen() {
    SetLine(kInstLine2, e_.options.instMes[6]);
    SetLine(kInstLine3, e_.options.instMes[7]);
    view_->ShowControl(kInstLine1, false);
    view_->ShowControl(kInstLine2, true);
    view_->ShowControl(kInstLine3, true);
    view_->ShowControl(kInstLine4, false);
    view_->ShowControl(kInstPercent, false);
    PlaceSingleStop("終了");
    view_->Activate();
}

void InstallFlow::DrawProgress() {
    if (!view_) return;
    const ProgressPicture p = Progress();
    if (!p.visible) return;
    // A paint of the dialog draws the bar itself, so the same value never needs drawing
    // twice; every draw costs the window system more than copying a small file.
    if (e_.copy.percent == drawnPercent_) return;
    drawnPercent_ = e_.copy.percent;
    view_->DrawBar(p);
    view_->SetText(kInstPercent, p.text);
}

}  // namespace installer
