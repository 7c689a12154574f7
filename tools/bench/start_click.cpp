// The copy benchmark's start button: clicks the install dialog's OK button, then stays
// idle until the copy's end mark appears. Started before the copy, so that no program
// starting or ending beside the timed copy takes the machine from it (a UI automation
// program started for the click did, by about a tenth of a second).
//   STARTCLICK.EXE TITLE_START END_MARK [TIMEOUT_S]
// Exits 1 when the dialog or the end mark never comes.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kOkButton = 1;

struct Search {
    const char* titleStart;
    HWND found;
};

BOOL CALLBACK FindByTitle(HWND w, LPARAM p) {
    Search* s = reinterpret_cast<Search*>(p);
    char cls[16] = {}, title[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, title, sizeof title);
    if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(w) &&
        std::strncmp(title, s->titleStart, std::strlen(s->titleStart)) == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const DWORD timeoutMs = 1000u * static_cast<DWORD>(argc > 3 ? std::atoi(argv[3]) : 600);
    Search s = {argv[1], nullptr};
    for (int i = 0; i < 200 && !s.found; ++i) {
        EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&s));
        if (!s.found) Sleep(100);
    }
    if (!s.found) return 1;
    Sleep(500);  // this program's own start-up settles first
    PostMessageA(GetDlgItem(s.found, kOkButton), BM_CLICK, 0, 0);
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > timeoutMs) return 1;
        Sleep(100);
    }
    return 0;
}
