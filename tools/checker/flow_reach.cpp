// Where a line runs: every flow that reaches it, and what the program shows there.
#include <algorithm>
#include <cstring>

#include "script/dispatch.h"
#include "script/messages.h"
#include "tools/checker/checker_pass.h"
#include "tools/checker/text_encoding.h"

namespace checker {

void Checker::ComputeReach() {
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

bool Checker::AlwaysJumps(const char* word) {
    for (const char* w : {"GOTO", "YESNO", "WARNING", "BOOTDRIVE"})
        if (std::strcmp(word, w) == 0) return true;
    return false;
}

bool Checker::ReachedIn(int index, int context) const {
    for (const Reach& r : reach_[index])
        if (r.context == context) return true;
    return false;
}

void Checker::Walk(int context, int entry) {
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

std::string Checker::SlotName(const RunContext& rc) const {
    const char* pattern = rc.slot ? initialSlots_.*rc.slot : rc.fixed ? rc.fixed : rc.redirect;
    return pattern[0] == '~' ? pattern + 1 : pattern;
}

std::string Checker::EntryName(int line) const {
    const Line& l = lines_[line];
    if (l.header && l.section >= 0) return SjisToUtf8(sections_[l.section].name);
    return Quote(l.bytes, 30);
}

std::string Checker::SyntaxBoxIn(int index, int mode) {
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

std::vector<Shown> Checker::ShownWhereRun(int index, const std::string& idleBox) {
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

std::string Checker::SaysWhere(const std::vector<Shown>& shown) {
    std::vector<std::pair<std::string, std::vector<std::string>>> byText;
    for (const Shown& s : shown) {
        std::string text = s.boxes.empty() ? "" : s.boxes[0];
        std::replace(text.begin(), text.end(), '\n', ' ');
        if (s.context.empty())
            return Fmt("the installer would say \"%s\" and stop the section, but no flow runs this line", text.c_str());
        const std::string where = Fmt("%s (%s%s)", s.phrase.c_str(), s.section.c_str(), s.byJump ? ", by a jump" : "");
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
        out += Fmt("%s%s the installer says \"%s\" and stops the section", out.empty() ? "" : "; ", places.c_str(),
                   g.first.c_str());
    }
    return out;
}

}  // namespace checker
