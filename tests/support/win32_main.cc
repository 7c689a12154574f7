// Test program for Wine: gtest's main, with suites in tests/platform/ running on the real
// Win32 layer. Message boxes are answered from a queue instead of being shown; every
// test works in its own folder below C:\tavrel-tests\ and its own key below
// HKEY_CURRENT_USER\Software\TavrelTests, both removed afterwards.
#include <shlobj.h>

#include "platform/win32/windows_clean.h"

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "tests/support/lnk_reader.h"
#include "tests/support/test_platform.h"

namespace testsupport {
namespace {

const char kTestRoot[] = "C:\\tavrel-tests";
const char kRegRoot[] = "Software\\TavrelTests";

// The real layer, except that message boxes answer from a queue and are recorded.
class QuietWin32Platform : public plat::Win32Platform {
public:
    std::deque<int> answers;
    std::vector<MessageBoxRecord> boxes;
    size_t shown = 0;

    int MessageBox(plat::WindowHandle owner, const char* text, const char* caption, unsigned style) override {
        if (++shown > 10000) {  // a loop waiting for an answer the test never queued
            throw std::runtime_error("too many message boxes; is a loop waiting for an answer the test never queued?");
        }
        MessageBoxRecord r{owner, text ? text : "", caption ? caption : "", style, 0};
        if (!answers.empty()) {
            r.answer = answers.front();
            answers.pop_front();
        } else {
            switch (style & 0xF) {
                case MB_OKCANCEL: r.answer = IDCANCEL; break;
                case MB_YESNO: r.answer = IDNO; break;
                case MB_YESNOCANCEL: r.answer = IDCANCEL; break;
                default: r.answer = IDOK; break;
            }
        }
        boxes.push_back(r);
        return r.answer;
    }
};

// Wide calls throughout, so that names Shift-JIS cannot hold and any system code page
// leave nothing behind.
std::wstring Wide(const std::string& sjis) {
    wchar_t buffer[1024];
    return plat::ToWide(sjis.c_str(), buffer, 1024) ? buffer : L"";
}

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE s = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (s != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = dir + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(s, &fd));
        ::FindClose(s);
    }
    ::SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(dir.c_str());
}

void RemoveTree(const std::string& dir) { RemoveTree(Wide(dir)); }

void DeleteKeyTree(HKEY root, const std::wstring& path) {
    HKEY k;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
        wchar_t name[256];
        while (::RegEnumKeyW(k, 0, name, 256) == ERROR_SUCCESS) DeleteKeyTree(k, name);
        ::RegCloseKey(k);
    }
    ::RegDeleteKeyW(root, path.c_str());
}

void DeleteKeyTree(HKEY root, const std::string& path) { DeleteKeyTree(root, Wide(path)); }

class Win32TestPlatform : public TestPlatform {
public:
    Win32TestPlatform() {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "Test";
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_') c = '_';
        }
        char cwd[MAX_PATH];
        ::GetCurrentDirectoryA(sizeof cwd, cwd);
        savedCwd_ = cwd;
        std::string dir = std::string(kTestRoot) + "\\" + name;
        ::CreateDirectoryA(kTestRoot, nullptr);
        RemoveTree(dir);
        ::CreateDirectoryA(dir.c_str(), nullptr);
        scratch_ = dir + "\\";
        regScratch_ = std::string(kRegRoot) + "\\" + name;
        DeleteKeyTree(HKEY_CURRENT_USER, regScratch_);
        HKEY k;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, regScratch_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                              nullptr) == ERROR_SUCCESS) {
            ::RegCloseKey(k);
        }
        Drain();
    }
    ~Win32TestPlatform() override {
        ::SetCurrentDirectoryA(savedCwd_.c_str());
        Drain();
        RemoveTree(scratch_.substr(0, scratch_.size() - 1));
        DeleteKeyTree(HKEY_CURRENT_USER, regScratch_);
    }
    plat::Platform& Sys() override { return sys_; }
    bool IsSimulated() const override { return false; }
    void QueueMessageBoxAnswer(int answer) override { sys_.answers.push_back(answer); }
    std::vector<MessageBoxRecord> MessageBoxes() override { return sys_.boxes; }
    void ClearMessageBoxes() override { sys_.boxes.clear(); }
    void QueueEnterKey() override { ::PostThreadMessageA(::GetCurrentThreadId(), WM_KEYDOWN, VK_RETURN, 0x001C0001); }
    void Pause(unsigned milliseconds) override { ::Sleep(milliseconds); }
    bool SetAttributes(const std::string& path, uint32_t attributes) override {
        return ::SetFileAttributesW(Wide(path).c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != FALSE;
    }
    bool ListUnicode(const std::string& folder, std::vector<std::u16string>* names) override {
        names->clear();
        WIN32_FIND_DATAW fd;
        HANDLE s = ::FindFirstFileW((Wide(folder) + L"*").c_str(), &fd);
        if (s == INVALID_HANDLE_VALUE) return false;
        do {
            std::u16string name(fd.cFileName, fd.cFileName + std::wcslen(fd.cFileName));
            if (name != u"." && name != u"..") names->push_back(name);
        } while (::FindNextFileW(s, &fd));
        ::FindClose(s);
        std::sort(names->begin(), names->end());
        return true;
    }
    bool CreateUnicodeFile(const std::string& folder, const std::u16string& name) override {
        std::wstring path = Wide(folder) + std::wstring(name.begin(), name.end());
        HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        ::CloseHandle(h);
        return true;
    }
    bool ReadUnicodeRegistryText(const std::string& key, const std::string& value, std::u16string* text) override {
        HKEY k;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
        wchar_t data[1024] = {};
        DWORD type = 0, size = sizeof data - sizeof(wchar_t);
        LONG r = ::RegQueryValueExW(k, Wide(value).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        ::RegCloseKey(k);
        if (r != ERROR_SUCCESS || type != REG_SZ) return false;
        text->assign(data, data + size / sizeof(wchar_t));
        while (!text->empty() && text->back() == 0) text->pop_back();
        return true;
    }
    bool WriteUnicodeRegistryText(const std::string& key, const std::string& value,
                                  const std::u16string& text) override {
        HKEY k;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                              nullptr) != ERROR_SUCCESS) {
            return false;
        }
        std::wstring data(text.begin(), text.end());
        LONG r = ::RegSetValueExW(k, Wide(value).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                  static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(k);
        return r == ERROR_SUCCESS;
    }

private:
    // Leaves no message of one test to the next.
    static void Drain() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    QuietWin32Platform sys_;
    std::string savedCwd_;
};

// Links hold Unicode; the tests compare Shift-JIS, whatever the system's code page.
std::string WideToCodePage(const std::u16string& w) {
    std::wstring wide(w.begin(), w.end());
    int n = ::WideCharToMultiByte(plat::kShiftJisCodePage, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                  nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(plat::kShiftJisCodePage, 0, wide.c_str(), static_cast<int>(wide.size()), &out[0], n, nullptr,
                          nullptr);
    return out;
}

}  // namespace

std::unique_ptr<TestPlatform> MakeTestPlatform() { return std::make_unique<Win32TestPlatform>(); }

}  // namespace testsupport

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::CoInitialize(nullptr);
    testsupport::SetWideToAnsi(testsupport::WideToCodePage);
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's message queue
    int result = RUN_ALL_TESTS();
    ::CoUninitialize();
    return result;
}
