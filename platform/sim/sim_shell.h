// The simulated Windows' shell: COM's initialisation, shell links (written as real .lnk
// files: ANSI strings, the target in the link information's local base path, the
// description as the name string) and the change notifications sent to the shell.
#pragma once

#include <string>
#include <vector>

#include "platform/sim/sim_part.h"

namespace plat {

class SimShell : public virtual SimPart {
public:
    struct ShellLinkRecord {
        std::string target, linkPath, description;
        long result = 0;
    };

    // ---- Test-facing API ---------------------------------------------------------------
    bool ComInitialized() const { return comInit_ > 0; }
    int ComInitializeCalls() const { return comInitCalls_; }
    // With this set, CreateShellLink fails with CO_E_NOTINITIALIZED unless COM is on.
    void SetRequireComForLinks(bool require) { requireCom_ = require; }
    const std::vector<ShellLinkRecord>& ShellLinks() const { return links_; }
    const std::vector<std::string>& ShellNotifications() const { return notifications_; }
    void SetShellLinkUnavailable(bool unavailable) { linkUnavailable_ = unavailable; }
    // The bytes a link file for target and description holds (as written by CreateShellLink).
    static std::string MakeLinkFileBytes(const std::string& target, const std::string& description);

    // ---- plat::Platform ----------------------------------------------------------------
    bool InitializeCom() override;
    void UninitializeCom() override;
    // Writes the link file through the Platform's own file calls.
    long CreateShellLink(const char* target, const char* linkPath, const char* description) override;
    void NotifyShellItemDeleted(const char* path) override;

private:
    int comInit_ = 0, comInitCalls_ = 0;
    bool requireCom_ = false;
    std::vector<ShellLinkRecord> links_;
    std::vector<std::string> notifications_;
    bool linkUnavailable_ = false;
};

}  // namespace plat
