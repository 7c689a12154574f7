// The simulated Windows' drives: their kinds, readiness and free space.
#include "platform/sim/sim_file_system.h"

#include <algorithm>
#include <cctype>

#include "platform/sim/sim_path_rules.h"

namespace plat {

using namespace sim;

namespace {

char DriveLetterOf(const char* root) {
    if (!root || !root[0] || root[1] != ':') return 0;
    char c = root[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return (c >= 'A' && c <= 'Z') ? c : 0;
}

}  // namespace

SimFileSystem::Drive* SimFileSystem::DriveOf(const std::string& full) {
    auto it = drives_.find(full.empty() ? 0 : full[0]);
    return it == drives_.end() ? nullptr : &it->second;
}

const SimFileSystem::Drive* SimFileSystem::DriveOf(const std::string& full) const {
    auto it = drives_.find(full.empty() ? 0 : full[0]);
    return it == drives_.end() ? nullptr : &it->second;
}

SimFileSystem::Drive& SimFileSystem::DriveAt(char letter) {
    return drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))];
}

// ---- Test-facing: drives --------------------------------------------------------------

void SimFileSystem::AddDrive(char letter, int type, uint64_t freeBytes, bool ready) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    Drive d;
    d.type = type;
    d.freeBytes = freeBytes;
    d.ready = ready;
    drives_[letter] = d;
    std::string root = std::string(1, letter) + ":\\";
    if (!Find(root)) {
        Node& n = MakeNode(root, kAttrDirectory);
        n.parent.clear();
    }
}

void SimFileSystem::RemoveDrive(char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    EraseTree(std::string(1, letter) + ":\\");
    drives_.erase(letter);
}

void SimFileSystem::SetDriveType(char letter, int type) { DriveAt(letter).type = type; }

void SimFileSystem::SetDriveReady(char letter, bool ready) { DriveAt(letter).ready = ready; }

void SimFileSystem::SetFreeBytes(char letter, uint64_t bytes) { DriveAt(letter).freeBytes = bytes; }

uint64_t SimFileSystem::FreeBytes(char letter) const {
    auto it = drives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    return it == drives_.end() ? 0 : it->second.freeBytes;  // a query makes no drive
}

void SimFileSystem::SetFreeSpaceExAvailable(bool available) { freeSpaceExAvailable_ = available; }

void SimFileSystem::SetFreeSpaceExFails(char letter, bool fails) { DriveAt(letter).exFails = fails; }

void SimFileSystem::SetClusterGeometry(char letter, uint32_t sectorsPerCluster, uint32_t bytesPerSector,
                                       uint32_t freeClusters, uint32_t totalClusters) {
    Drive& d = DriveAt(letter);
    d.geometryFixed = true;
    d.sectorsPerCluster = sectorsPerCluster;
    d.bytesPerSector = bytesPerSector;
    d.freeClusters = freeClusters;
    d.totalClusters = totalClusters;
}

void SimFileSystem::FillDiskAfter(char letter, uint64_t bytes) {
    Drive& d = DriveAt(letter);
    d.fillLimited = true;
    d.fillAfter = bytes;
}

// ---- Drive queries ------------------------------------------------------------------------

int SimFileSystem::GetDriveType(const char* root) {
    char letter = root ? DriveLetterOf(root) : cwd_[0];
    auto it = drives_.find(letter);
    return it == drives_.end() ? kDriveNoRoot : it->second.type;
}

bool SimFileSystem::GetDiskFreeSpaceEx(const char* root, uint64_t* totalFree) {
    if (!freeSpaceExAvailable_) return false;
    auto it = drives_.find(DriveLetterOf(root));
    if (it == drives_.end() || !it->second.ready || it->second.exFails || it->second.type <= kDriveNoRoot) return false;
    *totalFree = it->second.freeBytes;
    return true;
}

bool SimFileSystem::GetDiskFreeSpace(const char* root, uint32_t* sectorsPerCluster, uint32_t* bytesPerSector,
                                     uint32_t* freeClusters, uint32_t* totalClusters) {
    auto it = drives_.find(DriveLetterOf(root));
    if (it == drives_.end() || !it->second.ready || it->second.type <= kDriveNoRoot) return false;
    const Drive& d = it->second;
    uint32_t freeC = d.freeClusters, totalC = d.totalClusters;
    if (!d.geometryFixed) {
        uint64_t c = d.freeBytes / (8 * 512);
        freeC = static_cast<uint32_t>(std::min<uint64_t>(c, 0xFFFFFFFFu));
        totalC = static_cast<uint32_t>(std::min<uint64_t>(c + 262144, 0xFFFFFFFFu));
    }
    *sectorsPerCluster = d.geometryFixed ? d.sectorsPerCluster : 8;
    *bytesPerSector = d.geometryFixed ? d.bytesPerSector : 512;
    *freeClusters = freeC;
    *totalClusters = totalC;
    return true;
}

}  // namespace plat
