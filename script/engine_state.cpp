// The engine's initial state: the well-known section slots, the sub buttons and the
// default file names.
#include <cstdio>
#include <cstring>

#include "script/engine.h"

namespace script {

void ResetEngineState(Engine& e) {
    NameSlots& s = e.slots;
    std::snprintf(s.init, sizeof s.init, "~[INIT]");
    std::snprintf(s.copy, sizeof s.copy, "~[COPY]");
    std::snprintf(s.install, sizeof s.install, "~[INSTALL]");
    std::snprintf(s.initInst, sizeof s.initInst, "~[INIT_INST]");
    std::snprintf(s.exitInst, sizeof s.exitInst, "~[EXIT_INST]");
    std::snprintf(s.winScript, sizeof s.winScript, "~[WIN_SCRIPT]");
    std::snprintf(s.uninstall, sizeof s.uninstall, "~[UNINSTALL]");
    std::snprintf(s.initUninst, sizeof s.initUninst, "~[INIT_UNINST]");
    std::snprintf(s.exitUninst, sizeof s.exitUninst, "~[EXIT_UNINST]");
    std::snprintf(s.play, sizeof s.play, "~[PLAY]");
    for (int i = 0; i < 2; ++i) {
        SubButton& b = e.sub[i];
        b.enabled = false;
        std::snprintf(b.caption, sizeof b.caption, "Sub%d", i + 1);
        std::snprintf(b.slot, sizeof b.slot, "~[SUB%d]", i + 1);
        b.x = 0;
        b.y = 0;
    }
    std::memset(&e.menu, 0, sizeof e.menu);
    std::snprintf(e.env.scriptName, sizeof e.env.scriptName, "TAVREL.INF");
    std::snprintf(e.env.pictureName, sizeof e.env.pictureName, "SETUP.BMP");
    e.copy.percent = -1;
    e.activityMode = kModeIdle;
    e.stepMode = false;
    e.pendingCopy = false;
    e.output.open = false;
}

}  // namespace script
