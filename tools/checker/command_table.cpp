// The argument roles and buffer sizes of every command, as the handlers declare them.
// A unit test runs each handler with arguments of the limit's length and one byte more,
// so this table cannot drift from the handlers unnoticed.
#include "tools/checker/command_table.h"

#include <cstring>

namespace checker {

namespace {

constexpr size_t kPath = 260;
constexpr size_t kLabel = 19;      // "~" + 18 bytes + zero
constexpr size_t kSlotLabel = 23;  // "~" + 22 bytes + zero in a 24-byte slot
constexpr size_t kSubSlot = 20;
constexpr size_t kCaption = 44;
constexpr size_t kMenuText = 80;
constexpr size_t kNumber = 12;
constexpr size_t kValueName = 80;

using K = ArgKind;

const CommandSpec kCommands[] = {
    {"CREATE", 1, {{"file", K::Text, kPath, false}}},
    {"WRITE", 1, {{"text", K::Text, kPath, false}}},
    {"CLOSE", 0, {}},
    {"PRINT", 1, {{"text", K::CutText, kPath, false}}},
    {"BITMAP", 1, {{"picture file", K::Text, kPath, false}}},
    {"MKDIR", 1, {{"folder", K::Text, kPath, false}}},
    {"RMDIR", 1, {{"folder", K::Text, kPath, false}}},
    {"FIND", 2, {{"path", K::Text, kPath, false}, {"message", K::Text, kPath, false}}},
    {"SHORTCUTD", 2, {{"target", K::Text, kPath, false}, {"shortcut name", K::Text, kPath, false}}},
    {"SHORTCUTA",
     3,
     {{"target", K::Text, kPath, false}, {"shortcut name", K::Text, kPath, false}, {"folder", K::Text, kPath, false}}},
    {"CLRSHORTCUTA", 2, {{"shortcut name", K::Text, kPath, false}, {"folder", K::Text, kPath, false}}},
    {"SHORTCUTP", 2, {{"target", K::Text, kPath, false}, {"shortcut name", K::Text, kPath, false}}},
    {"CLRSHORTCUT", 1, {{"shortcut name", K::Text, kPath, false}}},
    {"COPY", 2, {{"source", K::Text, kPath, false}, {"destination", K::Text, kPath, false}}},
    {"DELETE", 1, {{"file", K::Text, kPath, false}}},
    {"GOTO", 1, {{"target", K::Pattern, kPath, false}}},
    {"REGJUMP", 2, {{"registry key", K::Text, kPath, false}, {"target", K::Pattern, kPath, false}}},
    {"UNINSTINFO", 2, {{"display name", K::Text, kPath, false}, {"uninstall command", K::Text, kPath, false}}},
    {"CLRUNINSTINFO", 0, {}},
    {"OPTIONS", 1, {{"word", K::CutText, kPath, false}}},
    {"MENUTITLE", 1, {{"title", K::CutText, kMenuText, false}}},
    {"MENUITEMD", 2, {{"item text", K::CutText, kMenuText, false}, {"label", K::Label, kLabel, false}}},
    {"MENUITEM", 2, {{"item text", K::CutText, kMenuText, false}, {"label", K::Label, kLabel, false}}},
    {"MENU", 0, {}},
    {"INST_LAB",
     4,
     {{"install section", K::SlotLabel, kSlotLabel, false},
      {"install start section", K::SlotLabel, kSlotLabel, false},
      {"install end section", K::SlotLabel, kSlotLabel, false},
      {"after-install section", K::SlotLabel, kSlotLabel, false}}},
    {"UNINST_LAB",
     3,
     {{"uninstall section", K::SlotLabel, kSlotLabel, false},
      {"uninstall start section", K::SlotLabel, kSlotLabel, false},
      {"uninstall end section", K::SlotLabel, kSlotLabel, false}}},
    {"PLAY_LAB", 1, {{"play section", K::SlotLabel, kSlotLabel, false}}},
    {"YESNO",
     3,
     {{"question", K::CutText, kPath, false},
      {"yes label", K::Label, kPath - 1, false},
      {"no label", K::Label, kPath - 1, false}}},
    {"WARNING", 2, {{"proceed label", K::Label, kLabel, false}, {"other label", K::Label, kLabel, false}}},
    {"EXE",
     4,
     {{"program", K::Text, kPath, false},
      {"arguments", K::Text, kPath, true},
      {"mode word", K::ModeWord, kPath, true},
      {"registry value name", K::Text, kPath, true}}},
    {"QUIT", 0, {}},
    {"SUBBTN1",
     4,
     {{"caption", K::CutText, kCaption, false},
      {"section pattern", K::SubPattern, kSubSlot, false},
      {"x", K::Number, kNumber, false},
      {"y", K::Number, kNumber, false}}},
    {"SUBBTN2",
     4,
     {{"caption", K::CutText, kCaption, false},
      {"section pattern", K::SubPattern, kSubSlot, false},
      {"x", K::Number, kNumber, false},
      {"y", K::Number, kNumber, false}}},
    {"BOOTDRIVE",
     3,
     {{"CD-ROM label", K::Label, kPath - 1, false},
      {"removable label", K::Label, kPath - 1, false},
      {"other label", K::Label, kPath - 1, false}}},
    {"RENAME", 2, {{"old path", K::Text, kPath, false}, {"new path", K::Text, kPath, false}}},
    {"REGDELETE", 2, {{"key", K::Text, kPath, false}, {"root index", K::RootIndex, kPath, true}}},
    {"REGSETSTRING",
     4,
     {{"key", K::Text, kPath, false},
      {"value name", K::Text, kValueName, false},
      {"text", K::Text, kPath, false},
      {"root index", K::RootIndex, kPath, true}}},
    {"REGCREATEKEY", 2, {{"key", K::Text, kPath, false}, {"root index", K::RootIndex, kPath, true}}},
    {"INSTSIZE",
     3,
     {{"copy size", K::Number, kPath, false},
      {"install size", K::Number, kPath, false},
      {"check word", K::CheckWord, kPath, true}}},
    {"DSETUP", 0, {}},
};

}  // namespace

const CommandSpec* FindCommandSpec(const char* keyword) {
    for (const CommandSpec& c : kCommands) {
        if (std::strcmp(c.word, keyword) == 0) return &c;
    }
    return nullptr;
}

}  // namespace checker
