// The message table and the reporting operations. The wording follows the activity mode:
// idle, installing or uninstalling, where each failure also says the work is stopped.
#include "script/messages.h"

#include <cstdio>

namespace script {

namespace {

constexpr int kModes = 3;
constexpr int kRows = 10;

const char* const kMessageTable[kRows][kModes] = {
    {"文法エラーです。", "　　 文法エラーです。\nインストールを中断します。",
     "　　　 文法エラーです。\nアンインストールを中断します。"},
    {"フォルダの作成に失敗しました。", "フォルダの作成に失敗しました。\n　　インストールを中断します。",
     "フォルダの作成に失敗しました。\nアンインストールを中断します。"},
    {"フォルダの削除に失敗しました。", "フォルダの削除に失敗しました。\n　　インストールを中断します。",
     "フォルダの削除に失敗しました。\nアンインストールを中断します。"},
    {"ファイルの削除に失敗しました。", "ファイルの削除に失敗しました。\n　インストールを中断します。",
     "ファイルの削除に失敗しました。\nアンインストールを中断します。"},
    {"ファイルのリネームに失敗しました。", "ファイルのリネームに失敗しました。\n　　インストールを中断します。",
     "ファイルのリネームに失敗しました。\nアンインストールを中断します。"},
    {"プログラムマネージャとの対話に失敗しました。", "プログラムマネージャとの対話に失敗しました。",
     "プログラムマネージャとの対話に失敗しました。"},
    {"ファイルの読み込みに失敗しました。", "ファイルの読み込みに失敗しました。\n　　インストールを中断します。",
     "ファイルの読み込みに失敗しました。\nアンインストールを中断します。"},
    {"ファイルの書き込みに失敗しました。", "ファイルの書き込みに失敗しました。\n　　インストールを中断します。",
     "ファイルの書き込みに失敗しました。\nアンインストールを中断します。"},
    {"ファイルのコピーに失敗しました。", "ファイルのコピーに失敗しました。\nインストールを中断します。",
     "ファイルのコピーに失敗しました。\nアンインストールを中断します。"},
    {"　　容量が足りません。", "　　容量が足りません。\nインストールを中断します。",
     "　　　容量が足りません。\nアンインストールを中断します。"},
};

const char* const kCancelQuestions[kModes] = {
    "中断しますか？",
    "インストールを中断しますか？",
    "アンインストールを中断しますか？",
};

// File-exception causes with a message of their own.
struct FileErrorText {
    int cause;
    const char* format;  // %s is the path where the text names it
};
const FileErrorText kFileErrorTexts[] = {
    {plat::kCauseBadPath, "不正なパスです。\n%s"},
    {plat::kCauseTooManyOpenFiles, "オープンファイル数超過です。"},
    {plat::kCauseAccessDenied, "ファイル%sの\n書き込みに失敗しました。"},
    {plat::kCauseDiskFull, "ディスクが一杯です。"},
};

const char kSetupCaption[] = "Setup";
const unsigned kWarning = plat::kMbOk | plat::kMbIconWarning;

int ModeColumn(int mode) { return (mode >= 0 && mode < kModes) ? mode : 0; }

}  // namespace

const char* MessageText(int mode, int row) {
    if (row < 0 || row >= kRows) row = kRowFileNotCopied;
    return kMessageTable[row][ModeColumn(mode)];
}

const char* CancelQuestion(int mode) { return kCancelQuestions[ModeColumn(mode)]; }

int ShowMessage(Engine& e, const char* text, const char* caption, unsigned style) {
    if (e.silent) return 0;
    plat::WindowHandle owner = e.host ? e.host->MessageOwner() : 0;
    return e.sys->MessageBox(owner, text, caption, style);
}

int ShowUnownedMessage(Engine& e, const char* text, const char* caption, unsigned style) {
    if (e.silent) return 0;
    return e.sys->MessageBox(0, text, caption, style);
}

int ShowStartupMessage(Engine& e, const char* text) { return ShowUnownedMessage(e, text, kSetupCaption, kWarning); }

int ReportSyntaxError(Engine& e) {
    char text[128];
    std::snprintf(text, sizeof text, "%s\n%d行", MessageText(e.activityMode, kRowSyntax), e.script.lineCount);
    return ShowMessage(e, text, "", kWarning);
}

int ReportFailure(Engine& e, int row, const char* detail) {
    char text[520];
    std::snprintf(text, sizeof text, "%s\n%s", MessageText(e.activityMode, row), detail);
    return ShowMessage(e, text, "", kWarning);
}

int ReportCopyResult(Engine& e, CopyResult result) {
    switch (result) {
        case kSourceFailed: return ReportFailure(e, kRowFileNotRead, e.copy.sourcePath);
        case kDestFailed: return ReportFailure(e, kRowFileNotWritten, e.copy.destPath);
        case kCancelled: return 0;
        case kDiskFull: return ShowMessage(e, MessageText(e.activityMode, kRowNoSpace), "", kWarning);
        default: return ReportFailure(e, kRowFileNotCopied, e.copy.destPath);
    }
}

int ReportFileError(Engine& e, int cause, const char* path) {
    for (const FileErrorText& t : kFileErrorTexts) {
        if (t.cause != cause) continue;
        char text[300];
        std::snprintf(text, sizeof text, t.format, path);
        ShowMessage(e, text, "", plat::kMbOk);
        return 1;
    }
    return 0;
}

void ReportNoSpace(Engine& e, char letter, uint64_t bytes) {
    char text[200];
    unsigned long long megabytes = bytes / 1048576 + (bytes % 1048576 > 524288 ? 1 : 0);
    if (megabytes > 0) {
        std::snprintf(text, sizeof text,
                      "　　そのドライブでは容量が足りません。\n　　　　　　　ドライブ %c:\n"
                      "インストールには、約%lluＭの空き容量が必要です。",
                      letter, megabytes);
    } else {
        std::snprintf(text, sizeof text,
                      "　　そのドライブでは容量が足りません。\n　　　　　　　ドライブ %c:\n"
                      "インストールには、約%lluＫの空き容量が必要です。",
                      letter, static_cast<unsigned long long>(bytes / 1024));
    }
    ShowMessage(e, text, "", kWarning);
}

}  // namespace script
