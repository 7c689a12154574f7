// UIAUTO.EXE entry point: reads "COMMAND --option value ..." and runs one command.
// Arguments are taken as UTF-16 from the command line (Wine decodes the Unix UTF-8
// arguments by the locale), so Japanese titles match the W functions directly.
#include "tools/uiauto/uiauto.h"

#include <shellapi.h>

#include <cwchar>

namespace uiauto {
namespace {

struct Command {
    const wchar_t* name;
    int (*run)(const Args&);
    const wchar_t* arguments;
    const wchar_t* help;
};

const Command kCommands[] = {
    {L"list-windows", CmdListWindows, L"[--visible]", L"top-level windows, one JSON object a line"},
    {L"children", CmdChildren, L"TARGET", L"controls below a window, with their texts"},
    {L"wait-window", CmdWaitWindow, L"TARGET [--timeout MS]", L"wait until the window exists; prints it"},
    {L"wait-gone", CmdWaitGone, L"TARGET [--timeout MS]", L"wait until no such window exists"},
    {L"text", CmdText, L"TARGET [--id N]", L"a control's (or the window's) text"},
    {L"click", CmdClick, L"TARGET --id N", L"post BM_CLICK to a button"},
    {L"press", CmdPress, L"TARGET --button LABEL|ID", L"post BM_CLICK to the button so labelled"},
    {L"key", CmdKey, L"TARGET [--id N] --vk N", L"post a key down and up (to the focus without --id)"},
    {L"close", CmdClose, L"TARGET", L"post WM_CLOSE"},
    {L"enabled", CmdEnabled, L"TARGET [--id N] [--self]", L"1 or 0; counts disabled parents unless --self"},
    {L"visible", CmdVisible, L"TARGET [--id N]", L"1 or 0, without waiting"},
    {L"check", CmdCheck, L"TARGET --id N", L"BM_GETCHECK: 0, 1 or 2"},
    {L"rect", CmdRect, L"TARGET [--id N]", L"screen rectangle and client size (JSON)"},
    {L"style", CmdStyle, L"TARGET [--id N]", L"window styles (JSON)"},
    {L"items", CmdItems, L"TARGET --id N", L"list or combo box items and selection (JSON)"},
    {L"foreground", CmdForeground, L"[TARGET]", L"the foreground window, or 1/0 for TARGET"},
    {L"msgbox", CmdMsgBox, L"[--title T] [--timeout MS] [--press LABEL]", L"wait for a message box; JSON"},
    {L"set-text", CmdSetText, L"TARGET --id N --text T", L"WM_SETTEXT to a control (an edit box's typed text)"},
    {L"screenshot", CmdScreenshot, L"[TARGET] --file F.bmp", L"save the screen (or a window's area)"},
};

void Usage() {
    PrintLine(L"usage: UIAUTO COMMAND [options]");
    PrintLine(L"TARGET: --title T | --contains T | --class C | --msgbox | --hwnd 0xH  [--visible]");
    for (const Command& c : kCommands) {
        std::wstring line = std::wstring(L"  ") + c.name + L" " + c.arguments;
        line.resize(line.size() < 48 ? 48 : line.size() + 1, L' ');
        PrintLine(line + c.help);
    }
    PrintLine(L"exit: 0 done, 1 not found or timed out, 2 usage, 3 failed");
}

bool ParseNumber(const wchar_t* text, long* value) {
    wchar_t* end = nullptr;
    *value = wcstol(text, &end, 0);
    return *text && end && *end == 0;
}

// Returns false (after a message) on a malformed command line.
bool Parse(int argc, wchar_t** argv, Args* args) {
    args->command = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::wstring opt = argv[i];
        if (opt == L"--msgbox") {
            args->msgbox = true;
            continue;
        }
        if (opt == L"--self") {
            args->self = true;
            continue;
        }
        if (opt == L"--visible") {
            args->visibleOnly = true;
            continue;
        }
        if (i + 1 >= argc) {
            PrintError(L"missing value after " + opt);
            return false;
        }
        const wchar_t* value = argv[++i];
        long number = 0;
        if (opt == L"--title")
            args->title = value;
        else if (opt == L"--contains")
            args->contains = value;
        else if (opt == L"--class")
            args->className = value;
        else if (opt == L"--button")
            args->button = value;
        else if (opt == L"--press")
            args->press = value;
        else if (opt == L"--file")
            args->file = value;
        else if (opt == L"--text")
            args->text = value;
        else if (opt == L"--id" || opt == L"--vk" || opt == L"--timeout" || opt == L"--hwnd") {
            if (!ParseNumber(value, &number)) {
                PrintError(L"not a number: " + std::wstring(value));
                return false;
            }
            if (opt == L"--id") {
                args->id = static_cast<int>(number);
                args->hasId = true;
            } else if (opt == L"--vk")
                args->vk = static_cast<int>(number);
            else if (opt == L"--timeout")
                args->timeoutMs = static_cast<int>(number);
            else
                args->hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
        } else {
            PrintError(L"unknown option " + opt);
            return false;
        }
    }
    return true;
}

}  // namespace
}  // namespace uiauto

int main() {
    using namespace uiauto;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2 || wcscmp(argv[1], L"help") == 0 || wcscmp(argv[1], L"--help") == 0) {
        Usage();
        return argc < 2 ? kExitUsage : kExitOk;
    }
    Args args;
    if (!Parse(argc, argv, &args)) return kExitUsage;
    for (const Command& c : kCommands)
        if (args.command == c.name) return c.run(args);
    PrintError(L"unknown command " + args.command);
    Usage();
    return kExitUsage;
}
