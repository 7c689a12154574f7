// Reads a link's target and description back through the shell's wide interface and
// converts them with code page 932, so the check holds on any system code page (the
// link file's own ANSI path is written in the system's code page).
#pragma once

#include <shlobj.h>

#include "platform/win32/windows_clean.h"

#include <string>

#include "platform/win32/wide_text.h"

namespace testsupport {

inline bool ReadLinkThroughShell(const std::string& path, std::string* target, std::string* description) {
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = nullptr;
    bool ok = false;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        plat::WideArg widePath(path.c_str());
        if (SUCCEEDED(file->Load(widePath.get(), STGM_READ))) {
            wchar_t wide[MAX_PATH] = L"";
            char sjis[MAX_PATH * 2] = "";
            ok = SUCCEEDED(link->GetPath(wide, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
                 plat::ToShiftJis(wide, sjis, sizeof sjis) == plat::TextFit::kFits;
            *target = sjis;
            wide[0] = L'\0';
            ok = ok && SUCCEEDED(link->GetDescription(wide, MAX_PATH)) &&
                 plat::ToShiftJis(wide, sjis, sizeof sjis) == plat::TextFit::kFits;
            *description = sjis;
        }
        file->Release();
    }
    link->Release();
    return ok;
}

}  // namespace testsupport
