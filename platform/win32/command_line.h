// The program's arguments in Shift-JIS: the C runtime's ANSI command line is converted
// with the system's code page, which garbles a Japanese script or folder name on any
// other Windows; this one is read wide and converted with code page 932.
#pragma once

#include <string>

namespace plat {

// What follows the program's own name and the blanks behind it, as WinMain gets it.
// A character Shift-JIS cannot hold becomes '|', which no file or folder name may hold:
// the name it is part of then names nothing, rather than another file.
std::string ArgumentsOf(const wchar_t* commandLine);
std::string CommandArguments();  // of this process

}  // namespace plat
