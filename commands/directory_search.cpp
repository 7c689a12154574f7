// The engine's one directory search, shared by DELETE, COPY and the start-up and install
// look-ups: entries are filtered by a required and an excluded attribute mask.
#include "commands/file_commands.h"

namespace commands {

namespace {

bool Qualifies(const plat::FindEntry& entry, uint32_t required, uint32_t excluded) {
    return (entry.attributes & required) == required && (entry.attributes & excluded) == 0;
}

// Moves the open search to the next qualifying entry, the current one included when
// includeCurrent is set; closes the search when none is left.
bool AdvanceToMatch(Engine& e, bool includeCurrent, uint32_t required, uint32_t excluded) {
    if (includeCurrent && Qualifies(e.search.entry, required, excluded)) return true;
    for (;;) {
        e.search.entry.skippedNames = 0;  // a layer that reports nothing must not count twice
        const bool found = e.sys->FindNext(e.search.handle, &e.search.entry);
        e.search.skippedNames += e.search.entry.skippedNames;  // also those after the last entry
        if (!found) break;
        if (Qualifies(e.search.entry, required, excluded)) return true;
    }
    CloseSearch(e);
    return false;
}

}  // namespace

void CloseSearch(Engine& e) {
    if (e.search.handle != 0) e.sys->FindClose(e.search.handle);
    e.search.handle = 0;
}

bool FindFirstMatch(Engine& e, const char* pattern, uint32_t required, uint32_t excluded) {
    CloseSearch(e);  // one search at a time: a new one replaces whatever was left open
    e.search.entry = plat::FindEntry{};
    e.search.handle = e.sys->FindFirst(pattern, &e.search.entry);
    e.search.skippedNames = e.search.entry.skippedNames;
    if (e.search.handle == 0) return false;
    return AdvanceToMatch(e, true, required, excluded);
}

bool FindNextMatch(Engine& e, uint32_t required, uint32_t excluded) {
    e.search.skippedNames = 0;
    if (e.search.handle == 0) return false;
    return AdvanceToMatch(e, false, required, excluded);
}

}  // namespace commands
