// The checker's own tables against the code they describe: every argument size in the
// command table is the size at which that command's handler starts to refuse (or cut),
// and the option keys are exactly those the installer's options reader asks for.
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "commands/keyword_tables.h"
#include "platform/null_platform.h"
#include "script/dispatch.h"
#include "script/engine.h"
#include "script/messages.h"
#include "tools/checker/command_table.h"
#include "tools/checker/option_keys.h"

namespace {

using checker::ArgKind;

// Keys exist (so REGJUMP reads on), every box is kept and answered with Cancel.
class Recorder : public plat::NullPlatform {
public:
    std::vector<std::string> boxes;
    int MessageBox(plat::WindowHandle, const char* text, const char*, unsigned) override {
        boxes.push_back(text);
        return plat::kIdCancel;
    }
    long RegOpenKey(plat::RegRoot, const char*, uint32_t, plat::KeyHandle* key) override {
        *key = 1;
        return plat::kRegOk;
    }
};

// A harmless value for an argument of this kind.
std::string Filler(const checker::ArgSpec& a) {
    switch (a.kind) {
        case ArgKind::Number:
        case ArgKind::RootIndex: return "1";
        case ArgKind::ModeWord: return "PATH";
        case ArgKind::CheckWord: return "NOCHECK";
        default: return "A";
    }
}

struct Outcome {
    bool syntaxError;
};

// Runs "WORD args" where argument `which` is `length` bytes long: a variable holding
// up to 259 bytes, then literal text, so the reader's 250-byte line limit is no bound.
Outcome RunWithLength(const char* word, const checker::CommandSpec& spec, int which, size_t length) {
    auto e = std::make_unique<script::Engine>();
    commands::ConfigureInstallerEngine(*e);
    Recorder sys;
    e->sys = &sys;
    std::snprintf(e->options.dstDir, sizeof e->options.dstDir, "GAME");
    const size_t fromVariable = length > 200 ? 200 : length;
    std::string value(fromVariable, 'V');
    std::snprintf(e->vars.srcDir, sizeof e->vars.srcDir, "%s", value.c_str());
    std::string line = std::string(word) + " ";
    for (int j = 0; j < spec.argCount; ++j) {
        if (j) line += ",";
        if (j == which) {
            line += (fromVariable ? "%SrcDir%" : "") + std::string(length - fromVariable, 'x');
        } else {
            line += Filler(spec.args[j]);
        }
    }
    std::snprintf(e->script.line, sizeof e->script.line, "%s", line.c_str());
    e->script.argPos = 0;
    e->script.quoted = false;
    e->output.open = true;
    script::DispatchLine(*e);
    const std::string syntax = std::string(script::MessageText(0, script::kRowSyntax)) + "\n";
    for (const std::string& b : sys.boxes)
        if (b.compare(0, syntax.size(), syntax) == 0) return {true};
    return {false};
}

TEST(CheckerCommandTable, SizesAreWhereTheHandlersStartToRefuse) {
    for (int k = 0; k < commands::kInstallerKeywordCount; ++k) {
        const char* word = commands::kInstallerKeywords[k].word;
        const checker::CommandSpec* spec = checker::FindCommandSpec(word);
        ASSERT_NE(spec, nullptr) << word << " has no row in the checker's table";
        for (int j = 0; j < spec->argCount; ++j) {
            const checker::ArgSpec& a = spec->args[j];
            if (a.kind == ArgKind::Number || a.kind == ArgKind::RootIndex || a.kind == ArgKind::ModeWord ||
                a.kind == ArgKind::CheckWord)
                continue;  // their texts are words, the size is only a bound
            const size_t fits = a.size - 1;
            EXPECT_FALSE(RunWithLength(word, *spec, j, fits).syntaxError)
                << word << " argument " << j + 1 << " refused at " << fits << " bytes";
            const bool refused = RunWithLength(word, *spec, j, fits + 1).syntaxError;
            EXPECT_EQ(refused, a.kind != ArgKind::CutText)
                << word << " argument " << j + 1 << " at " << fits + 1 << " bytes: the table says "
                << (a.kind == ArgKind::CutText ? "cut" : "refused");
        }
    }
}

TEST(CheckerCommandTable, ArgumentCountsMatchWhatTheHandlersRead) {
    // One argument fewer than the table lists is a syntax error for a required one.
    for (int k = 0; k < commands::kInstallerKeywordCount; ++k) {
        const char* word = commands::kInstallerKeywords[k].word;
        const checker::CommandSpec* spec = checker::FindCommandSpec(word);
        ASSERT_NE(spec, nullptr);
        int required = 0;
        while (required < spec->argCount && !spec->args[required].optional) ++required;
        if (required == 0) continue;
        checker::CommandSpec shorter = *spec;
        shorter.argCount = required - 1;
        EXPECT_TRUE(RunWithLength(word, shorter, -1, 0).syntaxError) << word << " with one argument too few";
    }
}

TEST(CheckerOptionKeys, AreTheKeysTheOptionsReaderAsksFor) {
    std::ifstream in(std::filesystem::path(TAVREL_CHECKER_SOURCE_DIR) / "installer" / "options.cpp");
    ASSERT_TRUE(in) << "installer/options.cpp not found";
    std::stringstream s;
    s << in.rdbuf();
    const std::string source = s.str();
    std::set<std::string> theirs;
    const std::regex call(R"(GetOption(String|Int)\(e,\s*\"([A-Za-z0-9]+)\")");
    for (auto it = std::sregex_iterator(source.begin(), source.end(), call); it != std::sregex_iterator(); ++it)
        theirs.insert((*it)[2]);
    const std::regex mes(R"(\"(InstMes[0-9])\")");
    for (auto it = std::sregex_iterator(source.begin(), source.end(), mes); it != std::sregex_iterator(); ++it)
        theirs.insert((*it)[1]);
    std::set<std::string> ours;
    for (int i = 0; i < checker::kOptionKeyCount; ++i) ours.insert(checker::kOptionKeys[i].name);
    EXPECT_EQ(ours, theirs);
}

}  // namespace
