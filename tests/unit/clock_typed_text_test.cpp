// Typed memo text taken into Shift-JIS: kept byte for byte where code page 932 holds it,
// marked where it does not, and never cut inside a character.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "clock/typed_text.h"

using namespace pendrick;

namespace {

// Code page 932 for the characters these tests type: ASCII as itself, the Japanese ones
// as this file's own Shift-JIS literals. Everything else has no code.
int Encode(char16_t unit, char out[2]) {
    static const std::map<char16_t, std::string> table = {
        {u'買', "買"}, {u'い', "い"}, {u'物', "物"}, {u'パ', "パ"},
        {u'ン', "ン"}, {u'表', "表"}, {u'ｱ', "ｱ"},   {u'？', "？"},
    };
    if (unit < 0x80) {
        out[0] = char(unit);
        return 1;
    }
    auto found = table.find(unit);
    if (found == table.end()) return 0;
    std::memcpy(out, found->second.data(), found->second.size());
    return int(found->second.size());
}

struct Taken {
    std::string bytes;
    TypedText result;
};

Taken Take(const std::u16string& typed, size_t size = 512) {
    std::string buffer(size + 4, '\x5A');  // garbage that an unwritten terminator would show
    Taken t;
    t.result = ShiftJisFromTyped(typed.data(), typed.size(), &buffer[0], size, Encode);
    EXPECT_EQ(buffer[t.result.length], 0) << "not terminated after its length";
    t.bytes = buffer.substr(0, t.result.length);
    return t;
}

}  // namespace

TEST(TypedMemoText, WhatShiftJisHoldsIsKeptByteForByte) {
    Taken t = Take(u"買い物\r\n\tパン ｱ表\\?");
    EXPECT_EQ(t.bytes, std::string("買い物\r\n\tパン ｱ表\\?"));
    EXPECT_EQ(t.result.replaced, 0);
    EXPECT_FALSE(t.result.cut);
    EXPECT_EQ(Take(u"").bytes, "");
}

TEST(TypedMemoText, EachCharacterShiftJisCannotHoldBecomesOneVisibleMark) {
    // é, a Hangul syllable, an emoji (a surrogate pair: one character, one mark) and the
    // yen sign, which code page 932 would only stand in for with a backslash.
    Taken t = Take(u"caf\u00e9 \uD55C\U0001F600買\u00a5");
    EXPECT_EQ(t.bytes, std::string("caf？ ？？買？"));
    EXPECT_EQ(t.result.replaced, 4);
    // The mark is Shift-JIS's full-width question mark, not the ASCII one a user types.
    EXPECT_EQ(std::string(kUnheldMark), "\x81\x48");
    char mark[2];
    ASSERT_EQ(Encode(kUnheldMarkUnicode, mark), 2);
    EXPECT_EQ(std::string(mark, 2), kUnheldMark);
}

TEST(TypedMemoText, BrokenSurrogatesAreMarkedToo) {
    std::u16string lone_high = u"A";
    lone_high += char16_t(0xD83D);
    lone_high += u"B";
    std::u16string lone_low = u"";
    lone_low += char16_t(0xDE00);
    lone_low += char16_t(0xD83D);  // a high one at the very end
    EXPECT_EQ(Take(lone_high).bytes, std::string("A？B"));
    Taken t = Take(lone_low);
    EXPECT_EQ(t.bytes, std::string("？？"));
    EXPECT_EQ(t.result.replaced, 2);
}

TEST(TypedMemoText, TheLimitNeverSplitsADoubleByteCharacter) {
    // 511 bytes of room, as a memo's text has: "A" then 255 double-byte characters fit,
    // the 256th does not, nor does a mark in its place.
    std::u16string typed = u"A" + std::u16string(256, u'表');
    Taken t = Take(typed);
    EXPECT_EQ(t.result.length, 511u);
    EXPECT_TRUE(t.result.cut);
    EXPECT_EQ(t.result.unitsTaken, 256u);  // where the edit box's text is cut back
    EXPECT_EQ(t.bytes.substr(509), std::string("表"));

    Taken marked = Take(u"AB\u00e9", 4);  // room for 3 bytes: "AB" and not half a mark
    EXPECT_EQ(marked.bytes, "AB");
    EXPECT_TRUE(marked.result.cut);
    EXPECT_EQ(marked.result.replaced, 0);

    Taken exact = Take(u"A表", 4);
    EXPECT_EQ(exact.bytes, std::string("A表"));
    EXPECT_FALSE(exact.result.cut);

    Taken pair = Take(u"A\U0001F600\U0001F600", 4);  // one emoji's mark fits, the next does not
    EXPECT_EQ(pair.bytes, std::string("A？"));
    EXPECT_TRUE(pair.result.cut);
    EXPECT_EQ(pair.result.unitsTaken, 3u);
    Taken short_pair = Take(u"A\U0001F600", 3);
    EXPECT_EQ(short_pair.bytes, "A");
    EXPECT_EQ(short_pair.result.unitsTaken, 1u);  // both halves of the pair are left out
}
