// The path and name rules of the simulated Windows: how a Shift-JIS path is split,
// resolved, matched against a wildcard and compared without regard to case. A two-byte
// character is taken whole: its trail byte is never a backslash, a wildcard or a letter.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace plat {

// Windows file-name matching of one name against one pattern component (DOS rules for
// "*.", "?" and "*.*"), ASCII letters in either case, double-byte characters whole.
bool MatchesWildcard(const std::string& pattern, const std::string& name);

// The name with its single-byte letters upper-cased (two-byte characters left as they
// are): how paths and registry names are compared without regard to case.
std::string UpperCaseName(const std::string& name);

namespace sim {

std::vector<std::string> SplitPath(const std::string& path);  // at backslashes
size_t LastBackslash(const std::string& path);                // std::string::npos when none
bool HasWildcard(const std::string& path);
// Characters Windows refuses in names (wildcards are checked separately).
bool HasBadNameChar(const std::string& path);
// Of a full path ("C:\A\b.txt"): the folder holding it ("" for a root) and its last
// component ("C:" for a root).
std::string ParentOf(const std::string& full);
std::string LastComponent(const std::string& full);
// The display-case full path of path, taken relative to the current directory cwd: "X:\..."
// is absolute, "\..." is the root of the current drive; "." and ".." are resolved and "/"
// counts as "\". False with kCauseBadPath for an empty or UNC path or a refused character.
bool ResolvePath(const std::string& path, const std::string& cwd, std::string* full, FileCause* cause);

}  // namespace sim
}  // namespace plat
