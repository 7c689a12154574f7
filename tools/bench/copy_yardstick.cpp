// The copy benchmark's yardstick: the least a Win32 program does to copy a tree (1 MiB
// ReadFile/WriteFile blocks, the source's times set on each copy, nothing else), so that
// the installer's COPY is compared with what the same Wine allows on the same files.
//   COPYTREE.EXE SOURCE DEST START_MARK END_MARK
// The marks are empty files made just before and just after the copy: their modification
// times give the copy's own duration, without the program's start-up.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

char g_block[1 << 20];

bool CopyFileContents(const char* from, const char* to) {
    HANDLE src = CreateFileA(from, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (src == INVALID_HANDLE_VALUE) return false;
    HANDLE dst = CreateFileA(to, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dst == INVALID_HANDLE_VALUE) {
        CloseHandle(src);
        return false;
    }
    bool ok = true;
    for (;;) {
        DWORD got = 0, put = 0;
        if (!ReadFile(src, g_block, sizeof g_block, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        if (!WriteFile(dst, g_block, got, &put, nullptr) || put != got) {
            ok = false;
            break;
        }
    }
    FILETIME created, accessed, written;
    ok = ok && GetFileTime(src, &created, &accessed, &written) && SetFileTime(dst, &created, &accessed, &written);
    CloseHandle(dst);
    CloseHandle(src);
    return ok;
}

bool CopyTree(const char* from, const char* to) {
    CreateDirectoryA(to, nullptr);
    char pattern[MAX_PATH];
    if (std::snprintf(pattern, sizeof pattern, "%s\\*", from) >= int(sizeof pattern)) return false;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        if (!std::strcmp(entry.cFileName, ".") || !std::strcmp(entry.cFileName, "..")) continue;
        char source[MAX_PATH], dest[MAX_PATH];
        if (std::snprintf(source, sizeof source, "%s\\%s", from, entry.cFileName) >= int(sizeof source) ||
            std::snprintf(dest, sizeof dest, "%s\\%s", to, entry.cFileName) >= int(sizeof dest)) {
            ok = false;
            continue;
        }
        const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        ok = (folder ? CopyTree(source, dest) : CopyFileContents(source, dest)) && ok;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return ok;
}

void Mark(const char* path) {
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: COPYTREE.EXE SOURCE DEST START_MARK END_MARK\n");
        return 2;
    }
    Mark(argv[3]);
    const bool ok = CopyTree(argv[1], argv[2]);
    Mark(argv[4]);
    return ok ? 0 : 1;
}
