// The script engine's state: everything the script text, the runners, the commands and
// the flows share. One Engine object per program (the installer's, the runner's), passed
// to every function, so that tests can make as many fresh engines as they like.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "text/text_rules.h"

namespace script {

// ---- Fixed limits ---------------------------------------------------------------
constexpr int kScriptCapacity = 10000;  // bytes of script text kept
constexpr int kLineCapacity = 320;      // line buffer, zero included
constexpr int kMaxLineBytes = 319;      // a longer line ends the script
constexpr int kArgumentLimit = 250;     // no literal text is read beyond this line position
using text::kPathSize;                  // paths and arguments
constexpr int kSlotSize = 24;           // section name slots
constexpr int kSubSlotSize = 20;        // sub-button section slots
constexpr int kCaptionSize = 44;        // sub-button captions
constexpr int kCopyBufferSize = 65536;  // the copy engine's block

// Handler results.
enum : int { kGoOn = 0, kEndSection = 1, kFailed = -1 };

// Activity modes: choose the message wording and the owner of message boxes.
enum : int { kModeIdle = 0, kModeInstalling = 1, kModeUninstalling = 2 };

struct Engine;
using Handler = int (*)(Engine&);

struct Keyword {
    const char* word;  // upper case; matched as "~" + word
    Handler handler;
};

// A script variable: its name with the percent signs, and how its value is found.
struct Variable {
    const char* name;  // for example "%SrcDir%"
    const char* (*value)(const Engine&);
};

// ---- Parts of the state ---------------------------------------------------------

struct ScriptText {
    char text[kScriptCapacity];
    int length;
    int readPos;
    char line[kLineCapacity];
    int lineCount;
    int matchLength;
    int argPos;
    bool quoted;
};

// Environment paths (260-byte Shift-JIS strings).
struct Environment {
    char programFolder[kPathSize];  // with trailing backslash
    char sourceFolder[kPathSize];
    char destFolder[kPathSize];
    char windowsFolder[kPathSize];
    char desktopFolder[kPathSize];    // trailing backslash
    char startMenuFolder[kPathSize];  // the maker's group, trailing backslash
    char tavrelBase[kPathSize];
    char installedFolder[kPathSize];
    char installedParent[kPathSize];
    char scriptName[kPathSize];   // "TAVREL.INF" unless -s
    char pictureName[kPathSize];  // "SETUP.BMP" unless -b or BITMAP
    int screenWidth;
    int screenHeight;
};

// Snapshots of the environment taken by RefreshVariables.
struct VariableValues {
    char srcDir[kPathSize], dstDir[kPathSize], exeDir[kPathSize], winDir[kPathSize];
    char tavrelDir[kPathSize], instDir[kPathSize], instTavDir[kPathSize];
    char srcDrv[4], dstDrv[4], winDrv[4], tavrelDrv[4], instDrv[4];
};

// The options section's values.
struct Options {
    char className[80];
    char title[80];
    char yearRight[20];
    char srcDir[kPathSize];
    char dstDir[kPathSize];
    char exeName[kPathSize];
    char setupText[41], exitText[41], uninstText[41], playText[41];
    int btnWidth, btnHeight;
    int setupBtn, playBtn, exitBtn, uninstallBtn;
    int setupBtnX, setupBtnY, playBtnX, playBtnY, exitBtnX, exitBtnY, unInstBtnX, unInstBtnY;
    int sub1BtnX, sub1BtnY;
    uint64_t copySizeBytes;  // CopySize x 1024
    uint64_t instSizeBytes;  // InstSize x 1024, or the derived default
    int regFlag;
    char instMes[8][120];
    char instTitle[120];
    char instUpdate[120];
};

struct NameSlots {
    char init[kSlotSize];
    char copy[kSlotSize];
    char install[kSlotSize];
    char initInst[kSlotSize];
    char exitInst[kSlotSize];
    char winScript[kSlotSize];
    char uninstall[kSlotSize];
    char initUninst[kSlotSize];
    char exitUninst[kSlotSize];
    char play[kSlotSize];
};

struct SubButton {
    bool enabled;
    char caption[kCaptionSize];
    char slot[kSubSlotSize];
    int x, y;  // centre in percent of the picture
};

struct MenuState {
    char title[80];
    char items[5][80];
    char targets[5][20];
    int count;
    int defaultIndex;
    int selectedIndex;
};

struct OutputFile {
    bool open;
    plat::FileHandle file;
    char name[kPathSize];
};

struct DirectorySearch {
    plat::SearchHandle handle;  // 0 when no search is open
    plat::FindEntry entry;
    // Names the last FindFirstMatch or FindNextMatch passed over because Shift-JIS
    // cannot hold them: files a wildcard command never reaches.
    uint32_t skippedNames;
};

// Whether an install run may be stopped, and whether its stop was asked for.
enum CancelState : int { kCancelIdle = 0, kCancelRunning = 1, kCancelRequested = 2 };

// What became of one file the copy engine was given.
enum CopyResult : int { kCopied = 0, kSourceFailed = 1, kDestFailed = 2, kCancelled = 3, kDiskFull = 4 };

// The copy engine's state and the progress values it shares with the install run.
struct CopyState {
    char sourcePath[kPathSize];
    char destPath[kPathSize];
    char sourceFolder[kPathSize];
    char destFolder[kPathSize];
    bool destCreated;
    uint64_t copiedBytes;
    uint64_t copyTotal;
    uint64_t installSize;
    int percent;  // -1 hides the progress display
    CancelState cancelState;
    uint32_t lastPump;          // tick count when the copy last let messages through
    uint64_t bytesSinceRedraw;  // copied in step mode since the progress was last redrawn
    unsigned char buffer[kCopyBufferSize];
};

// ---- The host: what the engine asks of the program around it -------------------
// The installer implements it with its windows; the runner and tests with plain code.
class Host {
public:
    virtual ~Host() = default;
    virtual plat::WindowHandle MessageOwner() { return 0; }
    virtual void ReadOptions() {}                                        // OPTIONS
    virtual bool LoadBackground(const char* /*file*/) { return false; }  // BITMAP; true when loaded
    virtual bool RunNoticeDialog() { return false; }                     // WARNING; true to proceed
    virtual void RunMenuDialog() {}                                      // MENU; updates menu.selectedIndex
    virtual void RedrawProgress() {}                                     // copy engine, every second block
    virtual void RunAndWait(plat::ProcessHandle /*process*/) {}          // EXE ... STOP
};

// The kind of drive the program was started from; BOOTDRIVE jumps by it.
enum DriveKind : int { kDriveKindRemovable = 0, kDriveKindCdrom = 1, kDriveKindOther = 2 };

// How the destination check ended; the install flow words its refusal by it.
enum DestinationStatus : int {
    kDestinationReported = 0,  // a message was shown already (or all was well)
    kDestinationDriveUnusable = 10,
    kDestinationBadPath = 11,
    kDestinationNoSpace = 12,
};

// ---- What the engine is handed ------------------------------------------------------
// What the section runners need of the commands above them. The program's engine set-up
// hands it in, so that script/ never reaches up into commands/.
struct CommandServices {
    // Copies the next file of a pending wildcard set: 1 the set goes on or has ended,
    // -1 a file failed (reported).
    int (*continuePendingCopy)(Engine& e);
    // Closes the file WRITE left open: every section starts without one.
    void (*releaseOutputFile)(Engine& e);
    // Reads a value of the product's settings key; 1 when it exists and fits.
    int (*readSetting)(Engine& e, const char* name, char* buffer, uint32_t size);
};

// Sees every command line that dispatch hands on, and runs it: a tool that records what a
// script does (the checker's dry run) watches through it.
class DispatchObserver {
public:
    virtual ~DispatchObserver() = default;
    // Runs keyword.handler(e), or declines, and returns the handler's result.
    virtual int RunCommand(Engine& e, const Keyword& keyword) = 0;
};

// ---- The engine -------------------------------------------------------------------
struct Engine {
    plat::Platform* sys = nullptr;
    Host* host = nullptr;
    bool silent = false;  // the runner: messages are not shown and answer 0
    // Lines the runners may still dispatch before they give up with -1; negative means no
    // limit. Scripts may loop for ever by design (a jump back, FIND); tools that run
    // untrusted scripts unattended (the fuzzer, the dry run) set a limit.
    long dispatchLimit = -1;

    const Keyword* keywords = nullptr;
    int keywordCount = 0;
    const Variable* variables = nullptr;
    int variableCount = 0;
    const plat::RegRoot* rootTable = nullptr;   // five roots, by script index 0 to 4
    const CommandServices* services = nullptr;  // none: no copy set, output file or setting
    DispatchObserver* observer = nullptr;       // none: dispatch calls the handler itself
    bool refreshStartMenuOnDelete = true;       // the runner's CLRSHORTCUTA does not

    ScriptText script{};
    int activityMode = kModeIdle;
    Environment env{};
    VariableValues vars{};
    Options options{};

    // Runner flags.
    bool stepMode = false;
    bool pendingCopy = false;

    NameSlots slots{};
    SubButton sub[2]{};
    MenuState menu{};
    OutputFile output{};
    DirectorySearch search{};
    CopyState copy{};

    // Start-up facts.
    int driveTypes[26]{};
    DriveKind driveKind = kDriveKindOther;
    bool runningOnNT = true;
    bool productInstalled = false;
    bool uninstallAvailable = false;
    int tavrelFolderFound = 0;  // 0, 1, or 2 once a typed path was refused
    bool uninstallOnly = false;

    // Install flow values the commands use.
    char chosenDriveLetter = 'C';
    int chosenDriveIndex = 2;
    DestinationStatus destinationStatus = kDestinationReported;

    // The registry accessor's key (SOFTWARE\Tavrel\Ostrel), 0 when it could not be opened.
    plat::KeyHandle accessorKey = 0;
};

// Sets the slots, sub buttons and file names to their initial values.
void ResetEngineState(Engine& e);

}  // namespace script
