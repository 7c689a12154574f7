// The menu commands: a title, up to five items each leading to a label, and the command
// that shows the menu and jumps to the chosen item's label.
#include <cstdio>

#include "script/argument_reader.h"
#include "script/flow_commands.h"
#include "script/script_text.h"

namespace script {

namespace {

constexpr int kMaxItems = 5;
constexpr size_t kTargetSize = 20;  // "~" + 18 bytes + zero

// Reads an item and adds it while there is a free slot. A sixth item is read (so its
// syntax is still checked) but has nowhere to go and is dropped.
int AddItem(Engine& e) {
    MenuState& m = e.menu;
    char text[sizeof m.items[0]];
    char label[kTargetSize - 1];
    if (!ReadArgument(e, text, sizeof text, Overflow::Cut)) return kFailed;
    if (!ReadArgument(e, label, sizeof label)) return kFailed;
    if (m.count >= kMaxItems) return kGoOn;
    std::snprintf(m.items[m.count], sizeof m.items[0], "%s", text);
    std::snprintf(m.targets[m.count], sizeof m.targets[0], "~%s", label);
    ++m.count;
    return kGoOn;
}

}  // namespace

int CmdMenuTitle(Engine& e) {
    if (!ReadArgument(e, e.menu.title, sizeof e.menu.title, Overflow::Cut)) return kFailed;
    e.menu.count = 0;
    return kGoOn;
}

int CmdMenuItem(Engine& e) { return AddItem(e); }

int CmdMenuItemD(Engine& e) {
    if (e.menu.count < kMaxItems) {
        e.menu.defaultIndex = e.menu.count;
        e.menu.selectedIndex = e.menu.count;
    }
    return AddItem(e);
}

int CmdMenu(Engine& e) {
    MenuState& m = e.menu;
    if (m.count == 0) return kGoOn;
    // An index left over from an earlier, longer menu would name a stale label.
    if (m.defaultIndex >= m.count) m.defaultIndex = 0;
    if (m.selectedIndex >= m.count) m.selectedIndex = m.defaultIndex;
    if (e.host) e.host->RunMenuDialog();
    if (m.selectedIndex < 0 || m.selectedIndex >= m.count) m.selectedIndex = m.defaultIndex;
    FindSection(e, m.targets[m.selectedIndex]);
    return kGoOn;
}

}  // namespace script
