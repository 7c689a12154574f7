// The engine's lead-byte test and code page 932's must stay different: the programs cut
// text where they always have, while the simulated Windows reads names as Windows does.
#include <gtest/gtest.h>

#include <string>

#include "text/lead_bytes.h"
#include "text/text_rules.h"

namespace {

TEST(LeadBytesTest, TheEngineCountsMoreLeadBytesThanTheCodePage) {
    struct Case {
        unsigned char byte;
        bool engine, cp932;
    } const cases[] = {
        {0x7F, false, false}, {0x80, true, false}, {0x81, true, true}, {0x9F, true, true},  {0xA0, false, false},
        {0xDF, false, false}, {0xE0, true, true},  {0xFC, true, true}, {0xFD, true, false}, {0xFF, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text::IsEngineLeadByte(c.byte), c.engine) << std::hex << int{c.byte};
        EXPECT_EQ(text::IsCp932LeadByte(c.byte), c.cp932) << std::hex << int{c.byte};
    }
    // Everything the code page calls a lead byte, the engine does too.
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (text::IsCp932LeadByte(byte)) {
            EXPECT_TRUE(text::IsEngineLeadByte(byte)) << b;
        }
    }
}

TEST(LeadBytesTest, ABackslashBehindByte0x80IsASeparatorOnlyToTheCodePage) {
    const std::string path = "A\x80\\B";
    // The engine takes 0x80 and the backslash as one character: no separator.
    EXPECT_EQ(text::LastSeparator(path.c_str(), 0, 99), -1);
    // The code page takes 0x80 alone, so the backslash behind it is a separator.
    EXPECT_EQ(text::Cp932CharLength(path.data(), 1, path.size()), 1u);
}

TEST(LeadBytesTest, ACodePageLeadByteAtTheEndStandsAlone) {
    const std::string sjis = "\x83\x5C\x83";  // ソ and a lone lead byte
    EXPECT_EQ(text::Cp932CharLength(sjis.data(), 0, sjis.size()), 2u);
    EXPECT_EQ(text::Cp932CharLength(sjis.data(), 2, sjis.size()), 1u);
}

}  // namespace
