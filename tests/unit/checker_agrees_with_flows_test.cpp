// The checker's quotes against the installer's own flows: every broken script in
// tests/checker is run by the dry run (the real start-up, install and uninstall flows on
// the simulated Windows) through the flow each quote names, and the first message box
// that flow shows must be the quoted text. The same holds under Wine in the end-to-end
// suite; this catches a disagreement on every build.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/repo_files.h"
#include "tools/checker/dry_run.h"
#include "tools/checker/script_checker.h"
#include "tools/checker/text_encoding.h"

namespace {

namespace fs = std::filesystem;

using testsupport::SourceDir;

// The launcher button that leads into each flow (none: start-up itself).
const std::map<std::string, std::vector<checker::DryAction>> kActionsOf = {
    {"start-up", {}},
    {"setup", {checker::DryAction::Setup}},
    {"install-run", {checker::DryAction::Setup}},
    {"install-end", {checker::DryAction::Setup}},
    {"uninstall", {checker::DryAction::Uninstall}},
    {"play", {checker::DryAction::Play}},
    {"sub1", {checker::DryAction::Sub1}},
    {"sub2", {checker::DryAction::Sub2}},
};

// The first message box shown after the flow's button was pressed ("" when none).
std::string FirstBoxOf(const checker::DryRunReport& report, bool afterStartup) {
    bool counting = !afterStartup;
    for (const checker::DryEvent& e : report.events) {
        if (e.kind == "action" && e.Field("name") != "start-up") counting = true;
        if (counting && e.kind == "message") return e.Field("text");
    }
    return "";
}

TEST(CheckerAgreesWithFlows, EachQuotedBoxIsWhatTheFlowShows) {
    const fs::path cd = fs::temp_directory_path() / ("checker_agrees_" + std::to_string(::getpid()));
    int compared = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(SourceDir() / "tests" / "checker")) {
        const fs::path path = entry.path();
        const std::string name = path.filename().string();
        if (path.extension() != ".inf" || name.rfind("runner_", 0) == 0) continue;
        std::string bytes;
        ASSERT_TRUE(testsupport::ReadScript(path, &bytes)) << name;
        const checker::CheckResult r = checker::CheckScript(bytes, checker::ScriptKind::Installer);
        for (const checker::Diagnostic& d : r.diagnostics) {
            for (const checker::Shown& s : d.shown) {
                auto actions = kActionsOf.find(s.context);
                if (actions == kActionsOf.end() || s.boxes.empty()) continue;
                fs::remove_all(cd);
                fs::create_directories(cd);
                std::ofstream(cd / "TAVREL.INF", std::ios::binary) << bytes;
                checker::DryRunOptions o;
                o.cdFolder = cd.string();
                o.actions = actions->second;
                checker::DryRunReport report;
                std::string error;
                ASSERT_TRUE(checker::RunDry(o, &report, &error)) << name << ": " << error;
                EXPECT_EQ(FirstBoxOf(report, !o.actions.empty()), s.boxes[0])
                    << name << ":" << d.line << " " << s.context << " " << s.section << "\n"
                    << checker::FormatDryRun(report);
                ++compared;
            }
        }
    }
    fs::remove_all(cd);
    EXPECT_GE(compared, 8);
}

}  // namespace
