// The install flow's decisions (see install_flow.h): the screens, the destination
// checks, the install run with its progress, and the end of a pass.
#include "installer/install_flow.h"

#include <cstdio>
#include <cstring>

#include "commands/copy_engine.h"
#include "commands/file_commands.h"
#include "commands/registry_commands.h"
#include "script/arguments.h"
#include "script/dispatch.h"
#include "script/messages.h"
#include "script/script_text.h"
#include "script/text_rules.h"

namespace installer {

namespace {

constexpr unsigned kWarningBox = plat::kMbOk | plat::kMbIconWarning;
constexpr unsigned kQuestionBox = plat::kMbYesNo | plat::kMbIconQuestion;
constexpr unsigned kPlainBox = plat::kMbOk;
constexpr unsigned kPlainYesNo = plat::kMbYesNo;

const char kTooLong[] = "パスが長すぎます。";
const char kBadPath[] = "パスが異常です。";
const char kTavrelFolder[] = "TAVREL";

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

int DriveIndexOf(char letter) { return letter >= 'a' && letter <= 'z' ? letter - 'a' : letter - 'A'; }

bool IsBlankOnly(const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p)
        if (*p != ' ' && *p != '\t') return false;
    return true;
}

// Positions of the real backslashes of path (a trail byte that looks like one is not).
int Backslashes(const char* path, int* at, int capacity) {
    int count = 0;
    for (int i = 0; path[i] != '\0'; ++i) {
        if (script::IsLeadByte(static_cast<unsigned char>(path[i])) && path[i + 1] != '\0') {
            ++i;
            continue;
        }
        if (path[i] == '\\' && count < capacity) at[count++] = i;
    }
    return count;
}

}  // namespace

// ---- Path rules ---------------------------------------------------------------------

void CollapseBackslashes(char* path) {
    char* out = path;
    bool lastWasBackslash = false;
    for (const char* in = path; *in != '\0';) {
        if (script::IsLeadByte(static_cast<unsigned char>(*in)) && in[1] != '\0') {
            *out++ = *in++;
            *out++ = *in++;
            lastWasBackslash = false;
            continue;
        }
        const bool backslash = *in == '\\';
        if (!(backslash && lastWasBackslash)) *out++ = *in;
        lastWasBackslash = backslash;
        ++in;
    }
    *out = '\0';
}

bool CompletePath(char* path, size_t size) {
    const size_t n = std::strlen(path);
    if (n == 0) return false;
    char out[script::kPathSize * 2];
    out[0] = path[0];
    out[1] = ':';
    out[2] = '\\';
    out[3] = '\0';
    if (n > 2) {
        // "X:\rest", "X\rest" and "X:rest" all name the folder rest on drive X; the last
        // two would otherwise be taken relative to a current directory.
        const char* rest = path + 2;
        if (path[1] == ':' && path[2] == '\\') rest = path + 3;
        if (std::strlen(rest) + 4 > sizeof out) return false;
        std::strcat(out, rest);
        if (!script::EndsWithBackslash(out) && !script::AppendOrRefuse(out, sizeof out, "\\")) return false;
    }
    return script::CopyOrCut(path, size, out);
}

void UpperCaseSingleByte(char* text) {
    for (size_t i = 0; text[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (script::IsLeadByte(c) && text[i + 1] != '\0') {
            ++i;  // the trail byte may look like a lower-case letter
            continue;
        }
        if (c >= 'a' && c <= 'z') text[i] = static_cast<char>(c - 'a' + 'A');
    }
}

bool FormFinalPath(const char* base, bool update, const char* productFolder, char* out, size_t size) {
    char built[script::kPathSize];
    bool fits = script::CopyOrCut(built, sizeof built, base) && script::EnsureBackslash(built, sizeof built);
    if (fits && !update)
        fits = script::AppendOrCut(built, sizeof built, "TAVREL\\") &&
               script::AppendOrCut(built, sizeof built, productFolder);
    if (!fits || std::strlen(built) + 1 > size) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    UpperCaseSingleByte(built);
    std::memcpy(out, built, std::strlen(built) + 1);
    return true;
}

void BaseOfDestination(const char* destination, char* out, size_t size) {
    script::CopyOrCut(out, size, destination);
    for (int cut = 0; cut < 2; ++cut) {
        const int at = script::LastInnerBackslash(out);
        if (at >= 1) out[at] = '\0';  // a backslash in the first byte is no folder boundary
    }
    script::EnsureBackslash(out, size);
}

void FormatLetterText(char* out, size_t size, const char* format, char letter, const char* text) {
    script::FormatOrCut(out, size, format, letter, text);
}

// ---- The flow -------------------------------------------------------------------------

void InstallFlow::SetInstallPath(const char* path) { script::CopyOrCut(installPath_, sizeof installPath_, path); }

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
    e_.chosenDriveIndex = DriveIndexOf(letter);
    defaultPath_[0] = letter;
    SetInstallPath(defaultPath_);
    script::RunSection(e_, e_.slots.initInst);
    for (int i = 0; i < 6; ++i) script::CopyOrCut(lines_[i], sizeof lines_[i], e_.options.instMes[i]);
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
                 script::CopyOrCut(withBackslash, sizeof withBackslash, updateFolder_) &&
                 script::EnsureBackslash(withBackslash, sizeof withBackslash);
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
    case kStepDestination:
        AcceptTypedPath();
        return;
    case kStepConfirm:
        StartInstall();
        return;
    default:
        return;
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
    script::CopyOrCut(out, size, root);
}

void InstallFlow::AfterBrowse(bool chosen, const char* folder) {
    if (chosen) {
        SetInstallPath(folder);
        view_->SetText(kInstPath, installPath_);
        view_->ShowControl(kInstPath, true);
    }
    char program[script::kPathSize];
    script::CopyOrCut(program, sizeof program, e_.env.programFolder);
    script::DropTrailingBackslash(program);
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
    FormatLetterText(question, sizeof question, format, letter, e_.options.title);
    return script::ShowMessage(e_, question, "", kQuestionBox) == plat::kIdYes;
}

bool InstallFlow::FinalPathFits(const char* base, bool update) const {
    char final[script::kPathSize];
    return FormFinalPath(base, update, e_.options.dstDir, final, sizeof final);
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
        if (!IsAsciiLetter(static_cast<unsigned char>(found))) return;
        e_.chosenDriveLetter = found;
        e_.chosenDriveIndex = DriveIndexOf(found);
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
    view_->GetText(kInstPath, typed, sizeof typed);
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
    CollapseBackslashes(path);
    size_t n = std::strlen(path);
    // The final folder (this path, TAVREL and the product folder) must fit its buffer too.
    char completed[script::kPathSize];
    const bool fits = n <= kMaxTypedPath && (n == 0 || (script::CopyOrCut(completed, sizeof completed, path) &&
                                                        CompletePath(completed, sizeof completed) &&
                                                        FinalPathFits(completed, false)));
    if (!fits) {
        script::ShowMessage(e_, kTooLong, "", kWarningBox);
        e_.destinationStatus = script::kDestinationReported;
        return 0;
    }
    if (n == 0) return 0;
    if (n > 1 && path[1] != '\\' && path[1] != ':') return 0;
    if (!IsAsciiLetter(static_cast<unsigned char>(path[0]))) return 0;
    e_.chosenDriveLetter = path[0];
    e_.chosenDriveIndex = DriveIndexOf(path[0]);

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
    const int count = Backslashes(path, at, script::kPathSize);
    for (int k = 1; k < count; ++k) {
        if (IsBlankOnly(path + at[k - 1] + 1, path + at[k])) return 0;
    }
    for (int k = 1; k < count; ++k) {
        char prefix[script::kPathSize];
        script::CopyOrCutN(prefix, sizeof prefix, path, static_cast<size_t>(at[k]));
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
    const bool fits = script::CopyOrCut(folder, sizeof folder, installPath_) &&
                      script::EnsureBackslash(folder, sizeof folder) &&
                      script::AppendOrCut(folder, sizeof folder, kTavrelFolder);
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
    script::CopyOrCut(line, sizeof line, "[決定]を押すと ");
    if (!updateInstall_) {
        script::AppendOrCut(line, sizeof line, e_.options.dstDir);
        script::AppendOrCut(line, sizeof line, " フォルダを作成し、");
    }
    SetLine(kInstLine2, line);
    SetLine(kInstLine3, "インストールを開始します。");
    view_->ShowControl(kInstLine3, true);
    char final[script::kPathSize];
    const bool fits = FormFinalPath(installPath_, updateInstall_, e_.options.dstDir, final, sizeof final);
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
    script::CopyOrCut(e_.env.destFolder, sizeof e_.env.destFolder, installPath_);
    BaseOfDestination(e_.env.destFolder, e_.env.tavrelBase, sizeof e_.env.tavrelBase);
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
        script::FormatOrCut(question, sizeof question, "%sフォルダはすでに存在します。\n　　上書きしてよろしいですか？",
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
