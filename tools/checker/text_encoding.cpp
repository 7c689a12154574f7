// The conversions behind one small interface: iconv(3) natively, the code page functions
// on Windows.
#include "tools/checker/text_encoding.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace checker {

namespace {

std::string Escape(unsigned char b) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", b);
    return text;
}

bool IsLead(unsigned char b) { return (b >= 0x81 && b < 0xA0) || (b >= 0xE0 && b <= 0xFC); }

#ifdef _WIN32
// One character (one or two bytes) through UTF-16.
bool Convert(unsigned fromPage, unsigned toPage, const std::string& in, std::string* out) {
    if (in.empty()) return true;
    int wide = MultiByteToWideChar(fromPage, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()), nullptr, 0);
    if (wide <= 0) return false;
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(fromPage, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()), &w[0], wide);
    BOOL lost = FALSE;
    BOOL* lostFlag = toPage == CP_UTF8 ? nullptr : &lost;
    int n = WideCharToMultiByte(toPage, 0, w.data(), wide, nullptr, 0, nullptr, lostFlag);
    if (n <= 0) return false;
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(toPage, 0, w.data(), wide, &bytes[0], n, nullptr, lostFlag);
    if (lost) return false;
    *out += bytes;
    return true;
}
bool SjisChar(const std::string& in, std::string* out) { return Convert(932, CP_UTF8, in, out); }
bool Utf8Text(const std::string& in, std::string* out) { return Convert(CP_UTF8, 932, in, out); }
#else
// One conversion direction, opened once per thread: opening a descriptor costs far more
// than converting a character, and SjisToUtf8 converts one character at a time.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Usable()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Convert(const std::string& in, std::string* out) {
        if (in.empty()) return true;
        if (!Usable()) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // every text starts from the initial state
        char small[64];
        std::string large;
        const size_t need = in.size() * 4 + 16;
        char* buffer = small;
        if (need > sizeof small) {
            large.assign(need, '\0');
            buffer = &large[0];
        }
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = buffer;
        size_t dstLeft = need;
        size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
        if (r == static_cast<size_t>(-1) || srcLeft != 0) return false;
        out->append(buffer, need - dstLeft);
        return true;
    }

private:
    bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
};

bool SjisChar(const std::string& in, std::string* out) {
    thread_local Converter toUtf8("UTF-8", "CP932");
    return toUtf8.Convert(in, out);
}
bool Utf8Text(const std::string& in, std::string* out) {
    thread_local Converter toSjis("CP932", "UTF-8");
    return toSjis.Convert(in, out);
}
#endif

}  // namespace

std::string SjisToUtf8(const std::string& sjis) {
    // Character by character, so one broken byte costs only itself.
    std::string out;
    size_t i = 0;
    while (i < sjis.size()) {
        unsigned char b = static_cast<unsigned char>(sjis[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        size_t n = IsLead(b) && i + 1 < sjis.size() ? 2 : 1;
        if (!SjisChar(sjis.substr(i, n), &out)) {
            for (size_t k = 0; k < n; ++k) out += Escape(static_cast<unsigned char>(sjis[i + k]));
        }
        i += n;
    }
    return out;
}

bool Utf8ToSjis(const std::string& utf8, std::string* out) {
    out->clear();
    return Utf8Text(utf8, out);
}

bool Utf8SourceToScript(const std::string& utf8, std::string* script) {
    std::string lf;
    lf.reserve(utf8.size() + utf8.size() / 16);
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        if (utf8[i] == '\n') lf += '\r';
        lf += utf8[i];
    }
    return Utf8ToSjis(lf, script);
}

}  // namespace checker
