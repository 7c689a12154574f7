// The base every part of the simulated Windows derives from virtually, so that the whole
// has one: the Platform interface each part implements a piece of, and one handle counter
// (no two handles of any kind ever have the same value).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace plat {

class SimPart : public Platform {
public:
    SimPart() = default;
    // A copy of the whole simulation goes on numbering handles where the original stood.
    SimPart(const SimPart&) = default;
    SimPart& operator=(const SimPart&) = delete;

protected:
    uintptr_t NewHandle() { return nextHandle_++; }

    // Copies text and its zero into a caller's buffer as the API does: its length, or 0
    // and an emptied buffer when it does not fit.
    static uint32_t CopyOut(const std::string& text, char* buffer, uint32_t size) {
        if (!buffer || size == 0) return 0;
        if (text.size() + 1 > size) {
            buffer[0] = 0;
            return 0;
        }
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return static_cast<uint32_t>(text.size());
    }

private:
    uintptr_t nextHandle_ = 0x100;
};

}  // namespace plat
