// Commands that act on the flow of the script (jumps, questions, redirections of the
// well-known sections) and on the launcher's state (sub buttons, picture, quitting).
#include "script/flow_commands.h"

#include <cstdio>
#include <cstring>

#include "script/argument_reader.h"
#include "script/messages.h"
#include "script/script_text.h"

namespace script {

namespace {

constexpr size_t kNoticeLabelSize = 20;  // "~" + 18 bytes + zero
constexpr size_t kNumberSize = 12;

// Jumps behind the first line matching "~" + label.
void JumpToLabel(Engine& e, const char* label) {
    char pattern[kPathSize + 1];
    std::snprintf(pattern, sizeof pattern, "~%s", label);
    FindSection(e, pattern);
}

// Reads a label that must fit a slot as "~" + label; -1 after the syntax error.
int ReadSlotLabel(Engine& e, char* slot, size_t slotSize) {
    char label[kPathSize];
    if (!ReadArgument(e, label, slotSize - 1)) return -1;
    std::snprintf(slot, slotSize, "~%s", label);
    return 0;
}

// Reads count labels into the given slots, each stored as soon as it is read.
int ReadSlots(Engine& e, char* const* slots, int count) {
    for (int i = 0; i < count; ++i) {
        if (ReadSlotLabel(e, slots[i], kSlotSize) < 0) return kFailed;
    }
    return kGoOn;
}

int ReadSubButton(Engine& e, SubButton& b) {
    b.enabled = true;
    if (!ReadArgument(e, b.caption, sizeof b.caption, Overflow::Cut)) return kFailed;
    if (!ReadArgument(e, b.slot, sizeof b.slot)) return kFailed;
    char number[kNumberSize];
    if (!ReadArgument(e, number, sizeof number)) return kFailed;
    b.x = ParseDecimal(number);
    if (!ReadArgument(e, number, sizeof number)) return kFailed;
    b.y = ParseDecimal(number);
    return kGoOn;
}

}  // namespace

int CmdGoto(Engine& e) {
    char target[kPathSize];
    if (!ReadArgument(e, target, sizeof target)) return kFailed;
    FindSection(e, target);
    return kGoOn;
}

int CmdYesNo(Engine& e) {
    char question[kPathSize], yes[kPathSize - 1], no[kPathSize - 1];
    if (!ReadArgument(e, question, sizeof question, Overflow::Cut)) return kFailed;
    if (!ReadArgument(e, yes, sizeof yes)) return kFailed;
    if (!ReadArgument(e, no, sizeof no)) return kFailed;
    int answer = ShowMessage(e, question, "", plat::kMbYesNo);
    JumpToLabel(e, answer == plat::kIdYes ? yes : no);
    return kGoOn;
}

int CmdWarning(Engine& e) {
    char proceed[kNoticeLabelSize - 1], other[kNoticeLabelSize - 1];
    if (!ReadArgument(e, proceed, sizeof proceed)) return kFailed;
    if (!ReadArgument(e, other, sizeof other)) return kFailed;
    bool go = e.host && e.host->RunNoticeDialog();
    JumpToLabel(e, go ? proceed : other);
    return kGoOn;
}

int CmdBootDrive(Engine& e) {
    char cd[kPathSize - 1], removable[kPathSize - 1], other[kPathSize - 1];
    if (!ReadArgument(e, cd, sizeof cd)) return kFailed;
    if (!ReadArgument(e, removable, sizeof removable)) return kFailed;
    if (!ReadArgument(e, other, sizeof other)) return kFailed;
    const char* const targets[] = {removable, cd, other};  // by DriveKind
    JumpToLabel(e, targets[e.driveKind]);
    return kGoOn;
}

int CmdInstLab(Engine& e) {
    char* const slots[] = {e.slots.install, e.slots.initInst, e.slots.exitInst, e.slots.winScript};
    return ReadSlots(e, slots, 4);
}

int CmdUninstLab(Engine& e) {
    char* const slots[] = {e.slots.uninstall, e.slots.initUninst, e.slots.exitUninst};
    return ReadSlots(e, slots, 3);
}

int CmdPlayLab(Engine& e) {
    char* const slots[] = {e.slots.play};
    return ReadSlots(e, slots, 1);
}

int CmdSubBtn1(Engine& e) { return ReadSubButton(e, e.sub[0]); }
int CmdSubBtn2(Engine& e) { return ReadSubButton(e, e.sub[1]); }

int CmdQuit(Engine& e) {
    e.sys->PostQuitMessage(0);
    return kGoOn;
}

int CmdPrint(Engine& e) {
    char text[kPathSize];
    if (!ReadArgument(e, text, sizeof text, Overflow::Cut)) return kFailed;
    ShowMessage(e, text, "", plat::kMbOk);
    return kGoOn;
}

int CmdOptions(Engine& e) {
    char word[kPathSize];
    if (!ReadArgument(e, word, sizeof word, Overflow::Cut)) return kFailed;
    if (e.host) e.host->ReadOptions();
    return kGoOn;
}

int CmdBitmap(Engine& e) {
    char file[kPathSize];
    if (!ReadArgument(e, file, sizeof file)) return kFailed;
    std::snprintf(e.env.pictureName, sizeof e.env.pictureName, "%s", file);
    if (!e.host || !e.host->LoadBackground(e.env.pictureName)) {
        ShowMessage(e, "ビットマップファイルの読み込みに失敗しました", "", plat::kMbOk | plat::kMbIconWarning);
        return kFailed;
    }
    return kGoOn;
}

int CmdDSetup(Engine&) { return kGoOn; }

}  // namespace script
