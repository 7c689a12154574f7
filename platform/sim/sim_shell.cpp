// The simulated Windows' shell (see sim_shell.h).
#include "platform/sim/sim_shell.h"

namespace plat {

namespace {

void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}
void Set32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

bool SimShell::InitializeCom() {
    comInit_++;
    comInitCalls_++;
    return true;
}

void SimShell::UninitializeCom() {
    if (comInit_ > 0) comInit_--;
}

std::string SimShell::MakeLinkFileBytes(const std::string& target, const std::string& description) {
    enum : uint32_t { kHasLinkInfo = 0x2, kHasName = 0x4 };
    std::string s;
    Put32(s, 0x4C);
    static const unsigned char kClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                             0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    s.append(reinterpret_cast<const char*>(kClsid), 16);
    Put32(s, kHasLinkInfo | (description.empty() ? 0u : static_cast<uint32_t>(kHasName)));
    Put32(s, 0);         // target attributes
    s.append(24, '\0');  // creation, access and write times
    Put32(s, 0);         // target size
    Put32(s, 0);         // icon index
    Put32(s, 1);         // show normally
    Put16(s, 0);         // hot key
    s.append(10, '\0');  // reserved
    // Link information: a volume and the target as local base path.
    size_t info = s.size();
    Put32(s, 0);     // size, set below
    Put32(s, 0x1C);  // header size
    Put32(s, 1);     // volume id and local base path
    Put32(s, 0x1C);  // volume id offset
    Put32(s, 0);     // local base path offset, set below
    Put32(s, 0);     // no network part
    Put32(s, 0);     // common path suffix offset, set below
    Put32(s, 0x11);  // volume id: size, drive type, serial, label offset, empty label
    Put32(s, kDriveFixed);
    Put32(s, 0x20010401);
    Put32(s, 0x10);
    s += '\0';
    Set32(s, info + 16, static_cast<uint32_t>(s.size() - info));
    s += target;
    s += '\0';
    Set32(s, info + 24, static_cast<uint32_t>(s.size() - info));
    s += '\0';
    Set32(s, info, static_cast<uint32_t>(s.size() - info));
    if (!description.empty()) {
        Put16(s, static_cast<uint16_t>(description.size()));
        s += description;
    }
    Put32(s, 0);  // no extra data
    return s;
}

long SimShell::CreateShellLink(const char* target, const char* linkPath, const char* description) {
    ShellLinkRecord rec{target ? target : "", linkPath ? linkPath : "", description ? description : "", 0};
    long hr = 0;
    if (linkUnavailable_) {
        hr = static_cast<long>(0x80040154);  // class not registered
    } else if (requireCom_ && comInit_ == 0) {
        hr = static_cast<long>(0x800401F0);  // COM not initialised
    } else {
        FileCause cause = kCauseNone;
        FileHandle f = CreateForWrite(rec.linkPath.c_str(), &cause);
        std::string bytes = MakeLinkFileBytes(rec.target, rec.description);
        if (f && !WriteFile(f, bytes.data(), static_cast<uint32_t>(bytes.size()), &cause)) {
            CloseFile(f, nullptr);
            DeleteFile(rec.linkPath.c_str());
            f = 0;
        } else if (f && !CloseFile(f, &cause)) {
            f = 0;
        }
        if (!f) {
            switch (cause) {
                case kCauseBadPath: hr = static_cast<long>(0x80070003); break;
                case kCauseAccessDenied: hr = static_cast<long>(0x80070005); break;
                case kCauseDiskFull: hr = static_cast<long>(0x80070070); break;
                default: hr = static_cast<long>(0x80004005); break;
            }
        }
    }
    rec.result = hr;
    links_.push_back(rec);
    return hr;
}

void SimShell::NotifyShellItemDeleted(const char* path) { notifications_.push_back(path ? path : ""); }

}  // namespace plat
