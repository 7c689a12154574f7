// The uninstall flow: the sections around the dialog, the question, and the installed
// state and registry value afterwards.
#include <gtest/gtest.h>

#include "install_test_support.h"

using namespace flowtest;

namespace {

class RecordingUninstallView : public installer::UninstallView {
public:
    std::string path, message;
    bool buttonsHidden = false;
    int activations = 0;
    int endResult = -1;
    void ShowTexts(const char* p, const char* m) override {
        path = p;
        message = m;
    }
    void HideButtons() override { buttonsHidden = true; }
    void Activate() override { ++activations; }
    void EndDialog(int result) override { endResult = result; }
};

// Presses OK (or cancels) on the dialog, after noting what it started with.
class Runner : public installer::UninstallDialogRunner {
public:
    bool pressOk = true;
    std::string startPath, startMessage;
    RecordingUninstallView view;
    void RunModal(installer::UninstallFlow& flow) override {
        startPath = flow.pathText();
        startMessage = flow.messageText();
        if (pressOk) flow.ConfirmUninstall(view);
    }
};

const char kScript[] =
    "[INIT_UNINST]\nPRINT init\n"
    "[UNINSTALL]\nDELETE C:\\TAVREL\\PROD\\*.*\nRMDIR C:\\TAVREL\\PROD\n"
    "[EXIT_UNINST]\nPRINT exit\n";

struct UninstallFixture : InstallFixture {
    installer::UninstallFlow uflow{e};
    Runner runner;
    explicit UninstallFixture(const std::string& script = kScript) {
        EXPECT_EQ(Load(script), 1);
        sys.AddFolder("C:\\TAVREL\\PROD");
        sys.AddFile("C:\\TAVREL\\PROD\\GAME.EXE", "x");
        sys.RegPutValue(plat::RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel", "PROD", plat::kRegSz,
                        std::string("C:\\TAVREL\\PROD\\\0", 16));
        e.productInstalled = true;
    }
};

TEST(UninstallFlow, YesRunsTheSectionAndForgetsTheInstallation) {
    UninstallFixture f;
    f.sys.QueueMessageBoxAnswer(plat::kIdOk);   // init
    f.sys.QueueMessageBoxAnswer(plat::kIdYes);  // the question
    f.uflow.RunUninstall(f.runner);
    EXPECT_EQ(f.runner.startPath, "C:\\TAVREL\\PROD\\");
    EXPECT_EQ(f.runner.startMessage, "以下のフォルダの中身を全て削除します。");
    EXPECT_EQ(f.runner.view.path, "");
    EXPECT_EQ(f.runner.view.message, "アンインストール中です。");
    EXPECT_TRUE(f.runner.view.buttonsHidden);
    EXPECT_EQ(f.runner.view.activations, 1);
    EXPECT_EQ(f.runner.view.endResult, plat::kIdOk);
    const std::vector<std::string> boxes = {"init", "本当にアンインストールしても\n　　　よろしいですか？",
                                            "アンインストールが終了しました。", "exit"};
    EXPECT_EQ(f.Boxes(), boxes);
    EXPECT_EQ(f.sys.MessageBoxes()[1].owner, kUninstallDialog);
    EXPECT_EQ(f.sys.MessageBoxes()[1].style, plat::kMbYesNo);
    EXPECT_EQ(f.sys.MessageBoxes()[3].owner, kUninstallDialog);  // exit runs in mode 2 too
    EXPECT_FALSE(f.sys.Exists("C:\\TAVREL\\PROD"));
    EXPECT_FALSE(f.e.productInstalled);
    uint32_t type;
    std::string bytes;
    EXPECT_FALSE(f.sys.RegGetValue(plat::RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel", "PROD", &type, &bytes));
    EXPECT_EQ(f.e.activityMode, script::kModeIdle);
}

TEST(UninstallFlow, CancelOrNoRunsOnlyTheSurroundingSections) {
    for (bool pressOk : {false, true}) {
        UninstallFixture f;
        f.runner.pressOk = pressOk;  // with OK the question is answered No
        f.uflow.RunUninstall(f.runner);
        EXPECT_TRUE(f.sys.IsFile("C:\\TAVREL\\PROD\\GAME.EXE"));
        EXPECT_TRUE(f.e.productInstalled);
        EXPECT_EQ(f.Setting("PROD"), "C:\\TAVREL\\PROD\\");
        EXPECT_EQ(f.Boxes().front(), "init");
        EXPECT_EQ(f.Boxes().back(), "exit");
        if (pressOk) EXPECT_EQ(f.runner.view.endResult, plat::kIdCancel);
    }
}

TEST(UninstallFlow, FailingSectionKeepsTheProductInstalled) {
    UninstallFixture f("[UNINSTALL]\nRMDIR C:\\TAVREL\\PROD\n");
    f.sys.QueueMessageBoxAnswer(plat::kIdYes);
    f.uflow.RunUninstall(f.runner);
    EXPECT_TRUE(f.e.productInstalled);
    EXPECT_EQ(f.Setting("PROD"), "C:\\TAVREL\\PROD\\");
    ASSERT_EQ(f.Boxes().size(), 2u);
    EXPECT_EQ(f.Boxes()[1].rfind("フォルダの削除に失敗しました。\nアンインストールを中断します。", 0), 0u);
    EXPECT_EQ(f.runner.view.endResult, plat::kIdOk);
}

TEST(UninstallFlow, MissingSectionStillCountsAsUninstalled) {
    UninstallFixture f("[PLAY]\n");
    f.sys.QueueMessageBoxAnswer(plat::kIdYes);
    f.uflow.RunUninstall(f.runner);
    EXPECT_EQ(f.LastBox(), "アンインストールが終了しました。");
    EXPECT_FALSE(f.e.productInstalled);
    EXPECT_EQ(f.Setting("PROD"), "");
}

}  // namespace
