// Folder browse (see folder_browse.h).
#include "installer/win32/folder_browse.h"

#include <commdlg.h>

#include <cstring>

#include "resources/ostrel_resource.h"

namespace installer {
namespace {

bool g_chosen = false;
char g_folder[260];

UINT_PTR CALLBACK BrowseHook(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    if (message == WM_INITDIALOG) {
        g_chosen = false;
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        // Enter in the folder list opens a folder: only a press of OK itself chooses.
        if (GetFocus() != GetDlgItem(dialog, IDOK)) return FALSE;
        g_folder[0] = '\0';
        GetDlgItemTextA(dialog, IDC_BROWSE_PATH, g_folder, sizeof g_folder);
        if (!BrowsedFolderFits(g_folder)) {
            g_chosen = false;
            MessageBoxA(dialog, "　 パスが長すぎます。\nもっと短くしてください。", "", MB_OK | MB_ICONWARNING);
            return FALSE;
        }
        g_chosen = true;
        EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL:
        g_chosen = false;
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

void BrowseForFolder(HINSTANCE instance, HWND owner, InstallFlow& flow) {
    char fileName[260] = "";
    char start[8];
    flow.BrowseStartFolder(start, sizeof start);
    OPENFILENAMEA ofn;
    std::memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // the original structure (76 bytes on i686)
    ofn.hwndOwner = owner;
    ofn.hInstance = instance;
    ofn.lpstrFile = fileName;
    ofn.nMaxFile = sizeof fileName;
    ofn.lpstrInitialDir = start;
    ofn.lpstrTitle = "ドライブ・フォルダの参照";
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
    ofn.lpfnHook = BrowseHook;
    ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_FOLDER_BROWSE);
    g_chosen = false;
    GetOpenFileNameA(&ofn);
    flow.AfterBrowse(g_chosen, g_folder);
}

}  // namespace installer
