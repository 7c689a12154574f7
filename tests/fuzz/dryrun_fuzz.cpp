// Any bytes as the CD's TAVREL.INF for the checker's dry run: start-up, then every button
// in turn, with answers from a small answer file, on both Windows families. The
// transcript must be valid UTF-8 and its JSON form must parse.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/fuzz_checks.h"
#include "tools/checker/dry_run.h"

namespace {

using fuzzcheck::Require;
using fuzzcheck::IsUtf8;

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    Require(f != nullptr);
    Require(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    std::fclose(f);
}

// One scratch CD folder per process, removed at exit: the script, a picture name and a
// data folder for the copy commands to find.
struct ScratchCd {
    fs::path root;
    ScratchCd() {
        char name[] = "/tmp/tavrel-dryrun-fuzz-XXXXXX";
        Require(mkdtemp(name) != nullptr);
        root = name;
        fs::create_directories(root / "DATA");
        WriteFile(root / "DATA" / "A.DAT", std::string(3000, 'a'));
        WriteFile(root / "GAME.EXE", "MZ");
    }
    ~ScratchCd() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchCd cd;
    WriteFile(cd.root / "TAVREL.INF", std::string(reinterpret_cast<const char*>(data), size));

    checker::DryRunOptions o;
    o.cdFolder = cd.root.string();
    o.actions = {checker::DryAction::Setup, checker::DryAction::Sub1, checker::DryAction::Play,
                 checker::DryAction::Sub2, checker::DryAction::Uninstall};
    // Loops are easy to write and each turn of one rescans the script: end them sooner
    // than the checker does, the rest of the run is the same.
    o.maxCommands = 3000;
    o.family95 = (size & 1) != 0;
    if (size & 2) o.destination = "E:\\GAMES";
    o.answers = (size & 4) ? "yes\nno\nmenu 2\nnotice stop\ncancel\n" : "# defaults\nok\nnotice proceed\n";
    checker::DryRunReport report;
    std::string error;
    Require(checker::RunDry(o, &report, &error));
    Require(IsUtf8(checker::FormatDryRun(report)));
    Require(fuzzjson::IsStrictJson(checker::FormatDryRunJson(report)));
    return 0;
}
