// A fixture for the system command suites (registry, uninstall entry, shortcuts, EXE):
// an installer engine on the test platform, a way to run one script line, and registry
// helpers that work the same on the simulation and on the real registry.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "commands/keyword_tables.h"
#include "platform/sim/sim_windows.h"
#include "script/dispatch.h"
#include "script/engine.h"
#include "tests/support/test_platform.h"

#ifdef _WIN32
#include "platform/win32/windows_clean.h"
#endif

namespace systemtest {

// Records what EXE asks of the installer's windows.
class RecordingHost : public script::Host {
public:
    std::vector<plat::ProcessHandle> waits;
    void RunAndWait(plat::ProcessHandle process) override { waits.push_back(process); }
};

class SystemCommandTest : public testsupport::PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        engine_ = std::make_unique<script::Engine>();
        commands::ConfigureInstallerEngine(e());
        e().sys = &sys();
        e().host = &host_;
        e().runningOnNT = true;
        e().script.lineCount = 7;
    }
    void TearDown() override {
        for (const auto& k : cleanup_) DeleteKeyTree(k.root, k.path);
        engine_.reset();
        PlatformTest::TearDown();
    }

    script::Engine& e() { return *engine_; }

    // Runs one script line through the keyword table; the handler's result.
    int Run(const std::string& line) {
        EXPECT_LT(line.size(), sizeof e().script.line);
        std::memset(e().script.line, 0, sizeof e().script.line);
        std::memcpy(e().script.line, line.data(), line.size());
        e().script.argPos = 0;
        e().script.matchLength = 0;
        e().script.quoted = false;
        return script::DispatchLine(e());
    }

    // The syntax error as the idle launcher shows it for the fixture's line 7.
    static std::string SyntaxErrorText() { return "文法エラーです。\n7行"; }

    std::vector<testsupport::MessageBoxRecord> Boxes() { return tp().MessageBoxes(); }

    // A key path of this test's own below any root; removed again after the test.
    std::string OwnKey(plat::RegRoot root, const std::string& leaf) {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string path = std::string("Software\\TavrelTests\\") + info->name() + "-" + leaf;
        cleanup_.push_back({root, path});
        return path;
    }
    void CleanUpKey(plat::RegRoot root, const std::string& path) { cleanup_.push_back({root, path}); }

    bool KeyExists(plat::RegRoot root, const std::string& path) {
        plat::KeyHandle k = 0;
        if (sys().RegOpenKey(root, path.c_str(), plat::kKeyRead, &k) != plat::kRegOk) return false;
        sys().RegCloseKey(k);
        return true;
    }
    bool MakeKey(plat::RegRoot root, const std::string& path) {
        plat::KeyHandle k = 0;
        bool created = false;
        if (sys().RegCreateKey(root, path.c_str(), plat::kKeyAllAccess, &k, &created) != plat::kRegOk) return false;
        sys().RegCloseKey(k);
        return true;
    }
    bool PutValue(plat::RegRoot root, const std::string& path, const char* name, uint32_t type,
                  const std::string& bytes) {
        plat::KeyHandle k = 0;
        bool created = false;
        if (sys().RegCreateKey(root, path.c_str(), plat::kKeyAllAccess, &k, &created) != plat::kRegOk) return false;
        long r = sys().RegSetValue(k, name, type, bytes.data(), static_cast<uint32_t>(bytes.size()));
        sys().RegCloseKey(k);
        return r == plat::kRegOk;
    }
    // The stored bytes of a value, or false.
    bool GetValue(plat::RegRoot root, const std::string& path, const char* name, uint32_t* type, std::string* bytes) {
        plat::KeyHandle k = 0;
        if (sys().RegOpenKey(root, path.c_str(), plat::kKeyRead, &k) != plat::kRegOk) return false;
        char buffer[1024];
        uint32_t size = sizeof buffer;
        long r = sys().RegQueryValue(k, name, type, buffer, &size);
        sys().RegCloseKey(k);
        if (r != plat::kRegOk) return false;
        bytes->assign(buffer, size);
        return true;
    }
    // A string value's text up to its zero; "<missing>" when there is no such value.
    std::string Text(plat::RegRoot root, const std::string& path, const char* name) {
        uint32_t type = 0;
        std::string bytes;
        if (!GetValue(root, path, name, &type, &bytes)) return "<missing>";
        return std::string(bytes.c_str());
    }

    std::vector<std::string> ValueNames(plat::RegRoot root, const std::string& path) {
        if (plat::SimWindows* sim = tp().Sim()) return sim->RegValueNames(root, path);
        std::vector<std::string> names;
#ifdef _WIN32
        HKEY k;
        if (::RegOpenKeyExA(Hkey(root), path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return names;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD size = sizeof name;
            if (::RegEnumValueA(k, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            names.push_back(name);
        }
        ::RegCloseKey(k);
#endif
        return names;
    }

    // Removes a key with everything below it, on either family.
    void DeleteKeyTree(plat::RegRoot root, const std::string& path) {
#ifdef _WIN32
        if (!tp().IsSimulated()) {
            DeleteTree(Hkey(root), path);
            return;
        }
#endif
        if (plat::SimWindows* sim = tp().Sim()) {
            for (const std::string& sub : sim->RegSubkeys(root, path)) DeleteKeyTree(root, path + "\\" + sub);
        }
        sys().RegDeleteKey(root, path.c_str());
    }

#ifdef _WIN32
    static HKEY Hkey(plat::RegRoot root) {
        switch (root) {
            case plat::RegRoot::CurrentUser: return HKEY_CURRENT_USER;
            case plat::RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
            case plat::RegRoot::Users: return HKEY_USERS;
            case plat::RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
            case plat::RegRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
        }
        return HKEY_CURRENT_USER;
    }
    static void DeleteTree(HKEY root, const std::string& path) {
        HKEY k;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
            char name[256];
            while (::RegEnumKeyA(k, 0, name, sizeof name) == ERROR_SUCCESS) DeleteTree(k, name);
            ::RegCloseKey(k);
        }
        ::RegDeleteKeyA(root, path.c_str());
    }
#endif

    RecordingHost host_;

public:
    void DeleteKeyTreeForGuard(plat::RegRoot root, const std::string& path) { DeleteKeyTree(root, path); }

private:
    struct KeyToRemove {
        plat::RegRoot root;
        std::string path;
    };
    std::unique_ptr<script::Engine> engine_;
    std::vector<KeyToRemove> cleanup_;
};

}  // namespace systemtest
