// The simulated Windows' system facts (see sim_system.h).
#include "platform/sim/sim_system.h"

namespace plat {

void SimSystem::SetFamily95() {
    version_.platformId = 1;
    version_.major = 4;
    version_.minor = 10;
    version_.build = 0x040A07CE;
}

void SimSystem::SetFamilyNT() { version_ = VersionInfo{}; }

void SimSystem::SetSpecialFolder(SpecialFolder which, const std::string& path) {
    if (which == SpecialFolder::Desktop) {
        desktopSet_ = true;
        desktopOverride_ = path;
    } else {
        programsSet_ = true;
        programsOverride_ = path;
    }
}

uint32_t SimSystem::GetModuleFileName(char* buffer, uint32_t size) { return CopyOut(modulePath_, buffer, size); }

uint32_t SimSystem::GetWindowsDirectory(char* buffer, uint32_t size) { return CopyOut(windowsDir_, buffer, size); }

bool SimSystem::GetSpecialFolder(SpecialFolder which, char* buffer, uint32_t size) {
    bool nt = version_.platformId == 2;
    std::string path;
    if (which == SpecialFolder::Desktop) {
        path = desktopSet_ ? desktopOverride_ : (nt ? desktopNT_ : desktop95_);
    } else {
        path = programsSet_ ? programsOverride_ : (nt ? programsNT_ : programs95_);
    }
    if (path.empty()) return false;
    return CopyOut(path, buffer, size) != 0;
}

void SimSystem::GetScreenSize(int* width, int* height) {
    *width = screenW_;
    *height = screenH_;
}

uint32_t SimSystem::GetTickCount() {
    uint32_t t = ticks_;
    ticks_ += tickStep_;
    return t;
}

}  // namespace plat
