// The keyword dispatcher and the two section runners: RunSection runs a section whole,
// StepSection one line at a time so the install run can draw its progress between lines.
#include "script/dispatch.h"

#include <cstdio>
#include <cstring>

#include "script/script_text.h"
#include "script/variables.h"
#include "text/text_rules.h"

namespace script {

namespace {

bool IsLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }
unsigned char LowerLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') ? b + 32 : b; }

// Copies the next file of a wildcard set left pending; 1 go on, -1 a file failed.
int ContinuePendingCopy(Engine& e) {
    if (e.services == nullptr) {
        e.pendingCopy = false;  // nothing can copy it
        return 1;
    }
    return e.services->continuePendingCopy(e);
}

// Copies the rest of a wildcard set; 1 when done, -1 when a file failed.
int FinishPendingCopy(Engine& e) {
    while (e.pendingCopy) {
        if (ContinuePendingCopy(e) == -1) return -1;
    }
    return 1;
}

}  // namespace

int DispatchLine(Engine& e) {
    if (e.dispatchLimit == 0) return kFailed;
    if (e.dispatchLimit > 0) --e.dispatchLimit;
    // Every line is tried against every keyword: a word whose first letter differs from
    // the line's first byte (either case) is passed over without building its pattern,
    // the others get "~" and the word (cut to the buffer) without printf.
    const char* first = e.script.line;
    while (*first == ' ' || *first == '\t') ++first;
    const unsigned char lead = LowerLetter(static_cast<unsigned char>(*first));
    char pattern[32];
    pattern[0] = '~';
    for (int i = 0; i < e.keywordCount; ++i) {
        const char* word = e.keywords[i].word;
        const unsigned char w = static_cast<unsigned char>(word[0]);
        if (IsLetter(w) && LowerLetter(w) != lead) continue;
        size_t n = std::strlen(word);
        if (n > sizeof pattern - 2) n = sizeof pattern - 2;
        std::memcpy(pattern + 1, word, n);
        pattern[n + 1] = 0;
        if (MatchPattern(e, pattern, e.script.line) != 0) continue;
        const Keyword& keyword = e.keywords[i];
        return e.observer ? e.observer->RunCommand(e, keyword) : keyword.handler(e);
    }
    return MatchPattern(e, "~[", e.script.line) == 0 ? kEndSection : kGoOn;
}

int ReadAndDispatch(Engine& e, int* readResult) {
    // A line read for dispatch starts with a fresh argument reader.
    e.script.argPos = 0;
    e.script.quoted = false;
    *readResult = ReadScriptLine(e);
    TrimLineEnd(e.script.line);
    return DispatchLine(e);
}

int RunSection(Engine& e, const char* pattern) {
    if (!FindSection(e, pattern)) return 0;
    if (e.services) e.services->releaseOutputFile(e);
    RefreshVariables(e);
    char folder[kPathSize];
    std::snprintf(folder, sizeof folder, "%s", e.env.programFolder);
    text::DropTrailingBackslash(folder);
    e.sys->SetCurrentDirectory(folder);
    for (;;) {
        // A wildcard copy left pending (step mode) is finished before the next line,
        // so the section neither ends early nor loses the files behind it.
        if (e.pendingCopy && FinishPendingCopy(e) == -1) return kFailed;
        int read = 0;
        int result = ReadAndDispatch(e, &read);
        if (result == kFailed) return kFailed;
        if (read == -1) return e.pendingCopy ? FinishPendingCopy(e) : 1;
        if (result == kEndSection) return 1;
    }
}

int StepSection(Engine& e) {
    if (e.pendingCopy) return ContinuePendingCopy(e);
    int read = 0;
    int result = ReadAndDispatch(e, &read);
    if (result == kFailed) return -1;
    if (read == -1) return e.pendingCopy ? 1 : 0;  // the last line's copy set goes on
    return result == kEndSection ? 0 : 1;
}

}  // namespace script
