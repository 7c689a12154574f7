// The checker against checked-in scripts: each broken script in tests/checker holds one
// fault and must give exactly its baseline's diagnostics; the demo CD's scripts must
// check clean. TAVREL_UPDATE_CHECKER_BASELINES=1 rewrites the baselines (review the diff).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tools/checker/script_checker.h"
#include "tools/checker/text_encoding.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = TAVREL_CHECKER_SOURCE_DIR;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// *.inf are kept as UTF-8 with LF and become the CD's Shift-JIS with CR LF; *.raw are
// the bytes as they stand (faults in the bytes themselves).
std::string ScriptBytes(const fs::path& path) {
    std::string text = ReadAll(path);
    if (path.extension() == ".raw") return text;
    std::string bytes;
    EXPECT_TRUE(checker::Utf8SourceToScript(text, &bytes)) << path;
    return bytes;
}

checker::ScriptKind KindOf(const fs::path& path) {
    return path.filename().string().rfind("runner_", 0) == 0 ? checker::ScriptKind::Runner
                                                               : checker::ScriptKind::Installer;
}

TEST(CheckerBaselines, EachBrokenScriptGivesExactlyItsDiagnostics) {
    const bool update = std::getenv("TAVREL_UPDATE_CHECKER_BASELINES") != nullptr;
    int scripts = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kSourceDir / "tests" / "checker")) {
        const fs::path path = entry.path();
        if (path.extension() != ".inf" && path.extension() != ".raw") continue;
        ++scripts;
        const std::string name = path.filename().string();
        checker::CheckResult r = checker::CheckScript(ScriptBytes(path), KindOf(path));
        const std::string got = checker::FormatDiagnostics(name, r);
        fs::path baseline = path;
        baseline.replace_extension(".expected");
        if (update) {
            std::ofstream(baseline, std::ios::binary) << got;
            continue;
        }
        ASSERT_TRUE(fs::exists(baseline)) << "no baseline for " << name;
        EXPECT_EQ(ReadAll(baseline), got) << "diagnostics of " << name;
        // One fault each: a script that checks clean proves nothing.
        EXPECT_GT(r.errors + r.warnings, 0) << name << " has no fault in it";
    }
    EXPECT_GE(scripts, 20);
}

TEST(CheckerBaselines, DemoCdScriptsCheckClean) {
    const fs::path cd = kSourceDir / "demo" / "cd";
    if (!fs::exists(cd / "TAVREL.INF")) GTEST_SKIP() << "no demo CD script yet";
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(cd)) {
        std::string upper = entry.path().filename().string();
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper != "TAVREL.INF" && upper != "COMMAND.INF") continue;
        std::string bytes;
        ASSERT_TRUE(checker::Utf8SourceToScript(ReadAll(entry.path()), &bytes)) << entry.path();
        checker::CheckResult r = checker::CheckScript(
            bytes, upper == "COMMAND.INF" ? checker::ScriptKind::Runner : checker::ScriptKind::Installer);
        EXPECT_EQ(r.errors + r.warnings, 0) << checker::FormatDiagnostics(entry.path().string(), r);
    }
}

}  // namespace
