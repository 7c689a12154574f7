// tavrel-check: checks TAVREL.INF and COMMAND.INF scripts, and shows what an install
// would do without Windows.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/checker/script_checker.h"
#include "tools/checker/text_encoding.h"

namespace {

const char kUsage[] =
    "usage: tavrel-check [options] SCRIPT...\n"
    "  Checks installer scripts (TAVREL.INF) and runner scripts (COMMAND.INF).\n"
    "  --runner       check as a COMMAND.INF (default: by file name)\n"
    "  --installer    check as a TAVREL.INF\n"
    "  --utf8         the script is UTF-8 with LF line ends (converted as the CD layout does)\n"
    "  --json         print JSON\n"
    "exit status: 0 no errors, 1 errors found, 2 a file could not be read\n";

bool ReadWholeFile(const char* path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *out = s.str();
    return true;
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

int main(int argc, char** argv) {
    enum { kByName, kInstaller, kRunner } mode = kByName;
    bool utf8 = false, json = false;
    int files = 0, status = 0;
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
            if (!ReadWholeFile(argv[i], &bytes)) {
                std::fprintf(stderr, "tavrel-check: cannot read %s\n", argv[i]);
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
            checker::CheckResult r =
                checker::CheckScript(bytes, runner ? checker::ScriptKind::Runner : checker::ScriptKind::Installer);
            std::string out = json ? checker::FormatDiagnosticsJson(a, r) : checker::FormatDiagnostics(a, r);
            std::fputs(out.c_str(), stdout);
            if (r.errors > 0 && status == 0) status = 1;
        }
    }
    if (files == 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return status;
}
