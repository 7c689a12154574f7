// What the DirectX notice shows: the four lines and whether "セットアップを行う" can be
// chosen, decided from whether the platform already has a DirectX uninstall entry.
#pragma once

namespace installer {

enum NoticeControl : int {
    kNoticeLine1 = 1027,
    kNoticeLine2 = 1028,
    kNoticeLine3 = 1029,
    kNoticeLine4 = 1030,
    kNoticeStop = 1031,
    kNoticeSetup = 1034,
};

struct NoticeLines {
    const char* lines[4];
    bool setupEnabled;
};

NoticeLines DecideNoticeLines(bool hasDirectXEntry);

}  // namespace installer
