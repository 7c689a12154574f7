// Printing for UIAUTO.EXE: UTF-8 bytes to a pipe or file (what the harness reads),
// UTF-16 to a real console, and JSON string quoting.
#include "tools/uiauto/uiauto.h"

#include <cstdio>

namespace uiauto {

static void Write(DWORD which, const std::wstring& text) {
    HANDLE out = GetStdHandle(which);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    if (size <= 0) return;
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Print(const std::wstring& text) { Write(STD_OUTPUT_HANDLE, text); }
void PrintLine(const std::wstring& text) { Write(STD_OUTPUT_HANDLE, text + L"\n"); }
void PrintError(const std::wstring& text) { Write(STD_ERROR_HANDLE, L"uiauto: " + text + L"\n"); }

std::wstring JsonString(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        switch (c) {
            case L'"': out += L"\\\""; break;
            case L'\\': out += L"\\\\"; break;
            case L'\n': out += L"\\n"; break;
            case L'\r': out += L"\\r"; break;
            case L'\t': out += L"\\t"; break;
            default:
                if (c < 0x20) {
                    wchar_t buf[8];
                    swprintf(buf, 8, L"\\u%04x", static_cast<unsigned>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + L"\"";
}

std::wstring HandleText(HWND hwnd) {
    wchar_t buf[24];
    swprintf(buf, 24, L"\"0x%lx\"", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hwnd)));
    return buf;
}

}  // namespace uiauto
