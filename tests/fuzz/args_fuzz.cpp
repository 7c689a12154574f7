// Any bytes as script text for the option reader and the argument reader alone, with
// every variable at the longest value its buffer holds (plain, ending in a two-byte
// character, or in one cut in half). Every line is read as a command's arguments into
// buffers of the sizes the handlers use (allocated to the byte, so a write past them is
// caught), refused and cut; the options are read into their fields. Much faster than
// the whole-script target, so it goes deeper into these two readers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "tests/fuzz/fuzz_checks.h"
#include "commands/keyword_tables.h"
#include "installer/options.h"
#include "platform/null_platform.h"
#include "script/argument_reader.h"
#include "script/engine.h"
#include "script/script_text.h"
#include "text/text_rules.h"

namespace {

using fuzzcheck::Require;

constexpr int kMaxLines = 64;
constexpr int kArgumentsPerLine = 8;
// The buffer sizes handlers read into: paths, labels, captions, titles, and the smallest.
constexpr size_t kSizes[] = {script::kPathSize, 18, 20, 44, 80, 120, 1, 2, 3};

// Fills a buffer with its longest value: size - 1 bytes of Shift-JIS text whose end is
// chosen by style (0 plain, 1 a whole two-byte character, 2 a lone lead byte, 3 a
// trail byte that is a backslash).
void Fill(char* buffer, size_t size, int style) {
    static const char kPattern[] = "C:\\Program Files\\\x83\x51\x81\x5B\x83\x80\\";  // "ゲーム" in Shift-JIS
    const size_t n = size - 1;
    for (size_t i = 0; i < n; ++i) buffer[i] = 'A' + static_cast<char>(i % 26);
    for (size_t i = 0; i + 1 < sizeof kPattern && i < n; ++i) buffer[i] = kPattern[i];
    if (n >= 2 && style == 1) std::memcpy(buffer + n - 2, "\x82\xA0", 2);
    if (n >= 1 && style == 2) buffer[n - 1] = '\x82';
    if (n >= 2 && style == 3) std::memcpy(buffer + n - 2, "\x95\x5C", 2);  // 表
    buffer[n] = 0;
}

void LongVariables(script::Engine& e, int style) {
    script::VariableValues& v = e.vars;
    for (char* b : {v.srcDir, v.dstDir, v.exeDir, v.winDir, v.tavrelDir, v.instDir, v.instTavDir})
        Fill(b, script::kPathSize, style);
    for (char* b : {v.srcDrv, v.dstDrv, v.winDrv, v.tavrelDrv, v.instDrv}) Fill(b, 4, style);
    Fill(e.options.title, sizeof e.options.title, style);
    Fill(e.options.exeName, sizeof e.options.exeName, style);
}

bool Terminated(const char* buffer, size_t size) { return strnlen(buffer, size) < size; }

void ReadLineArguments(script::Engine& e, int line) {
    script::ScriptText& s = e.script;
    s.argPos = 0;
    s.quoted = false;
    // As after a keyword: a command word of the line's first few bytes was matched.
    s.matchLength = line % 3 == 0 ? 0 : static_cast<int>(strnlen(s.line, 1 + line % 12));
    for (int k = 0; k < kArgumentsPerLine; ++k) {
        const size_t size = kSizes[(line + k) % (sizeof kSizes / sizeof kSizes[0])];
        std::unique_ptr<char[]> out(new char[size]);
        const int before = s.argPos;
        const script::Overflow overflow = ((line + k) & 1) ? script::Overflow::Cut : script::Overflow::Refuse;
        const int got = (k & 2) ? script::ReadOptionalArgument(e, out.get(), size, overflow)
                                : script::ReadArgument(e, out.get(), size, overflow);
        Require(s.argPos >= before && s.argPos < script::kLineCapacity);
        Require(Terminated(out.get(), size));
        if (got == 1) {
            // Only a cut can leave nothing: a two-byte character in a two-byte buffer.
            Require(out[0] != 0 || overflow == script::Overflow::Cut);
            const int value = script::ParseDecimal(out.get());
            Require(value >= 0 && value <= 9999999);
        } else {
            Require(out[0] == 0);
        }
        if (got != 1 && s.argPos == before) break;
    }
}

void ReadAllOptions(script::Engine& e) {
    installer::ReadOptions(e);
    const script::Options& o = e.options;
    Require(Terminated(o.className, sizeof o.className) && Terminated(o.title, sizeof o.title));
    Require(Terminated(o.yearRight, sizeof o.yearRight) && Terminated(o.srcDir, sizeof o.srcDir));
    Require(Terminated(o.dstDir, sizeof o.dstDir) && Terminated(o.exeName, sizeof o.exeName));
    for (const char* t : {o.setupText, o.exitText, o.uninstText, o.playText}) Require(Terminated(t, 41));
    for (const auto& m : o.instMes) Require(Terminated(m, sizeof m));
    Require(Terminated(o.instTitle, sizeof o.instTitle) && Terminated(o.instUpdate, sizeof o.instUpdate));
    Require(Terminated(e.env.sourceFolder, sizeof e.env.sourceFolder));
    // The lookups alone, into buffers of one to a few bytes.
    for (const char* key : {"Title", "InstMes1", "S"}) {
        for (size_t size = 1; size <= 3; ++size) {
            std::unique_ptr<char[]> out(new char[size]);
            out[0] = 0;
            installer::GetOptionString(e, key, "default", out.get(), size);
            Require(Terminated(out.get(), size));
        }
        installer::GetOptionInt(e, key, -1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static plat::NullPlatform sys;
    static script::Engine e;  // 20 KB of buffers: kept off the stack
    e = script::Engine{};
    commands::ConfigureInstallerEngine(e);
    e.sys = &sys;
    const int style = static_cast<int>(size % 4);
    Fill(e.env.programFolder, sizeof e.env.programFolder, style);
    Fill(e.env.windowsFolder, sizeof e.env.windowsFolder, style);
    LongVariables(e, style);

    const int n = static_cast<int>(size > script::kScriptCapacity ? script::kScriptCapacity : size);
    std::memcpy(e.script.text, data, n);
    e.script.length = n;
    e.script.readPos = 0;
    for (int line = 0; line < kMaxLines; ++line) {
        const int read = script::ReadScriptLine(e);
        script::TrimLineEnd(e.script.line);
        const int resume = e.script.readPos;
        ReadLineArguments(e, line);
        e.script.readPos = resume;
        if (read == -1) break;
    }
    ReadAllOptions(e);
    return 0;
}
