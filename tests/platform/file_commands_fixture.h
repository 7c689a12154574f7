// An installer engine on the test platform that runs small scripts in the test's scratch
// folder. "$" in a script line stands for the scratch folder (with its backslash).
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "commands/file_commands.h"
#include "commands/keyword_tables.h"
#include "script/dispatch.h"
#include "script/engine.h"
#include "script/script_text.h"
#include "tests/support/test_platform.h"

namespace filetest {

// Records each progress redraw with the percentage it would show.
class ProgressHost : public script::Host {
public:
    script::Engine* e = nullptr;
    std::vector<int> redraws;
    void RedrawProgress() override { redraws.push_back(e->copy.percent); }
};

// The message table's texts by row and activity mode, as the user must see them.
inline std::string Row(int row, int mode) {
    static const char* const kTexts[10][3] = {
        {"", "", ""},
        {"フォルダの作成に失敗しました。", "フォルダの作成に失敗しました。\n　　インストールを中断します。",
         "フォルダの作成に失敗しました。\nアンインストールを中断します。"},
        {"フォルダの削除に失敗しました。", "フォルダの削除に失敗しました。\n　　インストールを中断します。",
         "フォルダの削除に失敗しました。\nアンインストールを中断します。"},
        {"ファイルの削除に失敗しました。", "ファイルの削除に失敗しました。\n　インストールを中断します。",
         "ファイルの削除に失敗しました。\nアンインストールを中断します。"},
        {"ファイルのリネームに失敗しました。", "ファイルのリネームに失敗しました。\n　　インストールを中断します。",
         "ファイルのリネームに失敗しました。\nアンインストールを中断します。"},
        {"", "", ""},
        {"ファイルの読み込みに失敗しました。", "ファイルの読み込みに失敗しました。\n　　インストールを中断します。",
         "ファイルの読み込みに失敗しました。\nアンインストールを中断します。"},
        {"ファイルの書き込みに失敗しました。", "ファイルの書き込みに失敗しました。\n　　インストールを中断します。",
         "ファイルの書き込みに失敗しました。\nアンインストールを中断します。"},
        {"", "", ""},
        {"　　容量が足りません。", "　　容量が足りません。\nインストールを中断します。",
         "　　　容量が足りません。\nアンインストールを中断します。"},
    };
    return kTexts[row][mode];
}

class ScriptRunTest : public testsupport::PlatformTest {
protected:
    std::unique_ptr<script::Engine> engine_;
    ProgressHost host_;

    script::Engine& e() { return *engine_; }

    void SetUp() override {
        PlatformTest::SetUp();
        engine_ = std::make_unique<script::Engine>();
        script::ResetEngineState(e());
        commands::ConfigureInstallerEngine(e());
        e().sys = &sys();
        e().host = &host_;
        host_.e = engine_.get();
        std::strcpy(e().env.programFolder, tp().Scratch().c_str());
    }
    void TearDown() override {
        // Release what a failing test may hold, so the scratch folder can go.
        if (e().output.open) {
            plat::FileCause ignored;
            sys().CloseFile(e().output.file, &ignored);
        }
        commands::CloseSearch(e());
        PlatformTest::TearDown();
    }

    std::string S(const std::string& text) const {
        std::string out;
        for (char c : text) {
            if (c == '$')
                out += tp_->Scratch();
            else
                out += c;
        }
        return out;
    }

    // Loads "[T]" and the lines (separated by '\n') and positions the reader behind it.
    void Load(const std::string& lines) {
        std::string text = "[OPTIONS]\r\n[T]\r\n";
        for (char c : S(lines)) {
            if (c == '\n') text += '\r';
            text += c;
        }
        text += "\r\n";
        ASSERT_EQ(script::LoadScriptBytes(e(), text.data(), static_cast<int>(text.size())), 1);
    }
    int Run(const std::string& lines, int mode = script::kModeIdle) {
        Load(lines);
        e().activityMode = mode;
        return script::RunSection(e(), "~[T]");
    }

    std::vector<std::string> Texts() {
        std::vector<std::string> out;
        for (const auto& b : tp().MessageBoxes()) out.push_back(b.text);
        return out;
    }
    // Files and folders by their names inside the scratch folder.
    bool File(const std::string& name, const std::string& bytes) { return tp().WriteWholeFile(tp().Path(name), bytes); }
    bool Folder(const std::string& name) { return sys().CreateDirectory(tp().Path(name).c_str()); }
    std::string Contents(const std::string& name) { return tp().ReadWholeFile(tp().Path(name)); }
    bool Exists(const std::string& name) { return tp().Exists(tp().Path(name)); }
    plat::FileInfo Info(const std::string& name) {
        plat::FileInfo info;
        info.attributes = plat::kInvalidAttributes;
        sys().GetFileInfo(tp().Path(name).c_str(), &info);
        return info;
    }
};

}  // namespace filetest
