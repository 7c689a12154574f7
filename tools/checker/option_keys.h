// The option keys the installer reads from its options section, in the order it reads
// them, with their kind and buffer size.
#pragma once

#include <cstddef>

namespace checker {

struct OptionKey {
    const char* name;
    bool integer;
    size_t size;  // string buffer, zero included; integers take at most 79 bytes
};

extern const OptionKey kOptionKeys[];
extern const int kOptionKeyCount;

}  // namespace checker
