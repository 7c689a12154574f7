// The checker's entry: a pass over the script (checker_pass.h), and its diagnostics as
// text or JSON. It never parses a line itself: lines come from ReadScriptLine, keywords and
// targets from MatchPattern and FindSection, arguments from the argument reader, and
// syntax errors from the handlers themselves, run on a platform that only records.
#include "tools/checker/script_checker.h"

#include "tools/checker/checker_pass.h"
#include "tools/checker/diagnostic_text.h"
#include "tools/checker/json_text.h"

namespace checker {

CheckResult CheckScript(const std::string& bytes, ScriptKind kind) { return Checker(bytes, kind).Run(); }

std::string FormatDiagnostics(const std::string& fileName, const CheckResult& result) {
    std::string out;
    for (const Diagnostic& d : result.diagnostics) {
        const char* severity = d.severity == Severity::Error ? "error" : "warning";
        out += d.line > 0 ? Fmt("%s:%d: %s: ", fileName.c_str(), d.line, severity)
                          : Fmt("%s: %s: ", fileName.c_str(), severity);
        out += d.text + "\n";
    }
    out += Fmt("%s: %d error%s, %d warning%s\n", fileName.c_str(), result.errors, result.errors == 1 ? "" : "s",
               result.warnings, result.warnings == 1 ? "" : "s");
    return out;
}

namespace {

std::string ShownJson(const std::vector<Shown>& shown) {
    std::string out = "[";
    for (size_t i = 0; i < shown.size(); ++i) {
        const Shown& s = shown[i];
        out += (i ? ", " : "") + std::string("{\"program\": ") + JsonString(s.program) +
               ", \"context\": " + JsonString(s.context) + ", \"slot\": " + JsonString(s.slot) +
               ", \"section\": " + JsonString(s.section) + ", \"by_jump\": " + (s.byJump ? "true" : "false") +
               ", \"mode\": " + std::to_string(s.mode) + ", \"boxes\": [";
        for (size_t b = 0; b < s.boxes.size(); ++b) out += (b ? ", " : "") + JsonString(s.boxes[b]);
        out += "]}";
    }
    return out + "]";
}

}  // namespace

std::string FormatDiagnosticsJson(const std::string& fileName, const CheckResult& result) {
    std::string out = "{\"file\": " + JsonString(fileName) + ", \"errors\": " + std::to_string(result.errors) +
                      ", \"warnings\": " + std::to_string(result.warnings) + ", \"diagnostics\": [";
    for (size_t i = 0; i < result.diagnostics.size(); ++i) {
        const Diagnostic& d = result.diagnostics[i];
        out += i ? ",\n  " : "\n  ";
        out += "{\"line\": " + std::to_string(d.line) + ", \"severity\": \"" +
               (d.severity == Severity::Error ? "error" : "warning") + "\", \"text\": " + JsonString(d.text);
        if (!d.shown.empty()) out += ", \"shown\": " + ShownJson(d.shown);
        out += "}";
    }
    out += "\n]}\n";
    return out;
}

}  // namespace checker
