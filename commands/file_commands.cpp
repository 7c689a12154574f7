// The script's file and folder commands (CREATE ... FIND) and the folder operations that
// other commands share. Failures are shown here, once, and passed up as -1.
#include "commands/file_commands.h"

#include <cstdio>
#include <cstring>

#include "script/argument_reader.h"
#include "script/messages.h"
#include "text/text_rules.h"

namespace commands {

using script::kFailed;
using script::kGoOn;
using script::kPathSize;

namespace {

// Room for a 259-byte text plus CR LF.
constexpr int kLineOutSize = kPathSize + 2;

// Looks a path up by a directory search of its own, so the engine's search is untouched.
bool LookUp(Engine& e, const char* path, plat::FindEntry* found) {
    plat::FindEntry entry;
    plat::SearchHandle h = e.sys->FindFirst(path, &entry);
    if (h == 0) return false;
    e.sys->FindClose(h);
    if (found) *found = entry;
    return true;
}

// A delete failed: nothing to report when the file is already gone; otherwise the
// read-only note (when it applies) and row 3.
int DeleteFailed(Engine& e, const char* path) {
    plat::FindEntry entry;
    if (!LookUp(e, path, &entry)) return kGoOn;
    if (entry.attributes & plat::kAttrReadOnly) {
        char text[2 * kPathSize];
        std::snprintf(text, sizeof text, "ファイル%sは、\n書き込み禁止属性です。", path);
        script::ShowMessage(e, text, "", plat::kMbOk);
    }
    script::ReportFailure(e, script::kRowFileNotDeleted, path);
    return kFailed;
}

void ReportWriteProblem(Engine& e, plat::FileCause cause, const char* path) {
    if (!script::ReportFileError(e, cause, path)) script::ReportFailure(e, script::kRowFileNotWritten, path);
}

}  // namespace

// ---- Shared folder operations --------------------------------------------------------

bool FolderExists(Engine& e, const char* path) {
    char saved[kPathSize];
    if (e.sys->GetCurrentDirectory(saved, sizeof saved) == 0) return false;
    const bool exists = e.sys->SetCurrentDirectory(path);
    e.sys->SetCurrentDirectory(saved);
    return exists;
}

bool CreateFolder(Engine& e, const char* path) { return FolderExists(e, path) || e.sys->CreateDirectory(path); }

// ---- The output file --------------------------------------------------------------------

int CmdCreate(Engine& e) {
    if (e.output.open) {
        plat::FileCause ignored;
        e.sys->CloseFile(e.output.file, &ignored);
        e.output.open = false;
    }
    char path[kPathSize];
    if (!script::ReadArgument(e, path, sizeof path)) return kFailed;

    plat::FileCause cause = plat::kCauseNone;
    plat::FileHandle f = e.sys->CreateForWrite(path, &cause);
    if (f == 0) {
        ReportWriteProblem(e, cause, path);
        return kFailed;
    }
    e.output.file = f;
    std::memcpy(e.output.name, path, sizeof path);
    e.output.open = true;
    return kGoOn;
}

int CmdWrite(Engine& e) {
    if (!e.output.open) return kFailed;
    char text[kLineOutSize];
    if (!script::ReadArgument(e, text, kPathSize)) return kFailed;
    const size_t n = std::strlen(text);
    text[n] = '\r';
    text[n + 1] = '\n';

    plat::FileCause cause = plat::kCauseNone;
    if (!e.sys->WriteFile(e.output.file, text, static_cast<uint32_t>(n + 2), &cause)) {
        ReportWriteProblem(e, cause, e.output.name);
        return kFailed;
    }
    return kGoOn;
}

void ReleaseOutputFile(Engine& e) {
    if (e.output.open) {
        plat::FileCause cause = plat::kCauseNone;
        e.sys->CloseFile(e.output.file, &cause);
    }
    e.output.open = false;
}

int CmdClose(Engine& e) {
    if (!e.output.open) return kFailed;
    plat::FileCause cause = plat::kCauseNone;
    if (!e.sys->CloseFile(e.output.file, &cause)) {
        script::ReportFailure(e, script::kRowFileNotWritten, e.output.name);
        return kFailed;
    }
    e.output.open = false;
    return kGoOn;
}

// ---- Folders -------------------------------------------------------------------------------

int CmdMkdir(Engine& e) {
    char path[kPathSize];
    if (!script::ReadArgument(e, path, sizeof path)) return kFailed;
    if (CreateFolder(e, path)) return kGoOn;
    script::ReportFailure(e, script::kRowFolderNotCreated, path);
    return kFailed;
}

int CmdRmdir(Engine& e) {
    char path[kPathSize];
    if (!script::ReadArgument(e, path, sizeof path)) return kFailed;
    if (!FolderExists(e, path)) return kGoOn;

    // Step out to the drive's root so the folder is not held as the current directory.
    char saved[kPathSize];
    const bool haveSaved = e.sys->GetCurrentDirectory(saved, sizeof saved) != 0;
    e.sys->SetCurrentDirectory("\\");
    const bool removed = e.sys->RemoveDirectory(path);
    if (haveSaved) e.sys->SetCurrentDirectory(saved);

    if (removed) return kGoOn;
    script::ReportFailure(e, script::kRowFolderNotDeleted, path);
    return kFailed;
}

// ---- Files ---------------------------------------------------------------------------------

int CmdDelete(Engine& e) {
    char path[kPathSize];
    if (!script::ReadArgument(e, path, sizeof path)) return kFailed;

    if (!text::HasWildcard(path)) {
        if (e.sys->DeleteFile(path)) return kGoOn;
        return DeleteFailed(e, path);
    }

    // The folder part: the path cut at its last backslash, searched from the
    // second-to-last character back to the second.
    char folder[kPathSize];
    std::memcpy(folder, path, sizeof path);
    const int length = static_cast<int>(std::strlen(path));
    const int cut = text::LastSeparator(path, 1, length - 2);
    if (cut >= 0) folder[cut] = '\0';

    if (!FindFirstMatch(e, path, 0, kExcludeDirAndSystem)) return kGoOn;
    do {
        char file[kPathSize];
        char withSeparator[kPathSize];
        // A name that cannot be joined within the path limit cannot be deleted either.
        if (!text::JoinOrRefuse(withSeparator, sizeof withSeparator, folder, "\\") ||
            !text::JoinOrRefuse(file, sizeof file, withSeparator, e.search.entry.name)) {
            CloseSearch(e);
            script::ReportFailure(e, script::kRowFileNotDeleted, path);
            return kFailed;
        }
        if (!e.sys->DeleteFile(file)) {
            CloseSearch(e);
            return DeleteFailed(e, file);
        }
    } while (FindNextMatch(e, 0, kExcludeDirAndSystem));
    return kGoOn;
}

int CmdRename(Engine& e) {
    char from[kPathSize], to[kPathSize];
    if (!script::ReadArgument(e, from, sizeof from)) return kFailed;
    if (!script::ReadArgument(e, to, sizeof to)) return kFailed;
    if (e.sys->MoveFile(from, to)) return kGoOn;
    script::ReportFailure(e, script::kRowFileNotRenamed, from);
    return kFailed;
}

// Waits for a file or folder (a disc, say): asks until it is there or the user gives up.
int CmdFind(Engine& e) {
    char path[kPathSize], text[kPathSize];
    if (!script::ReadArgument(e, path, sizeof path)) return kFailed;
    if (!script::ReadArgument(e, text, sizeof text)) return kFailed;

    for (;;) {
        if (LookUp(e, path, nullptr)) return kGoOn;
        // Anything but OK (Cancel, the close box, a silent engine) leads to the question,
        // and anything but No gives up, so no answer can loop for ever.
        if (script::ShowMessage(e, text, "", plat::kMbOkCancel) == plat::kIdOk) continue;
        if (script::ShowMessage(e, script::CancelQuestion(e.activityMode), "", plat::kMbYesNo) == plat::kIdNo) continue;
        return kFailed;
    }
}

}  // namespace commands
