// Any bytes as a script for the checker, read as a TAVREL.INF and as a COMMAND.INF (and,
// when they are UTF-8, converted as --utf8 does): both outputs must be valid UTF-8, the
// JSON must parse, the counts must match the diagnostics, and every diagnostic must name
// a line of the file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/fuzz_checks.h"
#include "tools/checker/script_checker.h"
#include "tools/checker/text_encoding.h"

namespace {

using fuzzcheck::Require;
using fuzzcheck::IsUtf8;

void Check(const std::string& bytes, checker::ScriptKind kind) {
    checker::CheckResult r = checker::CheckScript(bytes, kind);
    int errors = 0, warnings = 0;
    int lines = 1;
    for (char c : bytes) lines += c == '\n';
    int previous = 0;
    for (const checker::Diagnostic& d : r.diagnostics) {
        (d.severity == checker::Severity::Error ? errors : warnings)++;
        Require(d.line >= 0 && d.line <= lines);
        Require(d.line >= previous);  // sorted by line
        previous = d.line;
        Require(!d.text.empty());
    }
    Require(errors == r.errors && warnings == r.warnings);
    const std::string text = checker::FormatDiagnostics("SCRIPT.INF", r);
    Require(IsUtf8(text));
    const std::string json = checker::FormatDiagnosticsJson("SCRIPT.INF", r);
    Require(fuzzjson::IsStrictJson(json));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes, checker::ScriptKind::Installer);
    Check(bytes, checker::ScriptKind::Runner);
    std::string converted;
    if (checker::Utf8SourceToScript(bytes, &converted)) Check(converted, checker::ScriptKind::Installer);
    return 0;
}
