// The dry run drives the installer's own start-up and flow objects; only the windows are
// replaced: message boxes, the menu and the notice dialog are answered from the answer
// file (or with the answer that lets the install go on), and the install dialog's
// screens are passed with OK. Every command runs through a thin wrapper around its own
// handler, which notes section changes and jumps.
#include "tools/checker/dry_run.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "commands/keyword_tables.h"
#include "commands/registry_accessor.h"
#include "installer/install_flow.h"
#include "installer/options.h"
#include "installer/startup.h"
#include "installer/uninstall_flow.h"
#include "platform/sim/sim_windows.h"
#include "script/dispatch.h"
#include "script/engine.h"
#include "script/script_text.h"
#include "tools/checker/json_text.h"
#include "tools/checker/text_encoding.h"

namespace checker {

std::string DryEvent::Field(const std::string& name) const {
    for (const auto& f : fields)
        if (f.first == name) return f.second;
    return "";
}

namespace {

namespace fs = std::filesystem;
using plat::SimWindows;

const char kCdDrive = 'Q';
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr int kRepeatLimit = 3;
constexpr long kMaxJumpsListed = 500;  // the same OK/Cancel box this often: the user gives up

DryEvent Event(const std::string& kind, std::vector<std::pair<std::string, std::string>> fields) {
    return DryEvent{kind, std::move(fields)};
}

const char* RootName(plat::RegRoot root) {
    switch (root) {
        case plat::RegRoot::CurrentUser: return "HKEY_CURRENT_USER";
        case plat::RegRoot::LocalMachine: return "HKEY_LOCAL_MACHINE";
        case plat::RegRoot::Users: return "HKEY_USERS";
        case plat::RegRoot::ClassesRoot: return "HKEY_CLASSES_ROOT";
        case plat::RegRoot::CurrentConfig: return "HKEY_CURRENT_CONFIG";
    }
    return "?";
}

std::string ButtonsOf(unsigned style) {
    switch (style & 0xF) {
        case plat::kMbYesNo: return "Yes/No";
        case plat::kMbOkCancel: return "OK/Cancel";
        default: return "OK";
    }
}

std::string AnswerName(int answer) {
    switch (answer) {
        case plat::kIdOk: return "OK";
        case plat::kIdCancel: return "Cancel";
        case plat::kIdYes: return "Yes";
        case plat::kIdNo: return "No";
        default: return std::to_string(answer);
    }
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

// The answer file: one answer a line, "#" starts a comment. Words: yes, no, ok, cancel
// (message boxes that ask), "menu N" (1 to 5), "notice proceed" / "notice stop".
class Answers {
public:
    explicit Answers(const std::string& text) {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            size_t hash = line.find('#');
            if (hash != std::string::npos) line.erase(hash);
            std::istringstream words(line);
            std::string a, b;
            words >> a >> b;
            if (!a.empty()) queue_.push_back({Upper(a), Upper(b)});
        }
    }
    // The next answer of one of the kinds, or "" when none is queued.
    std::pair<std::string, std::string> Take(std::initializer_list<const char*> kinds) {
        for (size_t i = 0; i < queue_.size(); ++i) {
            for (const char* k : kinds) {
                if (queue_[i].first != k) continue;
                auto a = queue_[i];
                queue_.erase(queue_.begin() + static_cast<long>(i));
                return a;
            }
            break;  // answers are taken in order
        }
        return {"", ""};
    }
    size_t left() const { return queue_.size(); }

private:
    std::vector<std::pair<std::string, std::string>> queue_;
};

// Lines of the loaded script: logical line -> physical line, text and section.
struct ScriptIndex {
    struct Line {
        int offset, end, physical;
        std::string text;     // Shift-JIS, trimmed
        std::string section;  // header of the section it is in (Shift-JIS)
    };
    std::vector<Line> lines;

    void Build(const script::Engine& loaded) {
        auto scratch = std::make_unique<script::Engine>();
        std::memcpy(scratch->script.text, loaded.script.text, static_cast<size_t>(loaded.script.length));
        scratch->script.length = loaded.script.length;
        scratch->script.readPos = 0;
        int physical = 1;
        std::string section;
        while (scratch->script.readPos < scratch->script.length) {
            Line l;
            l.offset = scratch->script.readPos;
            int r = script::ReadScriptLine(*scratch);
            l.end = scratch->script.readPos;
            l.physical = physical;
            for (int i = l.offset; i < l.end; ++i)
                if (loaded.script.text[i] == '\n') ++physical;
            char line[script::kLineCapacity];
            std::snprintf(line, sizeof line, "%s", scratch->script.line);
            script::TrimLineEnd(line);
            l.text = line;
            size_t start = l.text.find_first_not_of(" \t");
            if (start != std::string::npos && l.text[start] == '[') section = l.text.substr(start);
            l.section = section;
            lines.push_back(l);
            if (r == -1) break;
        }
    }
    // The line that ends at position (the one just read), or nullptr.
    const Line* EndingAt(int position) const {
        for (const Line& l : lines)
            if (l.end == position) return &l;
        return nullptr;
    }
};

class DryRun : public script::Host, public script::DispatchObserver {
public:
    DryRun(const DryRunOptions& options, DryRunReport* report)
        : options_(options), report_(report), answers_(options.answers), e_(new script::Engine) {}

    bool Run(std::string* error) {
        if (!MapCd(error)) return false;
        Snapshot(&filesBefore_, &registryBefore_);
        commands::ConfigureInstallerEngine(*e_);
        e_->observer = this;
        e_->sys = &sys_;
        e_->host = this;
        sys_.SetMessageBoxHook([this](const SimWindows::MessageBoxCall& c) { return AnswerBox(c); });
        // A loop of questions ends at the command limit first; a command that asks for
        // ever by itself ends here, with the simulation's own stop.
        sys_.SetMessageBoxLimit(static_cast<size_t>(options_.maxCommands));
        try {
            StartAndPress();
        } catch (const std::runtime_error&) {
            Note(Event("end", {{"reason", "more than " + std::to_string(options_.maxCommands) +
                                              " message boxes: the script loops"}}));
        }
        Collect();
        return true;
    }

    // Start-up, then the buttons in order, until the installer ends or quits.
    void StartAndPress() {
        struct Windows : installer::StartupWindows {
            DryRun* run;
            bool CreateFrame() override { return true; }
            bool HasDialogTemplates() override { return true; }
            void RunUninstall() override { run->Uninstall(); }
            int CreateLauncher() override { return 1; }
        } windows;
        windows.run = this;
        Note(Event("action", {{"name", "start-up"}}));
        bool up = installer::RunStartup(*e_, windows, "");
        if (!up) {
            Note(Event("end", {{"reason", "the installer ends at start-up"}}));
        } else if (!sys_.QuitRequests().empty()) {
            // QUIT in [INIT]: the message loop ends before any button can be pressed.
            Note(Event("end", {{"reason", "the installer quits"}}));
            up = false;
        }
        for (DryAction a : options_.actions) {
            if (!up) break;
            lastSection_.clear();
            switch (a) {
                case DryAction::Setup: Setup(); break;
                case DryAction::Uninstall: Uninstall(); break;
                case DryAction::Play: Play(); break;
                case DryAction::Sub1: SubButton(0); break;
                case DryAction::Sub2: SubButton(1); break;
            }
            if (!sys_.QuitRequests().empty()) {
                Note(Event("end", {{"reason", "the installer quits"}}));
                break;
            }
        }
    }

    // Every command of the installer passes here on its way to its own handler.
    int RunCommand(script::Engine& e, const script::Keyword& keyword) override {
        // A jump back without a question loops for ever on Windows too; here it ends.
        if (++commands_ > options_.maxCommands) {
            if (!looping_)
                Note(Event("end", {{"reason", "more than " + std::to_string(options_.maxCommands) +
                                                  " commands: the script loops"}}));
            looping_ = true;
            return script::kFailed;
        }
        const int behind = e.script.readPos;
        if (index_.lines.empty()) index_.Build(e);
        const ScriptIndex::Line* line = index_.EndingAt(behind);
        if (line && line->section != lastSection_) {
            lastSection_ = line->section;
            Note(Event("section", {{"name", SjisToUtf8(line->section)}, {"line", std::to_string(line->physical)}}));
        }
        int result = keyword.handler(e);
        if (e.script.readPos != behind && line && ++jumps_ == kMaxJumpsListed + 1)
            Note(Event("jump", {{"to", "... further jumps are not listed"}}));
        if (e.script.readPos != behind && line && jumps_ <= kMaxJumpsListed) {
            const ScriptIndex::Line* target = index_.EndingAt(e.script.readPos);
            DryEvent jump = Event("jump", {{"from", std::to_string(line->physical)}, {"command", keyword.word}});
            if (target && e.script.readPos < e.script.length) {
                jump.fields.push_back({"to", std::to_string(target->physical)});
                jump.fields.push_back({"target", SjisToUtf8(target->text)});
                lastSection_ = target->section;
            } else {
                jump.fields.push_back({"to", "end"});
            }
            Note(jump);
        }
        if (result == script::kFailed && line)
            Note(Event("failed", {{"line", std::to_string(line->physical)}, {"command", SjisToUtf8(line->text)}}));
        return result;
    }

    // ---- script::Host ------------------------------------------------------------------
    void ReadOptions() override { installer::ReadOptions(*e_); }
    bool LoadBackground(const char* file) override {
        std::string path = std::string(e_->env.programFolder) + file;
        bool ok = sys_.IsFile(path) || sys_.IsFile(file);
        Note(Event("picture", {{"file", SjisToUtf8(file)}, {"loaded", ok ? "yes" : "no"}}));
        return ok;
    }
    bool RunNoticeDialog() override {
        auto a = answers_.Take({"NOTICE"});
        bool proceed = a.first.empty() || a.second != "STOP";
        Note(Event("notice", {{"answer", proceed ? "proceed" : "stop"}}));
        return proceed;
    }
    void RunMenuDialog() override {
        script::MenuState& m = e_->menu;
        auto a = answers_.Take({"MENU"});
        if (!a.first.empty()) {
            int choice = std::atoi(a.second.c_str()) - 1;
            if (choice >= 0 && choice < m.count) m.selectedIndex = choice;
        }
        DryEvent ev = Event("menu", {{"title", SjisToUtf8(m.title)}});
        for (int i = 0; i < m.count; ++i) ev.fields.push_back({"item", SjisToUtf8(m.items[i])});
        ev.fields.push_back({"chosen", std::to_string(m.selectedIndex + 1)});
        Note(ev);
    }
    void RunAndWait(plat::ProcessHandle process) override {
        Note(Event("wait", {{"for", "the started program to end"}}));
        sys_.EndProcess(process);
    }

private:
    void Note(const DryEvent& ev) { report_->events.push_back(ev); }

    bool MapCd(std::string* error) {
        std::error_code ec;
        fs::path root = options_.cdFolder;
        if (!fs::is_directory(root, ec)) {
            *error = "not a folder: " + options_.cdFolder;
            return false;
        }
        sys_.AddDrive(kCdDrive, plat::kDriveCdrom, 0);
        if (options_.family95) sys_.SetFamily95();
        for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            if (ec) break;
            std::string rel = fs::relative(it->path(), root, ec).generic_string();
            std::string path = std::string(1, kCdDrive) + ":\\" + rel;
            for (char& c : path)
                if (c == '/') c = '\\';
            if (it->is_directory()) {
                sys_.AddFolder(path);
                continue;
            }
            std::ifstream in(it->path(), std::ios::binary);
            std::ostringstream s;
            s << in.rdbuf();
            std::string bytes = s.str();
            if (options_.utf8Scripts && Upper(it->path().extension().string()) == ".INF") {
                std::string converted;
                if (!Utf8SourceToScript(bytes, &converted)) {
                    *error = "cannot convert to Shift-JIS: " + it->path().string();
                    return false;
                }
                bytes = converted;
            }
            sys_.AddFile(path, bytes, plat::kAttrReadOnly | plat::kAttrArchive);
        }
        std::string module = std::string(1, kCdDrive) + ":\\OSTREL.EXE";
        if (!sys_.IsFile(module)) sys_.AddFile(module, "", plat::kAttrReadOnly);
        sys_.SetModuleFileName(module);
        if (!sys_.IsFile(std::string(1, kCdDrive) + ":\\" + options_.scriptName)) {
            *error = "no " + options_.scriptName + " in " + options_.cdFolder;
            return false;
        }
        return true;
    }

    // How a box is answered: questions from the answer file, otherwise the answer that
    // lets the work go on (Yes, OK), except that a box asked again and again gets Cancel.
    int AnswerBox(const SimWindows::MessageBoxCall& c) {
        int answer = plat::kIdOk;
        const unsigned buttons = c.style & 0xF;
        if (buttons == plat::kMbYesNo) {
            auto a = answers_.Take({"YES", "NO"});
            answer = a.first == "NO" ? plat::kIdNo : plat::kIdYes;
        } else if (buttons == plat::kMbOkCancel) {
            auto a = answers_.Take({"OK", "CANCEL"});
            repeats_ = c.text == lastText_ ? repeats_ + 1 : 1;
            answer = a.first == "CANCEL" || (a.first.empty() && repeats_ >= kRepeatLimit) ? plat::kIdCancel
                                                                                          : plat::kIdOk;
        }
        lastText_ = c.text;
        Note(Event("message", {{"caption", SjisToUtf8(c.caption)},
                               {"text", SjisToUtf8(c.text)},
                               {"buttons", ButtonsOf(c.style)},
                               {"answer", AnswerName(answer)}}));
        return answer;
    }

    // ---- The launcher's buttons -------------------------------------------------------

    struct View : installer::InstallView {
        std::string path, typed;
        bool useTyped = false;
        void SetCaption(const char*) override {}
        void SetText(int id, const char* text) override {
            if (id == installer::kInstPath) path = text;
        }
        bool GetText(int id, char* buffer, size_t size) override {
            const std::string& t = id == installer::kInstPath && useTyped ? typed : path;
            std::snprintf(buffer, size, "%s", id == installer::kInstPath ? t.c_str() : "");
            return true;
        }
        void ShowControl(int, bool) override {}
        void SetEditReadOnly(bool) override {}
        void MoveButton(int, const installer::ButtonPlace&) override {}
        void MakeDefault(int) override {}
        void Focus(int) override {}
        void Activate() override {}
        void RepaintNow(bool) override {}
        void DrawBar(const installer::ProgressPicture&) override {}
        void EndDialog(int) override {}
    };
    struct Surroundings : installer::InstallSurroundings {
        void ReturnToLauncher() override {}
    };

    void Setup() {
        Note(Event("action", {{"name", "Setup"}}));
        View view;
        Surroundings around;
        installer::InstallFlow flow(*e_);
        flow.Attach(&view, &around);
        flow.PrepareInstall();
        flow.OnCreate(480, 360);
        flow.OnOk();  // the welcome screen
        if (flow.step() == installer::kStepDestination) {
            if (!options_.destination.empty()) {
                std::string typed;
                if (!Utf8ToSjis(options_.destination, &typed)) typed = options_.destination;
                view.typed = typed;
                view.useTyped = true;
            }
            Note(Event("destination", {{"typed", SjisToUtf8(view.useTyped ? view.typed : view.path)}}));
            flow.OnOk();
        }
        if (flow.step() == installer::kStepConfirm) {
            Note(Event("install", {{"folder", SjisToUtf8(flow.installPath())}}));
            flow.OnOk();
        } else {
            Note(Event("end", {{"reason", "the destination was not accepted; Setup is stopped"}}));
        }
        if (flow.step() == installer::kStepFinished)
            Note(Event("result", {{"install", "completed"}}));
        else if (!flow.done())
            Note(Event("result", {{"install", "stopped"}}));
        else
            Note(Event("result", {{"install", "failed"}}));
        if (!flow.done()) flow.OnStop();  // the completion screen's button, or Stop
    }

    struct UninstallView : installer::UninstallView {
        void ShowTexts(const char*, const char*) override {}
        void HideButtons() override {}
        void Activate() override {}
        void EndDialog(int) override {}
    };
    struct UninstallRunner : installer::UninstallDialogRunner {
        DryRun* run;
        void RunModal(installer::UninstallFlow& flow) override {
            run->Note(Event("uninstall dialog",
                            {{"folder", SjisToUtf8(flow.pathText())}, {"text", SjisToUtf8(flow.messageText())}}));
            UninstallView view;
            flow.ConfirmUninstall(view);
        }
    };

    void Uninstall() {
        Note(Event("action", {{"name", "Uninstall"}}));
        UninstallRunner runner;
        runner.run = this;
        installer::UninstallFlow flow(*e_);
        flow.RunUninstall(runner);
    }

    // As the launcher's Play: the play section, or else the recorded program.
    void Play() {
        Note(Event("action", {{"name", "Play"}}));
        if (script::FindSection(*e_, e_->slots.play)) {
            script::RunSection(*e_, e_->slots.play);
            return;
        }
        char folder[script::kPathSize];
        if (commands::ReadSetting(*e_, e_->options.dstDir, folder, sizeof folder) != 1) {
            Note(Event("end", {{"reason", "nothing recorded as installed: Play does nothing"}}));
            return;
        }
        sys_.SetCurrentDirectory(folder);
        sys_.WinExec(e_->options.exeName, 5);
        sys_.PostQuitMessage(0);
    }

    void SubButton(int i) {
        Note(Event("action",
                   {{"name", i == 0 ? "sub button 1" : "sub button 2"}, {"caption", SjisToUtf8(e_->sub[i].caption)}}));
        if (!e_->sub[i].enabled) {
            Note(Event("end", {{"reason", "the script shows no such button"}}));
            return;
        }
        script::RunSection(*e_, e_->sub[i].slot);
    }

    // ---- What changed -----------------------------------------------------------------

    using FileMap = std::map<std::string, std::pair<bool, std::string>>;  // path -> folder?, contents
    using RegMap = std::map<std::string, std::string>;                    // key or key|value -> data

    void ListFiles(const std::string& folder, FileMap* out) {
        for (const std::string& name : sys_.List(folder)) {
            std::string path = folder + name;
            if (sys_.IsFolder(path)) {
                (*out)[path + "\\"] = {true, ""};
                ListFiles(path + "\\", out);
            } else {
                (*out)[path] = {false, sys_.Contents(path)};
            }
        }
    }

    void ListKeys(plat::RegRoot root, const std::string& path, RegMap* out) {
        std::string shown = std::string(RootName(root)) + (path.empty() ? "" : "\\" + path);
        (*out)[shown] = "";
        for (const std::string& v : sys_.RegValueNames(root, path)) {
            uint32_t type = 0;
            std::string bytes;
            sys_.RegGetValue(root, path, v, &type, &bytes);
            // A zero byte parts key from value name: any other byte may be in a key's name.
            (*out)[shown + '\0' + v] = std::to_string(type) + ":" + bytes;
        }
        for (const std::string& k : sys_.RegSubkeys(root, path))
            ListKeys(root, path.empty() ? k : path + "\\" + k, out);
    }

    void Snapshot(FileMap* files, RegMap* registry) {
        files->clear();
        registry->clear();
        for (char d = 'A'; d <= 'Z'; ++d) {
            std::string root = std::string(1, d) + ":\\";
            if (sys_.IsFolder(root)) ListFiles(root, files);
        }
        for (plat::RegRoot r : {plat::RegRoot::CurrentUser, plat::RegRoot::LocalMachine, plat::RegRoot::Users,
                                plat::RegRoot::ClassesRoot, plat::RegRoot::CurrentConfig})
            ListKeys(r, "", registry);
    }

    static std::string ValueText(const std::string& stored) {
        size_t colon = stored.find(':');
        uint32_t type = static_cast<uint32_t>(std::stoul(stored.substr(0, colon)));
        std::string bytes = stored.substr(colon + 1);
        if (type == plat::kRegSz) {
            size_t zero = bytes.find('\0');
            return SjisToUtf8(bytes.substr(0, zero));
        }
        std::string hex;
        for (unsigned char c : bytes) {
            char h[4];
            std::snprintf(h, sizeof h, "%02x", c);
            hex += h;
        }
        return hex;
    }

    void Collect() {
        FileMap files;
        RegMap registry;
        Snapshot(&files, &registry);
        std::map<std::string, bool> links;
        for (const auto& l : sys_.ShellLinks()) {
            std::string full = sys_.FullPath(l.linkPath);
            if (l.result != 0 || !sys_.IsFile(full.empty() ? l.linkPath : full)) continue;  // failed or removed again
            links[full.empty() ? l.linkPath : full] = true;
            report_->shortcuts.push_back(Event("shortcut", {{"link", SjisToUtf8(full.empty() ? l.linkPath : full)},
                                                            {"target", SjisToUtf8(l.target)},
                                                            {"description", SjisToUtf8(l.description)}}));
        }
        for (const auto& f : files) {
            auto before = filesBefore_.find(f.first);
            if (before != filesBefore_.end() && before->second == f.second) continue;
            if (f.second.first) {
                report_->folders.push_back(Event("folder", {{"path", SjisToUtf8(f.first)}}));
            } else if (!links.count(f.first) || !sys_.IsFile(f.first)) {
                report_->files.push_back(
                    Event("file", {{"path", SjisToUtf8(f.first)}, {"size", std::to_string(f.second.second.size())}}));
            }
        }
        for (const auto& f : filesBefore_)
            if (!files.count(f.first)) report_->removed.push_back(Event("removed", {{"path", SjisToUtf8(f.first)}}));

        const std::string uninstallPrefix = std::string("HKEY_LOCAL_MACHINE\\") + kUninstallKey + "\\";
        for (const auto& r : registry) {
            auto before = registryBefore_.find(r.first);
            if (before != registryBefore_.end() && before->second == r.second) continue;
            size_t bar = r.first.find('\0');
            std::string key = r.first.substr(0, bar);
            bool entry = Upper(key).compare(0, uninstallPrefix.size(), Upper(uninstallPrefix)) == 0;
            DryEvent ev = bar == std::string::npos ? Event("key", {{"key", SjisToUtf8(key)}})
                                                   : Event("value", {{"key", SjisToUtf8(key)},
                                                                     {"name", SjisToUtf8(r.first.substr(bar + 1))},
                                                                     {"data", ValueText(r.second)}});
            (entry ? report_->uninstallEntry : report_->registry).push_back(ev);
        }
        for (const auto& r : registryBefore_) {
            if (registry.count(r.first)) continue;
            size_t bar = r.first.find('\0');
            DryEvent ev = Event("deleted", {{"key", SjisToUtf8(r.first.substr(0, bar))}});
            if (bar != std::string::npos) ev.fields.push_back({"name", SjisToUtf8(r.first.substr(bar + 1))});
            report_->registry.push_back(ev);
        }
        for (const auto& p : sys_.Processes())
            report_->programs.push_back(Event("program", {{"module", SjisToUtf8(p.module)},
                                                          {"command line", SjisToUtf8(p.commandLine)},
                                                          {"folder", SjisToUtf8(p.currentDirectory)}}));
        for (const std::string& p : sys_.FailedStarts())
            report_->programs.push_back(Event("not started", {{"module", SjisToUtf8(p)}}));
        for (const auto& w : sys_.WinExecCalls())
            report_->programs.push_back(Event("program", {{"command line", SjisToUtf8(w.commandLine)}}));
    }

    const DryRunOptions& options_;
    DryRunReport* report_;
    Answers answers_;
    std::unique_ptr<script::Engine> e_;
    SimWindows sys_;
    ScriptIndex index_;
    std::string lastSection_;
    std::string lastText_;
    int repeats_ = 0;
    long commands_ = 0;
    long jumps_ = 0;
    bool looping_ = false;
    FileMap filesBefore_;
    RegMap registryBefore_;
};

bool IsNumberField(const std::string& name, const std::string& value) {
    if (name != "size" && name != "line" && name != "from" && name != "to") return false;
    return !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
}

void AppendEvent(std::string* out, const DryEvent& ev, const char* indent) {
    if (ev.kind == "section") {
        *out += "section " + ev.Field("name") + " (line " + ev.Field("line") + ")\n";
        return;
    }
    *out += indent + ev.kind;
    for (size_t i = 0; i < ev.fields.size(); ++i) {
        std::string v = ev.fields[i].second;
        for (size_t p = 0; (p = v.find('\n', p)) != std::string::npos;) v.replace(p, 1, "\\n");
        *out += (i == 0 ? ": " : ", ") + ev.fields[i].first + " " +
                (IsNumberField(ev.fields[i].first, v) ? v : "\"" + v + "\"");
    }
    *out += "\n";
}

std::string JsonEvents(const std::vector<DryEvent>& events) {
    std::string out = "[";
    for (size_t i = 0; i < events.size(); ++i) {
        out += i ? ",\n    {" : "\n    {";
        out += "\"kind\": " + JsonString(events[i].kind);
        for (const auto& f : events[i].fields) {
            out += ", " + JsonString(f.first) + ": " +
                   (IsNumberField(f.first, f.second) ? f.second : JsonString(f.second));
        }
        out += "}";
    }
    return out + (events.empty() ? "]" : "\n  ]");
}

}  // namespace

bool RunDry(const DryRunOptions& options, DryRunReport* report, std::string* error) {
    *report = DryRunReport{};
    DryRun run(options, report);
    return run.Run(error);
}

std::string FormatDryRun(const DryRunReport& r) {
    std::string out;
    for (const DryEvent& ev : r.events) {
        if (ev.kind == "action") {
            out += "== " + ev.Field("name") + (ev.Field("caption").empty() ? "" : " (" + ev.Field("caption") + ")") +
                   "\n";
            continue;
        }
        AppendEvent(&out, ev, ev.kind == "section" ? "" : "  ");
    }
    const std::pair<const char*, const std::vector<DryEvent>*> parts[] = {
        {"folders made", &r.folders},      {"files written", &r.files}, {"files and folders removed", &r.removed},
        {"shortcuts", &r.shortcuts},       {"registry", &r.registry},   {"uninstall entry", &r.uninstallEntry},
        {"programs started", &r.programs},
    };
    out += "== result\n";
    for (const auto& p : parts) {
        out += std::string(p.first) + ":" + (p.second->empty() ? " none\n" : "\n");
        for (const DryEvent& ev : *p.second) AppendEvent(&out, ev, "  ");
    }
    return out;
}

std::string FormatDryRunJson(const DryRunReport& r) {
    std::string out = "{\n  \"events\": " + JsonEvents(r.events);
    out += ",\n  \"folders\": " + JsonEvents(r.folders);
    out += ",\n  \"files\": " + JsonEvents(r.files);
    out += ",\n  \"removed\": " + JsonEvents(r.removed);
    out += ",\n  \"shortcuts\": " + JsonEvents(r.shortcuts);
    out += ",\n  \"registry\": " + JsonEvents(r.registry);
    out += ",\n  \"uninstall_entry\": " + JsonEvents(r.uninstallEntry);
    out += ",\n  \"programs\": " + JsonEvents(r.programs);
    return out + "\n}\n";
}

}  // namespace checker
