// The script authors' manual (docs/SCRIPTING.md) held to the engine: every script in it
// goes through the checker, wrong ones must give the diagnostics the text promises, dry
// runs must give the transcript shown, and every command, option key, variable and
// message text of the engine has its place in it.
//
// Fenced blocks by their info string:
//   tavrel / brinmark            a TAVREL.INF / COMMAND.INF that must check clean
//   ... lf                       (a further word) the script keeps LF line ends, as saved
//                                by an editor that writes them
//   tavrel wrong / brinmark wrong  a script with faults; the next block, "diagnostics",
//                                holds one line per diagnostic ("FILE:LINE: kind: text"),
//                                each the start of exactly one line the checker prints;
//                                a "json" block behind that is the --json output, exactly
//   dry-run                      "$ tavrel-check --dry-run demo/cd --utf8 ..." and then
//                                the transcript, exactly
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "commands/keyword_tables.h"
#include "script/variables.h"
#include "script/messages.h"
#include "tests/support/repo_files.h"
#include "tools/checker/dry_run.h"
#include "tools/checker/script_checker.h"
#include "tools/checker/text_encoding.h"

namespace {

namespace fs = std::filesystem;

using testsupport::ReadAll;
using testsupport::SourceDir;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

struct Block {
    std::string info;  // the info string behind the opening fence
    std::string text;  // the lines between the fences, each ended by LF
    int line = 0;      // the opening fence's line in the manual
};

std::vector<Block> FencedBlocks(const std::string& markdown, std::string* error) {
    std::vector<Block> blocks;
    const std::vector<std::string> lines = Lines(markdown);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("```", 0) != 0) continue;
        Block b;
        b.info = lines[i].substr(3);
        b.line = static_cast<int>(i) + 1;
        size_t j = i + 1;
        while (j < lines.size() && lines[j].rfind("```", 0) != 0) b.text += lines[j++] + "\n";
        if (j == lines.size()) {
            *error = "fence opened on line " + std::to_string(b.line) + " is never closed";
            return blocks;
        }
        blocks.push_back(b);
        i = j;
    }
    return blocks;
}

class ScriptingManual : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path path = SourceDir() / "docs" / "SCRIPTING.md";
        ASSERT_TRUE(fs::exists(path)) << path;
        manual_ = ReadAll(path);
        std::string error;
        blocks_ = FencedBlocks(manual_, &error);
        ASSERT_EQ(error, "");
    }

    // Checks a script block; "where" names it in failures.
    checker::CheckResult Check(const Block& b, const std::string& where) {
        std::string bytes;
        const bool keepLf = b.info.find(" lf") != std::string::npos;
        EXPECT_TRUE(keepLf ? checker::Utf8ToSjis(b.text, &bytes) : checker::Utf8SourceToScript(b.text, &bytes))
            << where << ": not convertible to Shift-JIS";
        return checker::CheckScript(bytes, IsRunner(b) ? checker::ScriptKind::Runner : checker::ScriptKind::Installer);
    }

    static bool IsRunner(const Block& b) { return b.info.rfind("brinmark", 0) == 0; }
    static bool IsScript(const Block& b) { return b.info.rfind("tavrel", 0) == 0 || IsRunner(b); }
    static bool IsWrong(const Block& b) { return IsScript(b) && b.info.find(" wrong") != std::string::npos; }
    static std::string FileName(const Block& b) { return IsRunner(b) ? "COMMAND.INF" : "TAVREL.INF"; }
    static std::string Where(const Block& b) { return "SCRIPTING.md:" + std::to_string(b.line); }

    // Every heading line of the manual (a line in a fenced block is none).
    std::vector<std::string> Headings() const {
        std::vector<std::string> out;
        bool fenced = false;
        for (const std::string& l : Lines(manual_)) {
            if (l.rfind("```", 0) == 0) fenced = !fenced;
            if (!fenced && l.rfind("#", 0) == 0) out.push_back(l);
        }
        return out;
    }

    // The manual's text from the heading that contains `title` to the next heading of the
    // same or a higher level.
    std::string Chapter(const std::string& title) const {
        const std::vector<std::string> lines = Lines(manual_);
        std::string out;
        size_t level = 0;
        for (const std::string& l : lines) {
            const size_t hashes = l.find_first_not_of('#');
            const bool heading = l.rfind("#", 0) == 0 && hashes != std::string::npos && l[hashes] == ' ';
            if (level == 0) {
                if (heading && l.find(title) != std::string::npos) level = hashes;
                continue;
            }
            if (heading && hashes <= level) break;
            out += l + "\n";
        }
        return out;
    }

    std::string manual_;
    std::vector<Block> blocks_;
};

TEST_F(ScriptingManual, EveryScriptExampleChecksCleanAndEveryWrongOneGivesItsDiagnostics) {
    int clean = 0, wrong = 0;
    for (size_t i = 0; i < blocks_.size(); ++i) {
        const Block& b = blocks_[i];
        if (!IsScript(b)) continue;
        const checker::CheckResult r = Check(b, Where(b));
        const std::string shown = checker::FormatDiagnostics(FileName(b), r);
        if (!IsWrong(b)) {
            ++clean;
            EXPECT_EQ(r.errors + r.warnings, 0) << Where(b) << ": an example that must check clean gives\n" << shown;
            continue;
        }
        ++wrong;
        ASSERT_TRUE(i + 1 < blocks_.size() && blocks_[i + 1].info == "diagnostics")
            << Where(b) << ": a wrong example must be followed by its diagnostics block";
        EXPECT_GT(r.errors + r.warnings, 0) << Where(b) << ": a wrong example that checks clean";
        // Each promised line starts exactly one printed line, and nothing else is printed.
        std::vector<std::string> printed = Lines(shown);
        printed.pop_back();  // the count line
        std::vector<bool> used(printed.size(), false);
        for (const std::string& promised : Lines(blocks_[i + 1].text)) {
            if (promised.empty()) continue;
            bool found = false;
            for (size_t p = 0; p < printed.size() && !found; ++p) {
                if (used[p] || printed[p].rfind(promised, 0) != 0) continue;
                used[p] = found = true;
            }
            EXPECT_TRUE(found) << Where(b) << ": the manual promises\n  " << promised << "\nbut the checker prints\n"
                               << shown;
        }
        for (size_t p = 0; p < printed.size(); ++p)
            EXPECT_TRUE(used[p]) << Where(b) << ": the checker also prints\n  " << printed[p]
                                 << "\nwhich the manual does not show";
        if (i + 2 < blocks_.size() && blocks_[i + 2].info == "json") {
            EXPECT_EQ(blocks_[i + 2].text, checker::FormatDiagnosticsJson(FileName(b), r))
                << Where(blocks_[i + 2]) << ": the JSON differs";
        }
    }
    EXPECT_GE(clean, 20);
    EXPECT_GE(wrong, 8);
}

// The anchor a Markdown renderer gives a heading: lower case, blanks as hyphens,
// punctuation dropped.
std::string Anchor(const std::string& heading) {
    std::string out;
    for (char c : heading.substr(heading.find_first_not_of("# "))) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u))
            out += static_cast<char>(std::tolower(u));
        else if (c == ' ' || c == '-')
            out += '-';
        else if (c == '_' || u >= 0x80)
            out += c;
    }
    return out;
}

TEST_F(ScriptingManual, EveryLinkInsideTheManualFindsItsHeading) {
    std::set<std::string> anchors;
    for (const std::string& h : Headings()) anchors.insert(Anchor(h));
    EXPECT_EQ(Anchor("## The demo CD's scripts, annotated"), "the-demo-cds-scripts-annotated");
    const std::regex link(R"(\]\(#([^)]+)\))");
    int links = 0;
    for (auto it = std::sregex_iterator(manual_.begin(), manual_.end(), link); it != std::sregex_iterator(); ++it) {
        ++links;
        EXPECT_TRUE(anchors.count((*it)[1])) << "no heading for the link #" << (*it)[1];
    }
    EXPECT_GT(links, 10);
}

TEST_F(ScriptingManual, ShowsTheDemoCdsScriptsAsTheyAre) {
    for (const char* name : {"TAVREL.INF", "COMMAND.INF"}) {
        const fs::path path = SourceDir() / "demo" / "cd" / name;
        if (!fs::exists(path)) continue;
        const std::string demo = ReadAll(path);
        bool shown = false;
        for (const Block& b : blocks_) shown = shown || (IsScript(b) && !IsWrong(b) && b.text == demo);
        EXPECT_TRUE(shown) << "the manual's copy of demo/cd/" << name << " differs from the file";
    }
}

TEST_F(ScriptingManual, EveryInstallerCommandIsUsedInAnExampleThatChecksClean) {
    std::set<std::string> used;
    for (const Block& b : blocks_) {
        if (!IsScript(b) || IsWrong(b) || IsRunner(b)) continue;
        for (const std::string& l : Lines(b.text)) {
            std::istringstream words(l);
            std::string word;
            words >> word;
            for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            used.insert(word);
        }
    }
    for (int k = 0; k < commands::kInstallerKeywordCount; ++k)
        EXPECT_TRUE(used.count(commands::kInstallerKeywords[k].word))
            << "no clean example uses `" << commands::kInstallerKeywords[k].word << "`";
}

TEST_F(ScriptingManual, NoScriptHidesInAnUncheckedBlock) {
    // A block that holds a script's options header or the runner's section but is not
    // marked as a script would escape the checker.
    for (const Block& b : blocks_) {
        if (IsScript(b) || b.info == "dry-run") continue;
        for (const std::string& l : Lines(b.text)) {
            const size_t start = l.find_first_not_of(" \t");
            if (start == std::string::npos) continue;
            const std::string s = l.substr(start);
            EXPECT_TRUE(s.rfind("[OPTIONS]", 0) != 0 && s.rfind("[START]", 0) != 0)
                << Where(b) << " (" << b.info << ") holds a script but is not marked tavrel or brinmark";
        }
    }
}

// The dry-run options of a "$ tavrel-check --dry-run ..." line; false for one the
// manual may not use (the CD must be the repository's demo CD).
bool ParseDryRunLine(const std::string& line, checker::DryRunOptions* o, std::string* error) {
    std::istringstream words(line);
    std::string w;
    words >> w;
    if (w != "$") return *error = "the block must start with \"$ tavrel-check --dry-run\"", false;
    words >> w;
    if (w != "tavrel-check") return *error = "the block must start with \"$ tavrel-check --dry-run\"", false;
    while (words >> w) {
        if (w == "--dry-run") {
            std::string folder;
            words >> folder;
            if (folder != "demo/cd") return *error = "dry runs in the manual use demo/cd", false;
            o->cdFolder = testsupport::LayOutDemoCd("tavrel_manual_demo_cd_").string();
        } else if (w == "--utf8") {
            o->utf8Scripts = true;
        } else if (w == "--win95") {
            o->family95 = true;
        } else if (w == "--setup") {
            o->actions.push_back(checker::DryAction::Setup);
        } else if (w.rfind("--setup=", 0) == 0) {
            o->actions.push_back(checker::DryAction::Setup);
            o->destination = w.substr(8);
        } else if (w == "--uninstall") {
            o->actions.push_back(checker::DryAction::Uninstall);
        } else if (w == "--play") {
            o->actions.push_back(checker::DryAction::Play);
        } else if (w == "--sub1") {
            o->actions.push_back(checker::DryAction::Sub1);
        } else if (w == "--sub2") {
            o->actions.push_back(checker::DryAction::Sub2);
        } else {
            return *error = "the manual's dry runs do not use " + w, false;
        }
    }
    if (o->cdFolder.empty()) return *error = "no --dry-run folder", false;
    if (o->actions.empty()) o->actions.push_back(checker::DryAction::Setup);
    return true;
}

TEST_F(ScriptingManual, EveryDryRunGivesTheTranscriptShown) {
    if (!fs::exists(SourceDir() / "demo" / "cd" / "TAVREL.INF")) GTEST_SKIP() << "no demo CD";
    int runs = 0;
    for (const Block& b : blocks_) {
        if (b.info != "dry-run") continue;
        ++runs;
        const size_t eol = b.text.find('\n');
        checker::DryRunOptions o;
        std::string error;
        ASSERT_TRUE(ParseDryRunLine(b.text.substr(0, eol), &o, &error)) << Where(b) << ": " << error;
        checker::DryRunReport report;
        ASSERT_TRUE(checker::RunDry(o, &report, &error)) << Where(b) << ": " << error;
        EXPECT_EQ(b.text.substr(eol + 1), checker::FormatDryRun(report)) << Where(b) << ": the transcript differs";
        fs::remove_all(o.cdFolder);
    }
    EXPECT_GE(runs, 1);
}

bool HeadingNames(const std::vector<std::string>& headings, const std::string& word) {
    const std::string quoted = "`" + word + "`";
    for (const std::string& h : headings)
        if (h.find(quoted) != std::string::npos) return true;
    return false;
}

// "| `NAME` |" rows of a table in `text`.
bool HasRow(const std::string& text, const std::string& name) {
    return text.find("| `" + name + "` |") != std::string::npos;
}

TEST_F(ScriptingManual, EveryInstallerCommandHasItsOwnSectionAndNoOtherIsDescribed) {
    const std::vector<std::string> headings = Headings();
    std::set<std::string> known;
    for (int k = 0; k < commands::kInstallerKeywordCount; ++k) {
        const std::string word = commands::kInstallerKeywords[k].word;
        known.insert(word);
        EXPECT_TRUE(HeadingNames(headings, word)) << "no heading names the command `" << word << "`";
    }
    // A command heading is "#### `WORD` ..."; one that names no command is left over.
    const std::regex commandHeading(R"(^#### `([A-Z_0-9]+)`)");
    for (const std::string& h : headings) {
        std::smatch m;
        if (!std::regex_search(h, m, commandHeading)) continue;
        EXPECT_TRUE(known.count(m[1])) << "the manual describes `" << m[1] << "`, which the installer does not know";
    }
}

TEST_F(ScriptingManual, TheRunnerChapterListsExactlyTheRunnersCommands) {
    const std::string chapter = Chapter("Brinmark: the command runner");
    ASSERT_FALSE(chapter.empty()) << "no chapter whose heading names Brinmark";
    std::set<std::string> known;
    for (int k = 0; k < commands::kRunnerKeywordCount; ++k) {
        known.insert(commands::kRunnerKeywords[k].word);
        EXPECT_TRUE(HasRow(chapter, commands::kRunnerKeywords[k].word))
            << "the runner chapter has no row for `" << commands::kRunnerKeywords[k].word << "`";
    }
    const std::regex row(R"(\| `([A-Z_0-9]+)` \|)");
    for (auto it = std::sregex_iterator(chapter.begin(), chapter.end(), row); it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(known.count((*it)[1]))
            << "the runner chapter lists `" << (*it)[1] << "`, which the runner does not know";
}

TEST_F(ScriptingManual, EveryOptionKeyTheInstallerReadsHasARow) {
    // The keys as the options reader asks for them, read from its source.
    const std::string source = ReadAll(SourceDir() / "installer" / "options.cpp");
    ASSERT_FALSE(source.empty());
    std::set<std::string> keys;
    const std::regex call(R"(GetOption(String|Int)\(e,\s*\"([A-Za-z0-9]+)\")");
    for (auto it = std::sregex_iterator(source.begin(), source.end(), call); it != std::sregex_iterator(); ++it)
        keys.insert((*it)[2]);
    const std::regex mes(R"(\"(InstMes[0-9])\")");
    for (auto it = std::sregex_iterator(source.begin(), source.end(), mes); it != std::sregex_iterator(); ++it)
        keys.insert((*it)[1]);
    ASSERT_GE(keys.size(), 30u) << "the options reader's calls were not found";
    const std::string chapter = Chapter("The options section");
    ASSERT_FALSE(chapter.empty());
    for (const std::string& key : keys) EXPECT_TRUE(HasRow(chapter, key)) << "no row for the option `" << key << "`";
}

TEST_F(ScriptingManual, EveryVariableOfBothProgramsHasARow) {
    const std::string chapter = Chapter("Variables");
    ASSERT_FALSE(chapter.empty());
    for (int v = 0; v < script::kInstallerVariableCount; ++v)
        EXPECT_TRUE(HasRow(chapter, script::kInstallerVariables[v].name))
            << "no row for the variable `" << script::kInstallerVariables[v].name << "`";
    // The runner's are a subset; the runner chapter says which.
    const std::string runner = Chapter("Brinmark: the command runner");
    for (int v = 0; v < script::kRunnerVariableCount; ++v)
        EXPECT_NE(runner.find(std::string("`") + script::kRunnerVariables[v].name + "`"), std::string::npos)
            << "the runner chapter does not name `" << script::kRunnerVariables[v].name << "`";
}

// A message as the manual writes it: UTF-8, a line break as \n.
std::string AsWritten(const char* sjis) {
    std::string text = checker::SjisToUtf8(sjis);
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return "\"" + out + "\"";
}

TEST_F(ScriptingManual, QuotesEveryFailureTextAndQuestionOfTheMessageTableExactly) {
    for (int row = 0; row <= script::kRowNoSpace; ++row)
        for (int mode = 0; mode < 3; ++mode)
            EXPECT_NE(manual_.find(AsWritten(script::MessageText(mode, row))), std::string::npos)
                << "row " << row << ", mode " << mode << ": " << AsWritten(script::MessageText(mode, row));
    for (int mode = 0; mode < 3; ++mode)
        EXPECT_NE(manual_.find(AsWritten(script::CancelQuestion(mode))), std::string::npos)
            << AsWritten(script::CancelQuestion(mode));
}

TEST(ScriptingManualReader, FencedBlocksKeepInfoTextAndLineAndRefuseAnOpenFence) {
    std::string error;
    const std::vector<Block> b = FencedBlocks("a\n```tavrel wrong\nX\n\nY\n```\n```\n```\n", &error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0].info, "tavrel wrong");
    EXPECT_EQ(b[0].text, "X\n\nY\n");
    EXPECT_EQ(b[0].line, 2);
    EXPECT_EQ(b[1].text, "");
    FencedBlocks("```tavrel\n[OPTIONS]\n", &error);
    EXPECT_NE(error, "");
}

}  // namespace
