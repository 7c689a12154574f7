// Reads back the parts of a shell link (.lnk) file that the installer writes: the target
// path and the description. Works on the bytes alone, so native tests and tests under
// Wine read link files the same way.
#pragma once

#include <string>

namespace testsupport {

struct LinkFile {
    std::string target;       // the local base path plus common suffix, Shift-JIS
    std::string description;  // the name string, Shift-JIS
    bool unicodeStrings = false;
};

// False when the bytes are not a shell link.
bool ParseLinkFile(const std::string& bytes, LinkFile* link);

// How UTF-16 strings of a link are turned into the system code page: set by the test
// program's main (the default keeps ASCII only and puts '?' for everything else).
using WideToAnsi = std::string (*)(const std::u16string&);
void SetWideToAnsi(WideToAnsi convert);

}  // namespace testsupport
