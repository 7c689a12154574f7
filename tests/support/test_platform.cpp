// Helpers shared by both test platforms: whole-file reads and writes through the layer
// under test, listing, and the per-test fixture.
#include "tests/support/test_platform.h"

#include <algorithm>

namespace testsupport {

bool TestPlatform::WriteWholeFile(const std::string& path, const std::string& bytes) {
    plat::FileCause cause = plat::kCauseNone;
    plat::FileHandle f = Sys().CreateForWrite(path.c_str(), &cause);
    if (!f) return false;
    bool ok = Sys().WriteFile(f, bytes.data(), static_cast<uint32_t>(bytes.size()), &cause);
    return Sys().CloseFile(f, &cause) && ok;
}

bool TestPlatform::ReadWholeFile(const std::string& path, std::string* bytes) {
    bytes->clear();
    plat::FileCause cause = plat::kCauseNone;
    plat::FileHandle f = Sys().OpenForRead(path.c_str(), &cause);
    if (!f) return false;
    char buffer[4096];
    bool ok = true;
    for (;;) {
        uint32_t got = 0;
        if (!Sys().ReadFile(f, buffer, sizeof buffer, &got, &cause)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        bytes->append(buffer, got);
    }
    Sys().CloseFile(f, &cause);
    return ok;
}

std::string TestPlatform::ReadWholeFile(const std::string& path) {
    std::string bytes;
    return ReadWholeFile(path, &bytes) ? bytes : std::string();
}

bool TestPlatform::Exists(const std::string& path) {
    plat::FileInfo info;
    return Sys().GetFileInfo(path.c_str(), &info);
}

bool TestPlatform::IsFolder(const std::string& path) {
    plat::FileInfo info;
    return Sys().GetFileInfo(path.c_str(), &info) && (info.attributes & plat::kAttrDirectory);
}

std::vector<std::string> TestPlatform::List(const std::string& folder) {
    std::vector<std::string> names;
    std::string pattern = folder;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += '*';
    plat::FindEntry entry;
    plat::SearchHandle s = Sys().FindFirst(pattern.c_str(), &entry);
    if (!s) return names;
    do {
        std::string name = entry.name;
        if (name != "." && name != "..") names.push_back(name);
    } while (Sys().FindNext(s, &entry));
    Sys().FindClose(s);
    std::sort(names.begin(), names.end());
    return names;
}

void PlatformTest::SetUp() { tp_ = MakeTestPlatform(); }

void PlatformTest::TearDown() { tp_.reset(); }

}  // namespace testsupport
