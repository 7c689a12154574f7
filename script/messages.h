// The message table and the reporting operations. Every message box of the engine and
// its commands goes through here, so the owner, caption and silence rules hold everywhere.
#pragma once

#include <cstdint>

#include "script/engine.h"

namespace script {

// Rows of the message table.
enum MessageRow : int {
    kRowSyntax = 0,
    kRowFolderNotCreated = 1,
    kRowFolderNotDeleted = 2,
    kRowFileNotDeleted = 3,
    kRowFileNotRenamed = 4,
    kRowProgramManager = 5,
    kRowFileNotRead = 6,
    kRowFileNotWritten = 7,
    kRowFileNotCopied = 8,
    kRowNoSpace = 9,
};

const char* MessageText(int mode, int row);
const char* CancelQuestion(int mode);

// A message box owned by MessageOwner(); returns the button (0 when silent).
int ShowMessage(Engine& e, const char* text, const char* caption, unsigned style);
// A message box without an owner window (0 when silent).
int ShowUnownedMessage(Engine& e, const char* text, const char* caption, unsigned style);
// A start-up failure: no owner, caption "Setup", warning icon.
int ShowStartupMessage(Engine& e, const char* text);

int ReportSyntaxError(Engine& e);
int ReportFailure(Engine& e, int row, const char* detail);
// Says why a file was not copied (nothing for a cancelled one).
int ReportCopyResult(Engine& e, CopyResult result);
// 1 when a cause-specific message was shown, else 0.
int ReportFileError(Engine& e, int cause, const char* path);
// The install flow's space warning (K or M text).
void ReportNoSpace(Engine& e, char letter, uint64_t bytes);

}  // namespace script
