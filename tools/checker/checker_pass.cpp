// The order of the checker's pass over a script, the engine it runs the handlers on, and
// how it reports.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "commands/keyword_tables.h"
#include "installer/options.h"
#include "script/variables.h"
#include "tools/checker/checker_pass.h"

namespace checker {

CheckResult Checker::Run() {
    Configure();
    Load();
    ReadLines();
    FindSections();
    CheckLineEnds();
    CheckJoinedAndLongLines();
    PrepareVariables();
    ComputeReach();
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.header || l.section < 0) continue;
        if (l.section == optionsSection_) {
            CheckOptionsSectionLine(static_cast<int>(i));
            continue;
        }
        CheckCommandLine(static_cast<int>(i));
    }
    if (kind_ == ScriptKind::Installer) CheckOptions();
    CheckSections();
    std::stable_sort(result_.diagnostics.begin(), result_.diagnostics.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    return result_;
}

void Checker::Report(int line, Severity severity, const std::string& text, std::vector<Shown> shown) {
    result_.diagnostics.push_back({line, severity, text, std::move(shown)});
    (severity == Severity::Error ? result_.errors : result_.warnings)++;
}

int Checker::PhysicalLineOf(int offset) const {
    int n = 1;
    for (int i = 0; i < offset && i < static_cast<int>(bytes_.size()); ++i)
        if (bytes_[i] == '\n') ++n;
    return n;
}

void Checker::Configure() {
    Engine& e = *e_;
    if (installer()) {
        commands::ConfigureInstallerEngine(e);
    } else {
        contexts_ = &kRunnerContext;
        contextCount_ = 1;
        commands::ConfigureRunnerEngine(e);
        e.silent = false;  // the runner's messages are the checker's evidence
    }
    sys_.engine = &e;
    e.sys = &sys_;
    // A typical machine, so that expanded arguments have realistic lengths.
    std::snprintf(e.env.programFolder, sizeof e.env.programFolder, "Q:\\");
    std::snprintf(e.env.sourceFolder, sizeof e.env.sourceFolder, "Q:\\");
    std::snprintf(e.env.windowsFolder, sizeof e.env.windowsFolder, "C:\\WINDOWS\\");
    std::snprintf(e.env.tavrelBase, sizeof e.env.tavrelBase, "C:\\");
    std::snprintf(e.env.destFolder, sizeof e.env.destFolder, "C:\\TAVREL\\");
    std::memcpy(&initialSlots_, &e.slots, sizeof initialSlots_);
}

void Checker::PrepareVariables() {
    Engine& e = *e_;
    if (!installer()) {
        std::memset(&e.vars, 0, sizeof e.vars);
        std::snprintf(e.vars.winDrv, sizeof e.vars.winDrv, "C:\\");
        std::snprintf(e.vars.winDir, sizeof e.vars.winDir, "WINDOWS\\");
        return;
    }
    if (optionsSection_ >= 0) installer::ReadOptions(e);
    const std::string dest = std::string("C:\\TAVREL\\") + e.options.dstDir;
    std::snprintf(e.env.destFolder, sizeof e.env.destFolder, "%s", dest.c_str());
    script::RefreshVariables(e);
    // A second refresh, as a later section would see the installed folder.
    std::snprintf(e.env.installedFolder, sizeof e.env.installedFolder, "%s", e.env.destFolder);
    script::RefreshVariables(e);
}

Shown Checker::StartupShows(const std::string& box) {
    const RunContext& c = kInstallerContexts[0];
    Shown s;
    s.program = c.program;
    s.context = c.name;
    s.phrase = c.phrase;
    s.boxes.push_back(box);  // before any section runs: no slot
    return s;
}

}  // namespace checker
