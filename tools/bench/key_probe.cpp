// The copy benchmark's probe of the install dialog during a long copy: how quickly the
// dialog answers its messages, and how long the Enter key takes to bring up the question
// whether to stop (asked five times, each answered No, so the copy goes on).
//   KEYPROBE.EXE TITLE_START [WAIT_MS]
// Prints "responsive: ..." and "key-to-question: N ... ms (median M ms)"; exits 1 when
// something is missing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kPercentControl = 1012;
constexpr int kPresses = 5;
constexpr DWORD kPause = 200;  // ms between an answer and the next key

struct Search {
    const char* titleStart;
    HWND owner;  // for message boxes: the window that owns them
    HWND found;
};

bool IsDialog(HWND w) {
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    return std::strcmp(cls, "#32770") == 0 && IsWindowVisible(w);
}

BOOL CALLBACK FindByTitle(HWND w, LPARAM p) {
    Search* s = reinterpret_cast<Search*>(p);
    char title[256] = {};
    GetWindowTextA(w, title, sizeof title);
    if (IsDialog(w) && std::strncmp(title, s->titleStart, std::strlen(s->titleStart)) == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindOwnedDialog(HWND w, LPARAM p) {
    Search* s = reinterpret_cast<Search*>(p);
    if (w != s->owner && IsDialog(w) && GetWindow(w, GW_OWNER) == s->owner) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

double Now() {
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * double(t.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: KEYPROBE.EXE TITLE_START [WAIT_MS]\n");
        return 2;
    }
    const double waitMs = argc > 2 ? std::atof(argv[2]) : 200;
    Search dialog = {argv[1], nullptr, nullptr};
    const double give_up = Now() + 60000;
    HWND percent = nullptr;
    while (Now() < give_up) {
        dialog.found = nullptr;
        EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&dialog));
        percent = dialog.found ? GetDlgItem(dialog.found, kPercentControl) : nullptr;
        if (percent && IsWindowVisible(percent)) break;
        Sleep(5);
    }
    if (!percent || !IsWindowVisible(percent)) {
        std::printf("key probe: no progress display on a dialog titled \"%s...\"\n", argv[1]);
        return 1;
    }
    // The copy is under way: time the dialog's answers to a harmless message meanwhile.
    double slowest = 0;
    int probes = 0;
    const double keyAt = Now() + waitMs;
    while (Now() < keyAt) {
        DWORD_PTR result = 0;
        const double t0 = Now();
        if (!SendMessageTimeoutA(dialog.found, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result)) {
            std::printf("key probe: the dialog did not answer within 5000 ms\n");
            return 1;
        }
        const double took = Now() - t0;
        if (took > slowest) slowest = took;
        ++probes;
        Sleep(10);
    }
    char shown[32] = {};
    GetWindowTextA(percent, shown, sizeof shown);
    std::printf("responsive: %d messages answered during the copy, the slowest in %.1f ms (progress \"%s\")\n", probes,
                slowest, shown);

    // Enter several times, each question answered No, so that one slow start does not
    // make the figure.
    double took[kPresses];
    for (int press = 0; press < kPresses; ++press) {
        Search box = {"", dialog.found, nullptr};
        const double sent = Now();
        PostMessageA(dialog.found, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageA(dialog.found, WM_KEYUP, VK_RETURN, 0xC01C0001);
        while (!box.found && Now() - sent < 10000) {
            EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&box));
            if (!box.found) Sleep(1);
        }
        if (!box.found) {
            std::printf("key probe: no question within 10 s of the Enter key (the copy may have ended first)\n");
            return 1;
        }
        took[press] = Now() - sent;
        PostMessageA(box.found, WM_COMMAND, IDNO, 0);
        while (IsWindow(box.found) && Now() - sent < 20000) Sleep(5);
        Sleep(kPause);
    }
    std::printf("key-to-question:");
    for (double t : took) std::printf(" %.1f", t);
    std::sort(took, took + kPresses);
    std::printf(" ms (median %.1f ms)\n", took[kPresses / 2]);
    return 0;
}
