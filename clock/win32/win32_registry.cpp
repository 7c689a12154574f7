// Win32 registry calls behind the clock's settings store.
#include <windows.h>
// The platform interface's names collide with the ANSI/wide macros.
#undef RegCreateKey
#undef RegOpenKey
#undef RegSetValue
#undef RegQueryValue
#undef RegDeleteValue
#undef RegDeleteKey
#undef GetTickCount

#include "clock/win32/win32_registry.h"

namespace pendrick {

namespace {
HKEY RootKey(plat::RegRoot root) {
    switch (root) {
        case plat::RegRoot::CurrentUser: return HKEY_CURRENT_USER;
        case plat::RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
        case plat::RegRoot::Users: return HKEY_USERS;
        case plat::RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case plat::RegRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    return HKEY_LOCAL_MACHINE;
}
HKEY Key(plat::KeyHandle k) { return reinterpret_cast<HKEY>(k); }
}  // namespace

long Win32Registry::RegCreateKey(plat::RegRoot root, const char* path, uint32_t access, plat::KeyHandle* key,
                                 bool* created) {
    HKEY h = nullptr;
    DWORD disposition = 0;
    LONG r = RegCreateKeyExA(RootKey(root), path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &h,
                             &disposition);
    if (r != ERROR_SUCCESS) return r;
    *key = reinterpret_cast<plat::KeyHandle>(h);
    if (created) *created = disposition == REG_CREATED_NEW_KEY;
    return ERROR_SUCCESS;
}

long Win32Registry::RegOpenKey(plat::RegRoot root, const char* path, uint32_t access, plat::KeyHandle* key) {
    HKEY h = nullptr;
    LONG r = RegOpenKeyExA(RootKey(root), path, 0, access, &h);
    if (r == ERROR_SUCCESS) *key = reinterpret_cast<plat::KeyHandle>(h);
    return r;
}

long Win32Registry::RegCloseKey(plat::KeyHandle key) { return ::RegCloseKey(Key(key)); }

long Win32Registry::RegSetValue(plat::KeyHandle key, const char* name, uint32_t type, const void* data,
                                uint32_t size) {
    return RegSetValueExA(Key(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

long Win32Registry::RegQueryValue(plat::KeyHandle key, const char* name, uint32_t* type, void* data,
                                  uint32_t* size) {
    DWORD t = 0, s = *size;
    LONG r = RegQueryValueExA(Key(key), name, nullptr, &t, static_cast<BYTE*>(data), &s);
    if (type) *type = t;
    *size = s;
    return r;
}

long Win32Registry::RegDeleteValue(plat::KeyHandle key, const char* name) { return RegDeleteValueA(Key(key), name); }

void Win32Registry::GetScreenSize(int* width, int* height) {
    *width = GetSystemMetrics(SM_CXSCREEN);
    *height = GetSystemMetrics(SM_CYSCREEN);
}

uint32_t Win32Registry::GetTickCount() { return ::GetTickCount(); }

}  // namespace pendrick
