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

// Valid UTF-8 by the strict JSON reader's rule for the text of its strings.
inline bool IsUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t n = fuzzjson::Utf8Length(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace fuzzcheck
