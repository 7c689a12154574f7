// The simulated Windows as a whole: its parts set up as the default machine.
#include "platform/sim/sim_windows.h"

namespace plat {

SimWindows::SimWindows() : SimProcesses(static_cast<const SimFileSystem&>(*this)) {
    AddDrive('A', kDriveRemovable, 0, false);
    AddDrive('C', kDriveFixed, 2ull << 30);
    AddDrive('D', kDriveCdrom, 0);
    for (const std::string* f : {&windowsDir_, &desktop95_, &programs95_, &desktopNT_, &programsNT_}) {
        AddFolder(*f);
    }
    AddFile(modulePath_, "");
    RegPutKey(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    RegPutKey(RegRoot::CurrentUser, "Software");
}

SimWindows::SimWindows(const SimWindows& other)
    : SimPart(other),
      SimFileSystem(other),
      SimRegistry(other),
      SimProcesses(static_cast<const SimProcesses&>(other)),
      SimUserInterface(other),
      SimShell(other),
      SimSystem(other) {
    LookInto(*this);
}

}  // namespace plat
