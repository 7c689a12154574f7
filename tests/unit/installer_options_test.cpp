// The options section: lookup rules, value syntax, every key's default and the derived
// values (source folder, install size, install texts, product installed).
#include <gtest/gtest.h>

#include <string>

#include "installer/options.h"
#include "script/script_text.h"
#include "installer_test_support.h"

namespace {

using installer::GetOptionInt;
using installer::GetOptionString;
using installer::ReadOptions;
using installertest::InstallerFixture;

struct OptionsTest : ::testing::Test, InstallerFixture {
    // Loads a script and reads all options.
    void Read(const std::string& lines) {
        ASSERT_EQ(Load(lines), 1);
        OpenAccessor();
        ReadOptions(e);
    }
};

TEST_F(OptionsTest, EveryKeyTakesItsDefaultInAnEmptyOptionsSection) {
    Read("[OPTIONS]\n");
    const script::Options& o = e.options;
    EXPECT_STREQ(o.className, "読み込み失敗");
    EXPECT_STREQ(o.title, "読み込み失敗");
    EXPECT_STREQ(o.yearRight, "");
    EXPECT_STREQ(o.dstDir, "");
    EXPECT_STREQ(o.exeName, "");
    EXPECT_STREQ(o.setupText, "Setup");
    EXPECT_STREQ(o.exitText, "Exit");
    EXPECT_STREQ(o.uninstText, "Uninstall");
    EXPECT_STREQ(o.playText, "Play");
    EXPECT_EQ(o.btnWidth, 20);
    EXPECT_EQ(o.btnHeight, 10);
    EXPECT_EQ(o.setupBtn, 1);
    EXPECT_EQ(o.playBtn, 1);
    EXPECT_EQ(o.exitBtn, 1);
    EXPECT_EQ(o.uninstallBtn, 1);
    EXPECT_EQ(o.setupBtnX, 30);
    EXPECT_EQ(o.setupBtnY, 70);
    EXPECT_EQ(o.playBtnX, 70);
    EXPECT_EQ(o.playBtnY, 70);
    EXPECT_EQ(o.exitBtnX, 30);
    EXPECT_EQ(o.exitBtnY, 85);
    EXPECT_EQ(o.unInstBtnX, 70);
    EXPECT_EQ(o.unInstBtnY, 85);
    EXPECT_EQ(o.sub1BtnX, 30);
    EXPECT_EQ(o.sub1BtnY, 30);
    EXPECT_EQ(o.copySizeBytes, 10u * 1024u);
    EXPECT_EQ(o.instSizeBytes, 10u * 1024u + 262144u);
    EXPECT_EQ(o.regFlag, 0);
    EXPECT_STREQ(o.instMes[0], "読み込み失敗  インストール  ユーティリティ");
    EXPECT_STREQ(o.instMes[2], "このたびは「読み込み失敗」をお買い上げいただき、");
    EXPECT_STREQ(o.instMes[3], "誠にありがとうございます。");
    EXPECT_STREQ(o.instMes[4], "このプログラムは「読み込み失敗」の");
    EXPECT_STREQ(o.instMes[5], "データをハードディスクにコピーするためのものです。");
    EXPECT_STREQ(o.instMes[6], "インストールが終了しました。");
    EXPECT_STREQ(o.instMes[7], "");
    EXPECT_STREQ(o.instTitle, o.instMes[0]);
    EXPECT_STREQ(o.instUpdate, "");
    EXPECT_STREQ(e.env.sourceFolder, "D:\\");
    EXPECT_FALSE(e.productInstalled);
    // Sub button 1 starts at the option's place until SUBBTN1 moves it.
    EXPECT_EQ(e.sub[0].x, 30);
    EXPECT_EQ(e.sub[0].y, 30);
}

TEST_F(OptionsTest, ValuesReplaceDefaultsAndBuildTheInstallTexts) {
    Read(
        "[OPTIONS]\n"
        "Class = TavrelDemoGame\n"
        "Title = 星の海\n"
        "YearRight = 1998\n"
        "DstDir = STARSEA\n"
        "ExeName = GAME.EXE\n"
        "SetupText = インストール\n"
        "BtnWidth = 30\n"
        "BtnHeight = 12\n"
        "CopySize = 1000\n"
        "InstMes4 = 独自の行\n");
    const script::Options& o = e.options;
    EXPECT_STREQ(o.className, "TavrelDemoGame");
    EXPECT_STREQ(o.title, "星の海");
    EXPECT_STREQ(o.dstDir, "STARSEA");
    EXPECT_STREQ(o.setupText, "インストール");
    EXPECT_EQ(o.btnWidth, 30);
    EXPECT_EQ(o.btnHeight, 12);
    EXPECT_EQ(o.copySizeBytes, 1024000u);
    // InstSize absent: the copy size plus 256 K.
    EXPECT_EQ(o.instSizeBytes, 1024000u + 262144u);
    EXPECT_STREQ(o.instMes[0], "星の海  インストール  ユーティリティ");
    EXPECT_STREQ(o.instTitle, "星の海  インストール  ユーティリティ");
    EXPECT_NE(std::string(o.instMes[1]).find("1998"), std::string::npos) << o.instMes[1];
    EXPECT_STREQ(o.instMes[2], "このたびは「星の海」をお買い上げいただき、");
    EXPECT_STREQ(o.instMes[3], "独自の行");
}

TEST_F(OptionsTest, ZeroWidthMeansAQuarterAndZeroHeightTheDefault) {
    Read("[OPTIONS]\nBtnWidth = 0\nBtnHeight = 0\nInstSize = 2048\n");
    EXPECT_EQ(e.options.btnWidth, 25);
    EXPECT_EQ(e.options.btnHeight, 10);
    EXPECT_EQ(e.options.instSizeBytes, 2048u * 1024u);
}

TEST_F(OptionsTest, QuotedValueKeepsBlanksAndEndsAtTheClosingQuote) {
    Read("[OPTIONS]\nTitle = \"  Star  Sea \" ; not part of it\nExeName = GAME.EXE ; kept\n");
    EXPECT_STREQ(e.options.title, "  Star  Sea ");
    // Unquoted values run to the end of the line, the semicolon included.
    EXPECT_STREQ(e.options.exeName, "GAME.EXE ; kept");
}

TEST_F(OptionsTest, UnquotedValueEndsAtATabAndKeepsInnerQuotes) {
    Read("[OPTIONS]\nTitle = a \"b\" c\tcomment\n");
    EXPECT_STREQ(e.options.title, "a \"b\" c");
}

TEST_F(OptionsTest, KeysMatchByPrefixWithoutRegardToCaseFirstLineWins) {
    // SetupBtnX comes first and begins with the letters of SetupBtn.
    Read("[OPTIONS]\nSetupBtnX = 40\nsetupbtn = 0\n");
    EXPECT_EQ(e.options.setupBtn, 40);
    EXPECT_EQ(e.options.setupBtnX, 40);
}

TEST_F(OptionsTest, KeysAreFoundBehindLaterSectionsButNotAboveTheOptionsHeader) {
    Read("Title = above\n[OPTIONS]\n[INIT]\nPRINT hello\n[MORE]\nTitle = below\n");
    EXPECT_STREQ(e.options.title, "below");
}

// Every key is looked for from the header down, in any order, and the reading position
// is left where the last key's lookup left it: the OPTIONS command goes on from there.
TEST_F(OptionsTest, EachKeySeesTheWholeScriptAndTheLastLookupSetsThePosition) {
    Read("[OPTIONS]\nInstUpdate = u\nTitle = t\n[INIT]\nPRINT a\nBtnWidth = 30\nTitle = later\n");
    EXPECT_STREQ(e.options.title, "t");
    EXPECT_STREQ(e.options.instUpdate, "u");
    EXPECT_EQ(e.options.btnWidth, 30);
    EXPECT_EQ(e.options.btnHeight, 10);
    EXPECT_EQ(e.script.lineCount, 2);
    script::ReadScriptLine(e);
    EXPECT_STREQ(e.script.line, "Title = t\r\n");

    Read("[OPTIONS]\nTitle = t\nPRINT a\n");
    EXPECT_STREQ(e.options.title, "t");
    EXPECT_EQ(e.script.readPos, e.script.length);
    EXPECT_STREQ(e.script.line, "PRINT a\r\n");
}

TEST_F(OptionsTest, KeyOnTheLastLineWithoutLineEndIsFound) {
    ASSERT_EQ(Load("[OPTIONS]\nBtnWidth = 40"), 1);
    EXPECT_EQ(GetOptionInt(e, "BtnWidth", 20), 40);
}

TEST_F(OptionsTest, KeyWithoutValueKeepsTheStringAndGivesTheIntegerDefault) {
    ASSERT_EQ(Load("[OPTIONS]\nTitle\nSetupText =\nPlayBtn\tx = 0\n"), 1);
    char title[80] = "earlier";
    GetOptionString(e, "Title", "default", title, sizeof title);
    EXPECT_STREQ(title, "earlier");
    char text[41] = "kept";
    GetOptionString(e, "SetupText", "Setup", text, sizeof text);
    EXPECT_STREQ(text, "kept");
    // A tab before the equals sign: no value.
    EXPECT_EQ(GetOptionInt(e, "PlayBtn", 1), 1);
    char missing[20] = "x";
    GetOptionString(e, "Missing", "def", missing, sizeof missing);
    EXPECT_STREQ(missing, "def");
}

TEST_F(OptionsTest, IntegerValuesFollowTheDecimalRules) {
    ASSERT_EQ(Load("[OPTIONS]\nA = 0012\nB = 12345678\nC = 1a\nD = 9999999\nE = 50 ; percent\n"), 1);
    EXPECT_EQ(GetOptionInt(e, "A", -1), 12);
    EXPECT_EQ(GetOptionInt(e, "B", -1), 0);
    EXPECT_EQ(GetOptionInt(e, "C", -1), 0);
    EXPECT_EQ(GetOptionInt(e, "D", -1), 9999999);
    EXPECT_EQ(GetOptionInt(e, "E", -1), 50);
    EXPECT_EQ(GetOptionInt(e, "F", -1), -1);
}

TEST_F(OptionsTest, OverlongValuesAreCutToTheBufferOnACharacterBoundary) {
    std::string longTitle(40, 'x');
    for (int i = 0; i < 30; ++i) longTitle += "あ";  // 100 bytes
    Read("[OPTIONS]\nTitle = " + longTitle + "\nSetupText = " + std::string(60, 'S') + "\n");
    EXPECT_EQ(std::string(e.options.setupText), std::string(40, 'S'));
    std::string title = e.options.title;
    EXPECT_LE(title.size(), 79u);
    EXPECT_EQ(title.size() % 2, 0u) << "a half character was kept";
    EXPECT_EQ(title.substr(0, 40), std::string(40, 'x'));
    // Built texts that would not fit in 120 bytes are cut as well.
    EXPECT_LT(std::string(e.options.instMes[2]).size(), 120u);
}

TEST_F(OptionsTest, SourceFolderRules) {
    std::snprintf(e.env.programFolder, sizeof e.env.programFolder, "E:\\SETUP\\");
    Read("[OPTIONS]\nSrcDir = \\DATA\n");
    EXPECT_STREQ(e.env.sourceFolder, "E:\\DATA");

    Read("[OPTIONS]\nSrcDir = DATA\\\n");
    EXPECT_STREQ(e.env.sourceFolder, "E:\\SETUP\\DATA\\");

    // Re-reading starts again from the program folder: never applied twice.
    ReadOptions(e);
    EXPECT_STREQ(e.env.sourceFolder, "E:\\SETUP\\DATA\\");

    Read("[OPTIONS]\n");
    EXPECT_STREQ(e.env.sourceFolder, "E:\\SETUP\\");
}

TEST_F(OptionsTest, DstDirWithoutValueDoesNotTakeTheSourceFolderText) {
    Read("[OPTIONS]\nSrcDir = DATA\\\nDstDir\n");
    EXPECT_STREQ(e.options.dstDir, "");
}

TEST_F(OptionsTest, ProductIsInstalledWhenTheRegisteredFolderExists) {
    sys.AddFolder("C:\\TAVREL\\STARSEA");
    PutSetting("STARSEA", "C:\\TAVREL\\STARSEA\\");
    Read("[OPTIONS]\nDstDir = STARSEA\n");
    EXPECT_TRUE(e.productInstalled);

    PutSetting("STARSEA", "C:\\TAVREL\\GONE\\");
    ReadOptions(e);
    EXPECT_FALSE(e.productInstalled);
}

TEST_F(OptionsTest, RegFlagCreatesTheMakerKey) {
    // Without the accessor (which would create it as a parent) the key is absent.
    ASSERT_EQ(Load("[OPTIONS]\n"), 1);
    ReadOptions(e);
    EXPECT_FALSE(sys.RegKeyExists(plat::RegRoot::CurrentUser, "SOFTWARE\\Tavrel"));
    ASSERT_EQ(Load("[OPTIONS]\nRegFlag = 1\n"), 1);
    ReadOptions(e);
    EXPECT_EQ(e.options.regFlag, 1);
    EXPECT_TRUE(sys.RegKeyExists(plat::RegRoot::CurrentUser, "SOFTWARE\\Tavrel"));
}

TEST_F(OptionsTest, SubButtonPlaceFromOptionsUntilSubBtn1Ran) {
    Read("[OPTIONS]\nSub1BtnX = 10\nSub1BtnY = 20\n");
    EXPECT_EQ(e.sub[0].x, 10);
    EXPECT_EQ(e.sub[0].y, 20);
    e.sub[0].enabled = true;
    e.sub[0].x = 55;
    ReadOptions(e);
    EXPECT_EQ(e.sub[0].x, 55);
}

}  // namespace
