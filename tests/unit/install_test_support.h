// The install and uninstall flows on the simulated Windows: an installer engine with a
// demo-like set-up, a dialog view that records what the flow asked of its controls, and
// a host that forwards progress redraws to the flow as the real program does.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "commands/drive_info.h"
#include "commands/keyword_tables.h"
#include "commands/registry_accessor.h"
#include "installer/install_flow.h"
#include "installer/uninstall_flow.h"
#include "platform/sim/sim_windows.h"
#include "script/engine.h"
#include "script/script_text.h"

namespace flowtest {

constexpr plat::WindowHandle kInstallDialog = 0x1310;
constexpr plat::WindowHandle kUninstallDialog = 0x1320;
constexpr plat::WindowHandle kLauncher = 0x1300;

inline std::string CrLf(const std::string& lines) {
    std::string out;
    for (char c : lines) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

class RecordingInstallView : public installer::InstallView {
public:
    struct Control {
        std::string text;
        bool visible = true;
        installer::ButtonPlace place{-999, -999, -999, -999};
    };
    std::map<int, Control> controls;
    std::string caption;
    bool readOnly = false;
    int defaultButton = installer::kInstOk;
    int focused = 0;
    int activations = 0;
    int repaints = 0, erasingRepaints = 0;
    std::vector<std::string> bars;  // the percentage text of every bar drawn
    int endResult = -1;
    std::string typed;      // what the user typed into the edit box (GetText answers this)
    bool typedFits = true;  // false: it holds a character Shift-JIS cannot hold

    RecordingInstallView() {
        // As the template makes them.
        controls[installer::kInstPath].visible = false;
        controls[installer::kInstPercent].visible = false;
        controls[installer::kInstBrowse].visible = false;
        controls[installer::kInstPercent].text = "000%";
    }
    bool Visible(int id) { return controls[id].visible; }
    const std::string& Text(int id) { return controls[id].text; }

    void SetCaption(const char* text) override { caption = text; }
    void SetText(int id, const char* text) override {
        controls[id].text = text;
        if (id == installer::kInstPath) typed = text;
    }
    bool GetText(int id, char* buffer, size_t size) override {
        if (id == installer::kInstPath && !typedFits) {
            snprintf(buffer, size, "%s", "");
            return false;
        }
        snprintf(buffer, size, "%s", id == installer::kInstPath ? typed.c_str() : controls[id].text.c_str());
        return true;
    }
    void ShowControl(int id, bool show) override { controls[id].visible = show; }
    void SetEditReadOnly(bool ro) override { readOnly = ro; }
    void MoveButton(int id, const installer::ButtonPlace& p) override { controls[id].place = p; }
    void MakeDefault(int id) override { defaultButton = id; }
    void Focus(int id) override { focused = id; }
    void Activate() override { ++activations; }
    void RepaintNow(bool erase) override {
        ++repaints;
        if (erase) ++erasingRepaints;
    }
    void DrawBar(const installer::ProgressPicture& p) override { bars.push_back(p.text); }
    void EndDialog(int result) override { endResult = result; }
};

class Surroundings : public installer::InstallSurroundings {
public:
    int returns = 0;
    void ReturnToLauncher() override { ++returns; }
};

class FlowHost : public script::Host {
public:
    script::Engine* e = nullptr;
    installer::InstallFlow* flow = nullptr;
    plat::WindowHandle MessageOwner() override {
        if (e->activityMode == script::kModeInstalling) return kInstallDialog;
        if (e->activityMode == script::kModeUninstalling) return kUninstallDialog;
        return kLauncher;
    }
    void RedrawProgress() override {
        if (flow) flow->DrawProgress();
    }
};

struct InstallFixture {
    plat::SimWindows sys;
    script::Engine e;
    FlowHost host;
    RecordingInstallView view;
    Surroundings around;
    installer::InstallFlow flow{e};

    InstallFixture() {
        commands::ConfigureInstallerEngine(e);
        e.sys = &sys;
        e.host = &host;
        host.e = &e;
        host.flow = &flow;
        snprintf(e.env.programFolder, sizeof e.env.programFolder, "D:\\");
        snprintf(e.env.sourceFolder, sizeof e.env.sourceFolder, "D:\\");
        snprintf(e.env.windowsFolder, sizeof e.env.windowsFolder, "C:\\WINDOWS");
        snprintf(e.env.tavrelBase, sizeof e.env.tavrelBase, "C:\\");
        snprintf(e.options.title, sizeof e.options.title, "デモゲーム");
        snprintf(e.options.dstDir, sizeof e.options.dstDir, "PROD");
        snprintf(e.options.instTitle, sizeof e.options.instTitle, "デモゲーム  インストール  ユーティリティ");
        for (int i = 0; i < 6; ++i) snprintf(e.options.instMes[i], sizeof e.options.instMes[i], "MES%d", i + 1);
        snprintf(e.options.instMes[6], sizeof e.options.instMes[6], "インストールが終了しました。");
        e.copy.installSize = 262144;
        e.copy.copyTotal = 10240;
        commands::ScanDriveTypes(e);
        commands::OpenRegistryAccessor(e);
        flow.Attach(&view, &around);
    }

    // Loads the lines behind an empty options section.
    int Load(const std::string& lines) {
        std::string bytes = CrLf("[OPTIONS]\n" + lines);
        return script::LoadScriptBytes(e, bytes.data(), static_cast<int>(bytes.size()));
    }
    // Setup: prepared, dialog created, on the welcome screen.
    void Open(int width = 400, int height = 270) {
        flow.PrepareInstall();
        flow.OnCreate(width, height);
    }
    // Welcome -> destination (the offer answered from the queue, if any).
    void ToDestination() {
        Open();
        flow.OnOk();
    }
    // Types a path on the destination screen and presses 決定.
    void Type(const std::string& path) {
        view.typed = path;
        flow.OnOk();
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> out;
        for (const auto& b : sys.MessageBoxes()) out.push_back(b.text);
        return out;
    }
    std::string LastBox() const { return sys.MessageBoxes().empty() ? "" : sys.MessageBoxes().back().text; }
    std::string Setting(const std::string& name) const {
        return sys.RegGetString(plat::RegRoot::CurrentUser, "SOFTWARE\\Tavrel\\Ostrel", name);
    }
};

}  // namespace flowtest
