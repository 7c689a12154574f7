// Reading a script from disk: only a readable regular file is a script; anything else
// (a folder, a missing file, no permission) is refused with a short reason.
#pragma once

#include <string>

namespace checker {

// The whole file as bytes; false and reason ("is a folder", "no such file",
// "permission denied", ...) when path is no readable file.
bool ReadScriptFile(const std::string& path, std::string* bytes, std::string* reason);

}  // namespace checker
