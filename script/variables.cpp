// The script variables: snapshots of the environment paths, and the tables that say which
// names each program knows.
#include "script/variables.h"
#include "text/text_rules.h"

namespace script {

namespace {

const char* SrcDir(const Engine& e) { return e.vars.srcDir; }
const char* DstDir(const Engine& e) { return e.vars.dstDir; }
const char* ExeDir(const Engine& e) { return e.vars.exeDir; }
const char* WinDir(const Engine& e) { return e.vars.winDir; }
const char* TavrelDir(const Engine& e) { return e.vars.tavrelDir; }
const char* SrcDrv(const Engine& e) { return e.vars.srcDrv; }
const char* DstDrv(const Engine& e) { return e.vars.dstDrv; }
const char* WinDrv(const Engine& e) { return e.vars.winDrv; }
const char* TavrelDrv(const Engine& e) { return e.vars.tavrelDrv; }
const char* ExeName(const Engine& e) { return e.options.exeName; }
const char* Title(const Engine& e) { return e.options.title; }
const char* InstDrv(const Engine& e) { return e.vars.instDrv; }
const char* InstDir(const Engine& e) { return e.vars.instDir; }
const char* InstTavDir(const Engine& e) { return e.vars.instTavDir; }

}  // namespace

// Tried in this order at every piece of an argument.
const Variable kInstallerVariables[] = {
    {"%SrcDir%", SrcDir},       {"%DstDir%", DstDir},         {"%ExeDir%", ExeDir}, {"%WinDir%", WinDir},
    {"%TavrelDir%", TavrelDir}, {"%SrcDrv%", SrcDrv},         {"%DstDrv%", DstDrv}, {"%WinDrv%", WinDrv},
    {"%TavrelDrv%", TavrelDrv}, {"%ExeName%", ExeName},       {"%Title%", Title},   {"%InstDrv%", InstDrv},
    {"%InstDir%", InstDir},     {"%InstTavDir%", InstTavDir},
};
const int kInstallerVariableCount = sizeof kInstallerVariables / sizeof kInstallerVariables[0];

// The runner knows the path names but not the two option values.
const Variable kRunnerVariables[] = {
    {"%SrcDir%", SrcDir},       {"%DstDir%", DstDir},   {"%ExeDir%", ExeDir},   {"%WinDir%", WinDir},
    {"%TavrelDir%", TavrelDir}, {"%SrcDrv%", SrcDrv},   {"%DstDrv%", DstDrv},   {"%WinDrv%", WinDrv},
    {"%TavrelDrv%", TavrelDrv}, {"%InstDrv%", InstDrv}, {"%InstDir%", InstDir}, {"%InstTavDir%", InstTavDir},
};
const int kRunnerVariableCount = sizeof kRunnerVariables / sizeof kRunnerVariables[0];

void RefreshVariables(Engine& e) {
    VariableValues& v = e.vars;
    const Environment& env = e.env;
    text::DriveOf(env.sourceFolder, v.srcDrv);
    text::DriveOf(env.destFolder, v.dstDrv);
    text::DriveOf(env.windowsFolder, v.winDrv);
    text::DriveOf(env.tavrelBase, v.tavrelDrv);
    text::DriveOf(env.installedFolder, v.instDrv);

    text::FolderOf(env.sourceFolder, v.srcDir, sizeof v.srcDir);
    text::FolderOf(env.destFolder, v.dstDir, sizeof v.dstDir);
    text::FolderOf(env.programFolder, v.exeDir, sizeof v.exeDir);
    text::FolderOf(env.windowsFolder, v.winDir, sizeof v.winDir);
    text::FolderOf(env.tavrelBase, v.tavrelDir, sizeof v.tavrelDir);
    text::AppendOrCut(v.tavrelDir, sizeof v.tavrelDir, "TAVREL\\");
    text::FolderOf(env.installedFolder, v.instDir, sizeof v.instDir);
    text::FolderOf(env.installedParent, v.instTavDir, sizeof v.instTavDir);
    text::AppendBackslash(v.instTavDir, sizeof v.instTavDir);

    // Last, so the installed-folder variables show what the previous refresh read.
    if (e.services && e.services->readSetting(e, e.options.dstDir, e.env.installedFolder, kPathSize)) {
        text::ParentOf(e.env.installedFolder, e.env.installedParent, kPathSize);
    } else {
        e.env.installedFolder[0] = 0;
        e.env.installedParent[0] = 0;
    }
}

}  // namespace script
