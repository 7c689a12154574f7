// Folder browse (see folder_browse.h).
#include "installer/win32/folder_browse.h"

#include <commdlg.h>

#include <cstring>

#include "platform/win32/wide_text.h"
#include "platform/win32/window_text.h"
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
        case IDOK: {
            // Enter in the folder list opens a folder: only a press of OK itself chooses.
            if (GetFocus() != GetDlgItem(dialog, IDOK)) return FALSE;
            // A folder Shift-JIS cannot name is refused as a bad path: any stand-in for its
            // character would be another folder.
            const plat::TextFit fit = winui::ReadItemText(dialog, IDC_BROWSE_PATH, g_folder, sizeof g_folder);
            const char* refusal = nullptr;
            if (fit == plat::TextFit::kNotShiftJis)
                refusal = "パスが異常です。";
            else if (!BrowsedFolderFits(g_folder))
                refusal = "　 パスが長すぎます。\nもっと短くしてください。";
            if (refusal) {
                g_chosen = false;
                g_folder[0] = '\0';
                winui::ShowMessageBox(dialog, refusal, "", MB_OK | MB_ICONWARNING);
                return FALSE;
            }
            g_chosen = true;
            EndDialog(dialog, 1);
            return TRUE;
        }
        case IDCANCEL: g_chosen = false; return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void BrowseForFolder(HINSTANCE instance, HWND owner, InstallFlow& flow) {
    wchar_t fileName[260] = L"";
    char start[8];
    flow.BrowseStartFolder(start, sizeof start);
    const plat::WideArg wideStart(start);
    const plat::WideArg title("ドライブ・フォルダの参照");
    OPENFILENAMEW ofn;
    std::memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;  // the original structure (76 bytes on i686)
    ofn.hwndOwner = owner;
    ofn.hInstance = instance;
    ofn.lpstrFile = fileName;
    ofn.nMaxFile = sizeof fileName / sizeof fileName[0];
    ofn.lpstrInitialDir = wideStart.get();
    ofn.lpstrTitle = title.get();
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
    ofn.lpfnHook = BrowseHook;
    ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_FOLDER_BROWSE);
    g_chosen = false;
    GetOpenFileNameW(&ofn);
    flow.AfterBrowse(g_chosen, g_folder);
}

}  // namespace installer
