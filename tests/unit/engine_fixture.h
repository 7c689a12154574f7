// A script engine on a recording platform: message boxes are answered from a queue and
// kept for the test to read, every other system call fails. Enough for the engine's own
// rules; suites that touch files or the registry use the simulated Windows instead.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/null_platform.h"
#include "script/engine.h"

namespace enginetest {

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned style;
    plat::WindowHandle owner;
};

class RecordingPlatform : public plat::NullPlatform {
public:
    std::deque<int> answers;
    std::vector<ShownBox> boxes;
    int quitPosts = 0;
    std::vector<std::string> currentDirectories;

    int MessageBox(plat::WindowHandle owner, const char* text, const char* caption, unsigned style) override {
        boxes.push_back({text, caption, style, owner});
        if (answers.empty()) return (style & 0xF) == plat::kMbYesNo ? plat::kIdNo : plat::kIdOk;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    void PostQuitMessage(int) override { ++quitPosts; }
    bool SetCurrentDirectory(const char* path) override {
        currentDirectories.push_back(path);
        return true;
    }
};

// A host that records what the engine asked of the program around it.
class RecordingHost : public script::Host {
public:
    plat::WindowHandle owner = 0;
    bool proceed = false;
    int menuChoice = -1;  // -1: leave the selection as it is
    int optionReads = 0;
    int menuRuns = 0;
    std::vector<std::string> loaded;
    bool loadResult = true;

    plat::WindowHandle MessageOwner() override { return owner; }
    void ReadOptions() override { ++optionReads; }
    bool LoadBackground(const char* file) override {
        loaded.push_back(file);
        return loadResult;
    }
    bool RunNoticeDialog() override { return proceed; }
    script::Engine* engine = nullptr;
    void RunMenuDialog() override {
        ++menuRuns;
        if (menuChoice >= 0 && engine) engine->menu.selectedIndex = menuChoice;
    }
};

// An installer engine over the recording platform with a script given as UTF-8 text
// whose lines end in "\n"; the text is turned into CR LF lines (literals are already
// Shift-JIS bytes in this build).
struct EngineFixture {
    RecordingPlatform sys;
    RecordingHost host;
    script::Engine e;

    EngineFixture();
    // Loads the script; the caller writes lines separated by '\n'.
    int Load(const std::string& lines);
    int Run(const char* section);
    std::string LastText() const { return sys.boxes.empty() ? "" : sys.boxes.back().text; }
};

// "\n" -> "\r\n".
std::string CrLf(const std::string& lines);

}  // namespace enginetest
