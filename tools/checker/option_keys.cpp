// A unit test compares this list with the keys the installer's options reader asks for.
#include "tools/checker/option_keys.h"

namespace checker {

const OptionKey kOptionKeys[] = {
    {"Class", false, 80},      {"Title", false, 80},      {"YearRight", false, 20},   {"SrcDir", false, 260},
    {"DstDir", false, 260},    {"ExeName", false, 260},   {"SetupText", false, 41},   {"ExitText", false, 41},
    {"UninstText", false, 41}, {"PlayText", false, 41},   {"BtnWidth", true, 80},     {"BtnHeight", true, 80},
    {"SetupBtn", true, 80},    {"PlayBtn", true, 80},     {"ExitBtn", true, 80},      {"UninstallBtn", true, 80},
    {"SetupBtnX", true, 80},   {"SetupBtnY", true, 80},   {"PlayBtnX", true, 80},     {"PlayBtnY", true, 80},
    {"ExitBtnX", true, 80},    {"ExitBtnY", true, 80},    {"UnInstBtnX", true, 80},   {"UnInstBtnY", true, 80},
    {"Sub1BtnX", true, 80},    {"Sub1BtnY", true, 80},    {"CopySize", true, 80},     {"InstSize", true, 80},
    {"RegFlag", true, 80},     {"InstMes1", false, 120},  {"InstMes2", false, 120},   {"InstMes3", false, 120},
    {"InstMes4", false, 120},  {"InstMes5", false, 120},  {"InstMes6", false, 120},   {"InstMes7", false, 120},
    {"InstMes8", false, 120},  {"InstTitle", false, 120}, {"InstUpdate", false, 120},
};
const int kOptionKeyCount = sizeof kOptionKeys / sizeof kOptionKeys[0];

}  // namespace checker
