// What the checker knows about each command's arguments beyond what the engine's reader
// tells it: each argument's role, the buffer that receives it, whether an over-long one
// is refused or cut, and which arguments name jump targets.
#pragma once

#include <cstddef>

namespace checker {

enum class ArgKind {
    Text,        // any text; an over-long one is refused (syntax error)
    CutText,     // an over-long one is cut without a word
    Label,       // a jump target looked up as "~" + label
    Pattern,     // a jump target looked up as written
    SlotLabel,   // a section name slot: "~" + label, run by a flow
    SubPattern,  // a sub button's section pattern, as written
    Number,      // read with the decimal parser
    RootIndex,   // optional registry root index 0 to 4
    ModeWord,    // EXE: STOP, QUIT or PATH
    CheckWord,   // INSTSIZE: NOCHECK
};

struct ArgSpec {
    const char* role;
    ArgKind kind;
    size_t size;  // receiving buffer, zero included
    bool optional;
};

struct CommandSpec {
    const char* word;
    int argCount;
    ArgSpec args[4];
};

// The spec of keyword, or nullptr for a word the checker has no table row for.
const CommandSpec* FindCommandSpec(const char* keyword);

}  // namespace checker
