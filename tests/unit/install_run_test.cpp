// The install run: folder creation, the stepped install section with its percentages,
// stopping by the Stop button or the Enter key, failures, completion and the way back.
#include <gtest/gtest.h>

#include "install_test_support.h"
#include "installer/options.h"

using namespace flowtest;

namespace {

const char kScript[] =
    "[INIT_INST]\n"
    "[COPY]\n"
    "[INSTALL]\n"
    "COPY D:\\DATA\\A.DAT %DstDrv%%DstDir%\n"
    "COPY D:\\DATA\\B.DAT %DstDrv%%DstDir%\n"
    "COPY D:\\DATA\\C.DAT %DstDrv%%DstDir%\n"
    "[WIN_SCRIPT]\n"
    "[EXIT_INST]\n"
    "PRINT exit\n";

struct RunFixture : InstallFixture {
    explicit RunFixture(const std::string& script = kScript) {
        EXPECT_EQ(Load(script), 1);
        sys.AddFolder("D:\\DATA");
        sys.AddFile("D:\\DATA\\A.DAT", std::string(10098, 'a'));
        sys.AddFile("D:\\DATA\\B.DAT", std::string(102, 'b'));
        sys.AddFile("D:\\DATA\\C.DAT", std::string(5000, 'c'));
    }
    // Welcome, destination C:\ (no offer), confirmation.
    void ToConfirmation() {
        ToDestination();
        Type("C:\\");
        ASSERT_EQ(flow.step(), installer::kStepConfirm) << LastBox();
    }
    void Install() {
        ToConfirmation();
        flow.OnOk();
    }
    bool ReturnedToLauncher() const {
        return around.returns == 1 && view.endResult == plat::kIdCancel && e.activityMode == script::kModeIdle &&
               flow.step() == installer::kStepOutside;
    }
};

TEST(InstallRun, CompletesWithProgressRegistryAndCompletionScreen) {
    RunFixture f;
    f.Install();
    ASSERT_EQ(f.flow.step(), installer::kStepFinished) << f.LastBox();
    EXPECT_EQ(f.sys.Contents("C:\\TAVREL\\PROD\\A.DAT"), std::string(10098, 'a'));
    EXPECT_TRUE(f.sys.IsFile("C:\\TAVREL\\PROD\\C.DAT"));
    // CopySize 10: the bar reaches 100 after 10200 bytes and stays there; a value is drawn once.
    const std::vector<std::string> bars = {"  0%", " 99%", "100%"};
    EXPECT_EQ(f.view.bars, bars);
    EXPECT_EQ(f.e.copy.percent, -1);
    EXPECT_EQ(f.view.erasingRepaints, 1);
    EXPECT_EQ(f.Setting("Path"), "C:\\");
    EXPECT_EQ(f.Setting("PROD"), "C:\\TAVREL\\PROD");
    EXPECT_STREQ(f.e.env.destFolder, "C:\\TAVREL\\PROD");
    EXPECT_STREQ(f.e.env.tavrelBase, "C:\\");
    EXPECT_TRUE(f.e.productInstalled);
    EXPECT_EQ(f.e.tavrelFolderFound, 1);
    EXPECT_FALSE(f.e.stepMode);
    EXPECT_EQ(f.e.copy.cancelState, script::kCancelIdle);

    EXPECT_EQ(f.view.Text(installer::kInstLine2), "インストールが終了しました。");
    EXPECT_TRUE(f.view.Visible(installer::kInstLine2));
    EXPECT_FALSE(f.view.Visible(installer::kInstLine1));
    EXPECT_FALSE(f.view.Visible(installer::kInstPercent));
    EXPECT_FALSE(f.view.Visible(installer::kInstOk));
    EXPECT_TRUE(f.view.Visible(installer::kInstStop));
    EXPECT_EQ(f.view.Text(installer::kInstStop), "終了");
    EXPECT_EQ(f.view.defaultButton, installer::kInstStop);
    EXPECT_EQ(f.view.focused, installer::kInstStop);
    EXPECT_EQ(f.view.controls[installer::kInstStop].place.x, (400 - (400 >> 3)) >> 1);
    EXPECT_EQ(f.view.activations, 1);
    EXPECT_TRUE(f.Boxes().empty());

    f.flow.OnOk();  // nothing at step 5
    EXPECT_EQ(f.flow.step(), installer::kStepFinished);
    f.flow.OnStop();  // 終了
    EXPECT_TRUE(f.ReturnedToLauncher());
    ASSERT_EQ(f.Boxes().size(), 1u);
    EXPECT_EQ(f.Boxes()[0], "exit");
    EXPECT_EQ(f.sys.MessageBoxes()[0].owner, kLauncher);  // the exit section runs idle
    f.flow.FinishInstall();
    EXPECT_EQ(f.Boxes().size(), 1u) << "a pass ends once";
}

TEST(InstallRun, CopyTotalOfZeroCountsBytesAsPercent) {
    RunFixture f("[INSTALL]\nCOPY D:\\DATA\\E.DAT %DstDrv%%DstDir%\n[END]\n");
    f.sys.AddFile("D:\\DATA\\E.DAT", std::string(50, 'e'));
    f.e.copy.copyTotal = 0;
    f.Install();
    ASSERT_EQ(f.flow.step(), installer::kStepFinished);
    const std::vector<std::string> bars = {"  0%", " 50%", "100%"};
    EXPECT_EQ(f.view.bars, bars);
}

TEST(InstallRun, StopDuringACopyRemovesThePartialFileAndReturns) {
    RunFixture f;
    f.sys.AddFile("D:\\DATA\\A.DAT", std::string(10 * script::kCopyBufferSize, 'a'));
    f.sys.SetTickStep(4);  // the clock runs: the copy lets messages through every few blocks
    f.sys.SetDispatchHook([&](const plat::SimWindows::QueuedMessage& m) {
        if (m.id == 7) f.flow.OnStop();
    });
    int peeks = 0;
    f.sys.SetPeekHook([&] {
        if (++peeks == 3) f.sys.QueueMessage(7);
    });
    f.ToConfirmation();
    f.sys.ClearMessageBoxes();
    f.sys.QueueMessageBoxAnswer(plat::kIdYes);
    f.flow.OnOk();
    EXPECT_TRUE(f.ReturnedToLauncher());
    EXPECT_FALSE(f.sys.Exists("C:\\TAVREL\\PROD\\A.DAT"));
    EXPECT_TRUE(f.sys.IsFolder("C:\\TAVREL\\PROD"));  // nothing else is rolled back
    EXPECT_EQ(f.Setting("PROD"), "");
    EXPECT_FALSE(f.e.productInstalled);
    ASSERT_GE(f.Boxes().size(), 1u);
    EXPECT_EQ(f.Boxes()[0], "インストールを中止しますか？");
    EXPECT_EQ(f.sys.MessageBoxes()[0].owner, kInstallDialog);
    EXPECT_EQ(f.Boxes().back(), "exit");  // no failure message between
    EXPECT_EQ(f.Boxes().size(), 2u);
}

TEST(InstallRun, EnterDuringACopyAsksAndNoGoesOn) {
    for (int answer : {plat::kIdNo, plat::kIdYes}) {
        RunFixture f;
        f.sys.AddFile("D:\\DATA\\A.DAT", std::string(30000, 'a'));
        f.ToConfirmation();
        f.sys.ClearMessageBoxes();
        f.sys.QueueEnterKey();
        f.sys.QueueMessageBoxAnswer(answer);
        f.flow.OnOk();
        ASSERT_GE(f.Boxes().size(), 1u);
        EXPECT_EQ(f.Boxes()[0], "インストールを中止しますか？");
        if (answer == plat::kIdNo) {
            EXPECT_EQ(f.flow.step(), installer::kStepFinished);
            EXPECT_EQ(f.sys.Contents("C:\\TAVREL\\PROD\\A.DAT").size(), 30000u);
        } else {
            EXPECT_TRUE(f.ReturnedToLauncher());
            EXPECT_FALSE(f.sys.Exists("C:\\TAVREL\\PROD\\A.DAT"));
        }
    }
}

TEST(InstallRun, StopConfirmedDuringTheCopySectionEndsTheRun) {
    RunFixture f("[COPY]\nCOPY D:\\DATA\\A.DAT %DstDrv%%DstDir%\n[INSTALL]\nCOPY D:\\DATA\\B.DAT %DstDrv%%DstDir%\n");
    f.sys.AddFile("D:\\DATA\\A.DAT", std::string(30000, 'a'));
    f.ToConfirmation();
    f.sys.QueueEnterKey();
    f.sys.QueueMessageBoxAnswer(plat::kIdYes);
    f.flow.OnOk();
    EXPECT_TRUE(f.ReturnedToLauncher());
    EXPECT_FALSE(f.sys.Exists("C:\\TAVREL\\PROD\\A.DAT"));
    EXPECT_FALSE(f.sys.Exists("C:\\TAVREL\\PROD\\B.DAT"));
    EXPECT_FALSE(f.e.productInstalled);
    EXPECT_EQ(f.Setting("PROD"), "");
}

TEST(InstallRun, FailingCommandMissingSectionOrWindowsSectionEndTheRun) {
    const char* const scripts[] = {
        "[INSTALL]\nCOPY D:\\DATA\\MISSING.DAT %DstDrv%%DstDir%\n",
        "[COPY]\n",
        "[INSTALL]\nCOPY D:\\DATA\\B.DAT %DstDrv%%DstDir%\n[WIN_SCRIPT]\nCOPY D:\\DATA\\MISSING.DAT %DstDrv%%DstDir%\n",
    };
    for (const char* script : scripts) {
        RunFixture f(script);
        f.Install();
        EXPECT_TRUE(f.ReturnedToLauncher()) << script;
        EXPECT_FALSE(f.e.productInstalled) << script;
        EXPECT_EQ(f.Setting("PROD"), "") << script;
        EXPECT_FALSE(f.e.stepMode);
        EXPECT_TRUE(f.view.Visible(installer::kInstStop));
    }
}

TEST(InstallRun, RegistryFailureStopsOnlyOnThe95Family) {
    for (bool nt : {false, true}) {
        RunFixture f("[INSTALL]\n");
        f.e.runningOnNT = nt;
        f.ToConfirmation();
        commands::CloseRegistryAccessor(f.e);
        f.flow.OnOk();
        if (nt) {
            EXPECT_EQ(f.flow.step(), installer::kStepFinished);
        } else {
            EXPECT_TRUE(f.ReturnedToLauncher());
            EXPECT_EQ(f.LastBox(), "レジストリの書き込みに失敗しました。\nインストールを中断します。");
        }
    }
}

TEST(InstallRun, ExistingFolderIsOverwrittenOnlyAfterYes) {
    for (int answer : {plat::kIdNo, plat::kIdYes}) {
        RunFixture f("[INSTALL]\n");
        f.sys.AddFolder("C:\\TAVREL\\PROD");
        f.ToConfirmation();
        f.sys.ClearMessageBoxes();
        f.sys.QueueMessageBoxAnswer(answer);
        f.flow.OnOk();
        ASSERT_GE(f.Boxes().size(), 1u);
        EXPECT_EQ(f.Boxes()[0], "PRODフォルダはすでに存在します。\n　　上書きしてよろしいですか？");
        EXPECT_EQ(f.sys.MessageBoxes()[0].style, plat::kMbYesNo);
        if (answer == plat::kIdNo) {
            EXPECT_EQ(f.LastBox(), "インストールを中断します。");
            EXPECT_TRUE(f.ReturnedToLauncher());
        } else {
            EXPECT_EQ(f.flow.step(), installer::kStepFinished);
        }
    }
}

TEST(InstallRun, OverwriteQuestionHoldsALongProductFolderWhole) {
    RunFixture f("[INSTALL]\n");
    std::string product;
    for (int i = 0; i < 100; ++i) product += "製";  // 200 bytes
    snprintf(f.e.options.dstDir, sizeof f.e.options.dstDir, "%s", product.c_str());
    f.sys.AddFolder("C:\\TAVREL\\" + product);
    f.ToConfirmation();
    f.sys.ClearMessageBoxes();
    f.flow.OnOk();
    ASSERT_GE(f.Boxes().size(), 1u);
    EXPECT_EQ(f.Boxes()[0], product + "フォルダはすでに存在します。\n　　上書きしてよろしいですか？");
}

TEST(InstallRun, UpdateInstallNeverAsksAboutOverwriting) {
    RunFixture f("[INSTALL]\n");
    snprintf(f.e.options.instUpdate, sizeof f.e.options.instUpdate, "Update");
    f.sys.AddFolder("C:\\GAMES\\OLD");
    f.sys.RegPutValue(plat::RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel", "Update", plat::kRegSz,
                      std::string("C:\\GAMES\\OLD\0", 13));
    f.Open();
    f.flow.OnOk();
    f.flow.OnOk();
    EXPECT_EQ(f.flow.step(), installer::kStepFinished) << f.LastBox();
    EXPECT_TRUE(f.Boxes().empty());
    EXPECT_STREQ(f.e.env.tavrelBase, "C:\\");  // the update folder cut twice
}

TEST(InstallRun, ShortFinalPathIsRefused) {
    RunFixture f("[INSTALL]\n");
    f.e.options.dstDir[0] = '\0';
    f.ToConfirmation();  // C:\TAVREL\ is 10 bytes
    f.sys.ClearMessageBoxes();
    f.flow.OnOk();
    const std::vector<std::string> boxes = {"パスが異常です。", "インストールを中断します。"};
    EXPECT_EQ(f.Boxes(), boxes);
    EXPECT_TRUE(f.ReturnedToLauncher());
}

TEST(InstallRun, StopBeforeInstallingEndsThePassAndRunsTheExitSection) {
    for (int screens : {0, 1, 2}) {
        RunFixture f;
        f.Open();
        if (screens >= 1) f.flow.OnOk();
        if (screens >= 2) f.Type("C:\\");
        f.sys.ClearMessageBoxes();
        f.flow.OnStop();
        EXPECT_TRUE(f.ReturnedToLauncher()) << screens;
        EXPECT_EQ(f.Boxes(), std::vector<std::string>{"exit"});
        f.flow.OnOk();
        f.flow.OnStop();  // idle: both do nothing
        EXPECT_EQ(f.around.returns, 1);
    }
}

TEST(InstallRun, PrepareInstallStartsFromTheWindowsDriveAndRunsTheInitSection) {
    RunFixture f("[INIT_INST]\nPRINT init\n");
    f.e.copy.percent = 55;
    f.flow.PrepareInstall();
    EXPECT_EQ(f.e.copy.percent, -1);
    EXPECT_EQ(f.flow.step(), installer::kStepWelcome);
    EXPECT_STREQ(f.flow.installPath(), "C:\\");
    EXPECT_EQ(f.e.chosenDriveIndex, 2);
    EXPECT_EQ(f.Boxes(), std::vector<std::string>{"init"});
    EXPECT_STREQ(f.flow.LineText(0), "MES1");
    EXPECT_STREQ(f.flow.LineText(5), "MES6");
}

}  // namespace

namespace {

TEST(InstallRun, OptionsGiveTheCopyAndInstallSizes) {
    InstallFixture f;
    ASSERT_EQ(f.Load("CopySize=1000\nDstDir=PROD\n"), 1);
    installer::ReadOptions(f.e);
    EXPECT_EQ(f.e.copy.copyTotal, 1024000u);
    EXPECT_EQ(f.e.copy.installSize, 1024000u + 262144u);
}

}  // namespace
