// The demo CD's script as the build ships it (UTF-8 in the repo, Shift-JIS CR LF on
// the CD): its options, its sections, and a launcher whose buttons fit the picture.
#include <gtest/gtest.h>
#include <iconv.h>

#include <fstream>
#include <sstream>
#include <string>

#include "installer/launcher.h"
#include "installer/options.h"
#include "installer_test_support.h"
#include "script/dispatch.h"

namespace {

std::string DemoScriptPath() {
    std::string here = __FILE__;
    return here.substr(0, here.rfind("tests/unit/")) + "demo/cd/TAVREL.INF";
}

// As tools/layout_cd.py converts it.
std::string ToShiftJisCrLf(const std::string& utf8) {
    std::string in = installertest::CrLf(utf8);
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "";
    std::string out(in.size() * 2 + 16, '\0');
    char* src = &in[0];
    size_t srcLeft = in.size();
    char* dst = &out[0];
    size_t dstLeft = out.size();
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return "";
    out.resize(out.size() - dstLeft);
    return out;
}

struct DemoCdTest : ::testing::Test, installertest::InstallerFixture {
    void SetUp() override {
        std::ifstream f(DemoScriptPath(), std::ios::binary);
        ASSERT_TRUE(f) << DemoScriptPath();
        std::stringstream s;
        s << f.rdbuf();
        std::string bytes = ToShiftJisCrLf(s.str());
        ASSERT_FALSE(bytes.empty()) << "the script must convert to code page 932";
        ASSERT_LE(bytes.size(), static_cast<size_t>(script::kScriptCapacity));
        sys.AddFolder("D:\\DATA");
        ASSERT_EQ(script::LoadScriptBytes(e, bytes.data(), static_cast<int>(bytes.size())), 1);
        OpenAccessor();
        installer::ReadOptions(e);
    }
};

TEST_F(DemoCdTest, OptionsNameTheDemoGame) {
    EXPECT_STREQ(e.options.className, "TavrelDemoGame");
    EXPECT_STREQ(e.options.title, "スターボヤージュ デモ版");
    EXPECT_STREQ(e.options.dstDir, "STARVOY");
    EXPECT_STREQ(e.options.exeName, "GAME.EXE");
    EXPECT_STREQ(e.options.setupText, "インストール");
    EXPECT_STREQ(e.env.sourceFolder, "D:\\DATA\\");
    EXPECT_STREQ(e.options.instMes[5], "ゲームデータをハードディスクにコピーします。");
    EXPECT_EQ(e.options.regFlag, 1);
}

TEST_F(DemoCdTest, EveryFlowSectionIsPresent) {
    for (const char* section : {"~[INIT]", "~[PLAY]", "~[INIT_INST]", "~[COPY]", "~[INSTALL]", "~[WIN_SCRIPT]",
                                "~[EXIT_INST]", "~[INIT_UNINST]", "~[UNINSTALL]", "~[EXIT_UNINST]", "~[README]"})
        EXPECT_EQ(script::FindSection(e, section), 1) << section;
}

TEST_F(DemoCdTest, InitRunsSilentlyAndShowsTheReadmeButton) {
    EXPECT_EQ(script::RunSection(e, e.slots.init), 1);
    EXPECT_TRUE(sys.MessageBoxes().empty());
    EXPECT_TRUE(e.sub[0].enabled);
    EXPECT_STREQ(e.sub[0].caption, "はじめにお読みください");
    EXPECT_EQ(script::RunSection(e, e.sub[0].slot), 1);
    ASSERT_EQ(sys.MessageBoxes().size(), 1u);
    EXPECT_EQ(sys.MessageBoxes()[0].text, "「インストール」でゲームをコピーし、「ゲーム開始」で遊べます。");
}

TEST_F(DemoCdTest, ButtonsLieInsideThePictureWithoutOverlapping) {
    ASSERT_EQ(script::RunSection(e, e.slots.init), 1);
    installer::Layout l = installer::ComputeLayoutValues(e.options, 640, 480, 1024, 768);
    const script::Options& o = e.options;
    installer::Rect r[5] = {installer::ButtonRect(l, o.setupBtnX, o.setupBtnY),
                            installer::ButtonRect(l, o.playBtnX, o.playBtnY),
                            installer::ButtonRect(l, o.exitBtnX, o.exitBtnY),
                            installer::ButtonRect(l, o.unInstBtnX, o.unInstBtnY),
                            installer::ButtonRect(l, e.sub[0].x, e.sub[0].y)};
    for (int i = 0; i < 5; ++i) {
        EXPECT_GE(r[i].left, 0) << i;
        EXPECT_GE(r[i].top, 0) << i;
        EXPECT_LE(r[i].left + r[i].width, 640) << i;
        EXPECT_LE(r[i].top + r[i].height, 480) << i;
        for (int j = 0; j < i; ++j) {
            bool apart = r[i].left >= r[j].left + r[j].width || r[j].left >= r[i].left + r[i].width ||
                         r[i].top >= r[j].top + r[j].height || r[j].top >= r[i].top + r[i].height;
            EXPECT_TRUE(apart) << "buttons " << j << " and " << i << " overlap";
        }
    }
}

}  // namespace
