// REGCREATEKEY, REGSETSTRING and REGDELETE as a script runs them: the root indexes, the
// two families' failure rules, the runner's swapped roots and arguments that do not fit.
#include <string>

#include "commands/keyword_tables.h"
#include "tests/platform/system_command_fixture.h"

namespace {

using plat::RegRoot;
using systemtest::SystemCommandTest;

class RegistryCommands : public SystemCommandTest {};

const RegRoot kRootsByIndex[5] = {RegRoot::CurrentUser, RegRoot::LocalMachine, RegRoot::Users, RegRoot::ClassesRoot,
                                  RegRoot::CurrentConfig};

TEST_F(RegistryCommands, EachRootIndexReachesItsRoot) {
    for (int index = 0; index < 5; ++index) {
        std::string key = OwnKey(kRootsByIndex[index], "Root" + std::to_string(index));
        EXPECT_EQ(Run("REGCREATEKEY " + key + "," + std::to_string(index)), 0) << index;
        EXPECT_TRUE(KeyExists(kRootsByIndex[index], key)) << index;
        EXPECT_EQ(Run("REGSETSTRING " + key + ",Name,\"a b\"," + std::to_string(index)), 0) << index;
        EXPECT_EQ(Text(kRootsByIndex[index], key, "Name"), "a b") << index;
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RegistryCommands, NoIndexAndANonNumberMeanTheCurrentUser) {
    std::string plain = OwnKey(RegRoot::CurrentUser, "Plain");
    std::string word = OwnKey(RegRoot::CurrentUser, "Word");
    EXPECT_EQ(Run("REGCREATEKEY " + plain), 0);
    EXPECT_EQ(Run("REGCREATEKEY " + word + ",one"), 0);
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, plain));
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, word));
    EXPECT_FALSE(KeyExists(RegRoot::LocalMachine, word));
    EXPECT_EQ(Run("REGSETSTRING " + word + ",V,text,x1"), 0);
    EXPECT_EQ(Text(RegRoot::CurrentUser, word, "V"), "text");
}

TEST_F(RegistryCommands, IndexSevenFailsSilentlyOnNtAndWithTheMessageOn95) {
    std::string key = OwnKey(RegRoot::CurrentUser, "Seven");
    EXPECT_EQ(Run("REGCREATEKEY " + key + ",7"), 0);
    EXPECT_EQ(Run("REGSETSTRING " + key + ",V,x,7"), 0);
    EXPECT_TRUE(Boxes().empty());
    for (RegRoot root : kRootsByIndex) EXPECT_FALSE(KeyExists(root, key));

    e().runningOnNT = false;
    EXPECT_EQ(Run("REGCREATEKEY " + key + ",7"), -1);
    ASSERT_TRUE(MakeKey(RegRoot::CurrentUser, key));
    EXPECT_EQ(Run("REGSETSTRING " + key + ",V,x,7"), -1);
    EXPECT_EQ(Text(RegRoot::CurrentUser, key, "V"), "<missing>");
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "レジストリキーの作成に失敗しました。");
    EXPECT_EQ(boxes[1].text, "レジストリの値の設定に失敗しました。");
    for (const auto& b : boxes) {
        EXPECT_EQ(b.caption, "");
        EXPECT_EQ(b.style, plat::kMbOk | plat::kMbIconWarning);
    }
}

TEST_F(RegistryCommands, SetStringNeverCreatesTheKey) {
    std::string key = OwnKey(RegRoot::CurrentUser, "Missing");
    // NT family: nothing shown, the script goes on, nothing written.
    EXPECT_EQ(Run("REGSETSTRING " + key + ",Ver,1.0"), 0);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, key));

    // 95 family: the message, and the section stops.
    e().runningOnNT = false;
    EXPECT_EQ(Run("REGSETSTRING " + key + ",Ver,1.0"), -1);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "レジストリの値の設定に失敗しました。");
    EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, key));

    // Once the key exists the same line works and stores the text with its zero.
    EXPECT_EQ(Run("REGCREATEKEY " + key), 0);
    EXPECT_EQ(Run("REGSETSTRING " + key + ",Ver,1.0"), 0);
    EXPECT_EQ(Boxes().size(), 1u);
    uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(GetValue(RegRoot::CurrentUser, key, "Ver", &type, &bytes));
    EXPECT_EQ(type, plat::kRegSz);
    EXPECT_EQ(bytes, std::string("1.0", 4));
}

TEST_F(RegistryCommands, DeleteTakesTheIndexedRootAndNeverComplains) {
    std::string key = OwnKey(RegRoot::CurrentUser, "Del");
    CleanUpKey(RegRoot::LocalMachine, key);
    ASSERT_TRUE(MakeKey(RegRoot::CurrentUser, key));
    ASSERT_TRUE(MakeKey(RegRoot::LocalMachine, key));

    e().runningOnNT = false;
    EXPECT_EQ(Run("REGDELETE " + key + ",7"), 0);
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, key));
    EXPECT_TRUE(KeyExists(RegRoot::LocalMachine, key));

    EXPECT_EQ(Run("REGDELETE " + key + ",1"), 0);
    EXPECT_FALSE(KeyExists(RegRoot::LocalMachine, key));
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, key));

    EXPECT_EQ(Run("REGDELETE " + key), 0);
    EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, key));

    EXPECT_EQ(Run("REGDELETE " + key), 0);  // gone already
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RegistryCommands, MissingArgumentsAreSyntaxErrors) {
    std::string key = OwnKey(RegRoot::CurrentUser, "Args");
    EXPECT_EQ(Run("REGCREATEKEY"), -1);
    EXPECT_EQ(Run("REGSETSTRING " + key + ",Name"), -1);
    EXPECT_EQ(Run("REGDELETE ;" + key), -1);
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    for (const auto& b : boxes) EXPECT_EQ(b.text, SyntaxErrorText());
    EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, key));
}

// Variables make arguments longer than their line: a text that does not fit is refused,
// never cut into a shorter key or value name.
TEST_F(RegistryCommands, ArgumentsLongerThanTheirLimitsAreRefusedWhole) {
    std::string base = OwnKey(RegRoot::CurrentUser, "Long");
    ASSERT_TRUE(MakeKey(RegRoot::CurrentUser, base));
    std::string fill(200, 'K');
    std::snprintf(e().vars.srcDir, sizeof e().vars.srcDir, "%s", fill.c_str());
    // Key path: base + "\" + 200 + 60 bytes > 259.
    std::string whole = base + "\\" + fill + std::string(60, 'k');
    EXPECT_EQ(Run("REGCREATEKEY " + base + "\\%SrcDir%" + std::string(60, 'k')), -1);
    EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, whole.substr(0, 259)));

    // Value names hold 79 bytes: 79 goes, 80 is refused.
    std::string name79(79, 'N');
    std::snprintf(e().vars.srcDir, sizeof e().vars.srcDir, "%s", name79.c_str());
    EXPECT_EQ(Run("REGSETSTRING " + base + ",%SrcDir%,ok"), 0);
    EXPECT_EQ(Text(RegRoot::CurrentUser, base, name79.c_str()), "ok");
    EXPECT_EQ(Run("REGSETSTRING " + base + ",%SrcDir%N,no"), -1);
    EXPECT_EQ(Text(RegRoot::CurrentUser, base, (name79 + "N").c_str()), "<missing>");

    // Texts hold 259 bytes.
    std::snprintf(e().vars.srcDir, sizeof e().vars.srcDir, "%s", std::string(250, 'T').c_str());
    EXPECT_EQ(Run("REGSETSTRING " + base + ",Fits,%SrcDir%123456789"), 0);
    EXPECT_EQ(Text(RegRoot::CurrentUser, base, "Fits"), std::string(250, 'T') + "123456789");
    EXPECT_EQ(Run("REGSETSTRING " + base + ",Over,%SrcDir%1234567890"), -1);
    EXPECT_EQ(Text(RegRoot::CurrentUser, base, "Over"), "<missing>");

    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    for (const auto& b : boxes) EXPECT_EQ(b.text, SyntaxErrorText());
}

// The runner: HKEY_LOCAL_MACHINE first, no messages, failures stop only the 95 family.
TEST_F(RegistryCommands, TheRunnerSwapsTheFirstTwoRootsAndStaysSilent) {
    commands::ConfigureRunnerEngine(e());
    std::string key = OwnKey(RegRoot::LocalMachine, "Runner");
    CleanUpKey(RegRoot::CurrentUser, key);

    EXPECT_EQ(Run("REGCREATEKEY " + key), 0);
    EXPECT_TRUE(KeyExists(RegRoot::LocalMachine, key));
    EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, key));
    EXPECT_EQ(Run("REGCREATEKEY " + key + ",1"), 0);
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, key));

    EXPECT_EQ(Run("REGDELETE " + key), 0);
    EXPECT_FALSE(KeyExists(RegRoot::LocalMachine, key));
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, key));
    EXPECT_EQ(Run("REGDELETE " + key + ",1"), 0);
    EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, key));

    EXPECT_EQ(Run("REGSETSTRING " + key + ",V,x"), 0);  // NT: ignored
    e().runningOnNT = false;
    EXPECT_EQ(Run("REGSETSTRING " + key + ",V,x"), -1);
    EXPECT_EQ(Run("REGCREATEKEY " + key + ",9"), -1);
    EXPECT_EQ(Run("REGCREATEKEY"), -1);
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
