// The copy engine: copies one file in blocks through the engine's buffer while it keeps
// the program's windows alive, advances the install progress and watches for a cancel
// request.
#include "commands/copy_engine.h"

#include "script/messages.h"

namespace commands {

using script::CopyResult;
using script::kCancelled;
using script::kCancelRequested;
using script::kCopied;
using script::kDestFailed;
using script::kDiskFull;
using script::kSourceFailed;

namespace {

constexpr plat::FileTime kTicksPerSecond = 10000000;
constexpr int kMessagesPerPump = 4;
// Every message-queue call is a round trip to the window system, which costs more than
// copying a block from a cached file; the windows are served at this pace instead of after
// every block. It keeps repaints, the buttons and the Enter key's question prompt.
constexpr uint32_t kPumpIntervalMs = 10;
// The progress display is redrawn at most once per this many bytes within a file.
constexpr uint64_t kRedrawSpacing = 12000;

// Times are kept and compared in whole seconds.
plat::FileTime WholeSeconds(plat::FileTime t) { return t - t % kTicksPerSecond; }

bool SameFile(const plat::FileInfo& a, const plat::FileInfo& b) {
    return WholeSeconds(a.creation) == WholeSeconds(b.creation) &&
           WholeSeconds(a.lastWrite) == WholeSeconds(b.lastWrite) && a.size == b.size;
}

void Close(Engine& e, plat::FileHandle* f) {
    if (*f == 0) return;
    plat::FileCause ignored;
    e.sys->CloseFile(*f, &ignored);
    *f = 0;
}

// Lets up to four waiting messages through. In step mode the Enter key asks whether
// to stop instead of reaching the dialog.
void PumpMessages(Engine& e) {
    for (int i = 0; i < kMessagesPerPump; ++i) {
        plat::PeekedMessage m;
        if (!e.sys->PeekMessage(&m)) return;
        if (m.isQuit) {
            // The quit request belongs to the program's own loop: put it back.
            e.sys->PostQuitMessage(0);
            return;
        }
        if (e.stepMode && m.isEnterKeyDown) {
            const int answer = script::ShowMessage(e, "インストールを中止しますか？", "",
                                                   plat::kMbYesNo | plat::kMbIconQuestion);
            if (answer == plat::kIdYes) {
                e.copy.cancelState = kCancelRequested;
                return;
            }
            continue;
        }
        e.sys->DispatchMessage(m);
    }
}

// Pumps once the interval has passed since the last pump; the unsigned difference stays
// right across the tick count's wrap after 49.7 days.
void PumpMessagesWhenDue(Engine& e) {
    if (e.sys->GetTickCount() - e.copy.lastPump < kPumpIntervalMs) return;
    PumpMessages(e);
    // Counted from the end of the pump: a question answered took the user's time, not the copy's.
    e.copy.lastPump = e.sys->GetTickCount();
}

void AdvanceProgress(Engine& e, uint32_t got) {
    e.copy.copiedBytes += got;
    e.copy.bytesSinceRedraw += got;
    if (e.copy.bytesSinceRedraw < kRedrawSpacing) return;
    const int percent = ProgressPercent(e.copy.copiedBytes, e.copy.copyTotal);
    if (percent == e.copy.percent) return;  // the display already shows it
    e.copy.bytesSinceRedraw = 0;
    e.copy.percent = percent;
    if (e.host) e.host->RedrawProgress();
}

// The block loop of CopyOneFile; both files are open. Leaves them open.
CopyResult CopyBlocks(Engine& e, plat::FileHandle src, plat::FileHandle dst) {
    e.copy.bytesSinceRedraw = 0;
    for (;;) {
        uint32_t got = 0;
        plat::FileCause cause = plat::kCauseNone;
        if (!e.sys->ReadFile(src, e.copy.buffer, sizeof e.copy.buffer, &got, &cause)) return kSourceFailed;
        if (got == 0) return kCopied;

        if (!e.sys->WriteFile(dst, e.copy.buffer, got, &cause))
            return cause == plat::kCauseDiskFull ? kDiskFull : kDestFailed;
        if (e.copy.cancelState == kCancelRequested) return kCancelled;

        if (e.stepMode) AdvanceProgress(e, got);
        PumpMessagesWhenDue(e);
        if (e.copy.cancelState == kCancelRequested) return kCancelled;
    }
}

}  // namespace

int ProgressPercent(uint64_t copied, uint64_t total) {
    uint64_t divisor = total / 100;
    if (divisor == 0) divisor = 1;
    const uint64_t percent = copied / divisor;
    return percent > 100 ? 100 : static_cast<int>(percent);
}

// Every way out closes both files, so a caller can remove a partial destination.
CopyResult CopyOneFile(Engine& e) {
    e.copy.destCreated = false;
    plat::FileCause cause = plat::kCauseNone;
    plat::FileHandle src = e.sys->OpenForRead(e.copy.sourcePath, &cause);
    if (src == 0) return kSourceFailed;

    // Asked of the open handles rather than by path: each search of a folder costs more
    // than copying a small file.
    plat::FileInfo source;
    if (!e.sys->GetOpenFileInfo(src, &source)) {
        Close(e, &src);
        return kSourceFailed;
    }
    const uint64_t target = e.copy.copiedBytes + source.size;

    // A new destination is created at once; only one that exists is compared with the
    // source, and replaced where it differs.
    bool existed = false;
    plat::FileHandle dst = e.sys->CreateNewForWrite(e.copy.destPath, &existed, &cause);
    plat::FileInfo existing;
    const bool identical = existed && e.sys->GetFileInfo(e.copy.destPath, &existing) &&
                           (existing.attributes & plat::kAttrDirectory) == 0 && SameFile(source, existing);
    if (existed && !identical) dst = e.sys->CreateForWrite(e.copy.destPath, &cause);
    if (!identical) {
        if (dst == 0) {
            Close(e, &src);
            script::ReportFileError(e, cause, e.copy.destPath);
            return kDestFailed;
        }
        e.copy.destCreated = true;

        const CopyResult result = CopyBlocks(e, src, dst);
        if (result != kCopied) {
            Close(e, &dst);
            Close(e, &src);
            return result;
        }
        uint64_t written = 0;
        const bool sized = e.sys->GetFileSize(dst, &written);
        // Stamped through the open handle: opening the file again by its name costs more
        // than copying a small one. Nothing is written after, so closing keeps the times.
        const bool stamped = e.sys->SetOpenFileTimes(dst, WholeSeconds(source.creation),
                                                     WholeSeconds(source.lastAccess), WholeSeconds(source.lastWrite));
        const bool closed = e.sys->CloseFile(dst, &cause);
        dst = 0;
        if (!sized || !stamped || !closed || written != source.size) {
            Close(e, &src);
            return kDestFailed;
        }
    }

    const bool closed = e.sys->CloseFile(src, &cause);
    if (!closed) return kSourceFailed;
    if (e.stepMode) e.copy.copiedBytes = target;
    return kCopied;
}

}  // namespace commands
