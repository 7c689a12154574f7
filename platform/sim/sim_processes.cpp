// The simulated Windows' processes (see sim_processes.h).
#include "platform/sim/sim_processes.h"

#include "platform/sim/sim_path_rules.h"

namespace plat {

SimProcesses::ProcessRecord* SimProcesses::FindProcess(ProcessHandle process) {
    for (ProcessRecord& p : processes_) {
        if (p.handle == process && process) return &p;
    }
    return nullptr;
}

void SimProcesses::SetProcessUnstartable(const std::string& module) {
    unstartable_.insert(UpperCaseName(files_->FullPath(module)));
}

ProcessHandle SimProcesses::StartProcess(const char* module, const char* commandLine) {
    std::string full = module ? files_->FullPath(module) : "";
    bool ok = !full.empty();  // a resolved path is never empty
    if (!ok || unstartable_.count(UpperCaseName(full)) || (requireProgramFiles_ && !files_->IsFile(full))) {
        failedStarts_.push_back(ok ? full : (module ? module : ""));
        return 0;
    }
    ProcessRecord p;
    p.handle = NewHandle();
    p.module = module;
    p.commandLine = commandLine ? commandLine : "";
    p.currentDirectory = files_->CurrentDirectory();
    p.pollsUntilEnd = defaultPolls_;
    processes_.push_back(p);
    return p.handle;
}

void SimProcesses::WaitForInputIdle(ProcessHandle process) {
    if (ProcessRecord* p = FindProcess(process)) p->waitForInputIdleCalls++;
}

bool SimProcesses::ProcessHasEnded(ProcessHandle process) {
    ProcessRecord* p = FindProcess(process);
    if (!p || p->closed || p->ended) return true;  // the exit-code query fails or says so
    if (p->pollsUntilEnd == 0) {
        p->ended = true;
        return true;
    }
    if (p->pollsUntilEnd > 0) p->pollsUntilEnd--;
    return false;
}

void SimProcesses::EndProcess(ProcessHandle process) {
    if (ProcessRecord* p = FindProcess(process)) p->ended = true;
}

void SimProcesses::EndAllProcesses() {
    for (ProcessRecord& p : processes_) p.ended = true;
}

void SimProcesses::CloseProcess(ProcessHandle process) {
    if (ProcessRecord* p = FindProcess(process)) p->closed = true;
}

unsigned SimProcesses::WinExec(const char* commandLine, int show) {
    winExecs_.push_back({commandLine ? commandLine : "", show});
    return winExecResult_;
}

}  // namespace plat
