// The destination screen: typed paths, their checks and the folders they create, the
// offers of an existing TAVREL folder, update installs and the confirmation's path.
#include <gtest/gtest.h>

#include "install_test_support.h"
#include "text/install_paths.h"

using installer::InstallFlow;
using namespace flowtest;

namespace {

struct PathCase {
    const char* typed;
    const char* completed;
};

TEST(InstallDestination, TypedPathsAreCompletedAndTheirFoldersMade) {
    const PathCase cases[] = {
        {"d", "d:\\"},  // the drive root
        {"D\\", "D:\\"},
        {"C:", "C:\\"},
        {"C:\\\\GAME\\\\\\\\X", "C:\\GAME\\X\\"},  // runs of backslashes become one
        {"  \tC:\\GAME\\SUB", "C:\\GAME\\SUB\\"},  // leading blanks and tabs are dropped
        {"C\\DIR", "C:\\DIR\\"},                   // a missing colon is put back, never relative
        {"C:NOROOT", "C:\\NOROOT\\"},
    };
    for (const PathCase& c : cases) {
        InstallFixture f;
        f.sys.AddDrive('D', plat::kDriveFixed, 1u << 30);  // d and D are fixed disks here
        f.e.driveTypes[3] = plat::kDriveFixed;
        f.ToDestination();
        ASSERT_EQ(f.flow.step(), installer::kStepDestination);
        f.Type(c.typed);
        EXPECT_EQ(f.flow.step(), installer::kStepConfirm) << c.typed << " " << f.LastBox();
        char expected[300];
        text::FormFinalPath(c.completed, false, "PROD", expected, sizeof expected);
        EXPECT_EQ(f.view.Text(installer::kInstPath), expected) << c.typed;
        EXPECT_TRUE(f.sys.IsFolder(std::string(c.completed) + "TAVREL")) << c.typed;
    }
}

TEST(InstallDestination, ConfirmationShowsTheUpperCasedFinalFolder) {
    InstallFixture f;
    f.ToDestination();
    f.Type("c:\\game\\sub");
    EXPECT_TRUE(f.sys.IsFolder("C:\\GAME"));
    EXPECT_TRUE(f.sys.IsFolder("C:\\GAME\\SUB"));
    EXPECT_TRUE(f.sys.IsFolder("C:\\GAME\\SUB\\TAVREL"));
    EXPECT_FALSE(f.sys.Exists("C:\\GAME\\SUB\\TAVREL\\PROD"));  // made only when the install starts
    EXPECT_EQ(f.view.Text(installer::kInstPath), "C:\\GAME\\SUB\\TAVREL\\PROD");
    EXPECT_TRUE(f.view.readOnly);
    EXPECT_FALSE(f.view.Visible(installer::kInstBrowse));
    EXPECT_EQ(f.view.Text(installer::kInstLine2), "[決定]を押すと PROD フォルダを作成し、");
    EXPECT_EQ(f.view.Text(installer::kInstLine3), "インストールを開始します。");
}

TEST(InstallDestination, UpperCasingLeavesDoubleByteCharactersAlone) {
    // 0x83 0x61 and 0x83 0x5C: trail bytes that look like 'a' and a backslash.
    char out[64];
    ASSERT_TRUE(text::FormFinalPath("c:\\\x83\x61x\\", true, "", out, sizeof out));
    EXPECT_STREQ(out, "C:\\\x83\x61X\\");
    char path[] = "C:\\\x83\x5C\\\\X";
    text::CollapseBackslashes(path);
    EXPECT_STREQ(path, "C:\\\x83\x5C\\X");
}

TEST(InstallDestination, RefusedPathsStayOnTheScreenWithTheirMessage) {
    struct Refusal {
        const char* typed;
        const char* message;  // "" for none beyond the check's own
    } const cases[] = {
        {"", "インストールするパスを指定してください。"},
        {"   ", "インストールするパスを指定してください。"},
        {"1:\\GAME", "パスが異常です。"},
        {"CC\\GAME", "パスが異常です。"},
        {"C:\\GAME\\ \\X", "パスが異常です。"},  // a blank level
        {"E:\\GAME", "そのドライブは使用できません。"},
        {"D:\\GAME", "このドライブはCD-ROMドライブです。\nインストール出来ません。"},
    };
    for (const Refusal& c : cases) {
        InstallFixture f;
        f.ToDestination();
        f.Type(c.typed);
        EXPECT_EQ(f.flow.step(), installer::kStepDestination) << c.typed;
        EXPECT_EQ(f.LastBox(), c.message) << c.typed;
        EXPECT_EQ(f.e.tavrelFolderFound, 2) << c.typed;
        EXPECT_FALSE(f.sys.Exists("C:\\GAME")) << c.typed << ": nothing is made for a refused path";
    }
}

TEST(InstallDestination, ATypedPathShiftJisCannotHoldIsRefusedAsABadPath) {
    InstallFixture f;
    f.ToDestination();
    f.view.typedFits = false;  // say "C:\GAME\café": read back, it would be another folder
    f.Type("C:\GAME");
    EXPECT_EQ(f.flow.step(), installer::kStepDestination);
    EXPECT_EQ(f.LastBox(), "パスが異常です。");
    EXPECT_EQ(f.e.tavrelFolderFound, 2);
    EXPECT_FALSE(f.sys.Exists("C:\GAME"));
    // Corrected, the same screen takes it.
    f.view.typedFits = true;
    f.Type("C:\GAME");
    EXPECT_EQ(f.flow.step(), installer::kStepConfirm) << f.LastBox();
}

TEST(InstallDestination, PathOf180BytesIsAcceptedAnd181Refused) {
    for (size_t length : {180u, 181u}) {
        InstallFixture f;
        f.ToDestination();
        std::string path = "C:\\";
        while (path.size() < length) path += (path.size() % 20 == 19) ? '\\' : 'A';
        if (path.back() == '\\') path.back() = 'B';
        f.Type(path);
        if (length == 180) {
            EXPECT_EQ(f.flow.step(), installer::kStepConfirm) << f.LastBox();
        } else {
            EXPECT_EQ(f.flow.step(), installer::kStepDestination);
            EXPECT_EQ(f.LastBox(), "パスが長すぎます。");
            EXPECT_EQ(f.e.destinationStatus, script::kDestinationReported);
            EXPECT_FALSE(f.sys.Exists("C:\\AAAAAAAAAAAAAAAA"));
        }
    }
}

TEST(InstallDestination, FinalFolderOneByteTooLongIsRefusedBeforeAnythingIsMade) {
    // C:\GAME\ + TAVREL\ + product folder: 8 + 7 + n bytes must stay within 259.
    for (size_t product : {244u, 245u}) {
        InstallFixture f;
        std::string name(product, 'P');
        snprintf(f.e.options.dstDir, sizeof f.e.options.dstDir, "%s", name.c_str());
        f.ToDestination();
        f.Type("C:\\GAME");
        if (product == 244) {
            EXPECT_EQ(f.flow.step(), installer::kStepConfirm);
            EXPECT_EQ(f.view.Text(installer::kInstPath).size(), 259u);
        } else {
            EXPECT_EQ(f.flow.step(), installer::kStepDestination);
            EXPECT_EQ(f.LastBox(), "パスが長すぎます。");
            EXPECT_FALSE(f.sys.Exists("C:\\GAME"));
        }
    }
}

TEST(InstallDestination, SpaceIsReportedInKOrMAndEqualFreeSpaceIsRefused) {
    struct Need {
        uint64_t bytes;
        const char* amount;
    } const cases[] = {{524288, "約512Ｋ"}, {524289, "約1Ｍ"}, {1572864, "約1Ｍ"}, {1572865, "約2Ｍ"}};
    for (const Need& c : cases) {
        InstallFixture f;
        f.e.copy.installSize = c.bytes;
        f.sys.SetFreeBytes('C', c.bytes);
        f.ToDestination();
        f.Type("C:\\GAME");
        EXPECT_EQ(f.flow.step(), installer::kStepDestination);
        EXPECT_EQ(f.e.destinationStatus, script::kDestinationNoSpace);
        const std::string text = f.LastBox();
        EXPECT_NE(text.find("ドライブ C:"), std::string::npos) << text;
        EXPECT_NE(text.find(c.amount), std::string::npos) << c.bytes << ": " << text;

        f.sys.SetFreeBytes('C', c.bytes + 1);
        f.Type("C:\\GAME");
        EXPECT_EQ(f.flow.step(), installer::kStepConfirm) << c.bytes;
    }
}

TEST(InstallDestination, NonHardDiskIsAskedAboutUntilTheTavrelFolderWasFound) {
    InstallFixture f;
    f.sys.AddDrive('A', plat::kDriveRemovable, 1u << 24);
    f.e.driveTypes[0] = plat::kDriveRemovable;
    f.ToDestination();
    f.Type("A:\\GAME");  // unanswered: No
    EXPECT_EQ(f.flow.step(), installer::kStepDestination);
    EXPECT_EQ(f.LastBox(), "指定されたドライブはハードディスクではありませんが、\n　　　　　　　　作業を進めますか？");
    EXPECT_EQ(f.e.tavrelFolderFound, 2);
    f.sys.QueueMessageBoxAnswer(plat::kIdYes);
    f.Type("A:\\GAME");
    EXPECT_EQ(f.flow.step(), installer::kStepConfirm);

    InstallFixture g;
    g.sys.AddDrive('A', plat::kDriveRemovable, 1u << 24);
    g.e.driveTypes[0] = plat::kDriveRemovable;
    g.e.tavrelFolderFound = 1;
    g.sys.AddFolder("C:\\TAVREL");
    g.ToDestination();  // the offer: unanswered, No
    size_t asked = g.sys.MessageBoxes().size();
    g.Type("A:\\GAME");
    EXPECT_EQ(g.flow.step(), installer::kStepConfirm);
    EXPECT_EQ(g.sys.MessageBoxes().size(), asked) << "no question while the TAVREL folder counts as found";
}

TEST(InstallDestination, RegisteredTavrelFolderIsOfferedOnceAndYesConfirmsIt) {
    InstallFixture f;
    f.sys.AddFolder("C:\\OLD\\TAVREL");
    f.e.tavrelFolderFound = 1;
    snprintf(f.e.env.tavrelBase, sizeof f.e.env.tavrelBase, "C:\\OLD\\");
    f.sys.QueueMessageBoxAnswer(plat::kIdYes);
    f.ToDestination();
    ASSERT_EQ(f.sys.MessageBoxes().size(), 1u);
    const auto& box = f.sys.MessageBoxes()[0];
    EXPECT_EQ(box.text, "CドライブにTAVRELフォルダが見つかりました。\nここにデモゲームをインストールしますか？");
    EXPECT_EQ(box.style, plat::kMbYesNo | plat::kMbIconQuestion);
    EXPECT_EQ(box.owner, kInstallDialog);
    EXPECT_EQ(f.flow.step(), installer::kStepConfirm);
    EXPECT_EQ(f.view.Text(installer::kInstPath), "C:\\OLD\\TAVREL\\PROD");
}

TEST(InstallDestination, TavrelFolderOnTheWindowsDriveIsOfferedWithItsRoot) {
    InstallFixture f;
    f.sys.AddFolder("C:\\TAVREL");
    f.sys.QueueMessageBoxAnswer(plat::kIdYes);
    f.ToDestination();
    EXPECT_EQ(f.Boxes().at(0), "Cドライブに「TAVREL」フォルダが存在します。\nここにデモゲームをインストールしますか？");
    EXPECT_EQ(f.view.Text(installer::kInstPath), "C:\\TAVREL\\PROD");
    EXPECT_EQ(f.sys.OpenSearchCount(), 0);

    InstallFixture none;  // no folder: no question
    none.ToDestination();
    EXPECT_TRUE(none.Boxes().empty());
    EXPECT_EQ(none.flow.step(), installer::kStepDestination);
}

TEST(InstallDestination, OfferAnsweredYesWithoutRoomStaysAndALongTitleIsCutSafely) {
    InstallFixture f;
    f.sys.AddFolder("C:\\TAVREL");
    std::string title;
    for (int i = 0; i < 39; ++i) title += "ゲ";  // 78 bytes, the longest title
    snprintf(f.e.options.title, sizeof f.e.options.title, "%s", title.c_str());
    f.e.copy.installSize = 4096;
    f.sys.SetFreeBytes('C', 4096);
    f.sys.QueueMessageBoxAnswer(plat::kIdYes);
    f.ToDestination();
    ASSERT_EQ(f.Boxes().size(), 2u);
    EXPECT_NE(f.Boxes()[0].find(title + "をインストールしますか？"), std::string::npos);
    EXPECT_NE(f.Boxes()[1].find("約4Ｋ"), std::string::npos);
    EXPECT_EQ(f.flow.step(), installer::kStepDestination);
}

TEST(InstallDestination, ExistingUpdateFolderSkipsTheDestinationScreen) {
    InstallFixture f;
    snprintf(f.e.options.instUpdate, sizeof f.e.options.instUpdate, "Update");
    f.sys.AddFolder("C:\\Game");
    f.sys.RegPutValue(plat::RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel", "Update", plat::kRegSz,
                      std::string("C:\\Game\0", 8));
    f.Open();
    f.flow.OnOk();
    EXPECT_TRUE(f.flow.updateInstall());
    EXPECT_EQ(f.flow.step(), installer::kStepConfirm);
    EXPECT_EQ(f.view.Text(installer::kInstPath), "C:\\GAME\\");
    EXPECT_EQ(f.view.Text(installer::kInstOk), "決定");
    EXPECT_EQ(f.view.Text(installer::kInstLine2), "[決定]を押すと ");
}

TEST(InstallDestination, UpdateFolderThatCannotTakeItsBackslashIsNoUpdate) {
    InstallFixture f;
    snprintf(f.e.options.instUpdate, sizeof f.e.options.instUpdate, "Update");
    std::string folder = "C:\\";
    while (folder.size() < 259) folder += (folder.size() % 50 == 49) ? '\\' : 'U';
    ASSERT_TRUE(f.sys.AddFolder(folder));
    f.sys.RegPutValue(plat::RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel", "Update", plat::kRegSz, folder + '\0');
    f.Open();
    f.flow.OnOk();
    EXPECT_FALSE(f.flow.updateInstall());
    EXPECT_EQ(f.flow.step(), installer::kStepDestination);
}

TEST(InstallDestination, DestinationScreenShowsThreeButtonsAndTheEditBox) {
    InstallFixture f;
    f.ToDestination();
    EXPECT_FALSE(f.view.Visible(installer::kInstLine1));
    EXPECT_FALSE(f.view.Visible(installer::kInstLine4));
    EXPECT_TRUE(f.view.Visible(installer::kInstPath));
    EXPECT_FALSE(f.view.readOnly);
    EXPECT_EQ(f.view.Text(installer::kInstPath), "C:\\");
    EXPECT_EQ(f.view.Text(installer::kInstBrowse), "参照");
    EXPECT_TRUE(f.view.Visible(installer::kInstBrowse));
    const auto& g = f.flow.geometry();
    EXPECT_EQ(f.view.controls[installer::kInstOk].place.x, (400 >> 2) - (g.buttonWidth >> 1));
    EXPECT_EQ(f.view.controls[installer::kInstBrowse].place.x,
              (f.view.controls[installer::kInstOk].place.x + f.view.controls[installer::kInstStop].place.x) >> 1);
    EXPECT_EQ(f.view.caption, "デモゲーム  インストール  ユーティリティ");
    EXPECT_EQ(f.e.activityMode, script::kModeInstalling);
}

TEST(InstallDestination, BrowsedFolderReplacesThePathAndTheProgramFolderIsCurrentAgain) {
    InstallFixture f;
    f.ToDestination();
    f.sys.AddFolder("C:\\PICKED");
    f.sys.SetCurrentDirectory("C:\\PICKED");
    f.flow.AfterBrowse(false, "C:\\IGNORED");
    EXPECT_EQ(f.view.Text(installer::kInstPath), "C:\\");
    EXPECT_EQ(f.sys.CurrentDirectory(), "D:\\");
    f.flow.AfterBrowse(true, "C:\\PICKED");
    EXPECT_EQ(f.view.Text(installer::kInstPath), "C:\\PICKED");
    EXPECT_EQ(f.flow.step(), installer::kStepDestination);  // checked only on 決定
    EXPECT_TRUE(installer::BrowsedFolderFits(std::string(50, 'x').c_str()));
    EXPECT_FALSE(installer::BrowsedFolderFits(std::string(51, 'x').c_str()));
}

}  // namespace
