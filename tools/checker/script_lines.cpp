// The checker's view of the script as lines: loading it as the program does, reading its
// lines with the engine's reader, line ends, long and joined lines, and sections.
#include <algorithm>
#include <cstring>

#include "tools/checker/checker_pass.h"
#include "tools/checker/text_encoding.h"

namespace checker {

void Checker::Load() {
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

void Checker::ReadLines() {
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

int Checker::Locate(const std::string& pattern) {
    Engine& e = *e_;
    if (pattern.empty() || !script::FindSection(e, pattern.c_str())) return -1;
    if (e.script.readPos >= e.script.length) return static_cast<int>(lines_.size()) - 1;
    return e.script.lineCount - 1;
}

void Checker::FindSections() {
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

void Checker::CheckLineEnds() {
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

void Checker::CheckJoinedAndLongLines() {
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
            const bool neverClosed = l.last && !l.tooLong && std::count(l.bytes.begin(), l.bytes.end(), '"') % 2 == 1;
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

int Checker::LinesFrom(size_t offset) const {
    if (offset >= bytes_.size()) return 0;
    const int feeds = static_cast<int>(std::count(bytes_.begin() + static_cast<long>(offset), bytes_.end(), '\n'));
    return feeds + (bytes_.back() == '\n' ? 0 : 1);
}

void Checker::ReportTooLongLine(const Line& l) {
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

void Checker::ReportSwallowedLines(const Line& l, int quoteLine, int swallowedEnd, size_t inner) {
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
           Fmt("a double quote joins lines %d to %d into one line, so these are text and never run: %s", l.physical,
               swallowedEnd, swallowed.c_str()));
}

void Checker::CheckSections() {
    std::vector<std::string> entries;
    if (installer()) {
        const script::NameSlots& s = initialSlots_;
        for (const char* slot : {s.init, s.copy, s.install, s.initInst, s.exitInst, s.winScript, s.uninstall,
                                 s.initUninst, s.exitUninst, s.play})
            entries.push_back(slot);
    } else {
        entries.push_back("~[START]");
        if (Locate("~[START]") < 0) Report(0, Severity::Error, "no line begins with [START]: the runner runs nothing");
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

}  // namespace checker
