// The simulated Windows' system facts: the version, the Windows and special folders, the
// module's own path, the screen and the tick count.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sim/sim_part.h"

namespace plat {

class SimSystem : public virtual SimPart {
public:
    // ---- Test-facing API ---------------------------------------------------------------
    // 95 family: platform id 1, 4.10, dwBuildNumber 0x040A07CE (as Windows 98 reports
    // it: the build, 1998, is its low 16 bits). NT family: platform id 2, 5.1 build 2600.
    void SetFamily95();
    void SetFamilyNT();
    void SetVersion(const VersionInfo& v) { version_ = v; }
    void SetWindowsDirectory(const std::string& path) { windowsDir_ = path; }
    // Path without trailing backslash; "" makes the shell fail to give the folder.
    void SetSpecialFolder(SpecialFolder which, const std::string& path);
    void SetModuleFileName(const std::string& path) { modulePath_ = path; }
    void SetScreenSize(int width, int height) {
        screenW_ = width;
        screenH_ = height;
    }
    void SetTickCount(uint32_t ticks) { ticks_ = ticks; }
    void AdvanceTicks(uint32_t by) { ticks_ += by; }
    // Every GetTickCount call advances the count by this much afterwards (default 0).
    void SetTickStep(uint32_t step) { tickStep_ = step; }

    // ---- plat::Platform ----------------------------------------------------------------
    VersionInfo GetVersion() override { return version_; }
    uint32_t GetModuleFileName(char* buffer, uint32_t size) override;
    uint32_t GetWindowsDirectory(char* buffer, uint32_t size) override;
    bool GetSpecialFolder(SpecialFolder which, char* buffer, uint32_t size) override;
    void GetScreenSize(int* width, int* height) override;
    uint32_t GetTickCount() override;

protected:
    // The default machine's folders, which the whole makes exist.
    std::string windowsDir_ = "C:\\WINDOWS";
    std::string desktop95_ = "C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ";
    std::string programs95_ = "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ";
    std::string desktopNT_ = "C:\\Documents and Settings\\User\\デスクトップ";
    std::string programsNT_ = "C:\\Documents and Settings\\User\\スタート メニュー\\プログラム";
    std::string modulePath_ = "D:\\OSTREL.EXE";

private:
    VersionInfo version_;
    bool desktopSet_ = false, programsSet_ = false;
    std::string desktopOverride_, programsOverride_;
    int screenW_ = 1024, screenH_ = 768;
    uint32_t ticks_ = 1000;
    uint32_t tickStep_ = 0;
};

}  // namespace plat
