// The checks of the [OPTIONS] section as the options reader searches it.
#include <cstdio>
#include <cstring>

#include "installer/options.h"
#include "tools/checker/checker_pass.h"
#include "tools/checker/text_encoding.h"

namespace checker {

int Checker::LocateOption(const char* key) {
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

void Checker::CheckOptions() {
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
        Report(l.physical, Severity::Warning, Fmt("unknown option key '%s'%s", SjisToUtf8(word).c_str(), note.c_str()));
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

void Checker::CheckOptionValue(const OptionKey& key, const Line& l) {
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

}  // namespace checker
