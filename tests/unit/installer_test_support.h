// An installer engine on the simulated Windows, with helpers to give it a script as
// UTF-8 lines (literals become Shift-JIS in this build) and a launcher view that records
// what the launcher asked of its windows.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "commands/keyword_tables.h"
#include "commands/registry_accessor.h"
#include "installer/launcher.h"
#include "platform/sim/sim_windows.h"
#include "script/engine.h"
#include "script/script_text.h"

namespace installertest {

// "\n" -> "\r\n".
inline std::string CrLf(const std::string& lines) {
    std::string out;
    for (char c : lines) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

struct InstallerFixture {
    plat::SimWindows sys;
    script::Engine e;

    InstallerFixture() {
        commands::ConfigureInstallerEngine(e);
        e.sys = &sys;
        std::snprintf(e.env.programFolder, sizeof e.env.programFolder, "D:\\");
        std::snprintf(e.env.sourceFolder, sizeof e.env.sourceFolder, "D:\\");
    }
    // Loads a script given as lines separated by '\n'; 1 on success.
    int Load(const std::string& lines) {
        std::string bytes = CrLf(lines);
        return script::LoadScriptBytes(e, bytes.data(), static_cast<int>(bytes.size()));
    }
    // The installer's own registry record, as start-up opens it.
    void OpenAccessor() { commands::OpenRegistryAccessor(e); }
    void PutSetting(const std::string& name, const std::string& text) {
        sys.RegPutValue(plat::RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel", name, plat::kRegSz, text + '\0');
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> out;
        for (const auto& b : sys.MessageBoxes()) out.push_back(b.text);
        return out;
    }
};

// Records the launcher's requests to its windows.
class RecordingView : public installer::LauncherView {
public:
    struct Button {
        installer::Rect rect{-999, -999, -999, -999};
        bool visible = false;
        bool enabled = true;
        bool isDefault = false;
        std::string text;
    };
    bool createResult = true;
    bool created = false;
    bool launcherVisible = false;
    bool frameShown = false;
    installer::Rect launcherRect{-999, -999, -999, -999};
    installer::Rect frameRect{-999, -999, -999, -999};
    std::map<int, Button> buttons;
    int focused = 0;
    int paletteRemakes = 0;
    int frameRepaints = 0;
    int launcherRepaints = 0;
    std::vector<std::string> log;

    RecordingView() {
        // As the template makes them: four visible buttons, Setup the default.
        for (int id : {installer::kIdSetup, installer::kIdPlay, installer::kIdExit, installer::kIdUninstall})
            buttons[id].visible = true;
        buttons[installer::kIdSetup].isDefault = true;
        buttons[installer::kIdSub1];
        buttons[installer::kIdSub2];
    }

    bool CreateLauncherWindow() override {
        log.push_back("create");
        created = createResult;
        return createResult;
    }
    bool LauncherExists() override { return created; }
    void RemakePalette() override { ++paletteRemakes; }
    void ShowLauncher(bool show) override {
        log.push_back(show ? "show" : "hide");
        launcherVisible = show;
    }
    void MoveLauncher(const installer::Rect& r) override { launcherRect = r; }
    void MoveFrame(const installer::Rect& r) override { frameRect = r; }
    void ShowAndEnableFrame() override { frameShown = true; }
    void FocusLauncher() override { focused = -1; }
    void MoveButton(int id, const installer::Rect& r) override { buttons[id].rect = r; }
    void ShowButton(int id, bool show) override { buttons[id].visible = show; }
    void SetButtonText(int id, const char* text) override { buttons[id].text = text; }
    void EnableButton(int id, bool enable) override { buttons[id].enabled = enable; }
    void SetButtonDefault(int id, bool isDefault) override { buttons[id].isDefault = isDefault; }
    void FocusButton(int id) override { focused = id; }
    void BringLauncherForward() override { log.push_back("forward"); }
    void RepaintFrame() override { ++frameRepaints; }
    void RepaintLauncher() override { ++launcherRepaints; }
    plat::WindowHandle LauncherHandle() override { return created ? 0x4242 : 0; }
};

}  // namespace installertest
