// The demo CD's game: one window of the class the demo script names in its options, so
// the installer can tell that the game is running, and a bouncing ball to show it lives.
// For tests it understands "-quit MS" (close after MS milliseconds; the environment
// variable TAVREL_GAME_QUIT gives the same without arguments) and "-exit CODE" (the exit
// code), and when the environment variable TAVREL_GAME_LOG names a file it appends its
// command line, current directory and program path to it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kClassName[] = "TavrelDemoGame";
const char kTitle[] = "Tavrel デモゲーム";
const UINT_PTR kFrameTimer = 1;
const UINT_PTR kQuitTimer = 2;
const int kBall = 24;

struct Game {
    int x = 40, y = 30, dx = 4, dy = 3;
    int quitAfterMs = 0;
    int exitCode = 0;
};

Game g_game;

// The value after an option word, or nullptr. Options are "-word value", any case.
const char* OptionValue(const char* commandLine, const char* word) {
    size_t n = std::strlen(word);
    for (const char* p = commandLine; *p; ++p) {
        if ((*p == '-' || *p == '/') && _strnicmp(p + 1, word, n) == 0) {
            const char* v = p + 1 + n;
            while (*v == ' ' || *v == '\t') ++v;
            return v;
        }
    }
    return nullptr;
}

void AppendLog() {
    char logPath[MAX_PATH];
    DWORD got = GetEnvironmentVariableA("TAVREL_GAME_LOG", logPath, sizeof logPath);
    if (got == 0 || got >= sizeof logPath) return;
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    FILE* f = std::fopen(logPath, "ab");
    if (!f) return;
    std::fprintf(f, "cmdline=[%s]\r\ncwd=[%s]\r\nmodule=[%s]\r\n", GetCommandLineA(), current, module);
    std::fclose(f);
}

void OnTimer(HWND window, UINT_PTR id) {
    if (id == kQuitTimer) {
        DestroyWindow(window);
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    g_game.x += g_game.dx;
    g_game.y += g_game.dy;
    if (g_game.x < 0 || g_game.x + kBall > client.right) g_game.dx = -g_game.dx;
    if (g_game.y < 0 || g_game.y + kBall > client.bottom) g_game.dy = -g_game.dy;
    InvalidateRect(window, nullptr, TRUE);
}

void OnPaint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    SetBkMode(dc, TRANSPARENT);
    static const char kText[] = "デモゲーム実行中 (Esc で終了)";
    TextOutA(dc, 8, 8, kText, static_cast<int>(sizeof kText - 1));
    HBRUSH brush = CreateSolidBrush(RGB(200, 40, 40));
    HGDIOBJ old = SelectObject(dc, brush);
    Ellipse(dc, g_game.x, g_game.y, g_game.x + kBall, g_game.y + kBall);
    SelectObject(dc, old);
    DeleteObject(brush);
    EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            SetTimer(window, kFrameTimer, 50, nullptr);
            if (g_game.quitAfterMs > 0) SetTimer(window, kQuitTimer, g_game.quitAfterMs, nullptr);
            return 0;
        case WM_TIMER: OnTimer(window, wParam); return 0;
        case WM_PAINT: OnPaint(window); return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            KillTimer(window, kFrameTimer);
            KillTimer(window, kQuitTimer);
            PostQuitMessage(g_game.exitCode);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const char* commandLine = GetCommandLineA();
    AppendLog();
    if (const char* v = OptionValue(commandLine, "quit")) g_game.quitAfterMs = std::atoi(v);
    if (const char* v = OptionValue(commandLine, "exit")) g_game.exitCode = std::atoi(v);
    char quit[16];
    DWORD got = GetEnvironmentVariableA("TAVREL_GAME_QUIT", quit, sizeof quit);
    if (g_game.quitAfterMs == 0 && got > 0 && got < sizeof quit) g_game.quitAfterMs = std::atoi(quit);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return 1;

    HWND window = CreateWindowA(kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 240,
                                nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
