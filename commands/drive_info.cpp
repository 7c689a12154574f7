// Drives: their types, their free space and the INSTSIZE check against the chosen drive.
#include <cstring>

#include "commands/drive_info.h"
#include "script/argument_reader.h"
#include "script/messages.h"
#include "text/text_rules.h"

namespace commands {

using script::kFailed;
using script::kGoOn;

namespace {

constexpr int kDriveCount = 26;
constexpr uint64_t kBytesPerK = 1024;

void RootOf(int index, char root[4]) { text::DriveRoot(static_cast<char>('A' + index), root); }

// Early 95-family builds lack the extended free-space query.
bool OnlyOldFreeSpaceQuery(const plat::VersionInfo& v) { return v.platformId == 1 && (v.build & 0xFFFF) <= 1000; }

}  // namespace

uint64_t GetDriveFreeBytes(Engine& e, int driveIndex) {
    if (driveIndex < 0 || driveIndex >= kDriveCount) return 0;
    char root[4];
    RootOf(driveIndex, root);

    if (!OnlyOldFreeSpaceQuery(e.sys->GetVersion())) {
        uint64_t totalFree = 0;
        if (e.sys->GetDiskFreeSpaceEx(root, &totalFree)) return totalFree;
    }
    uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!e.sys->GetDiskFreeSpace(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) return 0;
    // In 64 bits: the product can pass 4 GB.
    return uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
}

void ScanDriveTypes(Engine& e) {
    for (int i = 0; i < kDriveCount; ++i) {
        char root[4];
        RootOf(i, root);
        e.driveTypes[i] = e.sys->GetDriveType(root);
    }
}

script::DriveKind DriveKindOf(const Engine& e, const char* path) {
    char letter = path ? path[0] : '\0';
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return script::kDriveKindOther;
    switch (e.driveTypes[letter - 'A']) {
        case plat::kDriveCdrom: return script::kDriveKindCdrom;
        case plat::kDriveRemovable: return script::kDriveKindRemovable;
        default: return script::kDriveKindOther;
    }
}

int CmdInstSize(Engine& e) {
    char copySize[script::kPathSize], installSize[script::kPathSize], check[script::kPathSize];
    if (!script::ReadArgument(e, copySize, sizeof copySize)) return kFailed;
    e.copy.copyTotal = static_cast<uint64_t>(script::ParseDecimal(copySize)) * kBytesPerK;
    if (!script::ReadArgument(e, installSize, sizeof installSize)) return kFailed;
    e.copy.installSize = static_cast<uint64_t>(script::ParseDecimal(installSize)) * kBytesPerK;

    if (script::ReadOptionalArgument(e, check, sizeof check) < 0) return kFailed;
    if (std::strcmp(check, "NOCHECK") == 0) return kGoOn;

    // The free bytes must exceed the install size; both are 64-bit, so no size passes
    // by wrapping around.
    if (e.copy.installSize < GetDriveFreeBytes(e, e.chosenDriveIndex)) return kGoOn;
    script::ReportNoSpace(e, e.chosenDriveLetter, e.copy.installSize);
    e.destinationStatus = script::kDestinationNoSpace;
    return kFailed;
}

}  // namespace commands
