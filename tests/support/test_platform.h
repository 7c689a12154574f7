// The platform a suite in tests/platform/ runs on: the simulated Windows natively, the
// real Win32 layer under Wine. Suites are written once against this and plat::Platform.
//
// Use the fixture:
//
//   class CopyTest : public testsupport::PlatformTest {};
//   TEST_F(CopyTest, CopiesOneFile) {
//       ASSERT_TRUE(tp().WriteWholeFile(tp().Path("A.DAT"), "abc"));
//       script::Engine e; e.sys = &sys(); ...
//       EXPECT_EQ(tp().MessageBoxes().size(), 1u);
//   }
//
// Every test gets a fresh scratch folder (Scratch(), with a trailing backslash: C:\T\ in
// the simulation, C:\tavrel-tests\<Suite>.<Test>\ under Wine, removed afterwards) and a
// fresh registry key below HKEY_CURRENT_USER (RegistryScratch(), without backslashes at
// either end, removed afterwards). The current directory is restored after each test.
// Message boxes never show: they are answered from a queue (unanswered: IDOK for OK
// boxes, IDNO for Yes/No, IDCANCEL for OK/Cancel) and recorded.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace plat {
class SimWindows;
}

namespace testsupport {

struct MessageBoxRecord {
    plat::WindowHandle owner = 0;
    std::string text;
    std::string caption;
    unsigned style = 0;
    int answer = 0;
};

class TestPlatform {
public:
    virtual ~TestPlatform() = default;

    virtual plat::Platform& Sys() = 0;
    virtual bool IsSimulated() const = 0;
    // The simulation's test-facing side; nullptr under Wine.
    virtual plat::SimWindows* Sim() { return nullptr; }

    // Scratch folder with trailing backslash, and a path inside it.
    const std::string& Scratch() const { return scratch_; }
    std::string Path(const std::string& name) const { return scratch_ + name; }
    // A fresh key below HKEY_CURRENT_USER, e.g. "Software\TavrelTests\Suite.Test".
    const std::string& RegistryScratch() const { return regScratch_; }

    // Message boxes.
    virtual void QueueMessageBoxAnswer(int answer) = 0;
    virtual std::vector<MessageBoxRecord> MessageBoxes() = 0;
    virtual void ClearMessageBoxes() = 0;
    // Puts a key-down message of the Enter key into the thread's message queue.
    virtual void QueueEnterKey() = 0;

    // Files, through the layer under test.
    bool WriteWholeFile(const std::string& path, const std::string& bytes);
    bool ReadWholeFile(const std::string& path, std::string* bytes);
    std::string ReadWholeFile(const std::string& path);  // "" when it cannot be read
    bool Exists(const std::string& path);                // file or folder
    bool IsFolder(const std::string& path);
    // Test set-up only (the programs never change attributes): replaces the attribute
    // bits of a file or folder (SetFileAttributes under Wine).
    virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
    // Names in a folder (without "." and ".."), sorted by byte value.
    std::vector<std::string> List(const std::string& folder);

    // Past the layer, in the system's own Unicode (the real Win32 layer only: false in the
    // simulation, which keeps Shift-JIS bytes). Names in a folder, sorted; a file made
    // under a name given as UTF-16; a registry text below HKEY_CURRENT_USER read and
    // written as UTF-16.
    virtual bool ListUnicode(const std::string& folder, std::vector<std::u16string>* names) { return false; }
    virtual bool CreateUnicodeFile(const std::string& folder, const std::u16string& name) { return false; }
    virtual bool ReadUnicodeRegistryText(const std::string& key, const std::string& value, std::u16string* text) {
        return false;
    }
    virtual bool WriteUnicodeRegistryText(const std::string& key, const std::string& value,
                                          const std::u16string& text) {
        return false;
    }

    // Lets time pass while a test waits for another program (nothing in the simulation,
    // whose programs end when the test says so).
    virtual void Pause(unsigned milliseconds) {}

protected:
    std::string scratch_;
    std::string regScratch_;
};

// Made by the program's main (sim_main.cc natively, win32_main.cc under Wine) for the
// running test; the scratch folder and registry key are ready when it returns.
std::unique_ptr<TestPlatform> MakeTestPlatform();

// Fixture for suites in tests/platform/.
class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    TestPlatform& tp() { return *tp_; }
    plat::Platform& sys() { return tp_->Sys(); }
    std::unique_ptr<TestPlatform> tp_;
};

// Skips the running test with a reason unless it runs on the simulation.
#define SKIP_UNLESS_SIMULATED(why)                                                  \
    do {                                                                            \
        if (!tp().IsSimulated()) GTEST_SKIP() << "needs the simulation: " << (why); \
    } while (0)

}  // namespace testsupport
