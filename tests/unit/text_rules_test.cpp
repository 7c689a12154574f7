// The byte-string rules for Shift-JIS paths and fixed buffers: where backslashes are found,
// and what each kind of bounded copy does when the result does not fit.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "text/text_rules.h"

namespace {

// ソ, 表 and 能 all end in byte 0x5C.
const char kSo[] = "ソ";
const char kHyo[] = "表";
const char kNo[] = "能";

// Fills a buffer with a pattern no rule writes, so an untouched result shows.
template <size_t N>
void Garbage(char (&buffer)[N]) {
    std::memset(buffer, '#', N);
}

TEST(TextRulesTest, TheSecondByteOfACharacterIsNeverABackslash) {
    for (const char* c : {kSo, kHyo, kNo}) ASSERT_EQ(static_cast<unsigned char>(c[1]), 0x5C) << c;

    char path[32];
    std::snprintf(path, sizeof path, "C:\\%s\\%s", kSo, kHyo);  // C:\ソ\表
    EXPECT_EQ(text::LastSeparator(path, 0, 99), 5);
    EXPECT_EQ(text::LastSeparator(path, 0, 4), 2);
    EXPECT_EQ(text::LastSeparator(path, 6, 99), -1);
    EXPECT_EQ(text::LastInnerBackslash(path), 5);
    EXPECT_FALSE(text::EndsWithBackslash(path));
    EXPECT_FALSE(text::EndsInSeparatorOrColon(path));

    std::snprintf(path, sizeof path, "%s\\", kNo);
    EXPECT_TRUE(text::EndsWithBackslash(path));
    EXPECT_EQ(text::LastInnerBackslash(path), -1);  // the trailing one names the folder itself
}

TEST(TextRulesTest, CuttingOneFolderUpSkipsTheFinalByte) {
    char path[32] = "D:\\GAMES\\TAVREL\\";
    EXPECT_TRUE(text::CutAtLastInnerBackslash(path));
    EXPECT_STREQ(path, "D:\\GAMES");
    EXPECT_TRUE(text::CutAtLastInnerBackslash(path));
    EXPECT_STREQ(path, "D:");
    EXPECT_FALSE(text::CutAtLastInnerBackslash(path));
    EXPECT_STREQ(path, "D:");

    std::snprintf(path, sizeof path, "D:\\%s", kSo);
    EXPECT_TRUE(text::CutAtLastInnerBackslash(path));
    EXPECT_STREQ(path, "D:");

    char lone[] = "\\";
    EXPECT_FALSE(text::CutAtLastInnerBackslash(lone));
    EXPECT_EQ(text::LastInnerBackslash(""), -1);
}

TEST(TextRulesTest, ALeadByteWithNothingBehindItStandsAlone) {
    const char cut[] = {'C', ':', '\\', '\x83', '\0'};  // the first byte of ソ, cut off
    EXPECT_FALSE(text::EndsWithBackslash(cut));
    EXPECT_FALSE(text::EndsInSeparatorOrColon(cut));
    EXPECT_EQ(text::LastInnerBackslash(cut), 2);
    EXPECT_FALSE(text::EndsWithBackslash(""));
}

TEST(TextRulesTest, WildcardsAreFoundEvenAfterADoubleByteCharacter) {
    char path[32];
    std::snprintf(path, sizeof path, "C:\\%s*.DAT", kHyo);
    EXPECT_TRUE(text::HasWildcard(path));
    EXPECT_TRUE(text::HasWildcard("A?"));
    EXPECT_FALSE(text::HasWildcard(kNo));
}

// The start-up paths read bytes alone: these tests fail if those rules start reading characters.
TEST(TextRulesTest, TrailingAndCuttingRulesNeverTakeASecondByteForABackslash) {
    char path[32];
    std::snprintf(path, sizeof path, "C:\\%s", kSo);
    EXPECT_EQ(text::LastBackslash(path), 2);
    EXPECT_EQ(text::LastBackslash("ABC"), -1);
    EXPECT_EQ(text::LastBackslash("C:\\A\\"), 4);  // the final byte counts here

    char out[32];
    Garbage(out);
    text::ParentOf(path, out, sizeof out);
    EXPECT_STREQ(out, "C:");
    std::snprintf(path, sizeof path, "C:\\%sX", kNo);
    text::ParentOf(path, out, sizeof out);
    EXPECT_STREQ(out, "C:");  // not cut inside 能

    Garbage(out);
    std::snprintf(out, sizeof out, "C:\\%s", kSo);
    EXPECT_TRUE(text::EnsureBackslash(out, sizeof out));
    EXPECT_EQ(std::strlen(out), 6u);  // a backslash added behind ソ
    text::DropTrailingBackslash(out);
    EXPECT_EQ(std::strlen(out), 5u);
    text::DropTrailingBackslash(out);
    EXPECT_EQ(std::strlen(out), 5u);  // ソ keeps its second byte

    Garbage(out);
    std::snprintf(path, sizeof path, "D:\\%s", kHyo);
    text::FolderOf(path, out, sizeof out);
    EXPECT_EQ(std::string(kHyo) + "\\", out);
}

TEST(TextRulesTest, ParentOfKeepsShortPathsAndCutsTheLastInnerBackslash) {
    char out[32];
    Garbage(out);
    text::ParentOf("D:\\GAMES\\TAVREL\\", out, sizeof out);
    EXPECT_STREQ(out, "D:\\GAMES");
    text::ParentOf("D:\\A\\B", out, sizeof out);
    EXPECT_STREQ(out, "D:\\A");
    text::ParentOf("\\", out, sizeof out);
    EXPECT_STREQ(out, "\\");
    text::ParentOf("NAME", out, sizeof out);
    EXPECT_STREQ(out, "NAME");
}

TEST(TextRulesTest, RefusingRulesLeaveNoPartialPath) {
    char out[8];
    Garbage(out);
    out[0] = '\0';
    EXPECT_TRUE(text::AppendOrRefuse(out, sizeof out, "C:\\"));
    EXPECT_TRUE(text::AppendOrRefuse(out, sizeof out, "ABCD"));  // exactly full
    EXPECT_STREQ(out, "C:\\ABCD");
    EXPECT_FALSE(text::AppendOrRefuse(out, sizeof out, "E"));
    EXPECT_STREQ(out, "C:\\ABCD");

    Garbage(out);
    EXPECT_TRUE(text::JoinOrRefuse(out, sizeof out, "C:", "\\", "ABCD"));
    EXPECT_STREQ(out, "C:\\ABCD");
    EXPECT_FALSE(text::JoinOrRefuse(out, sizeof out, "C:", "\\", "ABCDE"));  // one byte short
    EXPECT_STREQ(out, "");

    char same[8] = "C:";
    EXPECT_TRUE(text::JoinOrRefuse(same, sizeof same, same, "\\", kSo));
    EXPECT_EQ(std::strlen(same), 5u);
    EXPECT_EQ(std::memcmp(same + 3, kSo, 2), 0);

    char none[1] = {'#'};
    EXPECT_FALSE(text::JoinOrRefuse(none, 0, "", ""));
    EXPECT_EQ(none[0], '#');
}

TEST(TextRulesTest, CuttingRulesNeverSplitACharacter) {
    char out[6];
    Garbage(out);
    EXPECT_TRUE(text::CopyOrCut(out, sizeof out, "ABCDE"));  // exactly full
    EXPECT_STREQ(out, "ABCDE");
    EXPECT_FALSE(text::CopyOrCut(out, sizeof out, "ABCDEF"));
    EXPECT_STREQ(out, "ABCDE");

    char text[16];
    std::snprintf(text, sizeof text, "ABCD%s", kSo);  // ソ would need the zero's byte
    Garbage(out);
    EXPECT_FALSE(text::CopyOrCut(out, sizeof out, text));
    EXPECT_STREQ(out, "ABCD");

    std::snprintf(text, sizeof text, "AB%s", kHyo);
    Garbage(out);
    std::strcpy(out, "X");
    EXPECT_TRUE(text::AppendOrCut(out, sizeof out, text));  // exactly full
    EXPECT_EQ(std::strlen(out), 5u);
    EXPECT_FALSE(text::AppendOrCut(out, sizeof out, "Y"));
    EXPECT_EQ(std::strlen(out), 5u);

    Garbage(out);
    EXPECT_TRUE(text::CopyOrCutN(out, sizeof out, "ABCDEF", 3));
    EXPECT_STREQ(out, "ABC");
    char none[1] = {'#'};
    EXPECT_FALSE(text::CopyOrCut(none, 0, "A"));
    EXPECT_EQ(none[0], '#');

    char line[8];
    Garbage(line);
    text::FormatOrCut(line, sizeof line, "[%s]", text);  // [AB表] and its zero fill 7 of the 8 bytes
    EXPECT_EQ(std::strlen(line), 6u);
    text::FormatOrCut(line, sizeof line, "%c:%s", 'D', "\\GAMES");
    EXPECT_STREQ(line, "D:\\GAME");
}

TEST(TextRulesTest, TrailingBackslashRules) {
    char out[5];
    Garbage(out);
    out[0] = '\0';
    EXPECT_TRUE(text::EnsureBackslash(out, sizeof out));
    EXPECT_STREQ(out, "");  // an empty text names no folder
    text::AppendBackslash(out, sizeof out);
    EXPECT_STREQ(out, "\\");

    std::strcpy(out, "ABC");
    EXPECT_TRUE(text::EnsureBackslash(out, sizeof out));  // exactly full
    EXPECT_STREQ(out, "ABC\\");
    std::strcpy(out, "ABCD");
    EXPECT_FALSE(text::EnsureBackslash(out, sizeof out));
    EXPECT_STREQ(out, "ABCD");
    text::AppendBackslash(out, sizeof out);
    EXPECT_STREQ(out, "ABCD");

    char folder[16] = "D:\\GAMES\\";
    text::DropTrailingBackslash(folder);
    EXPECT_STREQ(folder, "D:\\GAMES");
    text::DropTrailingBackslash(folder);
    EXPECT_STREQ(folder, "D:\\GAMES");
    std::strcpy(folder, "D:\\");
    text::DropTrailingBackslash(folder);
    EXPECT_STREQ(folder, "D:\\");  // a drive root keeps it
}

TEST(TextRulesTest, DriveAndFolderPieces) {
    char drive[4];
    char folder[8];
    Garbage(drive);
    text::DriveOf("D:\\GAMES", drive);
    EXPECT_STREQ(drive, "D:\\");
    text::DriveOf("", drive);
    EXPECT_STREQ(drive, "\\");
    Garbage(drive);
    text::DriveRoot('q', drive);
    EXPECT_STREQ(drive, "q:\\");

    Garbage(folder);
    text::FolderOf("D:\\GAMES", folder, sizeof folder);
    EXPECT_STREQ(folder, "GAMES\\");
    text::FolderOf("D:\\GAMES12", folder, sizeof folder);  // exactly full: no room for the backslash
    EXPECT_STREQ(folder, "GAMES12");
    text::FolderOf("D:\\", folder, sizeof folder);
    EXPECT_STREQ(folder, "");
    text::FolderOf("D:", folder, sizeof folder);
    EXPECT_STREQ(folder, "");
}

}  // namespace
