// The installer's registry record: opening it, its mark, reading stored texts of any
// shape safely, recording and forgetting an installation, and the two key tests.
#include <cstring>
#include <string>
#include <vector>

#include "commands/registry_accessor.h"
#include "tests/platform/system_command_fixture.h"

namespace {

using plat::RegRoot;
using systemtest::SystemCommandTest;

const char kOstrel[] = "SOFTWARE\\Tavrel\\Ostrel";

class RegistryAccessor : public SystemCommandTest {
protected:
    // Most tests point the accessor at the test's own key, so they never touch the
    // machine's record.
    void UseScratchKey() {
        bool created = false;
        ASSERT_EQ(sys().RegCreateKey(RegRoot::CurrentUser, tp().RegistryScratch().c_str(), plat::kKeyAllAccess,
                                     &e().accessorKey, &created),
                  plat::kRegOk);
    }
    void TearDown() override {
        commands::CloseRegistryAccessor(e());
        SystemCommandTest::TearDown();
    }
    std::string Scratch() { return tp().RegistryScratch(); }
};

// Under Wine the real record is put aside for the test and put back afterwards.
class MachineRecordGuard {
public:
    explicit MachineRecordGuard(SystemCommandTest* test) : test_(test) {
#ifdef _WIN32
        HKEY k;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kOstrel, 0, KEY_READ, &k) != ERROR_SUCCESS) return;
        had_ = true;
        for (DWORD i = 0;; ++i) {
            char name[256];
            BYTE data[2048];
            DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
            if (::RegEnumValueA(k, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
            saved_.push_back({name, type, std::string(reinterpret_cast<char*>(data), dataSize)});
        }
        ::RegCloseKey(k);
#endif
        (void)test_;
        Remove();
    }
    ~MachineRecordGuard() {
        Remove();
#ifdef _WIN32
        if (!had_) return;
        HKEY k;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, kOstrel, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
            ERROR_SUCCESS)
            return;
        for (const auto& v : saved_)
            ::RegSetValueExA(k, v.name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.data.data()),
                             static_cast<DWORD>(v.data.size()));
        ::RegCloseKey(k);
#endif
    }

private:
    void Remove() { test_->DeleteKeyTreeForGuard(RegRoot::CurrentUser, kOstrel); }
    struct Saved {
        std::string name;
        unsigned long type;
        std::string data;
    };
    SystemCommandTest* test_;
    bool had_ = false;
    std::vector<Saved> saved_;
};

TEST_F(RegistryAccessor, ANewRecordIsMarkedOnceWithOstrelWithoutAZero) {
    MachineRecordGuard guard(this);
    commands::OpenRegistryAccessor(e());
    ASSERT_NE(e().accessorKey, 0u);
    uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(GetValue(RegRoot::CurrentUser, kOstrel, "DisplayName", &type, &bytes));
    EXPECT_EQ(type, plat::kRegSz);
    EXPECT_EQ(std::string(bytes.c_str()), "Ostrel");
    if (tp().IsSimulated()) {
        EXPECT_EQ(bytes.size(), 6u);
    }

    // A later start finds the key and leaves the mark alone.
    commands::CloseRegistryAccessor(e());
    ASSERT_TRUE(PutValue(RegRoot::CurrentUser, kOstrel, "DisplayName", plat::kRegSz, std::string("Other", 6)));
    commands::OpenRegistryAccessor(e());
    EXPECT_EQ(Text(RegRoot::CurrentUser, kOstrel, "DisplayName"), "Other");
    commands::CloseRegistryAccessor(e());
}

TEST_F(RegistryAccessor, StoredTextsAlwaysEndInsideTheBuffer) {
    UseScratchKey();
    const std::string key = Scratch();
    ASSERT_TRUE(PutValue(RegRoot::CurrentUser, key, "NoZero", plat::kRegSz, "Ostrel"));
    ASSERT_TRUE(PutValue(RegRoot::CurrentUser, key, "Dword", plat::kRegDword, std::string("\x41\x42\x43\x44", 4)));
    ASSERT_TRUE(PutValue(RegRoot::CurrentUser, key, "Long", plat::kRegSz, std::string(300, 'L') + '\0'));
    ASSERT_TRUE(PutValue(RegRoot::CurrentUser, key, "Empty", plat::kRegSz, ""));

    // Guard bytes after the size handed over must survive every read.
    char buffer[300];
    auto read = [&](const char* name, uint32_t size) {
        std::memset(buffer, 0x5A, sizeof buffer);
        return commands::ReadSetting(e(), name, buffer, size);
    };

    EXPECT_EQ(read("NoZero", 128), 1);
    EXPECT_STREQ(buffer, "Ostrel");

    EXPECT_EQ(read("NoZero", 6), 0);  // six letters and no room for the zero: cut
    EXPECT_STREQ(buffer, "Ostre");
    EXPECT_EQ(buffer[6], 0x5A);

    EXPECT_EQ(read("Dword", 4), 0);
    EXPECT_STREQ(buffer, "ABC");
    EXPECT_EQ(buffer[4], 0x5A);
    EXPECT_EQ(read("Dword", 260), 1);
    EXPECT_STREQ(buffer, "ABCD");

    EXPECT_EQ(read("Long", 260), 0);
    EXPECT_EQ(std::strlen(buffer), 259u);
    EXPECT_EQ(buffer[260], 0x5A);

    EXPECT_EQ(read("Empty", 260), 1);
    EXPECT_STREQ(buffer, "");

    // A missing value leaves the buffer as it was.
    std::memset(buffer, 0, sizeof buffer);
    std::strcpy(buffer, "kept");
    EXPECT_EQ(commands::ReadSetting(e(), "Absent", buffer, 260), 0);
    EXPECT_STREQ(buffer, "kept");
}

TEST_F(RegistryAccessor, RecordInstallationKeepsTheBaseFolderAndTheDestination) {
    UseScratchKey();
    std::snprintf(e().options.dstDir, sizeof e().options.dstDir, "GAME");
    struct Case {
        const char* dest;
        const char* base;
    } cases[] = {
        {"D:\\TAVREL\\GAME\\", "D:\\"},
        {"D:\\GAMES\\TAVREL\\GAME\\", "D:\\GAMES"},
        // ソ ends in the byte of a backslash: it is part of the name, not a separator.
        {"D:\\ソ\\TAVREL\\GAME\\", "D:\\ソ"},
    };
    for (const Case& c : cases) {
        std::snprintf(e().env.destFolder, sizeof e().env.destFolder, "%s", c.dest);
        EXPECT_EQ(commands::RecordInstallation(e()), 1) << c.dest;
        EXPECT_EQ(Text(RegRoot::CurrentUser, Scratch(), "Path"), c.base) << c.dest;
        EXPECT_EQ(Text(RegRoot::CurrentUser, Scratch(), "GAME"), c.dest);
    }
    uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(GetValue(RegRoot::CurrentUser, Scratch(), "GAME", &type, &bytes));
    EXPECT_EQ(type, plat::kRegSz);

    char folder[260];
    EXPECT_EQ(commands::ReadSetting(e(), "GAME", folder, sizeof folder), 1);
    EXPECT_STREQ(folder, "D:\\ソ\\TAVREL\\GAME\\");

    commands::ForgetInstallation(e());
    EXPECT_EQ(Text(RegRoot::CurrentUser, Scratch(), "GAME"), "<missing>");
    EXPECT_EQ(Text(RegRoot::CurrentUser, Scratch(), "Path"), "D:\\ソ");
}

TEST_F(RegistryAccessor, WithoutItsKeyEveryOperationFails) {
    e().accessorKey = 0;
    char buffer[16] = "kept";
    EXPECT_EQ(commands::ReadSetting(e(), "Path", buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "kept");
    EXPECT_EQ(commands::WriteSetting(e(), "Path", "C:\\"), 0);
    std::snprintf(e().env.destFolder, sizeof e().env.destFolder, "C:\\TAVREL\\GAME\\");
    EXPECT_EQ(commands::RecordInstallation(e()), 0);
}

TEST_F(RegistryAccessor, KeyTestsNeedReadAndWriteAccessUnderTheMachine) {
    std::string key = OwnKey(RegRoot::LocalMachine, "Exists");
    EXPECT_EQ(commands::KeyExistsMachine(e(), key.c_str()), 0);
    ASSERT_TRUE(MakeKey(RegRoot::LocalMachine, key));
    EXPECT_EQ(commands::KeyExistsMachine(e(), key.c_str()), 1);
    if (plat::SimWindows* sim = tp().Sim()) {
        sim->RegSetReadOnly(RegRoot::LocalMachine, key, true);
        EXPECT_EQ(commands::KeyExistsMachine(e(), key.c_str()), 0);
        sim->RegSetReadOnly(RegRoot::LocalMachine, key, false);
    }
    // The same path under the current user does not count.
    std::string userKey = OwnKey(RegRoot::CurrentUser, "UserOnly");
    ASSERT_TRUE(MakeKey(RegRoot::CurrentUser, userKey));
    EXPECT_EQ(commands::KeyExistsMachine(e(), userKey.c_str()), 0);
}

TEST_F(RegistryAccessor, TheMakerKeyIsCreatedWhenMissing) {
    if (tp().Sim()) {
        EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, "SOFTWARE\\Tavrel"));
    }
    EXPECT_EQ(commands::EnsureMakerKey(e()), 1);
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, "SOFTWARE\\Tavrel"));
    EXPECT_EQ(commands::EnsureMakerKey(e()), 1);
}

}  // namespace
