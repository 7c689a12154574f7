// One pass of the checker over a script: the Checker class and what its parts share.
// Its member functions live in files named for the checker's sections: checker_pass.cpp
// (the order of the pass, the engine's set-up, reporting), script_lines.cpp (loading,
// lines, line ends, sections), command_lines.cpp (each command line and its syntax
// errors), argument_checks.cpp (arguments, targets, jumps, misspellings), flow_reach.cpp
// (which flows run a line and what they show) and option_checks.cpp ([OPTIONS]).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/null_platform.h"
#include "script/engine.h"
#include "script/script_text.h"
#include "tools/checker/command_table.h"
#include "tools/checker/diagnostic_text.h"
#include "tools/checker/option_keys.h"
#include "tools/checker/run_contexts.h"
#include "tools/checker/script_checker.h"

namespace checker {

using script::Engine;

// Nothing reaches the machine; every message box is kept with the argument reader's
// position at that moment (which tells which argument failed), and is answered with
// Cancel so no question loops. Registry keys all "exist", so REGJUMP reads its target.
class CheckingPlatform : public plat::NullPlatform {
public:
    struct Box {
        std::string text;
        int argPos;
    };
    Engine* engine = nullptr;
    std::vector<Box> boxes;

    int MessageBox(plat::WindowHandle, const char* text, const char*, unsigned) override {
        boxes.push_back({text, engine ? engine->script.argPos : 0});
        return plat::kIdCancel;
    }
    long RegOpenKey(plat::RegRoot, const char*, uint32_t, plat::KeyHandle* key) override {
        *key = 1;
        return plat::kRegOk;
    }
};

struct Line {
    int offset = 0;
    int length = 0;
    int physical = 0;     // first physical line, from 1
    int physicalEnd = 0;  // last physical line
    int engineNumber = 0;
    bool last = false;
    bool tooLong = false;
    bool header = false;
    int section = -1;
    std::string bytes;  // as read, untrimmed
};

struct Section {
    int header = 0;
    std::string name;  // Shift-JIS
    bool run = false;
};

struct Arg {
    std::string text;
    int endPos;
};

constexpr int kMaxPhysicalLineText = script::kMaxLineBytes - 2;  // bytes before CR LF
constexpr size_t kExpandBuffer = 20000;
constexpr int kLineEnd = script::kLineCapacity;  // any line's arguments, every variable expanded

class Checker {
public:
    Checker(const std::string& bytes, ScriptKind kind) : bytes_(bytes), kind_(kind), e_(new Engine) {}

    CheckResult Run();

private:
    bool installer() const { return kind_ == ScriptKind::Installer; }
    const char* program() const { return installer() ? "the installer" : "the runner"; }

    // ---- Set-up and reporting (checker_pass.cpp) ----------------------------------------
    void Report(int line, Severity severity, const std::string& text, std::vector<Shown> shown = {});
    int PhysicalLineOf(int offset) const;
    void Configure();

    // The variables as they stand while the install runs: the options read, a destination
    // chosen below the TAVREL folder. The runner knows only the Windows folder.
    void PrepareVariables();
    static Shown StartupShows(const std::string& box);
    // ---- The script as lines (script_lines.cpp) -----------------------------------------
    void Load();
    void ReadLines();

    // Index of the first line matching pattern, as FindSection finds it, or -1.
    int Locate(const std::string& pattern);
    void FindSections();
    void CheckLineEnds();
    void CheckJoinedAndLongLines();

    // Physical lines that begin at or after offset (an empty rest after the last CR LF
    // is no line).
    int LinesFrom(size_t offset) const;

    // The reader stops at the cut: the rest of the physical line it falls in is lost, and
    // so is every line below it.
    void ReportTooLongLine(const Line& l);

    // A quoted text over several lines is how a long message is written; it is a fault
    // only when it swallows lines that would be commands or headers on their own.
    void ReportSwallowedLines(const Line& l, int quoteLine, int swallowedEnd, size_t inner);
    void CheckSections();

    // ---- Command lines (command_lines.cpp) ----------------------------------------------
    // Puts line i into the line buffer as the section runner does before dispatching it.
    void LoadLine(int i);

    // The variable name at pos of the current line, when an unknown one stopped the reader.
    std::string UnknownVariableAt(int pos) const;

    // The keyword a line starts with, or nullptr.
    const char* KeywordOf(const char* text);

    // The options section is never run: a command written there does nothing.
    void CheckOptionsSectionLine(int index);

    // Commands below index in its section, as lines that would run.
    bool CommandsFollow(int index);

    // Puts line index into the line buffer and reads its keyword and every argument whole,
    // as the reader hands them out. nullptr when no keyword starts the line.
    const char* ReadCommand(int index, std::vector<Arg>* args);
    void CheckCommandLine(int index);

    // What the runner does differently with the same command.
    void CheckRunnerDifferences(const Line& l, const std::string& word);
    void ReportSyntaxError(int index, const std::string& word, const CommandSpec* spec, const std::vector<Arg>& args,
                           const CheckingPlatform::Box& box);

    // ---- Where a line runs (flow_reach.cpp) ---------------------------------------------
    // Every flow that reaches each line: from the sections its slot (or a redirection)
    // names, through every jump, question, menu and drive test on the way.
    void ComputeReach();

    // These move the reader whatever happens (a target no line matches ends the section),
    // so nothing below them runs in the same pass.
    static bool AlwaysJumps(const char* word);
    bool ReachedIn(int index, int context) const;

    // Runs through a section from behind the line at entry as far as it goes, and on
    // through every target a command there may jump to.
    void Walk(int context, int entry);

    // The section a flow runs under its usual name (the slot's first pattern without "~").
    std::string SlotName(const RunContext& rc) const;

    // The name of the line a flow starts behind: its section header, or the label line.
    std::string EntryName(int line) const;

    // The box a line's syntax error shows in one activity mode: its handler run again.
    std::string SyntaxBoxIn(int index, int mode);

    // What the program shows for the line's syntax error in each flow that runs it; the
    // idle text (already shown once) when no flow does.
    std::vector<Shown> ShownWhereRun(int index, const std::string& idleBox);

    // "at start-up ([INIT]) the installer says "..." and stops the section", one clause
    // for each different text, the flows in the order a user meets them.
    static std::string SaysWhere(const std::vector<Shown>& shown);
    // ---- Arguments (argument_checks.cpp) ------------------------------------------------
    void CheckArguments(int index, const std::string& word, const CommandSpec& spec, const std::vector<Arg>& args,
                        int readUpTo, const std::string& text);
    static std::string TargetPattern(const ArgSpec& a, const std::string& v);
    void MarkTargets(const CommandSpec& spec, const std::vector<Arg>& args);

    // EXE ...,PATH puts the recorded folder directly in front of the program path; the
    // install records its folder without a trailing backslash.
    void CheckProgramBehindRecord(const Line& l, const std::vector<Arg>& args, int readUpTo);

    // Literal text running straight into a variable outside double quotes.
    static bool TextRunsIntoVariable(const std::string& line);

    // Does the line at index read as the label itself (not just start with it)?
    bool LineIsLabel(int index, const std::string& label) const;

    // A GOTO back up to a line of its own section, with nothing between that could lead
    // elsewhere, runs the same lines for ever (unless it is the script's last line, after
    // which the section ends whatever it did).
    void CheckEndlessLoop(int at, int target);

    // A redirection to a section's usual name, which may be absent as usual.
    bool IsDefaultSlot(const std::string& pattern) const;
    void CheckTarget(const Line& l, const std::string& word, size_t j, const ArgSpec& a, const std::string& pattern,
                     const std::string& label);
    void CheckMisspelling(const Line& l, const std::string& text);

    // ---- Options (option_checks.cpp) ----------------------------------------------------
    // The line a key lookup settles on, as the options reader searches: from the options
    // header to the end of the script, each line trimmed, first prefix match wins.
    int LocateOption(const char* key);
    bool InOptionsSection(int index) const { return index >= 0 && lines_[index].section == optionsSection_; }
    void CheckOptions();
    void CheckOptionValue(const OptionKey& key, const Line& l);

    const std::string& bytes_;
    ScriptKind kind_;
    std::unique_ptr<Engine> e_;
    CheckingPlatform sys_;
    script::NameSlots initialSlots_{};
    std::vector<Line> lines_;
    std::vector<Section> sections_;
    std::vector<int> runs_;  // lines that a flow, button or jump lands on
    struct Reach {
        int context;  // index into contexts_
        int entry;    // the line the flow starts behind
        bool byJump;  // reached through a jump from there
    };
    std::vector<std::vector<Reach>> reach_;  // for each line, the flows that run it
    const RunContext* contexts_ = kInstallerContexts;
    int contextCount_ = kInstallerContextCount;
    int optionsSection_ = -1;
    CheckResult result_;
};

}  // namespace checker
