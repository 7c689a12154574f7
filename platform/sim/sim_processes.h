// The simulated Windows' processes: the programs started (StartProcess needs the module
// to exist as a file, a relative module resolved against the current directory; see
// SetRequireProgramFiles), how they end, and WinExec's calls.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_file_system.h"

namespace plat {

class SimProcesses : public virtual SimPart {
public:
    // Modules are looked up in files.
    explicit SimProcesses(const SimFileSystem& files) : files_(&files) {}

    struct ProcessRecord {
        ProcessHandle handle = 0;
        std::string module;            // as given
        std::string commandLine;       // as given
        std::string currentDirectory;  // the simulated current directory at the start
        bool ended = false;
        bool closed = false;
        int waitForInputIdleCalls = 0;
        int pollsUntilEnd = -1;  // ProcessHasEnded answers yes after this many polls; -1 never
    };
    struct WinExecRecord {
        std::string commandLine;
        int show = 0;
    };

    // ---- Test-facing API ---------------------------------------------------------------
    const std::vector<ProcessRecord>& Processes() const { return processes_; }
    // Module paths (resolved at the start) and their command lines that failed to start.
    const std::vector<std::string>& FailedStarts() const { return failedStarts_; }
    void EndProcess(ProcessHandle process);
    void EndAllProcesses();
    void SetProcessUnstartable(const std::string& module);
    // New processes end after this many ProcessHasEnded polls (-1: only by EndProcess).
    void SetProcessEndsAfterPolls(int polls) { defaultPolls_ = polls; }
    // Off: a module need not exist as a file to start.
    void SetRequireProgramFiles(bool require) { requireProgramFiles_ = require; }
    const std::vector<WinExecRecord>& WinExecCalls() const { return winExecs_; }
    void SetWinExecResult(unsigned result) { winExecResult_ = result; }

    // ---- plat::Platform ----------------------------------------------------------------
    ProcessHandle StartProcess(const char* module, const char* commandLine) override;
    void WaitForInputIdle(ProcessHandle process) override;
    bool ProcessHasEnded(ProcessHandle process) override;
    void CloseProcess(ProcessHandle process) override;
    unsigned WinExec(const char* commandLine, int show) override;

protected:
    // A copied machine's processes look into its own files.
    void LookInto(const SimFileSystem& files) { files_ = &files; }

private:
    ProcessRecord* FindProcess(ProcessHandle process);

    const SimFileSystem* files_;
    std::vector<ProcessRecord> processes_;
    std::vector<std::string> failedStarts_;
    std::set<std::string> unstartable_;
    int defaultPolls_ = -1;
    bool requireProgramFiles_ = true;
    std::vector<WinExecRecord> winExecs_;
    unsigned winExecResult_ = 33;
};

}  // namespace plat
