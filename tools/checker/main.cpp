// tavrel-check: checks TAVREL.INF and COMMAND.INF scripts, and shows what an install
// would do without Windows.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/checker/dry_run.h"
#include "tools/checker/script_checker.h"
#include "tools/checker/script_file.h"
#include "tools/checker/text_encoding.h"

namespace {

const char kUsage[] =
    "usage: tavrel-check [options] SCRIPT...\n"
    "  Checks installer scripts (TAVREL.INF) and runner scripts (COMMAND.INF).\n"
    "  --runner       check as a COMMAND.INF (default: by file name)\n"
    "  --installer    check as a TAVREL.INF\n"
    "  --utf8         the script is UTF-8 with LF line ends (converted as the CD layout does)\n"
    "  --json         print JSON\n"
    "\n"
    "usage: tavrel-check --dry-run CDFOLDER [--setup[=DEST]] [--uninstall] [--play] [--sub1] [--sub2]\n"
    "                    [--answers FILE] [--script NAME] [--utf8] [--win95] [--json]\n"
    "  Runs the installer's start-up and the chosen buttons, in order (default: --setup),\n"
    "  on a simulated Windows with CDFOLDER as drive Q: (read only), and prints what\n"
    "  they did. DEST is typed on the destination screen (default: the offered drive).\n"
    "  The answer file holds one answer a line: yes, no, ok, cancel, menu N,\n"
    "  notice proceed, notice stop; unanswered questions get Yes / OK.\n"
    "exit status: 0 no errors, 1 errors found, 2 a file could not be read\n";

// One line naming the path and why it is no script; the caller exits with status 2.
bool ReadOrSay(const char* path, std::string* out) {
    std::string reason;
    if (checker::ReadScriptFile(path, out, &reason)) return true;
    std::fprintf(stderr, "tavrel-check: %s: cannot read: %s\n", path, reason.c_str());
    return false;
}

std::string BaseName(const std::string& path) {
    size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool SameNoCase(const std::string& s, const char* upper) {
    if (s.size() != std::strlen(upper)) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        char a = s[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
        if (a != upper[i]) return false;
    }
    return true;
}

}  // namespace

int DryRunMain(int argc, char** argv) {
    checker::DryRunOptions o;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "tavrel-check: %s needs a value\n", name);
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--dry-run") {
            o.cdFolder = value("--dry-run");
        } else if (a == "--setup") {
            o.actions.push_back(checker::DryAction::Setup);
        } else if (a.rfind("--setup=", 0) == 0) {
            o.actions.push_back(checker::DryAction::Setup);
            o.destination = a.substr(8);
        } else if (a == "--uninstall") {
            o.actions.push_back(checker::DryAction::Uninstall);
        } else if (a == "--play") {
            o.actions.push_back(checker::DryAction::Play);
        } else if (a == "--sub1") {
            o.actions.push_back(checker::DryAction::Sub1);
        } else if (a == "--sub2") {
            o.actions.push_back(checker::DryAction::Sub2);
        } else if (a == "--answers") {
            const char* file = value("--answers");
            if (!ReadOrSay(file, &o.answers)) return 2;
        } else if (a == "--script") {
            o.scriptName = value("--script");
        } else if (a == "--utf8") {
            o.utf8Scripts = true;
        } else if (a == "--win95") {
            o.family95 = true;
        } else if (a == "--json") {
            json = true;
        } else {
            std::fprintf(stderr, "tavrel-check: unknown option %s\n%s", a.c_str(), kUsage);
            return 2;
        }
    }
    if (o.actions.empty()) o.actions.push_back(checker::DryAction::Setup);
    checker::DryRunReport report;
    std::string error;
    if (!checker::RunDry(o, &report, &error)) {
        std::fprintf(stderr, "tavrel-check: %s\n", error.c_str());
        return 2;
    }
    std::string out = json ? checker::FormatDryRunJson(report) : checker::FormatDryRun(report);
    std::fputs(out.c_str(), stdout);
    return 0;
}

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--dry-run") == 0) return DryRunMain(argc, argv);
    enum { kByName, kInstaller, kRunner } mode = kByName;
    bool utf8 = false, json = false;
    int files = 0, status = 0;
    int named = 0;  // several files with --json make one array
    for (int i = 1; i < argc; ++i) named += argv[i][0] != '-';
    const bool array = named > 1;
    int printed = 0;
    bool anyJson = false;
    for (int i = 1; i < argc; ++i) anyJson = anyJson || std::strcmp(argv[i], "--json") == 0;
    if (anyJson && array) std::fputs("[\n", stdout);
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--runner") {
            mode = kRunner;
        } else if (a == "--installer") {
            mode = kInstaller;
        } else if (a == "--utf8") {
            utf8 = true;
        } else if (a == "--json") {
            json = true;
        } else if (a == "-h" || a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "tavrel-check: unknown option %s\n%s", a.c_str(), kUsage);
            return 2;
        } else {
            ++files;
            std::string bytes;
            if (!ReadOrSay(argv[i], &bytes)) {
                status = 2;
                continue;
            }
            if (utf8) {
                std::string converted;
                if (!checker::Utf8SourceToScript(bytes, &converted)) {
                    std::fprintf(stderr, "tavrel-check: %s: not convertible to Shift-JIS\n", argv[i]);
                    status = 2;
                    continue;
                }
                bytes = converted;
            }
            bool runner = mode == kRunner || (mode == kByName && SameNoCase(BaseName(a), "COMMAND.INF"));
            checker::CheckResult r = checker::CheckScript(bytes, runner ? checker::ScriptKind::Runner
                                                                        : checker::ScriptKind::Installer);
            std::string out = json ? checker::FormatDiagnosticsJson(a, r) : checker::FormatDiagnostics(a, r);
            if (json && array) out = (printed == 0 ? "" : ",\n") + out;
            ++printed;
            std::fputs(out.c_str(), stdout);
            if (r.errors > 0 && status == 0) status = 1;
        }
    }
    if (files == 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (anyJson && array) std::fputs("]\n", stdout);
    return status;
}
