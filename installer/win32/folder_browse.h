// Folder browse on the destination screen: the platform's open-file dialog on template
// 138, whose file controls lie outside its visible area, with a hook that accepts only
// the OK button itself and hands back the folder the dialog shows.
#pragma once

#include "platform/win32/windows_clean.h"

#include "installer/install_flow.h"

namespace installer {

void BrowseForFolder(HINSTANCE instance, HWND owner, InstallFlow& flow);

}  // namespace installer
