// Any bytes as the installer's script: the options are read, [INIT] runs, then every
// section named by a header in the script, all on a fresh simulated Windows whose
// questions are answered yes and no in turn. Nothing may crash, hang or touch memory
// outside its buffers, whatever the script says.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "commands/keyword_tables.h"
#include "installer/options.h"
#include "platform/sim/sim_windows.h"
#include "script/dispatch.h"
#include "script/script_text.h"

namespace {

// Scripts may loop for ever (a jump back); each run gets a budget of dispatched lines.
// A loop shows all it can after a few hundred turns, and every GOTO rescans the whole
// script, so a larger budget only makes each input slower.
constexpr long kLineBudget = 250;
constexpr size_t kMaxSections = 40;
// Each options read scans the script once per key; OPTIONS in a loop would repeat that
// for every turn without reaching anything new after the first few.
constexpr int kOptionReads = 1;

class FuzzHost : public script::Host {
public:
    explicit FuzzHost(script::Engine& e) : e_(e) {}
    void ReadOptions() override {
        if (optionReads_++ < kOptionReads) installer::ReadOptions(e_);
    }
    bool LoadBackground(const char*) override { return (++calls_ & 1) != 0; }
    bool RunNoticeDialog() override { return (++calls_ & 1) != 0; }
    void RunMenuDialog() override { e_.menu.selectedIndex = ++calls_ % 7; }

private:
    script::Engine& e_;
    int calls_ = 0;
    int optionReads_ = 0;
};

// The headers of the script as patterns "~[NAME]", in order of appearance.
std::vector<std::string> SectionPatterns(script::Engine& e) {
    std::vector<std::string> out;
    e.script.readPos = 0;
    for (;;) {
        int r = script::ReadScriptLine(e);
        const char* p = e.script.line;
        while (*p == ' ' || *p == '\t') ++p;
        if (*p == '[') {
            const char* end = std::strchr(p, ']');
            if (end && end - p < 20) out.push_back("~" + std::string(p, end + 1));
        }
        if (r == -1 || out.size() >= kMaxSections) break;
    }
    return out;
}

// The machine every input starts from, built once: building it is dearer than a run.
const plat::SimWindows& PreparedWindows() {
    static const plat::SimWindows* prepared = [] {
        auto* sys = new plat::SimWindows;
        sys->SetRequireProgramFiles(false);
        sys->SetProcessEndsAfterPolls(1);
        sys->AddFolder("D:\\DATA");
        sys->AddFile("D:\\DATA\\A.DAT", std::string(7000, 'a'));
        sys->AddFile("D:\\DATA\\B.DAT", "b");
        return sys;
    }();
    return *prepared;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::SimWindows sys(PreparedWindows());
    int box = 0;
    sys.SetMessageBoxHook([&box](const plat::SimWindows::MessageBoxCall& call) {
        bool yes = (box++ & 1) == 0;
        if ((call.style & 0xF) == plat::kMbYesNo) return yes ? plat::kIdYes : plat::kIdNo;
        if ((call.style & 0xF) == plat::kMbOkCancel) return yes ? plat::kIdOk : plat::kIdCancel;
        return plat::kIdOk;
    });

    static script::Engine e;  // 20 KB of buffers: kept off the stack, reset per input
    e = script::Engine{};
    commands::ConfigureInstallerEngine(e);
    FuzzHost host(e);
    e.sys = &sys;
    e.host = &host;
    std::strcpy(e.env.programFolder, "D:\\");
    std::strcpy(e.env.sourceFolder, "D:\\");
    std::strcpy(e.env.windowsFolder, "C:\\WINDOWS");
    std::strcpy(e.env.tavrelBase, "C:\\");
    std::strcpy(e.env.desktopFolder, "C:\\WINDOWS\\Desktop\\");
    std::strcpy(e.env.startMenuFolder, "C:\\WINDOWS\\Start Menu\\Programs\\Tavrel\\");
    e.dispatchLimit = kLineBudget;

    int n = static_cast<int>(size > 20000 ? 20000 : size);
    if (!script::LoadScriptBytes(e, reinterpret_cast<const char*>(data), n)) return 0;
    installer::ReadOptions(e);
    script::RunSection(e, e.slots.init);
    // Sections alternate between the two runners (by the length of their names), so each
    // is run once: both runners and both settings of COPY are reached at half the cost.
    for (const std::string& pattern : SectionPatterns(e)) {
        e.dispatchLimit = kLineBudget;
        const bool stepped = (pattern.size() & 1) != 0;
        e.stepMode = ((pattern.size() >> 1) & 1) != 0;
        e.activityMode = static_cast<int>(pattern.size() % 3);
        if (!stepped) {
            script::RunSection(e, pattern.c_str());
        } else if (script::FindSection(e, pattern.c_str())) {
            while (script::StepSection(e) == 1) {
            }
        }
        e.pendingCopy = false;
    }
    return 0;
}
