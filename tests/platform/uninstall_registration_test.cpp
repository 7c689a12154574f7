// The product's uninstall entry: exactly two values, quiet removal, the refusal of an
// empty product name that would name the Uninstall key itself, and the DirectX test.
#include <algorithm>
#include <string>

#include "commands/uninstall_registration.h"

#include "tests/platform/system_command_fixture.h"

namespace {

using plat::RegRoot;
using systemtest::SystemCommandTest;

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class UninstallEntry : public SystemCommandTest {
protected:
    // A product name of this test's own, so the machine's entries are never touched.
    std::string UseProduct(const std::string& name) {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string product = std::string("TavrelTest-") + info->name() + name;
        std::snprintf(e().options.dstDir, sizeof e().options.dstDir, "%s", product.c_str());
        CleanUpKey(RegRoot::LocalMachine, kUninstall + "\\" + product);
        return kUninstall + "\\" + product;
    }
};

TEST_F(UninstallEntry, HoldsExactlyTheNameAndTheCommand) {
    std::string entry = UseProduct("");
    EXPECT_EQ(Run("UNINSTINFO \"デモ ゲーム\",\"C:\\TAVREL\\DEMO\\OSTREL.EXE -u\""), 0);
    EXPECT_TRUE(Boxes().empty());
    std::vector<std::string> names = ValueNames(RegRoot::LocalMachine, entry);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"DisplayName", "UninstallString"}));
    uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(GetValue(RegRoot::LocalMachine, entry, "DisplayName", &type, &bytes));
    EXPECT_EQ(type, plat::kRegSz);
    EXPECT_EQ(bytes, std::string("デモ ゲーム") + '\0');
    ASSERT_TRUE(GetValue(RegRoot::LocalMachine, entry, "UninstallString", &type, &bytes));
    EXPECT_EQ(bytes, std::string("C:\\TAVREL\\DEMO\\OSTREL.EXE -u") + '\0');

    // A second install overwrites the same entry.
    EXPECT_EQ(Run("UNINSTINFO Demo,X.EXE"), 0);
    EXPECT_EQ(Text(RegRoot::LocalMachine, entry, "DisplayName"), "Demo");
    EXPECT_EQ(ValueNames(RegRoot::LocalMachine, entry).size(), 2u);

    EXPECT_EQ(Run("CLRUNINSTINFO"), 0);
    EXPECT_FALSE(KeyExists(RegRoot::LocalMachine, entry));
    EXPECT_EQ(Run("CLRUNINSTINFO"), 0);  // no entry: still quiet
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(UninstallEntry, AMissingCommandWritesNothing) {
    std::string entry = UseProduct("");
    EXPECT_EQ(Run("UNINSTINFO Demo"), -1);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, SyntaxErrorText());
    EXPECT_FALSE(KeyExists(RegRoot::LocalMachine, entry));
}

// Without a product name the entry would be the Uninstall key itself; on the 95 family
// deleting it removes every program's entry. Both commands refuse, on both families.
TEST_F(UninstallEntry, AnEmptyProductNameLeavesTheUninstallKeyAlone) {
    std::string other = UseProduct("Other");
    ASSERT_TRUE(PutValue(RegRoot::LocalMachine, other, "DisplayName", plat::kRegSz, std::string("Other", 6)));
    e().options.dstDir[0] = '\0';
    for (bool nt : {true, false}) {
        if (plat::SimWindows* sim = tp().Sim()) nt ? sim->SetFamilyNT() : sim->SetFamily95();
        e().runningOnNT = nt;
        tp().ClearMessageBoxes();
        EXPECT_EQ(Run("UNINSTINFO Demo,X.EXE"), -1) << nt;
        EXPECT_EQ(Run("CLRUNINSTINFO"), -1) << nt;
        auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 2u) << nt;
        for (const auto& b : boxes) EXPECT_EQ(b.text, SyntaxErrorText());
        EXPECT_EQ(Text(RegRoot::LocalMachine, other, "DisplayName"), "Other") << nt;
        EXPECT_EQ(Text(RegRoot::LocalMachine, kUninstall, "DisplayName"), "<missing>") << nt;
        EXPECT_EQ(Text(RegRoot::LocalMachine, kUninstall, "UninstallString"), "<missing>") << nt;
    }
}

TEST_F(UninstallEntry, KeysThatCannotBeOpenedAreReportedOnlyOn95) {
    SKIP_UNLESS_SIMULATED("an Uninstall key that refuses write access");
    std::string entry = UseProduct("");
    ASSERT_TRUE(MakeKey(RegRoot::LocalMachine, kUninstall));
    tp().Sim()->RegSetReadOnly(RegRoot::LocalMachine, kUninstall, true);

    EXPECT_EQ(Run("UNINSTINFO Demo,X.EXE"), 0);
    EXPECT_TRUE(Boxes().empty());

    e().runningOnNT = false;
    EXPECT_EQ(Run("UNINSTINFO Demo,X.EXE"), 0);
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "レジストリキーのオープンに失敗しました。");
    EXPECT_EQ(boxes[1].text, "レジストリキーの作成に失敗しました。");
    for (const auto& b : boxes) {
        EXPECT_EQ(b.caption, "Setup");
        EXPECT_EQ(b.style, plat::kMbOk);
        EXPECT_EQ(b.owner, 0u);
    }
    EXPECT_FALSE(KeyExists(RegRoot::LocalMachine, entry));
}

TEST_F(UninstallEntry, DirectXEntryCountsOnlyWhenWritable) {
    SKIP_UNLESS_SIMULATED("the machine's own DirectX entry is not ours to make or remove");
    const std::string dx = kUninstall + "\\DirectXDrivers";
    EXPECT_EQ(commands::HasDirectXUninstallEntry(e()), 0);
    ASSERT_TRUE(MakeKey(RegRoot::LocalMachine, dx));
    EXPECT_EQ(commands::HasDirectXUninstallEntry(e()), 1);
    tp().Sim()->RegSetReadOnly(RegRoot::LocalMachine, dx, true);
    EXPECT_EQ(commands::HasDirectXUninstallEntry(e()), 0);
}

}  // namespace
