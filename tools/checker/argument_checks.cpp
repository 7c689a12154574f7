// The checks of a command's arguments: lengths, numbers, jump targets and endless loops,
// paths, and misspelt keywords.
#include <cstring>

#include "commands/keyword_tables.h"
#include "script/argument_reader.h"
#include "tools/checker/checker_pass.h"
#include "tools/checker/text_encoding.h"

namespace checker {

void Checker::CheckArguments(int index, const std::string& word, const CommandSpec& spec, const std::vector<Arg>& args,
                             int readUpTo, const std::string& text) {
    const Line& l = lines_[index];
    std::string extra;
    for (size_t j = 0; j < args.size(); ++j) {
        if (args[j].endPos <= readUpTo) continue;
        extra += (extra.empty() ? "'" : ", '") + SjisToUtf8(args[j].text) + "'";
    }
    if (!extra.empty()) {
        std::string hint;
        if (TextRunsIntoVariable(text))
            hint = " (outside double quotes, text directly before a %variable% ends the argument)";
        Report(l.physical, Severity::Warning,
               Fmt("%s: more arguments than it reads; ignored: %s%s", word.c_str(), extra.c_str(), hint.c_str()));
    }
    if (word == "EXE") CheckProgramBehindRecord(l, args, readUpTo);
    for (size_t j = 0; j < args.size() && j < static_cast<size_t>(spec.argCount); ++j) {
        if (args[j].endPos > readUpTo) break;
        const ArgSpec& a = spec.args[j];
        const std::string& v = args[j].text;
        if (v.empty()) continue;
        switch (a.kind) {
            case ArgKind::CutText:
                if (v.size() >= a.size)
                    Report(l.physical, Severity::Warning,
                           Fmt("%s: argument %zu (%s) is %zu bytes after expansion; it is cut to %zu", word.c_str(),
                               j + 1, a.role, v.size(), a.size - 1));
                break;
            case ArgKind::Label:
            case ArgKind::SlotLabel:
            case ArgKind::Pattern:
            case ArgKind::SubPattern: CheckTarget(l, word, j, a, TargetPattern(a, v), v); break;
            case ArgKind::Number:
                if (!IsDecimal(v))
                    Report(l.physical, Severity::Warning,
                           Fmt("%s: argument %zu (%s) '%s' is not a number of at most 7 digits; it counts as 0",
                               word.c_str(), j + 1, a.role, SjisToUtf8(v).c_str()));
                break;
            case ArgKind::RootIndex:
                if (!IsDecimal(v) || script::ParseDecimal(v.c_str()) > 4)
                    Report(l.physical, Severity::Warning,
                           Fmt("%s: root index '%s' is not 0 to 4", word.c_str(), SjisToUtf8(v).c_str()));
                break;
            case ArgKind::ModeWord:
                if (v != "STOP" && v != "QUIT" && v != "PATH") {
                    std::string u = UpperText(v);
                    bool near = u == "STOP" || u == "QUIT" || u == "PATH";
                    Report(l.physical, Severity::Warning,
                           near ? Fmt("EXE: mode word '%s' is compared exactly; write %s", SjisToUtf8(v).c_str(),
                                      u.c_str())
                                : Fmt("EXE: '%s' is no mode word (STOP, QUIT, PATH); the program is started "
                                      "and the section goes on",
                                      SjisToUtf8(v).c_str()));
                }
                break;
            case ArgKind::CheckWord:
                if (v != "NOCHECK")
                    Report(l.physical, Severity::Warning,
                           Fmt("INSTSIZE: only the word NOCHECK skips the space check, not '%s'",
                               SjisToUtf8(v).c_str()));
                break;
            case ArgKind::Text: break;
        }
    }
}

std::string Checker::TargetPattern(const ArgSpec& a, const std::string& v) {
    return a.kind == ArgKind::Label || a.kind == ArgKind::SlotLabel ? "~" + v : v;
}

void Checker::MarkTargets(const CommandSpec& spec, const std::vector<Arg>& args) {
    for (size_t j = 0; j < args.size() && j < static_cast<size_t>(spec.argCount); ++j) {
        ArgKind k = spec.args[j].kind;
        if (k != ArgKind::Label && k != ArgKind::SlotLabel && k != ArgKind::Pattern && k != ArgKind::SubPattern)
            continue;
        int at = Locate(TargetPattern(spec.args[j], args[j].text));
        if (at >= 0) runs_.push_back(at);
    }
}

void Checker::CheckProgramBehindRecord(const Line& l, const std::vector<Arg>& args, int readUpTo) {
    if (args.size() < 4 || args[3].endPos > readUpTo || args[2].text != "PATH") return;
    const std::string& program = args[0].text;
    if (program.empty() || program[0] == '\\') return;
    std::string example;
    if (UpperText(args[3].text) == UpperText(e_->options.dstDir)) {
        std::string folder = e_->env.destFolder;
        if (!folder.empty() && folder.back() == '\\') folder.pop_back();
        example = Fmt(" (%s + %s = %s)", SjisToUtf8(folder).c_str(), SjisToUtf8(program).c_str(),
                      SjisToUtf8(folder + program).c_str());
    }
    Report(l.physical, Severity::Warning,
           Fmt("EXE: with PATH the recorded folder is put directly in front of '%s', without a backslash%s; "
               "write \\%s",
               SjisToUtf8(program).c_str(), example.c_str(), SjisToUtf8(program).c_str()));
}

bool Checker::TextRunsIntoVariable(const std::string& line) {
    bool quoted = false;
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i - 1] == '"') quoted = !quoted;
        if (!quoted && line[i] == '%' && IsWordByte(static_cast<unsigned char>(line[i - 1]))) return true;
    }
    return false;
}

bool Checker::LineIsLabel(int index, const std::string& label) const {
    std::string t = lines_[index].bytes;
    size_t start = t.find_first_not_of(" \t");
    if (start == std::string::npos) return false;
    t = t.substr(start);
    if (t.size() < label.size() || UpperText(t.substr(0, label.size())) != UpperText(label)) return false;
    if (t.size() == label.size()) return true;
    char next = t[label.size()];
    return next == ' ' || next == '\t' || next == '\r' || next == '\n' || next == ';';
}

void Checker::CheckEndlessLoop(int at, int target) {
    if (target >= at || lines_[at].last) return;
    for (int i = target + 1; i < at; ++i) {
        if (lines_[i].header) return;
        const char* word = KeywordOf(lines_[i].bytes.c_str());
        if (!word) continue;
        for (const char* exit : {"YESNO", "WARNING", "MENU", "BOOTDRIVE", "REGJUMP", "GOTO", "FIND", "EXE", "OPTIONS"})
            if (std::strcmp(word, exit) == 0) return;
    }
    Report(lines_[at].physical, Severity::Error,
           Fmt("GOTO: jumps back to line %d with nothing between that leads elsewhere: the installer loops for ever",
               lines_[target].physical));
}

bool Checker::IsDefaultSlot(const std::string& pattern) const {
    const script::NameSlots& s = initialSlots_;
    for (const char* slot : {s.initInst, s.exitInst, s.winScript, s.uninstall, s.initUninst, s.exitUninst, s.play})
        if (UpperText(slot) == UpperText(pattern)) return true;
    return false;
}

void Checker::CheckTarget(const Line& l, const std::string& word, size_t j, const ArgSpec& a,
                          const std::string& pattern, const std::string& label) {
    int found = Locate(pattern);
    if (found < 0) {
        std::string note;
        if (a.kind == ArgKind::Pattern && pattern[0] != '~' && Locate("~" + pattern) >= 0)
            note = Fmt("; line %d has it behind blanks, which %s does not skip", lines_[Locate("~" + pattern)].physical,
                       word.c_str());
        // Of the redirected sections only a missing install section breaks a flow;
        // the others are simply not run, as when the script has none.
        Severity severity = Severity::Error;
        std::string consequence = "the section ends there";
        if (a.kind == ArgKind::SubPattern) consequence = "the button runs nothing";
        if (a.kind == ArgKind::SlotLabel) {
            if (!(word == "INST_LAB" && j == 0) && IsDefaultSlot(pattern)) return;
            severity = Severity::Warning;
            consequence = "nothing runs in its place";
            if (word == "INST_LAB" && j == 0) {
                severity = Severity::Error;
                consequence = "Setup fails for want of an install section";
            } else if (word == "UNINST_LAB" && j == 0) {
                consequence = "the Uninstall button stays disabled";
            } else if (word == "PLAY_LAB") {
                consequence = "Play starts the program of the option ExeName instead";
            }
        }
        Report(l.physical, severity,
               Fmt("%s: no line matches the %s '%s': %s%s", word.c_str(), a.role, SjisToUtf8(label).c_str(),
                   consequence.c_str(), note.c_str()));
        return;
    }
    runs_.push_back(found);
    if (word == "GOTO") CheckEndlessLoop(static_cast<int>(&l - lines_.data()), found);
    if (label.find_first_of("*?~") != std::string::npos || LineIsLabel(found, label)) return;
    for (size_t k = found + 1; k < lines_.size(); ++k) {
        if (!LineIsLabel(static_cast<int>(k), label)) continue;
        Report(l.physical, Severity::Warning,
               Fmt("%s: the %s '%s' first matches line %d (\"%s\"), not line %d (\"%s\")", word.c_str(), a.role,
                   SjisToUtf8(label).c_str(), lines_[found].physical, Quote(lines_[found].bytes).c_str(),
                   lines_[k].physical, Quote(lines_[k].bytes).c_str()));
        return;
    }
}

void Checker::CheckMisspelling(const Line& l, const std::string& text) {
    const std::string word = FirstWord(text.c_str());
    if (word.size() < 3 || word != UpperText(word) ||
        word.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos)
        return;
    Engine& e = *e_;
    if (!installer()) {
        for (int k = 0; k < commands::kInstallerKeywordCount; ++k) {
            std::string pattern = std::string("~") + commands::kInstallerKeywords[k].word;
            if (script::MatchPattern(e, pattern.c_str(), text.c_str()) == 0) {
                Report(l.physical, Severity::Warning,
                       Fmt("%s is not a command of the runner; the line is skipped",
                           commands::kInstallerKeywords[k].word));
                return;
            }
        }
    }
    const char* best = nullptr;
    int bestDistance = 99;
    for (int k = 0; k < e.keywordCount; ++k) {
        const std::string kw = e.keywords[k].word;
        int d = EditDistance(word, kw);
        if (kw.compare(0, word.size(), word) == 0) d = 1;  // a keyword cut short
        if (d < bestDistance) {
            bestDistance = d;
            best = e.keywords[k].word;
        }
    }
    const int allowed = word.size() <= 5 ? 1 : 2;
    if (!best || bestDistance > allowed) return;
    Report(l.physical, Severity::Warning,
           Fmt("'%s' is no command, so the line is skipped without a word; did you mean %s?", SjisToUtf8(word).c_str(),
               best));
}

}  // namespace checker
