// Install dialog geometry, the progress picture and the menu's radio-button placement.
#include <gtest/gtest.h>

#include "installer/install_geometry.h"
#include "installer/menu_placement.h"
#include "installer/notice_lines.h"

namespace {

using installer::ButtonPlace;

TEST(InstallGeometry, ButtonRowsAndBarFollowTheWindowSize) {
    // 401 x 269: odd sizes show the truncations.
    const installer::InstallGeometry g = installer::ComputeInstallGeometry(401, 269);
    EXPECT_EQ(g.unit, 26);
    EXPECT_EQ(g.buttonTop, 195);  // 26 x 7.5
    EXPECT_EQ(g.buttonWidth, 50);
    EXPECT_EQ(g.buttonHeight, 33);
    EXPECT_EQ(g.bar.left, 26);
    EXPECT_EQ(g.bar.right, 375);
    EXPECT_EQ(g.bar.top, 78);
    EXPECT_EQ(g.bar.bottom, 104);

    ButtonPlace ok, browse, stop;
    installer::ThreeButtonRow(g, &ok, &browse, &stop);
    EXPECT_EQ(ok.x, 75);     // 100 - 25
    EXPECT_EQ(stop.x, 276);  // 401 - 50 - 75
    EXPECT_EQ(browse.x, 175);
    for (const ButtonPlace& b : {ok, browse, stop}) {
        EXPECT_EQ(b.y, 195);
        EXPECT_EQ(b.width, 50);
        EXPECT_EQ(b.height, 33);
    }
    EXPECT_EQ(installer::SingleButton(g).x, 175);
}

TEST(InstallGeometry, ProgressPictureOutlinesFillsAndFormatsThePercentage) {
    const installer::InstallGeometry g = installer::ComputeInstallGeometry(400, 270);
    installer::ProgressPicture p = installer::ComputeProgressPicture(g, 7);
    ASSERT_TRUE(p.visible);
    EXPECT_STREQ(p.text, "  7%");
    const int outline[5][2] = {{25, 80}, {374, 80}, {374, 108}, {25, 108}, {25, 80}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(p.outline[i][0], outline[i][0]) << i;
        EXPECT_EQ(p.outline[i][1], outline[i][1]) << i;
    }
    EXPECT_EQ(p.fill.left, 26);
    EXPECT_EQ(p.fill.right, 26 + 348 * 7 / 100);
    EXPECT_EQ(p.fill.top, 81);
    EXPECT_EQ(p.fill.bottom, 108);
    EXPECT_STREQ(installer::ComputeProgressPicture(g, 100).text, "100%");
    EXPECT_EQ(installer::ComputeProgressPicture(g, 100).fill.right, 374);
    EXPECT_EQ(installer::ComputeProgressPicture(g, 0).fill.right, 26);
    EXPECT_FALSE(installer::ComputeProgressPicture(g, -1).visible);
}

TEST(MenuPlacement, ItemsAreSpreadByCountAndTheRestHidden) {
    const int expected[5][5] = {
        {52, -1, -1, -1, -1}, {40, 64, -1, -1, -1}, {28, 52, 76, -1, -1}, {24, 42, 62, 80, -1}, {20, 36, 52, 68, 84}};
    for (int count = 1; count <= 5; ++count) {
        const installer::MenuLayout l = installer::DecideMenuLayout(count, 0);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(l.visible[i], i < count) << count << "/" << i;
            EXPECT_EQ(l.y[i], expected[count - 1][i]) << count << "/" << i;
        }
    }
    const installer::MenuLayout none = installer::DecideMenuLayout(0, 0);
    for (bool v : none.visible) EXPECT_FALSE(v);
    EXPECT_EQ(installer::DecideMenuLayout(3, 2).checked, 2);
    EXPECT_EQ(installer::MenuItemY(6, 0), -1);
}

TEST(NoticeLines, DirectXEntryLeavesOnlyStop) {
    const installer::NoticeLines with = installer::DecideNoticeLines(true);
    EXPECT_FALSE(with.setupEnabled);
    EXPECT_STREQ(with.lines[0], "");
    EXPECT_STREQ(with.lines[1], "すでに新しいバージョンの");
    EXPECT_STREQ(with.lines[2], "DirectXがインストールされています。");
    EXPECT_STREQ(with.lines[3], "");
    const installer::NoticeLines without = installer::DecideNoticeLines(false);
    EXPECT_TRUE(without.setupEnabled);
    EXPECT_STREQ(without.lines[3], "DirectX2のセットアップをする場合は、本製品マニュアルを必ずご覧ください。");
}

}  // namespace
