// COPY: one file or a wildcard set into a folder. Outside step mode the whole set is
// copied at once; in step mode the runners copy the rest one file per step.
#include <cstdio>
#include <cstring>

#include "commands/copy_command.h"
#include "commands/copy_engine.h"
#include "commands/file_commands.h"
#include "script/argument_reader.h"
#include "script/messages.h"
#include "script/script_text.h"
#include "text/text_rules.h"

namespace commands {

using script::CopyResult;
using script::kCopied;
using script::kDestFailed;
using script::kFailed;
using script::kSourceFailed;
using script::kGoOn;
using script::kPathSize;

namespace {

// Fills the copy's source and destination paths from the two folders and a name. A path
// that would not fit is left cut and the copy is refused with the side that overflowed.
CopyResult PreparePaths(Engine& e, const char* name) {
    e.copy.destCreated = false;  // nothing of this file is on disk yet
    const bool sourceFits = text::JoinOrRefuse(e.copy.sourcePath, kPathSize, e.copy.sourceFolder, name);
    const bool destFits = text::JoinOrRefuse(e.copy.destPath, kPathSize, e.copy.destFolder, name);
    if (!sourceFits) return kSourceFailed;
    if (!destFits) return kDestFailed;
    return kCopied;
}

CopyResult CopyPrepared(Engine& e, const char* name) {
    const CopyResult prepared = PreparePaths(e, name);
    return prepared != kCopied ? prepared : CopyOneFile(e);
}

// A failed file: remove what was written of it, say why, and end the set.
void CopyFailed(Engine& e, CopyResult result) {
    if (e.copy.destCreated) e.sys->DeleteFile(e.copy.destPath);
    script::ReportCopyResult(e, result);
    CloseSearch(e);
    e.pendingCopy = false;
}

// The set's search passed over files whose names Shift-JIS cannot hold, so they cannot be
// copied: going on would end the set as if it were whole. Says so, naming the folder (the
// names themselves cannot be shown), and ends the set.
bool SetIsIncomplete(Engine& e, const char* sourceFolder) {
    if (e.search.skippedNames == 0) return false;
    char detail[kPathSize + 80];
    std::snprintf(detail, sizeof detail, "%s\n（名前を扱えないファイルが%u個あります）", sourceFolder,
                  static_cast<unsigned>(e.search.skippedNames));
    script::ReportFailure(e, script::kRowFileNotRead, detail);
    CloseSearch(e);
    e.pendingCopy = false;
    return true;
}

}  // namespace

int CmdCopy(Engine& e) {
    char source[kPathSize], dest[kPathSize];
    if (!script::ReadArgument(e, source, sizeof source)) return kFailed;
    if (!script::ReadArgument(e, dest, sizeof dest)) return kFailed;

    // The name starts behind the last backslash at index 3 or later; a source always
    // begins with a drive such as D:\, so the folder is at least those three bytes.
    const int length = static_cast<int>(std::strlen(source));
    const int separator = text::LastSeparator(source, 3, length - 1);
    int nameOffset = separator >= 0 ? separator + 1 : 3;
    if (nameOffset > length) nameOffset = length;

    const char* name = source + nameOffset;
    if (text::HasWildcard(source)) {
        const bool found = FindFirstMatch(e, source, 0, kExcludeDirAndSystem);
        e.pendingCopy = found;
        char sourceFolder[kPathSize];
        std::memcpy(sourceFolder, source, nameOffset);
        sourceFolder[nameOffset] = '\0';
        if (SetIsIncomplete(e, sourceFolder)) return kFailed;
        if (!found) return kGoOn;  // an empty set is not an error
        name = e.search.entry.name;
    }

    // The destination folder always ends in a backslash (or names a drive's current folder).
    e.copy.destCreated = false;
    std::memcpy(e.copy.destFolder, dest, sizeof dest);
    if (!text::EndsInSeparatorOrColon(dest) && !text::JoinOrRefuse(e.copy.destFolder, kPathSize, dest, "\\")) {
        std::memcpy(e.copy.destFolder, dest, sizeof dest);
        std::memcpy(e.copy.destPath, dest, sizeof dest);
        CopyFailed(e, kDestFailed);
        return kFailed;
    }
    std::memcpy(e.copy.sourceFolder, source, nameOffset);
    e.copy.sourceFolder[nameOffset] = '\0';

    const CopyResult result = CopyPrepared(e, name);
    if (result != kCopied) {
        CopyFailed(e, result);
        return kFailed;
    }
    if (e.stepMode) return kGoOn;
    while (e.pendingCopy) {
        if (ContinueMultiFileCopy(e) == kFailed) return kFailed;
    }
    return kGoOn;
}

int ContinueMultiFileCopy(Engine& e) {
    e.copy.sourcePath[0] = '\0';
    e.copy.destPath[0] = '\0';
    const bool found = FindNextMatch(e, 0, kExcludeDirAndSystem);
    if (SetIsIncomplete(e, e.copy.sourceFolder)) return kFailed;
    if (!found) {
        e.pendingCopy = false;
        return 1;
    }
    const CopyResult prepared = PreparePaths(e, e.search.entry.name);
    script::TrimLineEnd(e.copy.sourcePath);
    script::TrimLineEnd(e.copy.destPath);
    const CopyResult result = prepared != kCopied ? prepared : CopyOneFile(e);
    if (result != kCopied) {
        CopyFailed(e, result);
        return kFailed;
    }
    return 1;
}

}  // namespace commands
