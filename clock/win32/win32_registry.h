// The few operating-system services the clock's portable code asks of plat::Platform,
// served straight from Win32: its registry key and the screen size.
#pragma once

#include "platform/null_platform.h"

namespace pendrick {

class Win32Registry : public plat::NullPlatform {
public:
    long RegCreateKey(plat::RegRoot root, const char* path, uint32_t access, plat::KeyHandle* key,
                      bool* created) override;
    long RegOpenKey(plat::RegRoot root, const char* path, uint32_t access, plat::KeyHandle* key) override;
    long RegCloseKey(plat::KeyHandle key) override;
    long RegSetValue(plat::KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size) override;
    long RegQueryValue(plat::KeyHandle key, const char* name, uint32_t* type, void* data, uint32_t* size) override;
    long RegDeleteValue(plat::KeyHandle key, const char* name) override;
    void GetScreenSize(int* width, int* height) override;
    uint32_t GetTickCount() override;
};

}  // namespace pendrick
