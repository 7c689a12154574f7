// The checker's reading of each command line: its keyword, its arguments as the reader
// hands them out, what the runner does differently, and the syntax errors the handlers report.
#include <algorithm>
#include <cstring>

#include "script/argument_reader.h"
#include "script/dispatch.h"
#include "script/messages.h"
#include "tools/checker/checker_pass.h"
#include "tools/checker/text_encoding.h"

namespace checker {

void Checker::LoadLine(int i) {
    Engine& e = *e_;
    const Line& l = lines_[i];
    e.script.readPos = l.offset;
    e.script.lineCount = l.engineNumber - (l.last ? 0 : 1);
    script::ReadScriptLine(e);
    script::TrimLineEnd(e.script.line);
    e.script.argPos = 0;
    e.script.quoted = false;
}

std::string Checker::UnknownVariableAt(int pos) const {
    const char* line = e_->script.line;
    if (pos < 0 || pos >= script::kLineCapacity || line[pos] != '%' || line[pos + 1] == '%') return "";
    const char* end = std::strchr(line + pos + 1, '%');
    size_t n = end ? static_cast<size_t>(end - (line + pos)) + 1 : std::strlen(line + pos);
    return std::string(line + pos, std::min<size_t>(n, 40));
}

const char* Checker::KeywordOf(const char* text) {
    Engine& e = *e_;
    for (int k = 0; k < e.keywordCount; ++k) {
        std::string pattern = std::string("~") + e.keywords[k].word;
        if (script::MatchPattern(e, pattern.c_str(), text) == 0) return e.keywords[k].word;
    }
    return nullptr;
}

void Checker::CheckOptionsSectionLine(int index) {
    const Line& l = lines_[index];
    if (l.bytes.find('=') != std::string::npos) return;
    const char* word = KeywordOf(l.bytes.c_str());
    if (!word) return;
    Report(l.physical, Severity::Warning, Fmt("%s in the options section never runs: no flow runs that section", word));
}

bool Checker::CommandsFollow(int index) {
    for (size_t i = index + 1; i < lines_.size() && !lines_[i].header; ++i)
        if (KeywordOf(lines_[i].bytes.c_str())) return true;
    return false;
}

const char* Checker::ReadCommand(int index, std::vector<Arg>* args) {
    Engine& e = *e_;
    LoadLine(index);
    int keyword = -1;
    for (int k = 0; k < e.keywordCount; ++k) {
        std::string pattern = std::string("~") + e.keywords[k].word;
        if (script::MatchPattern(e, pattern.c_str(), e.script.line) == 0) {
            keyword = k;
            break;
        }
    }
    args->clear();
    if (keyword < 0) return nullptr;
    const int length = e.script.matchLength;
    e.script.argPos = 0;
    e.script.quoted = false;
    e.script.matchLength = length;
    std::unique_ptr<char[]> buffer(new char[kExpandBuffer]);
    while (args->size() < 16) {
        const int before = e.script.argPos + e.script.matchLength;
        if (script::ReadOptionalArgument(e, buffer.get(), kExpandBuffer, script::Overflow::Cut) == 1) {
            args->push_back({buffer.get(), e.script.argPos});
            continue;
        }
        // Two commas in a row: an empty argument, after which reading goes on.
        const int at = e.script.argPos;
        if (at > before && at > 0 && e.script.line[at - 1] == ',') {
            args->push_back({"", at});
            continue;
        }
        break;
    }
    return e.keywords[keyword].word;
}

void Checker::CheckCommandLine(int index) {
    Engine& e = *e_;
    const Line& l = lines_[index];
    LoadLine(index);
    const std::string text = e.script.line;

    std::vector<Arg> args;
    const char* keyword = ReadCommand(index, &args);
    if (!keyword) {
        CheckMisspelling(l, text);
        return;
    }
    const std::string word = keyword;
    const std::string first = FirstWord(text.c_str());
    const bool longerWord = first.size() > word.size();
    if (longerWord) {
        Report(l.physical, Severity::Warning,
               Fmt("'%s' is read as the command %s (keywords match by prefix); the rest of the word becomes "
                   "its first argument",
                   SjisToUtf8(first).c_str(), word.c_str()));
    }
    const CommandSpec* spec = FindCommandSpec(word.c_str());
    const std::string strayVariable = UnknownVariableAt(e.script.argPos);

    // The handler itself, on the recording platform.
    LoadLine(index);
    sys_.boxes.clear();
    e.output.open = true;  // WRITE and CLOSE read nothing without an open file
    script::DispatchLine(e);
    const int readUpTo = e.script.argPos;
    e.output.open = false;
    e.pendingCopy = false;
    e.stepMode = false;

    const std::string syntaxPrefix = std::string(script::MessageText(e.activityMode, script::kRowSyntax)) + "\n";
    for (const CheckingPlatform::Box& box : sys_.boxes) {
        if (box.text.compare(0, syntaxPrefix.size(), syntaxPrefix) != 0) continue;
        ReportSyntaxError(index, word, spec, args, box);
        if (spec) MarkTargets(*spec, args);  // the sections it names are meant to run
        return;
    }
    if (!strayVariable.empty()) {
        Report(l.physical, Severity::Warning,
               Fmt("%s: unknown variable %s: the optional arguments from here on are dropped without a word",
                   word.c_str(), SjisToUtf8(strayVariable).c_str()));
    }
    CheckRunnerDifferences(l, word);
    if (word == "OPTIONS" && CommandsFollow(index)) {
        int at = LocateOption("InstUpdate");
        Report(l.physical, Severity::Warning,
               at < 0 ? std::string("OPTIONS: reading the options moves the script reader, so the section ends "
                                    "here and the commands below it never run")
                      : Fmt("OPTIONS: reading the options moves the script reader: the run goes on behind line %d "
                            "(InstUpdate), not with the commands below",
                            lines_[at].physical));
    }
    if (!spec) return;
    // The rest of a longer word is an argument of its own, reported with the word.
    CheckArguments(index, word, *spec, args, longerWord ? kLineEnd : readUpTo, text);
}

void Checker::CheckRunnerDifferences(const Line& l, const std::string& word) {
    if (installer()) return;
    if (word == "YESNO")
        Report(l.physical, Severity::Warning,
               "YESNO asks nothing in COMMAND.INF: the run always goes on at the no label");
    if (word == "PRINT") Report(l.physical, Severity::Warning, "PRINT shows nothing in COMMAND.INF");
}

void Checker::ReportSyntaxError(int index, const std::string& word, const CommandSpec* spec,
                                const std::vector<Arg>& args, const CheckingPlatform::Box& box) {
    const Line& l = lines_[index];
    std::string cause;
    std::string variable = UnknownVariableAt(box.argPos);
    auto role = [&](size_t j) {
        return spec && j < static_cast<size_t>(spec->argCount) ? Fmt(" (%s)", spec->args[j].role) : std::string();
    };
    if (!variable.empty()) {
        cause = Fmt("unknown variable %s", SjisToUtf8(variable).c_str());
    } else {
        size_t tooLong = args.size();
        for (size_t j = 0; j < args.size(); ++j) {
            if (args[j].endPos != box.argPos) continue;
            if (spec && j < static_cast<size_t>(spec->argCount) && args[j].text.size() >= spec->args[j].size)
                tooLong = j;
        }
        if (tooLong < args.size()) {
            cause = Fmt("argument %zu%s is %zu bytes after expansion, more than the %zu it may have", tooLong + 1,
                        role(tooLong).c_str(), args[tooLong].text.size(), spec->args[tooLong].size - 1);
        } else {
            size_t missing = 0;
            while (missing < args.size() && args[missing].endPos <= box.argPos) ++missing;
            if (spec && missing < static_cast<size_t>(spec->argCount))
                cause = Fmt("argument %zu%s is missing or empty", missing + 1, role(missing).c_str());
            else if (word == "UNINSTINFO" || word == "CLRUNINSTINFO")
                cause = "the option DstDir is empty, so there is no uninstall entry to name";
            else
                cause = "its arguments are refused";
        }
    }
    std::vector<Shown> shown = ShownWhereRun(index, box.text);
    if (installer()) {
        Report(l.physical, Severity::Error, Fmt("%s: %s; %s", word.c_str(), cause.c_str(), SaysWhere(shown).c_str()),
               shown);
    } else {
        Report(l.physical, Severity::Error,
               Fmt("%s: %s; the runner stops here without a word", word.c_str(), cause.c_str()), shown);
    }
}

}  // namespace checker
