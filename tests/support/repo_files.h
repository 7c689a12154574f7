// How the unit suites read the repository's own files: the scripts in tests/checker and
// demo/cd, the manual, and the demo CD laid out as the build lays it out. Header-only, so
// that the Wine suites, which never read the tree, do not build it.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/checker/text_encoding.h"

namespace testsupport {

namespace fs = std::filesystem;

inline fs::path SourceDir() { return TAVREL_CHECKER_SOURCE_DIR; }

inline std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A script as the CD holds it: *.inf are kept as UTF-8 with LF and become Shift-JIS with
// CR LF; *.raw are the bytes as they stand (faults in the bytes themselves). False when a
// character has no Shift-JIS form.
inline bool ReadScript(const fs::path& path, std::string* bytes) {
    if (path.extension() == ".raw") {
        *bytes = ReadAll(path);
        return true;
    }
    return checker::Utf8SourceToScript(ReadAll(path), bytes);
}

// The demo CD as the layout makes it, the built programs the manifest adds replaced by
// small stand-ins. One folder per process (named from prefix), as ctest and other
// worktrees run tests side by side.
inline fs::path LayOutDemoCd(const std::string& prefix) {
    const fs::path source = SourceDir() / "demo";
    const fs::path cd = fs::temp_directory_path() / (prefix + std::to_string(::getpid()));
    fs::remove_all(cd);
    fs::copy(source / "cd", cd, fs::copy_options::recursive);
    std::istringstream manifest(ReadAll(source / "cd.manifest"));
    std::string line;
    while (std::getline(manifest, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string name, dest;
        words >> name >> dest;
        const fs::path target = cd / (dest == "." ? "" : dest) / name;
        fs::create_directories(target.parent_path());
        if (!fs::exists(target)) std::ofstream(target, std::ios::binary) << "MZ";
    }
    return cd;
}

}  // namespace testsupport
