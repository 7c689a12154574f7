// A simulated Windows held in memory: drives, files, folders, the registry, windows,
// processes, shell links, message boxes and the message queue, all deterministic, so that
// the deciding code can be tested natively against the same seam the real programs use.
//
// It is made of parts, one a file, each implementing its piece of plat::Platform and a
// test-facing API, with the rules it follows in its header: sim_file_system.h (drives,
// files, folders, search, faults, file times), sim_registry.h, sim_processes.h,
// sim_user_interface.h (windows, message boxes, the message queue), sim_shell.h (COM,
// links), sim_system.h (version, folders, screen, ticks); sim_path_rules.h holds how paths
// are resolved and matched. All parts share one SimPart, so handles never repeat.
//
// Default machine: A: removable without a disk, C: fixed with 2 GiB free, D: CD-ROM with
// 0 bytes free; the NT family (5.1 build 2600); Windows folder C:\WINDOWS; module
// D:\OSTREL.EXE (an empty file); current directory C:\; screen 1024 x 768; tick count
// 1000; 'now' 2001-04-01 12:00:00. The folders of both families' desktops and start-menu
// programs exist, and the registry's uninstall key and HKCU\Software.
#pragma once

#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_path_rules.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_user_interface.h"

namespace plat {

class SimWindows final : public SimFileSystem,
                         public SimRegistry,
                         public SimProcesses,
                         public SimUserInterface,
                         public SimShell,
                         public SimSystem {
public:
    SimWindows();
    // A copy is a simulation of its own (files, registry, open handles, records): a
    // prepared machine can be copied for every run instead of being built again.
    SimWindows(const SimWindows& other);
    SimWindows& operator=(const SimWindows&) = delete;
};

}  // namespace plat
