// What the DirectX notice shows: the four lines and whether "セットアップを行う" can be
// chosen, decided from whether the platform already has a DirectX uninstall entry.
#pragma once

#include "resources/ostrel_resource.h"

namespace installer {

// Control ids of the notice dialog, from its template.
enum NoticeControl : int {
    kNoticeLine1 = IDC_NOTICE_LINE1,
    kNoticeLine2 = IDC_NOTICE_LINE2,
    kNoticeLine3 = IDC_NOTICE_LINE3,
    kNoticeLine4 = IDC_NOTICE_LINE4,
    kNoticeStop = IDC_NOTICE_STOP,
    kNoticeSetup = IDC_NOTICE_SETUP,
};

struct NoticeLines {
    const char* lines[4];
    bool setupEnabled;
};

NoticeLines DecideNoticeLines(bool hasDirectXEntry);

}  // namespace installer
