// The checker. It never parses a line itself: lines come from ReadScriptLine, keywords
// and targets from MatchPattern and FindSection, arguments from the argument reader, and
// syntax errors from the handlers themselves, run on a platform that only records.
// MinGW's C runtime printf knows no %zu; its own C99 one does.
#define __USE_MINGW_ANSI_STDIO 1
#include "tools/checker/script_checker.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "commands/keyword_tables.h"
#include "installer/options.h"
#include "platform/null_platform.h"
#include "script/argument_reader.h"
#include "script/dispatch.h"
#include "script/messages.h"
#include "script/script_text.h"
#include "script/variables.h"
#include "text/lead_bytes.h"
#include "tools/checker/command_table.h"
#include "tools/checker/json_text.h"
#include "tools/checker/option_keys.h"
#include "tools/checker/run_contexts.h"
#include "tools/checker/text_encoding.h"

namespace checker {

namespace {

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

bool IsWordByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::string UpperText(const std::string& s) {
    std::string u = s;
    for (char& c : u) c = Upper(c);
    return u;
}

// The first word of a line: letters, digits and underscores behind leading blanks.
std::string FirstWord(const char* line) {
    const char* p = line;
    while (*p == ' ' || *p == '\t') ++p;
    std::string w;
    while (IsWordByte(static_cast<unsigned char>(*p))) w += *p++;
    return w;
}

// A line as a diagnostic quotes it: trimmed, line breaks inside it shown as " / ".
std::string Quote(const std::string& sjis, size_t limit = 60) {
    std::string s = sjis;
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '\t')) s.pop_back();
    size_t start = s.find_first_not_of(" \t");
    s = start == std::string::npos ? "" : s.substr(start);
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
            out += " / ";
            ++i;
        } else if (s[i] == '\n') {
            out += " / ";
        } else {
            out += s[i];
        }
    }
    if (out.size() > limit) {
        size_t cut = 0;
        while (cut < limit) cut += text::IsEngineLeadByte(static_cast<unsigned char>(out[cut])) ? 2 : 1;
        out = out.substr(0, cut) + "...";
    }
    return SjisToUtf8(out);
}

// Restricted edit distance (adjacent swaps count one).
int EditDistance(const std::string& a, const std::string& b) {
    const size_t n = a.size(), m = b.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(i);
    for (size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; ++i) {
        for (size_t j = 1; j <= m; ++j) {
            int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

std::string Fmt(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
// The whole text, however long: quoted script text (a byte that does not convert takes
// four characters) would otherwise be cut in the middle of a UTF-8 character.
std::string Fmt(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    va_list again;
    va_copy(again, ap);
    const int n = std::vsnprintf(nullptr, 0, format, ap);
    va_end(ap);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    return text;
}

// The value syntax of a valid integer option or numeric argument: what ParseDecimal
// accepts, told apart from a text it turns into 0.
bool IsDecimal(const std::string& text) {
    if (script::ParseDecimal(text.c_str()) != 0) return true;
    size_t n = 0;
    while (n < text.size() && text[n] != ',' && text[n] != ' ' && text[n] != '\r' && text[n] != '\n') ++n;
    if (n == 0 || n > 7) return false;
    for (size_t i = 0; i < n; ++i)
        if (text[i] != '0') return false;
    return true;
}

class Checker {
public:
    Checker(const std::string& bytes, ScriptKind kind) : bytes_(bytes), kind_(kind), e_(new Engine) {}

    CheckResult Run() {
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

private:
    bool installer() const { return kind_ == ScriptKind::Installer; }
    const char* program() const { return installer() ? "the installer" : "the runner"; }

    void Report(int line, Severity severity, const std::string& text, std::vector<Shown> shown = {}) {
        result_.diagnostics.push_back({line, severity, text, std::move(shown)});
        (severity == Severity::Error ? result_.errors : result_.warnings)++;
    }

    int PhysicalLineOf(int offset) const {
        int n = 1;
        for (int i = 0; i < offset && i < static_cast<int>(bytes_.size()); ++i)
            if (bytes_[i] == '\n') ++n;
        return n;
    }

    void Configure() {
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

    // The variables as they stand while the install runs: the options read, a destination
    // chosen below the TAVREL folder. The runner knows only the Windows folder.
    void PrepareVariables() {
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

    static Shown StartupShows(const std::string& box) {
        const RunContext& c = kInstallerContexts[0];
        Shown s;
        s.program = c.program;
        s.context = c.name;
        s.phrase = c.phrase;
        s.boxes.push_back(box);  // before any section runs: no slot
        return s;
    }

    void Load() {
        Engine& e = *e_;
        const int size = static_cast<int>(std::min<size_t>(bytes_.size(), 0x7FFFFFFF));
        if (installer()) {
            // The messages are the engine's own, from its loader.
            sys_.boxes.clear();
            int ok = script::LoadScriptBytes(e, bytes_.data(), size);
            size_t box = 0;
            if (size > script::kScriptCapacity && box < sys_.boxes.size()) {
                const std::string text = SjisToUtf8(sys_.boxes[box++].text);
                Report(PhysicalLineOf(script::kScriptCapacity), Severity::Error,
                       Fmt("the script is %d bytes: the installer says \"%s\" and reads only the first %d; "
                           "everything from here on is lost",
                           size, text.c_str(), script::kScriptCapacity),
                       {StartupShows(text)});
            }
            if (!ok && box < sys_.boxes.size()) {
                const std::string text = SjisToUtf8(sys_.boxes[box++].text);
                Report(0, Severity::Error,
                       Fmt("no line begins with [OPTIONS]: the installer says \"%s\" and does not start", text.c_str()),
                       {StartupShows(text)});
            }
        } else {
            if (size > script::kScriptCapacity) {
                Report(0, Severity::Error,
                       Fmt("the script is %d bytes: the runner loads nothing from a script over %d bytes", size,
                           script::kScriptCapacity));
            }
            // The rest is checked as far as the engine could hold it.
            const int kept = std::min(size, script::kScriptCapacity);
            std::memcpy(e.script.text, bytes_.data(), static_cast<size_t>(kept));
            e.script.length = kept;
        }
        if (size == 0) Report(0, Severity::Error, "the script is empty");
    }

    void ReadLines() {
        Engine& e = *e_;
        e.script.readPos = 0;
        e.script.lineCount = 0;
        while (e.script.readPos < e.script.length) {
            Line l;
            l.offset = e.script.readPos;
            int r = script::ReadScriptLine(e);
            l.tooLong = r == -1 && l.offset + script::kMaxLineBytes < e.script.length;
            l.length = l.tooLong ? script::kMaxLineBytes : e.script.readPos - l.offset;
            l.last = r == -1;
            l.bytes.assign(e.script.text + l.offset, static_cast<size_t>(l.length));
            l.physical = PhysicalLineOf(l.offset);
            l.physicalEnd = PhysicalLineOf(l.offset + l.length - 1);
            l.engineNumber = e.script.lineCount;
            lines_.push_back(l);
            if (r == -1) break;
        }
    }

    // Index of the first line matching pattern, as FindSection finds it, or -1.
    int Locate(const std::string& pattern) {
        Engine& e = *e_;
        if (pattern.empty() || !script::FindSection(e, pattern.c_str())) return -1;
        if (e.script.readPos >= e.script.length) return static_cast<int>(lines_.size()) - 1;
        return e.script.lineCount - 1;
    }

    void FindSections() {
        Engine& e = *e_;
        for (size_t i = 0; i < lines_.size(); ++i) {
            Line& l = lines_[i];
            l.header = script::MatchPattern(e, "~[", l.bytes.c_str()) == 0;
            if (l.header) {
                Section s;
                s.header = static_cast<int>(i);
                std::string t = l.bytes;
                size_t start = t.find('[');
                size_t close = t.find(']', start);
                s.name = close == std::string::npos ? Quote(t) : t.substr(start, close - start + 1);
                sections_.push_back(s);
            }
            l.section = static_cast<int>(sections_.size()) - 1;
        }
        if (installer()) {
            int options = Locate("~[OPTIONS]");
            if (options >= 0) optionsSection_ = lines_[options].section;
        }
    }

    void CheckLineEnds() {
        const size_t n = std::min<size_t>(bytes_.size(), script::kScriptCapacity);
        int bare = 0, first = -1;
        for (size_t i = 0; i < n; ++i) {
            if (bytes_[i] == '\n' && (i == 0 || bytes_[i - 1] != '\r')) {
                if (first < 0) first = static_cast<int>(i);
                ++bare;
            }
        }
        if (bare == 0) return;
        Report(PhysicalLineOf(first), Severity::Error,
               Fmt("line ends with LF alone (%d such line%s): lines end only at CR LF, so this line and the next "
                   "are read as one",
                   bare, bare == 1 ? "" : "s"));
    }

    void CheckJoinedAndLongLines() {
        for (const Line& l : lines_) {
            // A CR LF inside the line means a double quote held it open.
            size_t body = l.bytes.size();
            if (body >= 2 && l.bytes.compare(body - 2, 2, "\r\n") == 0) body -= 2;
            size_t inner = l.bytes.find("\r\n");
            if (inner != std::string::npos && inner < body) {
                size_t quote = 0;
                bool open = false;
                for (size_t i = 0; i < inner; ++i) {
                    if (l.bytes[i] == '"') {
                        open = !open;
                        if (open) quote = i;
                    }
                }
                int quoteLine = PhysicalLineOf(l.offset + static_cast<int>(quote));
                int swallowedEnd = l.tooLong ? PhysicalLineOf(l.offset + l.length - 1) : l.physicalEnd;
                const bool neverClosed =
                    l.last && !l.tooLong && std::count(l.bytes.begin(), l.bytes.end(), '"') % 2 == 1;
                if (neverClosed) {
                    Report(quoteLine, Severity::Error,
                           Fmt("double quote never closed: lines %d to %d (the end of the script) are read as one "
                               "line, \"%s\"",
                               l.physical, swallowedEnd, Quote(l.bytes).c_str()));
                } else {
                    ReportSwallowedLines(l, quoteLine, swallowedEnd, inner);
                }
            }
            if (l.tooLong) ReportTooLongLine(l);
        }
    }

    // Physical lines that begin at or after offset (an empty rest after the last CR LF
    // is no line).
    int LinesFrom(size_t offset) const {
        if (offset >= bytes_.size()) return 0;
        const int feeds = static_cast<int>(std::count(bytes_.begin() + static_cast<long>(offset), bytes_.end(), '\n'));
        return feeds + (bytes_.back() == '\n' ? 0 : 1);
    }

    // The reader stops at the cut: the rest of the physical line it falls in is lost, and
    // so is every line below it.
    void ReportTooLongLine(const Line& l) {
        const size_t cut = static_cast<size_t>(l.offset + l.length);
        const size_t lineEnd = bytes_.find('\n', cut);
        const size_t restOfLine = (lineEnd == std::string::npos ? bytes_.size() : lineEnd) - cut;
        const bool lineCut = restOfLine > 1 || (restOfLine == 1 && bytes_[cut] != '\r');
        const int below = lineEnd == std::string::npos ? 0 : LinesFrom(lineEnd + 1);
        const int at = PhysicalLineOf(static_cast<int>(cut) - 1);
        if (below > 0) {
            Report(at, Severity::Error,
                   Fmt("line too long: at most %d bytes and CR LF fit in a line; the script ends here and the %d "
                       "line%s below %s never read",
                       kMaxPhysicalLineText, below, below == 1 ? "" : "s", below == 1 ? "is" : "are"));
        } else if (lineCut) {
            Report(at, Severity::Error,
                   Fmt("line too long: at most %d bytes and CR LF fit in a line; %s reads only its first %d bytes",
                       kMaxPhysicalLineText, program(), script::kMaxLineBytes));
        } else {
            Report(at, Severity::Warning,
                   Fmt("line too long: at most %d bytes and CR LF fit in a line; as the script's last line it is "
                       "still read whole, but a line added below it would never be read",
                       kMaxPhysicalLineText));
        }
    }

    // A quoted text over several lines is how a long message is written; it is a fault
    // only when it swallows lines that would be commands or headers on their own.
    void ReportSwallowedLines(const Line& l, int quoteLine, int swallowedEnd, size_t inner) {
        Engine& e = *e_;
        std::string swallowed;
        int physical = l.physical;
        for (size_t at = inner; at != std::string::npos && at + 2 < l.bytes.size();) {
            ++physical;
            size_t next = l.bytes.find("\r\n", at + 2);
            std::string piece = l.bytes.substr(at + 2, next == std::string::npos ? std::string::npos : next - at - 2);
            at = next;
            bool runs = script::MatchPattern(e, "~[", piece.c_str()) == 0;
            for (int k = 0; k < e.keywordCount && !runs; ++k) {
                std::string pattern = std::string("~") + e.keywords[k].word;
                runs = script::MatchPattern(e, pattern.c_str(), piece.c_str()) == 0;
            }
            if (!runs) continue;
            swallowed += (swallowed.empty() ? "" : ", ") + Fmt("line %d (\"%s\")", physical, Quote(piece, 30).c_str());
        }
        if (swallowed.empty()) return;
        Report(quoteLine, Severity::Warning,
               Fmt("a double quote joins lines %d to %d into one line, so these are text and never run: %s",
                   l.physical, swallowedEnd, swallowed.c_str()));
    }

    // Puts line i into the line buffer as the section runner does before dispatching it.
    void LoadLine(int i) {
        Engine& e = *e_;
        const Line& l = lines_[i];
        e.script.readPos = l.offset;
        e.script.lineCount = l.engineNumber - (l.last ? 0 : 1);
        script::ReadScriptLine(e);
        script::TrimLineEnd(e.script.line);
        e.script.argPos = 0;
        e.script.quoted = false;
    }

    // The variable name at pos of the current line, when an unknown one stopped the reader.
    std::string UnknownVariableAt(int pos) const {
        const char* line = e_->script.line;
        if (pos < 0 || pos >= script::kLineCapacity || line[pos] != '%' || line[pos + 1] == '%') return "";
        const char* end = std::strchr(line + pos + 1, '%');
        size_t n = end ? static_cast<size_t>(end - (line + pos)) + 1 : std::strlen(line + pos);
        return std::string(line + pos, std::min<size_t>(n, 40));
    }

    // The keyword a line starts with, or nullptr.
    const char* KeywordOf(const char* text) {
        Engine& e = *e_;
        for (int k = 0; k < e.keywordCount; ++k) {
            std::string pattern = std::string("~") + e.keywords[k].word;
            if (script::MatchPattern(e, pattern.c_str(), text) == 0) return e.keywords[k].word;
        }
        return nullptr;
    }

    // The options section is never run: a command written there does nothing.
    void CheckOptionsSectionLine(int index) {
        const Line& l = lines_[index];
        if (l.bytes.find('=') != std::string::npos) return;
        const char* word = KeywordOf(l.bytes.c_str());
        if (!word) return;
        Report(l.physical, Severity::Warning,
               Fmt("%s in the options section never runs: no flow runs that section", word));
    }

    // Commands below index in its section, as lines that would run.
    bool CommandsFollow(int index) {
        for (size_t i = index + 1; i < lines_.size() && !lines_[i].header; ++i)
            if (KeywordOf(lines_[i].bytes.c_str())) return true;
        return false;
    }

    // Puts line index into the line buffer and reads its keyword and every argument whole,
    // as the reader hands them out. nullptr when no keyword starts the line.
    const char* ReadCommand(int index, std::vector<Arg>* args) {
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

    void CheckCommandLine(int index) {
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

    // What the runner does differently with the same command.
    void CheckRunnerDifferences(const Line& l, const std::string& word) {
        if (installer()) return;
        if (word == "YESNO")
            Report(l.physical, Severity::Warning,
                   "YESNO asks nothing in COMMAND.INF: the run always goes on at the no label");
        if (word == "PRINT")
            Report(l.physical, Severity::Warning, "PRINT shows nothing in COMMAND.INF");
    }

    void ReportSyntaxError(int index, const std::string& word, const CommandSpec* spec, const std::vector<Arg>& args,
                           const CheckingPlatform::Box& box) {
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

    // ---- Where a line runs ----------------------------------------------------------

    // Every flow that reaches each line: from the sections its slot (or a redirection)
    // names, through every jump, question, menu and drive test on the way.
    void ComputeReach() {
        reach_.assign(lines_.size(), {});
        std::vector<bool> found(static_cast<size_t>(contextCount_), false);
        std::vector<Arg> args;
        for (int c = 0; c < contextCount_; ++c) {
            const RunContext& rc = contexts_[c];
            std::vector<std::string> patterns;
            bool replacedAtStartup = false;
            for (size_t i = 0; rc.redirect && i < lines_.size(); ++i) {
                if (lines_[i].header || lines_[i].section < 0 || lines_[i].section == optionsSection_) continue;
                const char* word = ReadCommand(static_cast<int>(i), &args);
                if (!word || std::strcmp(word, rc.redirect) != 0) continue;
                const size_t j = static_cast<size_t>(rc.redirectArg);
                if (args.size() <= j || args[j].text.empty()) continue;
                patterns.push_back((rc.slot ? "~" : "") + args[j].text);
                // Start-up runs before any button: what it redirects is never run by the old name.
                replacedAtStartup = replacedAtStartup || ReachedIn(static_cast<int>(i), 0);
            }
            if (rc.slot && !replacedAtStartup) patterns.insert(patterns.begin(), initialSlots_.*rc.slot);
            if (rc.fixed) patterns.push_back(rc.fixed);
            if (rc.needs >= 0 && !found[rc.needs]) continue;
            for (const std::string& p : patterns) {
                const int at = Locate(p);
                if (at < 0) continue;
                found[c] = true;
                Walk(c, at);
            }
        }
    }

    // These move the reader whatever happens (a target no line matches ends the section),
    // so nothing below them runs in the same pass.
    static bool AlwaysJumps(const char* word) {
        for (const char* w : {"GOTO", "YESNO", "WARNING", "BOOTDRIVE"})
            if (std::strcmp(word, w) == 0) return true;
        return false;
    }

    bool ReachedIn(int index, int context) const {
        for (const Reach& r : reach_[index])
            if (r.context == context) return true;
        return false;
    }

    // Runs through a section from behind the line at entry as far as it goes, and on
    // through every target a command there may jump to.
    void Walk(int context, int entry) {
        std::vector<std::pair<int, bool>> starts{{entry, false}};
        std::vector<Arg> args;
        while (!starts.empty()) {
            const int from = starts.back().first;
            const bool jumped = starts.back().second;
            starts.pop_back();
            for (int i = from + 1; i < static_cast<int>(lines_.size()) && !lines_[i].header; ++i) {
                if (ReachedIn(i, context)) break;  // walked on from here already
                reach_[i].push_back({context, entry, jumped});
                const char* word = ReadCommand(i, &args);
                const CommandSpec* spec = word ? FindCommandSpec(word) : nullptr;
                if (!spec) continue;
                for (size_t j = 0; j < args.size() && j < static_cast<size_t>(spec->argCount); ++j) {
                    const ArgKind k = spec->args[j].kind;
                    if (k != ArgKind::Label && k != ArgKind::Pattern) continue;
                    const int target = Locate(TargetPattern(spec->args[j], args[j].text));
                    if (target >= 0) starts.push_back({target, true});
                }
                if (AlwaysJumps(word)) break;
            }
        }
    }

    // The section a flow runs under its usual name (the slot's first pattern without "~").
    std::string SlotName(const RunContext& rc) const {
        const char* pattern = rc.slot ? initialSlots_.*rc.slot : rc.fixed ? rc.fixed : rc.redirect;
        return pattern[0] == '~' ? pattern + 1 : pattern;
    }

    // The name of the line a flow starts behind: its section header, or the label line.
    std::string EntryName(int line) const {
        const Line& l = lines_[line];
        if (l.header && l.section >= 0) return SjisToUtf8(sections_[l.section].name);
        return Quote(l.bytes, 30);
    }

    // The box a line's syntax error shows in one activity mode: its handler run again.
    std::string SyntaxBoxIn(int index, int mode) {
        Engine& e = *e_;
        LoadLine(index);
        sys_.boxes.clear();
        e.output.open = true;
        e.activityMode = mode;
        script::DispatchLine(e);
        e.activityMode = script::kModeIdle;
        e.output.open = false;
        e.pendingCopy = false;
        e.stepMode = false;
        const std::string prefix = std::string(script::MessageText(mode, script::kRowSyntax)) + "\n";
        for (const CheckingPlatform::Box& box : sys_.boxes)
            if (box.text.compare(0, prefix.size(), prefix) == 0) return box.text;
        return "";
    }

    // What the program shows for the line's syntax error in each flow that runs it; the
    // idle text (already shown once) when no flow does.
    std::vector<Shown> ShownWhereRun(int index, const std::string& idleBox) {
        std::vector<Shown> shown;
        std::string boxOfMode[3] = {idleBox, "", ""};
        for (const Reach& r : reach_[index]) {
            const RunContext& rc = contexts_[r.context];
            const std::string section = EntryName(r.entry);
            bool seen = false;
            for (const Shown& s : shown) seen = seen || (s.context == rc.name && s.section == section);
            if (seen) continue;
            Shown s;
            s.program = rc.program;
            s.context = rc.name;
            s.slot = SlotName(rc);
            s.phrase = rc.phrase;
            s.section = section;
            s.byJump = r.byJump;
            s.mode = rc.mode;
            if (installer()) {
                if (boxOfMode[rc.mode].empty()) boxOfMode[rc.mode] = SyntaxBoxIn(index, rc.mode);
                s.boxes.push_back(SjisToUtf8(boxOfMode[rc.mode]));
            }
            shown.push_back(s);
        }
        if (shown.empty() && installer()) {
            Shown s;
            s.program = contexts_[0].program;
            s.mode = script::kModeIdle;
            s.boxes.push_back(SjisToUtf8(idleBox));
            shown.push_back(s);
        }
        return shown;
    }

    // "at start-up ([INIT]) the installer says "..." and stops the section", one clause
    // for each different text, the flows in the order a user meets them.
    static std::string SaysWhere(const std::vector<Shown>& shown) {
        std::vector<std::pair<std::string, std::vector<std::string>>> byText;
        for (const Shown& s : shown) {
            std::string text = s.boxes.empty() ? "" : s.boxes[0];
            std::replace(text.begin(), text.end(), '\n', ' ');
            if (s.context.empty())
                return Fmt("the installer would say \"%s\" and stop the section, but no flow runs this line",
                           text.c_str());
            const std::string where =
                Fmt("%s (%s%s)", s.phrase.c_str(), s.section.c_str(), s.byJump ? ", by a jump" : "");
            auto it = std::find_if(byText.begin(), byText.end(), [&](const auto& g) { return g.first == text; });
            if (it == byText.end()) {
                byText.push_back({text, {}});
                it = byText.end() - 1;
            }
            if (std::find(it->second.begin(), it->second.end(), where) == it->second.end()) it->second.push_back(where);
        }
        std::string out;
        for (const auto& g : byText) {
            std::string places;
            for (size_t i = 0; i < g.second.size(); ++i)
                places += (i == 0 ? "" : i + 1 == g.second.size() ? " and " : ", ") + g.second[i];
            out += Fmt("%s%s the installer says \"%s\" and stops the section", out.empty() ? "" : "; ",
                       places.c_str(), g.first.c_str());
        }
        return out;
    }

    void CheckArguments(int index, const std::string& word, const CommandSpec& spec, const std::vector<Arg>& args,
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
                case ArgKind::SubPattern:
                    CheckTarget(l, word, j, a, TargetPattern(a, v), v);
                    break;
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
                case ArgKind::Text:
                    break;
            }
        }
    }

    static std::string TargetPattern(const ArgSpec& a, const std::string& v) {
        return a.kind == ArgKind::Label || a.kind == ArgKind::SlotLabel ? "~" + v : v;
    }

    void MarkTargets(const CommandSpec& spec, const std::vector<Arg>& args) {
        for (size_t j = 0; j < args.size() && j < static_cast<size_t>(spec.argCount); ++j) {
            ArgKind k = spec.args[j].kind;
            if (k != ArgKind::Label && k != ArgKind::SlotLabel && k != ArgKind::Pattern && k != ArgKind::SubPattern)
                continue;
            int at = Locate(TargetPattern(spec.args[j], args[j].text));
            if (at >= 0) runs_.push_back(at);
        }
    }

    // EXE ...,PATH puts the recorded folder directly in front of the program path; the
    // install records its folder without a trailing backslash.
    void CheckProgramBehindRecord(const Line& l, const std::vector<Arg>& args, int readUpTo) {
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

    // Literal text running straight into a variable outside double quotes.
    static bool TextRunsIntoVariable(const std::string& line) {
        bool quoted = false;
        for (size_t i = 1; i < line.size(); ++i) {
            if (line[i - 1] == '"') quoted = !quoted;
            if (!quoted && line[i] == '%' && IsWordByte(static_cast<unsigned char>(line[i - 1]))) return true;
        }
        return false;
    }

    // Does the line at index read as the label itself (not just start with it)?
    bool LineIsLabel(int index, const std::string& label) const {
        std::string t = lines_[index].bytes;
        size_t start = t.find_first_not_of(" \t");
        if (start == std::string::npos) return false;
        t = t.substr(start);
        if (t.size() < label.size() || UpperText(t.substr(0, label.size())) != UpperText(label)) return false;
        if (t.size() == label.size()) return true;
        char next = t[label.size()];
        return next == ' ' || next == '\t' || next == '\r' || next == '\n' || next == ';';
    }

    // A GOTO back up to a line of its own section, with nothing between that could lead
    // elsewhere, runs the same lines for ever (unless it is the script's last line, after
    // which the section ends whatever it did).
    void CheckEndlessLoop(int at, int target) {
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

    // A redirection to a section's usual name, which may be absent as usual.
    bool IsDefaultSlot(const std::string& pattern) const {
        const script::NameSlots& s = initialSlots_;
        for (const char* slot : {s.initInst, s.exitInst, s.winScript, s.uninstall, s.initUninst, s.exitUninst, s.play})
            if (UpperText(slot) == UpperText(pattern)) return true;
        return false;
    }

    void CheckTarget(const Line& l, const std::string& word, size_t j, const ArgSpec& a, const std::string& pattern,
                     const std::string& label) {
        int found = Locate(pattern);
        if (found < 0) {
            std::string note;
            if (a.kind == ArgKind::Pattern && pattern[0] != '~' && Locate("~" + pattern) >= 0)
                note = Fmt("; line %d has it behind blanks, which %s does not skip",
                           lines_[Locate("~" + pattern)].physical, word.c_str());
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

    void CheckMisspelling(const Line& l, const std::string& text) {
        const std::string word = FirstWord(text.c_str());
        if (word.size() < 3 || word != UpperText(word) || word.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos)
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
               Fmt("'%s' is no command, so the line is skipped without a word; did you mean %s?",
                   SjisToUtf8(word).c_str(), best));
    }

    // ---- Options ------------------------------------------------------------------------

    // The line a key lookup settles on, as the options reader searches: from the options
    // header to the end of the script, each line trimmed, first prefix match wins.
    int LocateOption(const char* key) {
        Engine& e = *e_;
        int index = Locate("~[OPTIONS]");
        if (index < 0 || e.script.readPos >= e.script.length) return -1;
        std::string pattern = std::string("~") + key;
        char line[script::kLineCapacity];
        for (;;) {
            int r = script::ReadScriptLine(e);
            ++index;
            std::snprintf(line, sizeof line, "%s", e.script.line);
            script::TrimLineEnd(line);
            if (script::MatchPattern(e, pattern.c_str(), line) == 0) return index;
            if (r < 0) return -1;
        }
    }

    bool InOptionsSection(int index) const { return index >= 0 && lines_[index].section == optionsSection_; }

    void CheckOptions() {
        if (optionsSection_ < 0) return;
        std::vector<int> resolved(kOptionKeyCount, -1);
        for (int k = 0; k < kOptionKeyCount; ++k) resolved[k] = LocateOption(kOptionKeys[k].name);

        // Lines of the options section that are no key the installer reads.
        for (size_t i = 0; i < lines_.size(); ++i) {
            const Line& l = lines_[i];
            if (l.header || l.section != optionsSection_) continue;
            std::string word = FirstWord(l.bytes.c_str());
            if (word.empty() || l.bytes.find('=') == std::string::npos) continue;
            bool known = false;
            for (int k = 0; k < kOptionKeyCount; ++k) known = known || UpperText(word) == UpperText(kOptionKeys[k].name);
            if (known) continue;
            std::string readAs, nearest;
            int nearestDistance = 3;
            for (int k = 0; k < kOptionKeyCount; ++k) {
                if (resolved[k] == static_cast<int>(i)) readAs = kOptionKeys[k].name;
                int d = EditDistance(UpperText(word), UpperText(kOptionKeys[k].name));
                if (d < nearestDistance) {
                    nearestDistance = d;
                    nearest = kOptionKeys[k].name;
                }
            }
            std::string note = !readAs.empty()    ? Fmt("; the installer reads it as %s", readAs.c_str())
                               : !nearest.empty() ? Fmt("; did you mean %s?", nearest.c_str())
                                                  : std::string();
            Report(l.physical, Severity::Warning,
                   Fmt("unknown option key '%s'%s", SjisToUtf8(word).c_str(), note.c_str()));
        }

        for (int k = 0; k < kOptionKeyCount; ++k) {
            const OptionKey& key = kOptionKeys[k];
            int at = resolved[k];
            if (at < 0) continue;
            const std::string found = FirstWord(lines_[at].bytes.c_str());
            if (UpperText(found) != UpperText(key.name)) {
                for (size_t i = at + 1; i < lines_.size(); ++i) {
                    if (UpperText(FirstWord(lines_[i].bytes.c_str())) != UpperText(key.name)) continue;
                    Report(lines_[i].physical, Severity::Warning,
                           Fmt("option %s is never read from this line: line %d (\"%s\") starts with the same letters "
                               "and comes first",
                               key.name, lines_[at].physical, Quote(lines_[at].bytes).c_str()));
                    break;
                }
                continue;
            }
            if (!InOptionsSection(at) && lines_[at].bytes.find('=') != std::string::npos) {
                Report(lines_[at].physical, Severity::Warning,
                       Fmt("option %s is read from this line, outside the options section", key.name));
            }
            CheckOptionValue(key, lines_[at]);
        }
    }

    void CheckOptionValue(const OptionKey& key, const Line& l) {
        Engine& e = *e_;
        // Sentinels tell "not found" (the default is copied) from "no value" (untouched).
        char value[script::kLineCapacity] = "\x02";
        installer::GetOptionString(e, key.name, "\x01", value, sizeof value);
        if (std::strcmp(value, "\x02") == 0) {
            // Outside the options section a line without a value is some other line that
            // shares the key's first letters (INSTSIZE for InstSize): the default stays.
            if (!InOptionsSection(static_cast<int>(&l - lines_.data()))) return;
            Report(l.physical, Severity::Warning,
                   Fmt("option %s has no value (no '=' or nothing behind it); %s", key.name,
                       key.integer ? "its default is used" : "its earlier value stays"));
            return;
        }
        if (std::strcmp(value, "\x01") == 0) return;
        const std::string v = value;
        if (key.integer) {
            if (!IsDecimal(v))
                Report(l.physical, Severity::Warning,
                       Fmt("option %s = '%s' is not a number of at most 7 digits; the installer reads 0", key.name,
                           SjisToUtf8(v).c_str()));
        } else if (v.size() >= key.size) {
            Report(l.physical, Severity::Warning,
                   Fmt("option %s is %zu bytes; only the first %zu are kept", key.name, v.size(), key.size - 1));
        }
    }

    // ---- Sections -----------------------------------------------------------------------

    void CheckSections() {
        std::vector<std::string> entries;
        if (installer()) {
            const script::NameSlots& s = initialSlots_;
            for (const char* slot : {s.init, s.copy, s.install, s.initInst, s.exitInst, s.winScript, s.uninstall,
                                     s.initUninst, s.exitUninst, s.play})
                entries.push_back(slot);
        } else {
            entries.push_back("~[START]");
            if (Locate("~[START]") < 0)
                Report(0, Severity::Error, "no line begins with [START]: the runner runs nothing");
        }
        for (const std::string& p : entries) {
            int at = Locate(p);
            if (at >= 0) runs_.push_back(at);
        }
        for (int at : runs_) {
            if (lines_[at].section >= 0) sections_[lines_[at].section].run = true;
        }
        for (size_t s = 0; s < sections_.size(); ++s) {
            if (static_cast<int>(s) == optionsSection_ || sections_[s].run) continue;
            Report(lines_[sections_[s].header].physical, Severity::Warning,
                   Fmt("section %s is never run: no flow, button, jump, question or menu leads to it",
                       SjisToUtf8(sections_[s].name).c_str()));
        }
    }

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

}  // namespace

CheckResult CheckScript(const std::string& bytes, ScriptKind kind) { return Checker(bytes, kind).Run(); }

std::string FormatDiagnostics(const std::string& fileName, const CheckResult& result) {
    std::string out;
    for (const Diagnostic& d : result.diagnostics) {
        const char* severity = d.severity == Severity::Error ? "error" : "warning";
        out += d.line > 0 ? Fmt("%s:%d: %s: ", fileName.c_str(), d.line, severity)
                          : Fmt("%s: %s: ", fileName.c_str(), severity);
        out += d.text + "\n";
    }
    out += Fmt("%s: %d error%s, %d warning%s\n", fileName.c_str(), result.errors, result.errors == 1 ? "" : "s",
               result.warnings, result.warnings == 1 ? "" : "s");
    return out;
}

namespace {

std::string ShownJson(const std::vector<Shown>& shown) {
    std::string out = "[";
    for (size_t i = 0; i < shown.size(); ++i) {
        const Shown& s = shown[i];
        out += (i ? ", " : "") + std::string("{\"program\": ") + JsonString(s.program) +
               ", \"context\": " + JsonString(s.context) + ", \"slot\": " + JsonString(s.slot) +
               ", \"section\": " + JsonString(s.section) +
               ", \"by_jump\": " + (s.byJump ? "true" : "false") + ", \"mode\": " + std::to_string(s.mode) +
               ", \"boxes\": [";
        for (size_t b = 0; b < s.boxes.size(); ++b) out += (b ? ", " : "") + JsonString(s.boxes[b]);
        out += "]}";
    }
    return out + "]";
}

}  // namespace

std::string FormatDiagnosticsJson(const std::string& fileName, const CheckResult& result) {
    std::string out = "{\"file\": " + JsonString(fileName) + ", \"errors\": " + std::to_string(result.errors) +
                      ", \"warnings\": " + std::to_string(result.warnings) + ", \"diagnostics\": [";
    for (size_t i = 0; i < result.diagnostics.size(); ++i) {
        const Diagnostic& d = result.diagnostics[i];
        out += i ? ",\n  " : "\n  ";
        out += "{\"line\": " + std::to_string(d.line) + ", \"severity\": \"" +
               (d.severity == Severity::Error ? "error" : "warning") + "\", \"text\": " + JsonString(d.text);
        if (!d.shown.empty()) out += ", \"shown\": " + ShownJson(d.shown);
        out += "}";
    }
    out += "\n]}\n";
    return out;
}

}  // namespace checker
