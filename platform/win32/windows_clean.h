// <windows.h> without the A/W name macros that collide with plat::Platform's method
// names (MessageBox, DeleteFile, RegOpenKey...). Win32 code that also sees platform.h
// includes this instead of <windows.h> and calls the ...A functions by their full names.
#pragma once

#include <windows.h>

#undef CreateDirectory
#undef DeleteFile
#undef DispatchMessage
#undef GetCurrentDirectory
#undef GetDiskFreeSpace
#undef GetDiskFreeSpaceEx
#undef GetDriveType
#undef GetModuleFileName
#undef GetWindowsDirectory
#undef MessageBox
#undef MoveFile
#undef PeekMessage
#undef RegCreateKey
#undef RegDeleteKey
#undef RegDeleteValue
#undef RegOpenKey
#undef RegQueryValue
#undef RegSetValue
#undef RemoveDirectory
#undef SetCurrentDirectory
