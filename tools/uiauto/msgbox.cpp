// Reading a message box: caption, text, buttons and which standard icon it shows.
#include "tools/uiauto/uiauto.h"

#include <cstdlib>

namespace uiauto {

// Wine numbers the icon static 1088; Windows uses 0x14.
static const int kIconIds[] = {1088, 0x14};

// The pixels of a bitmap that is not selected into a context, 32 bits each, top row
// first; the bitmap and the memory context are released.
static std::vector<DWORD> TakePixels(HDC mem, HBITMAP bmp, int w, int h) {
    std::vector<DWORD> pixels(static_cast<size_t>(w) * h);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    return pixels;
}

// Screen pixels of a rectangle.
static std::vector<DWORD> Capture(HDC source, int x, int y, int w, int h) {
    HDC mem = CreateCompatibleDC(source);
    HBITMAP bmp = CreateCompatibleBitmap(source, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, source, x, y, SRCCOPY);
    SelectObject(mem, old);
    return TakePixels(mem, bmp, w, h);
}

// The standard icon drawn by this process on the given background, as pixels.
static std::vector<DWORD> Reference(LPCWSTR which, DWORD background, int w, int h) {
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    HBRUSH brush = CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    RECT r = {0, 0, w, h};
    FillRect(mem, &r, brush);
    DeleteObject(brush);
    DrawIconEx(mem, 0, 0, LoadIconW(nullptr, which), w, h, 0, nullptr, DI_NORMAL);
    SelectObject(mem, old);
    ReleaseDC(nullptr, screen);
    return TakePixels(mem, bmp, w, h);
}

static bool Close(DWORD a, DWORD b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 16) return false;
    return true;
}

// Icon handles of another process cannot be read, so the icon is told by comparing
// its pixels on screen with the standard icons drawn here.
static std::wstring IdentifyIcon(HWND box) {
    HWND icon = nullptr;
    for (int id : kIconIds)
        if ((icon = GetDlgItem(box, id)) != nullptr) break;
    if (!icon || !IsWindowVisible(icon)) return L"none";
    DWORD_PTR handle = 0;
    SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &handle);
    if (!handle) return L"none";

    int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    RECT r = {};
    GetWindowRect(icon, &r);
    HDC screen = GetDC(nullptr);
    std::vector<DWORD> shown = Capture(screen, r.left, r.top, w, h);
    ReleaseDC(nullptr, screen);

    struct Candidate {
        LPCWSTR id;
        const wchar_t* name;
    };
    const Candidate candidates[] = {
        {MAKEINTRESOURCEW(32515), L"warning"},
        {MAKEINTRESOURCEW(32513), L"error"},
        {MAKEINTRESOURCEW(32516), L"information"},
        {MAKEINTRESOURCEW(32514), L"question"},
    };
    std::wstring best = L"unknown";
    size_t bestScore = 0;
    for (const Candidate& c : candidates) {
        std::vector<DWORD> ref = Reference(c.id, shown[0], w, h);
        size_t score = 0;
        for (size_t i = 0; i < ref.size(); ++i)
            if (Close(ref[i], shown[i])) ++score;
        if (score > bestScore) {
            bestScore = score;
            best = c.name;
        }
    }
    // Below nine tenths of the pixels the box shows something else (or is covered).
    return bestScore * 10 >= shown.size() * 9 ? best : L"unknown";
}

// Waits for a message box, prints it as one JSON object and, with --press, presses
// one of its buttons.
int CmdMsgBox(const Args& args) {
    Args find = args;
    find.msgbox = true;
    HWND box = FindTarget(find);
    if (!box) return kExitNotFound;
    // Let it finish painting before its icon is compared.
    Sleep(100);

    wchar_t caption[512] = {};
    GetWindowTextW(box, caption, 512);
    std::wstring buttons;
    for (HWND child : Children(box)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Button") != 0 || !IsWindowVisible(child)) continue;
        if (!buttons.empty()) buttons += L",";
        buttons += L"{\"id\":" + std::to_wstring(GetDlgCtrlID(child)) + L",\"text\":" + JsonString(TextOf(child)) +
                   L"}";
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(box, &pid);
    PrintLine(L"{\"hwnd\":" + HandleText(box) + L",\"pid\":" + std::to_wstring(pid) + L",\"caption\":" +
              JsonString(caption) + L",\"text\":" + JsonString(TextOf(GetDlgItem(box, 0xFFFF))) + L",\"buttons\":[" +
              buttons + L"],\"icon\":" + JsonString(IdentifyIcon(box)) + L"}");

    if (args.press.empty()) return kExitOk;
    HWND button = FindButton(box, args.press);
    if (!button) {
        PrintError(L"no button " + args.press);
        return kExitNotFound;
    }
    return ClickButton(button) ? kExitOk : kExitFailed;
}

}  // namespace uiauto
