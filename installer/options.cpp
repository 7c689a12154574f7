// Option lookup over the script text and the table of keys with their defaults.
#include "installer/options.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "commands/file_commands.h"
#include "commands/registry_accessor.h"
#include "script/argument_reader.h"
#include "script/script_text.h"
#include "text/text_rules.h"

namespace installer {
namespace {

constexpr size_t kKeyPatternSize = 40;
constexpr size_t kIntegerValueSize = 80;  // integer keys take at most 79 bytes

enum class Lookup { NotFound, NoValue, Value };

// The lines below the options header as read by one series of lookups. Every key is
// looked for from the header down to the end of the script, so ReadOptions would read
// the same lines once per key (most of the time start-up takes): they are read once and
// each key is matched against the copies. The engine is left as a fresh read leaves it.
class OptionLines {
public:
    // Reads the lines up to index k (0: the one below the header, where the engine is
    // when first asked); not beyond the script's last line.
    void Reach(script::Engine& e, size_t k) {
        script::ScriptText& s = e.script;
        if (lines_.size() <= k && !lines_.empty()) {
            s.readPos = lines_.back().readPos;
            s.lineCount = lines_.back().lineCount;
        }
        while (lines_.size() <= k && !ended_) {
            // A read ends with its line end, or at the end of the script or the longest
            // line: the bytes it put into the line buffer follow from the positions.
            const int from = s.readPos;
            Line l;
            l.got = script::ReadScriptLine(e);
            int bytes = l.got >= 0 ? l.got : from >= s.length ? 0 : std::min(s.length - from, script::kMaxLineBytes);
            l.text.assign(s.line, static_cast<size_t>(bytes));
            l.readPos = s.readPos;
            l.lineCount = s.lineCount;
            ended_ = l.got < 0;
            lines_.push_back(std::move(l));
        }
    }
    // Where the header is: looked for once, later lookups start below it as the first
    // one did (a script without the header is searched again, as it leaves the engine
    // at its end).
    bool FindHeader(script::Engine& e) {
        if (lines_.empty()) {
            if (!script::FindSection(e, "~[OPTIONS]")) return false;
            headerMatchLength_ = e.script.matchLength;
            return true;
        }
        e.script.matchLength = headerMatchLength_;
        return true;
    }
    const char* Text(size_t k) const { return lines_[k].text.c_str(); }
    bool Last(size_t k) const { return lines_[k].got < 0; }
    // Leaves the engine as reading line k last has left it.
    void Restore(script::Engine& e, size_t k) const {
        const Line& l = lines_[k];
        std::memcpy(e.script.line, l.text.data(), l.text.size());
        e.script.line[l.text.size()] = 0;
        e.script.readPos = l.readPos;
        e.script.lineCount = l.lineCount;
    }

private:
    struct Line {
        std::string text;  // the line's bytes up to its terminator
        int got;
        int readPos;
        int lineCount;
    };
    std::vector<Line> lines_;
    bool ended_ = false;
    int headerMatchLength_ = 0;
};

// Finds the key's line below the options header (to the end of the script, not just the
// section) and copies its value into out.
Lookup FindOptionValue(script::Engine& e, OptionLines& lines, const char* key, char* out, size_t size) {
    if (size == 0) return Lookup::NotFound;
    out[0] = '\0';
    if (!lines.FindHeader(e)) return Lookup::NotFound;

    char pattern[kKeyPatternSize] = "~";
    text::AppendOrCut(pattern, sizeof pattern, key);

    // A key is a plain word, so it matches the raw line exactly when it matches the line
    // without its trailing blanks and line end: only the matching line is copied.
    size_t k = 0;
    for (;; ++k) {
        lines.Reach(e, k);
        if (script::MatchPattern(e, pattern, lines.Text(k)) == 0) break;
        if (lines.Last(k)) {
            lines.Restore(e, k);
            return Lookup::NotFound;
        }
    }
    lines.Restore(e, k);
    char line[script::kLineCapacity];
    text::CopyOrCut(line, sizeof line, e.script.line);
    script::TrimLineEnd(line);
    const char* p = line + e.script.matchLength;
    // Anything up to the equals sign is skipped; a line end or tab first means no value.
    while (*p != '=') {
        if (*p == '\0' || *p == '\t' || *p == '\r' || *p == '\n') return Lookup::NoValue;
        ++p;
    }
    ++p;
    while (*p == ' ') ++p;
    if (*p == '\0' || *p == '\t' || *p == '\r' || *p == '\n') return Lookup::NoValue;

    const char* end;
    if (*p == '"') {
        ++p;
        end = p;
        while (*end != '\0' && *end != '"' && *end != '\t' && *end != '\r' && *end != '\n') ++end;
    } else {
        end = p;
        while (*end != '\0' && *end != '\t' && *end != '\r' && *end != '\n') ++end;
    }
    text::CopyOrCutN(out, size, p, static_cast<size_t>(end - p));
    return Lookup::Value;
}

int PositiveOr(int value, int zeroMeans) { return value == 0 ? zeroMeans : value; }

// The lookups of ReadOptions: every key reads the same lines.
void GetOptionString(script::Engine& e, const char* key, const char* def, char* destination, size_t size,
                     OptionLines& lines) {
    char value[script::kLineCapacity];
    switch (FindOptionValue(e, lines, key, value, sizeof value)) {
        case Lookup::NotFound: text::CopyOrCut(destination, size, def); break;
        case Lookup::NoValue: break;
        case Lookup::Value: text::CopyOrCut(destination, size, value); break;
    }
}

int GetOptionInt(script::Engine& e, const char* key, int def, OptionLines& lines) {
    char value[kIntegerValueSize];
    if (FindOptionValue(e, lines, key, value, sizeof value) != Lookup::Value) return def;
    return script::ParseDecimal(value);
}

}  // namespace

void GetOptionString(script::Engine& e, const char* key, const char* def, char* destination, size_t size) {
    OptionLines lines;
    GetOptionString(e, key, def, destination, size, lines);
}

int GetOptionInt(script::Engine& e, const char* key, int def) {
    OptionLines lines;
    return GetOptionInt(e, key, def, lines);
}

void ApplySourceFolder(script::Engine& e, const char* srcDirValue) {
    char* src = e.env.sourceFolder;
    const char* program = e.env.programFolder;
    if (srcDirValue[0] == '\\') {
        // A value from the root of the program's drive: "E:\" plus the rest.
        text::CopyOrCutN(src, script::kPathSize, program, std::strlen(program) < 3 ? std::strlen(program) : 3);
        text::AppendOrCut(src, script::kPathSize, srcDirValue + 1);
    } else {
        text::CopyOrCut(src, script::kPathSize, program);
        text::AppendOrCut(src, script::kPathSize, srcDirValue);
    }
}

void BuildRightsLine(const char* yearRight, char* out, size_t size) {
    if (yearRight[0] != '\0')
        text::FormatOrCut(out, size, "Copyright (C) %s Tavrel Soft Inc.  All rights reserved.", yearRight);
    else
        text::CopyOrCut(out, size, "Copyright (C) Tavrel Soft Inc.  All rights reserved.");
}

void ReadOptions(script::Engine& e) {
    script::Options& o = e.options;
    OptionLines lines;  // every key below reads the same lines

    GetOptionString(e, "Class", "読み込み失敗", o.className, sizeof o.className, lines);
    GetOptionString(e, "Title", "読み込み失敗", o.title, sizeof o.title, lines);
    GetOptionString(e, "YearRight", "", o.yearRight, sizeof o.yearRight, lines);

    // Recomputed from the program folder every time, so a re-read never applies the
    // value twice. The value has its own buffer: a DstDir line without a value must not
    // inherit the source folder's text.
    GetOptionString(e, "SrcDir", "", o.srcDir, sizeof o.srcDir, lines);
    ApplySourceFolder(e, o.srcDir);

    GetOptionString(e, "DstDir", "", o.dstDir, sizeof o.dstDir, lines);
    GetOptionString(e, "ExeName", "", o.exeName, sizeof o.exeName, lines);
    GetOptionString(e, "SetupText", "Setup", o.setupText, sizeof o.setupText, lines);
    GetOptionString(e, "ExitText", "Exit", o.exitText, sizeof o.exitText, lines);
    GetOptionString(e, "UninstText", "Uninstall", o.uninstText, sizeof o.uninstText, lines);
    GetOptionString(e, "PlayText", "Play", o.playText, sizeof o.playText, lines);

    o.btnWidth = PositiveOr(GetOptionInt(e, "BtnWidth", 20, lines), 25);
    o.btnHeight = PositiveOr(GetOptionInt(e, "BtnHeight", 10, lines), 10);
    o.setupBtn = GetOptionInt(e, "SetupBtn", 1, lines);
    o.playBtn = GetOptionInt(e, "PlayBtn", 1, lines);
    o.exitBtn = GetOptionInt(e, "ExitBtn", 1, lines);
    o.uninstallBtn = GetOptionInt(e, "UninstallBtn", 1, lines);
    o.setupBtnX = GetOptionInt(e, "SetupBtnX", 30, lines);
    o.setupBtnY = GetOptionInt(e, "SetupBtnY", 70, lines);
    o.playBtnX = GetOptionInt(e, "PlayBtnX", 70, lines);
    o.playBtnY = GetOptionInt(e, "PlayBtnY", 70, lines);
    o.exitBtnX = GetOptionInt(e, "ExitBtnX", 30, lines);
    o.exitBtnY = GetOptionInt(e, "ExitBtnY", 85, lines);
    o.unInstBtnX = GetOptionInt(e, "UnInstBtnX", 70, lines);
    o.unInstBtnY = GetOptionInt(e, "UnInstBtnY", 85, lines);
    o.sub1BtnX = GetOptionInt(e, "Sub1BtnX", 30, lines);
    o.sub1BtnY = GetOptionInt(e, "Sub1BtnY", 30, lines);
    if (!e.sub[0].enabled) {
        e.sub[0].x = o.sub1BtnX;
        e.sub[0].y = o.sub1BtnY;
    }

    o.copySizeBytes = static_cast<uint64_t>(GetOptionInt(e, "CopySize", 10, lines)) * 1024u;
    int instSize = GetOptionInt(e, "InstSize", 0, lines);
    o.instSizeBytes = instSize != 0 ? static_cast<uint64_t>(instSize) * 1024u : o.copySizeBytes + 262144u;
    // They are the copy engine's totals too, until an INSTSIZE command replaces them.
    e.copy.copyTotal = o.copySizeBytes;
    e.copy.installSize = o.instSizeBytes;

    char installed[script::kPathSize];
    e.productInstalled = commands::ReadSetting(e, o.dstDir, installed, sizeof installed) == 1 &&
                         commands::FolderExists(e, installed);

    o.regFlag = GetOptionInt(e, "RegFlag", 0, lines);
    if (o.regFlag != 0) commands::EnsureMakerKey(e);

    char built[8][120];
    char builtTitle[120];
    text::FormatOrCut(built[0], sizeof built[0], "%s  インストール  ユーティリティ", o.title);
    BuildRightsLine(o.yearRight, built[1], sizeof built[1]);
    text::FormatOrCut(built[2], sizeof built[2], "このたびは「%s」をお買い上げいただき、", o.title);
    text::CopyOrCut(built[3], sizeof built[3], "誠にありがとうございます。");
    text::FormatOrCut(built[4], sizeof built[4], "このプログラムは「%s」の", o.title);
    text::CopyOrCut(built[5], sizeof built[5], "データをハードディスクにコピーするためのものです。");
    text::CopyOrCut(built[6], sizeof built[6], "インストールが終了しました。");
    built[7][0] = '\0';
    text::CopyOrCut(builtTitle, sizeof builtTitle, built[0]);

    static const char* const kMesKeys[8] = {"InstMes1", "InstMes2", "InstMes3", "InstMes4",
                                            "InstMes5", "InstMes6", "InstMes7", "InstMes8"};
    for (int i = 0; i < 8; ++i) GetOptionString(e, kMesKeys[i], built[i], o.instMes[i], sizeof o.instMes[i], lines);
    GetOptionString(e, "InstTitle", builtTitle, o.instTitle, sizeof o.instTitle, lines);
    GetOptionString(e, "InstUpdate", "", o.instUpdate, sizeof o.instUpdate, lines);
}

}  // namespace installer
