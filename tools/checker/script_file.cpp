// Reading a script from disk (see script_file.h). The folder test comes first: on some
// systems a folder opens for reading like a file and reads as empty.
#include "tools/checker/script_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace checker {

bool ReadScriptFile(const std::string& path, std::string* bytes, std::string* reason) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        *reason = "no such file";
        return false;
    }
    if (status.type() == fs::file_type::directory) {
        *reason = "is a folder";
        return false;
    }
    if (!error && status.type() != fs::file_type::regular) {
        *reason = "is not a regular file";
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *reason = errno == EACCES ? "permission denied" : errno != 0 ? std::strerror(errno) : "cannot be opened";
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) {
        *reason = "read failed";
        return false;
    }
    *bytes = s.str();
    return true;
}

}  // namespace checker
