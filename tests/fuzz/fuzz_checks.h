// What every fuzz target checks with: a broken rule aborts naming its place, before the
// fuzzer saves the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/strict_json.h"

namespace fuzzcheck {

inline void Require(bool condition, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    if (condition) return;
    std::fprintf(stderr, "%s:%d: requirement failed\n", file, line);
    std::abort();
}

// Valid UTF-8 is what the strict JSON reader accepts inside a string.
inline bool IsUtf8(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += (static_cast<unsigned char>(c) < 0x20) ? ' ' : c;
    }
    return fuzzjson::IsStrictJson(quoted + "\"");
}

}  // namespace fuzzcheck
