// Cutting Shift-JIS paths into folder and name, with two-byte characters kept whole.
#include "commands/path_parts.h"

#include <cstring>

#include "script/script_text.h"

namespace commands {

namespace {

// Calls visit(index, isSeparator) for every character start of path, in order.
template <typename Visit>
void ForEachCharacter(const char* path, Visit visit) {
    for (int i = 0; path[i] != '\0';) {
        const unsigned char b = static_cast<unsigned char>(path[i]);
        if (script::IsLeadByte(b) && path[i + 1] != '\0') {
            visit(i, false, b);
            i += 2;
        } else {
            visit(i, b == '\\', b);
            i += 1;
        }
    }
}

}  // namespace

int LastSeparator(const char* path, int low, int high) {
    int found = -1;
    ForEachCharacter(path, [&](int i, bool separator, unsigned char) {
        if (separator && i >= low && i <= high) found = i;
    });
    return found;
}

bool EndsInSeparatorOrColon(const char* path) {
    bool result = false;
    ForEachCharacter(path, [&](int, bool separator, unsigned char b) { result = separator || b == ':'; });
    return result;
}

bool HasWildcard(const char* path) { return std::strpbrk(path, "*?") != nullptr; }

bool JoinPath(char* out, size_t size, const char* a, const char* b) {
    const size_t la = std::strlen(a), lb = std::strlen(b);
    if (la + lb + 1 > size) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    std::memmove(out, a, la);
    std::memmove(out + la, b, lb + 1);
    return true;
}

}  // namespace commands
