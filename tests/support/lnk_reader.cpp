// Shell link reader: header, optional item id list, link information, string data.
#include "tests/support/lnk_reader.h"

#include <cstdint>

namespace testsupport {

namespace {

std::string AsciiOnly(const std::u16string& w) {
    std::string out;
    for (char16_t c : w) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

WideToAnsi g_convert = AsciiOnly;

uint32_t U32(const std::string& b, size_t at) {
    if (at + 4 > b.size()) return 0;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

uint16_t U16(const std::string& b, size_t at) {
    if (at + 2 > b.size()) return 0;
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

std::string CString(const std::string& b, size_t at) {
    if (at >= b.size()) return "";
    size_t end = b.find('\0', at);
    return b.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

std::u16string WString(const std::string& b, size_t at) {
    std::u16string out;
    for (size_t i = at; i + 1 < b.size(); i += 2) {
        char16_t c = U16(b, i);
        if (!c) break;
        out += c;
    }
    return out;
}

}  // namespace

void SetWideToAnsi(WideToAnsi convert) { g_convert = convert ? convert : AsciiOnly; }

bool ParseLinkFile(const std::string& b, LinkFile* link) {
    static const unsigned char kClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                             0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    *link = LinkFile{};
    if (b.size() < 0x4C || U32(b, 0) != 0x4C || b.compare(4, 16, reinterpret_cast<const char*>(kClsid), 16) != 0) {
        return false;
    }
    enum : uint32_t {
        kHasIdList = 0x1,
        kHasLinkInfo = 0x2,
        kHasName = 0x4,
        kHasRelPath = 0x8,
        kHasWorkDir = 0x10,
        kHasArgs = 0x20,
        kHasIcon = 0x40,
        kUnicode = 0x80
    };
    uint32_t flags = U32(b, 20);
    link->unicodeStrings = (flags & kUnicode) != 0;
    size_t pos = 0x4C;
    if (flags & kHasIdList) pos += 2 + U16(b, pos);
    if (flags & kHasLinkInfo) {
        size_t info = pos;
        uint32_t size = U32(b, info), header = U32(b, info + 4), infoFlags = U32(b, info + 8);
        if (size < 0x1C || info + size > b.size()) return false;
        if (infoFlags & 1) {
            std::string base = CString(b, info + U32(b, info + 16));
            std::string suffix = CString(b, info + U32(b, info + 24));
            if (header >= 0x24 && U32(b, info + 28)) {
                base = g_convert(WString(b, info + U32(b, info + 28)));
                if (U32(b, info + 32)) suffix = g_convert(WString(b, info + U32(b, info + 32)));
            }
            link->target = base + suffix;
        }
        pos = info + size;
    }
    // String data, each counted in characters.
    for (uint32_t bit : {kHasName, kHasRelPath, kHasWorkDir, kHasArgs, kHasIcon}) {
        if (!(flags & bit)) continue;
        uint16_t count = U16(b, pos);
        pos += 2;
        std::string text;
        if (link->unicodeStrings) {
            std::u16string w;
            for (uint16_t i = 0; i < count; ++i) w += static_cast<char16_t>(U16(b, pos + 2 * i));
            text = g_convert(w);
            pos += 2 * count;
        } else {
            text = b.substr(pos, count);
            pos += count;
        }
        if (pos > b.size()) return false;
        // Some writers count the terminator too.
        size_t nul = text.find('\0');
        if (nul != std::string::npos) text.resize(nul);
        if (bit == kHasName) link->description = text;
    }
    return true;
}

}  // namespace testsupport
