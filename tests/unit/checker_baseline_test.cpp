// The checker against checked-in scripts: each broken script in tests/checker holds one
// fault and must give exactly its baseline's diagnostics; the demo CD's scripts must
// check clean. TAVREL_UPDATE_CHECKER_BASELINES=1 rewrites the baselines (review the diff).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/repo_files.h"
#include "tools/checker/script_checker.h"
#include "tools/checker/text_encoding.h"

namespace {

namespace fs = std::filesystem;

using testsupport::ReadAll;
using testsupport::SourceDir;

checker::ScriptKind KindOf(const fs::path& path) {
    return path.filename().string().rfind("runner_", 0) == 0 ? checker::ScriptKind::Runner
                                                             : checker::ScriptKind::Installer;
}

TEST(CheckerBaselines, EachBrokenScriptGivesExactlyItsDiagnostics) {
    const bool update = std::getenv("TAVREL_UPDATE_CHECKER_BASELINES") != nullptr;
    int scripts = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(SourceDir() / "tests" / "checker")) {
        const fs::path path = entry.path();
        if (path.extension() != ".inf" && path.extension() != ".raw") continue;
        ++scripts;
        const std::string name = path.filename().string();
        std::string bytes;
        EXPECT_TRUE(testsupport::ReadScript(path, &bytes)) << path;
        checker::CheckResult r = checker::CheckScript(bytes, KindOf(path));
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
    const fs::path cd = SourceDir() / "demo" / "cd";
    ASSERT_TRUE(fs::exists(cd / "TAVREL.INF")) << cd;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(cd)) {
        std::string upper = entry.path().filename().string();
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper != "TAVREL.INF" && upper != "COMMAND.INF") continue;
        std::string bytes;
        ASSERT_TRUE(testsupport::ReadScript(entry.path(), &bytes)) << entry.path();
        checker::CheckResult r = checker::CheckScript(bytes, upper == "COMMAND.INF" ? checker::ScriptKind::Runner
                                                                                    : checker::ScriptKind::Installer);
        EXPECT_EQ(r.errors + r.warnings, 0) << checker::FormatDiagnostics(entry.path().string(), r);
    }
}

}  // namespace
