// The script checker: reads a TAVREL.INF or COMMAND.INF with the engine's own reader,
// runs every command line's handler on a platform that only records, and reports what
// the engine would silently do wrong, compiler-style.
#pragma once

#include <string>
#include <vector>

namespace checker {

enum class Severity { Error, Warning };

// What a program shows for a fault in one flow that runs the line: the message boxes in
// the order they come, so a test can hold the checker against the real program.
struct Shown {
    std::string program;             // OSTREL.EXE or BRINMARK.EXE
    std::string context;             // the flow: start-up, setup, install-run, install-end, uninstall, play,
                                     // sub1, sub2, runner; "" when no flow runs the line
    std::string slot;                // which of the flow's sections: [INIT], [INIT_INST], [COPY], [INSTALL],
                                     // [WIN_SCRIPT], [EXIT_INST], [INIT_UNINST], [UNINSTALL], [EXIT_UNINST],
                                     // [PLAY], SUBBTN1, SUBBTN2, [START]
    std::string phrase;              // the flow for people ("at start-up")
    std::string section;             // the section (or label line) the flow starts behind, UTF-8
    bool byJump = false;             // the flow reaches the line through a jump from there
    int mode = 0;                    // activity mode
    std::vector<std::string> boxes;  // texts, UTF-8, line feeds kept; none: nothing is shown
};

struct Diagnostic {
    int line = 0;  // physical line (counted by line feeds) from 1; 0 for the whole file
    Severity severity = Severity::Error;
    std::string text;          // UTF-8
    std::vector<Shown> shown;  // for faults the program reports itself
};

enum class ScriptKind { Installer, Runner };

struct CheckResult {
    std::vector<Diagnostic> diagnostics;  // sorted by line, then in the order found
    int errors = 0;
    int warnings = 0;
};

// Checks script bytes (Shift-JIS, CR LF) as the installer (TAVREL.INF) or the command
// runner (COMMAND.INF) would read them.
CheckResult CheckScript(const std::string& bytes, ScriptKind kind);

// "FILE:LINE: error: text" lines and a closing count line.
std::string FormatDiagnostics(const std::string& fileName, const CheckResult& result);
// The same as one JSON object.
std::string FormatDiagnosticsJson(const std::string& fileName, const CheckResult& result);

}  // namespace checker
