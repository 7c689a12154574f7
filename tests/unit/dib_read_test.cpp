// Reading BMP files into the background picture: both header kinds, every depth, the
// colour count, and files whose fields lie about what they hold.
#include <gtest/gtest.h>

#include <string>

#include "dib_test_support.h"
#include "installer/dib.h"
#include "platform/sim/sim_windows.h"

namespace {

using dibtest::BmpSpec;
using dibtest::MakeBmp;
using installer::CDib;
using installer::MemorySource;
using installer::PaletteEntry;

int ReadInto(CDib& dib, const std::string& bytes) {
    MemorySource source(bytes.data(), bytes.size());
    return dib.Read(source);
}

// A picture of the given size that a test can tell apart from others.
CDib PictureOf(int width, int height) {
    CDib dib;
    BmpSpec s;
    s.width = width;
    s.height = height;
    EXPECT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kDone);
    return dib;
}

TEST(DibTest, BlankPictureIsEightBitBlack) {
    CDib dib;
    EXPECT_EQ(dib.Width(), 16);
    EXPECT_EQ(dib.Height(), 16);
    EXPECT_EQ(dib.BitsPerPixel(), 8);
    EXPECT_EQ(dib.ColourCount(), 256);
    EXPECT_EQ(dib.PixelBytes(), 256u);
    ASSERT_EQ(dib.CreateBlank(5, 3), CDib::kDone);
    EXPECT_EQ(dib.PixelBytes(), 8u * 3u) << "rows are padded to 4 bytes";
    PaletteEntry entries[256];
    ASSERT_EQ(dib.MakePaletteEntries(entries), 256);
    EXPECT_EQ(entries[255].red | entries[255].green | entries[255].blue, 0);
}

TEST(DibTest, ReadsEveryDepthWithTheColourCountOfItsDepth) {
    struct Case {
        uint16_t bits;
        int colours;
    };
    for (Case c : {Case{1, 2}, Case{4, 16}, Case{8, 256}, Case{24, 0}, Case{32, 0}, Case{16, 0}}) {
        BmpSpec s;
        s.bits = c.bits;
        s.width = 7;
        s.height = 3;
        CDib dib;
        ASSERT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kDone) << c.bits;
        EXPECT_EQ(dib.Width(), 7);
        EXPECT_EQ(dib.Height(), 3);
        EXPECT_EQ(dib.BitsPerPixel(), c.bits);
        EXPECT_EQ(dib.ColourCount(), c.colours) << c.bits;
        EXPECT_EQ(dib.PixelBytes(), dibtest::RowBytes(7, c.bits) * 3u);
        EXPECT_EQ(dib.Pixels()[0], 1);
        PaletteEntry entries[256];
        EXPECT_EQ(dib.MakePaletteEntries(entries), c.colours);
    }
}

TEST(DibTest, PaletteTakesRedGreenBlueFromTheColourTable) {
    BmpSpec s;
    s.bits = 4;
    CDib dib;
    ASSERT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kDone);
    PaletteEntry entries[256];
    ASSERT_EQ(dib.MakePaletteEntries(entries), 16);
    EXPECT_EQ(entries[5].blue, 5);
    EXPECT_EQ(entries[5].green, 10);
    EXPECT_EQ(entries[5].red, 15);
    EXPECT_EQ(entries[5].flags, 0);
}

TEST(DibTest, ColoursUsedReplacesTheDepthsCount) {
    BmpSpec s;
    s.bits = 8;
    s.coloursUsed = 20;
    CDib dib;
    ASSERT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kDone);
    EXPECT_EQ(dib.ColourCount(), 20);
    PaletteEntry entries[256];
    EXPECT_EQ(dib.MakePaletteEntries(entries), 20);
    EXPECT_EQ(entries[19].red, 57);
}

TEST(DibTest, ColoursUsedAboveTheTableIsBoundedTo256) {
    BmpSpec s;
    s.bits = 8;
    s.coloursUsed = 100000;
    s.tableEntries = 256;
    CDib dib;
    ASSERT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kDone);
    EXPECT_EQ(dib.ColourCount(), 256);
    PaletteEntry entries[257];
    entries[256].red = 0xAB;
    EXPECT_EQ(dib.MakePaletteEntries(entries), 256);
    EXPECT_EQ(entries[256].red, 0xAB) << "the palette was overrun";
    // The stored header never asks drawing for more than the table holds.
    const uint8_t* h = dib.InfoBlock();
    EXPECT_EQ(h[32] | (h[33] << 8) | (h[34] << 16) | (h[35] << 24), 256);
}

TEST(DibTest, CoreHeaderFilesBecomeFortyByteHeadersWithFourByteEntries) {
    BmpSpec s;
    s.headerSize = 12;
    s.bits = 4;
    s.width = 9;
    s.height = 5;
    CDib dib;
    ASSERT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kDone);
    const uint8_t* h = dib.InfoBlock();
    EXPECT_EQ(h[0], 40);
    EXPECT_EQ(dib.Width(), 9);
    EXPECT_EQ(dib.Height(), 5);
    EXPECT_EQ(dib.ColourCount(), 16);
    EXPECT_EQ(h[40 + 4 * 3 + 0], 3);  // blue
    EXPECT_EQ(h[40 + 4 * 3 + 1], 6);  // green
    EXPECT_EQ(h[40 + 4 * 3 + 2], 9);  // red
    EXPECT_EQ(h[40 + 4 * 3 + 3], 0);  // reserved
    EXPECT_EQ(dib.PixelBytes(), dibtest::RowBytes(9, 4) * 5u);
}

TEST(DibTest, LaterInfoHeadersAreReadAsTheFortyByteHeader) {
    for (uint32_t size : {108u, 124u}) {
        BmpSpec s;
        s.headerSize = size;
        s.bits = 8;
        CDib dib;
        ASSERT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kDone) << size;
        const uint8_t* h = dib.InfoBlock();
        EXPECT_EQ(h[0], 40) << "drawing must see the 40-byte header";
        // The colour table is the one behind the whole header.
        EXPECT_EQ(h[40 + 4 * 7 + 2], 21) << size;
        EXPECT_EQ(dib.Pixels()[0], 1);
    }
}

TEST(DibTest, OtherHeaderSizesAreRefused) {
    for (uint32_t size : {0u, 16u, 41u, 64u, 100u, 1000u}) {
        BmpSpec s;
        s.headerSize = size;
        CDib dib = PictureOf(3, 3);
        EXPECT_NE(ReadInto(dib, MakeBmp(s)), CDib::kDone) << size;
        EXPECT_EQ(dib.Width(), 3) << "the previous picture must stay";
    }
}

TEST(DibTest, NotABmpIsResultOne) {
    CDib dib = PictureOf(3, 2);
    EXPECT_EQ(ReadInto(dib, "PK\x03\x04 not a picture at all, just some other file"), CDib::kNotBmp);
    EXPECT_EQ(ReadInto(dib, ""), CDib::kNotBmp);
    EXPECT_EQ(ReadInto(dib, "B"), CDib::kNotBmp);
    EXPECT_EQ(dib.Width(), 3);
    EXPECT_EQ(dib.Height(), 2);
}

TEST(DibTest, FileSizeBelowThePixelOffsetIsResultTwo) {
    BmpSpec s;
    s.fileSizeDelta = -10;  // two bytes below the offset
    CDib dib = PictureOf(3, 2);
    EXPECT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kNoMemory);
    EXPECT_EQ(dib.Width(), 3);
}

TEST(DibTest, PixelDataShorterThanTheRowsIsRefused) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    BmpSpec truncated;
    truncated.width = 40;
    truncated.height = 30;
    truncated.dropTail = 1;
    BmpSpec smallFileSize = truncated;
    smallFileSize.dropTail = 0;
    smallFileSize.fileSizeDelta = -1;
    BmpSpec lateOffset = smallFileSize;
    lateOffset.fileSizeDelta = 0;
    lateOffset.offsetDelta = 4;
    BmpSpec offsetBeyondFile = lateOffset;
    offsetBeyondFile.offsetDelta = 100000;
    offsetBeyondFile.fileSizeDelta = 200000;
    std::string tallHeader = MakeBmp(BmpSpec{});
    tallHeader[22] = 0x30;  // height 0x7530 = 30000 rows over the 2 rows stored
    tallHeader[23] = 0x75;
    std::string wideHeader = MakeBmp(BmpSpec{});
    wideHeader[19] = 0x10;  // width 4100 on rows of 4 bytes
    for (const Case& c :
         {Case{"file cut short", MakeBmp(truncated)}, Case{"file-size field one short", MakeBmp(smallFileSize)},
          Case{"offset four bytes late", MakeBmp(lateOffset)},
          Case{"offset beyond the file", MakeBmp(offsetBeyondFile)}, Case{"height without rows", tallHeader},
          Case{"width without bytes", wideHeader}}) {
        CDib dib = PictureOf(3, 2);
        EXPECT_EQ(ReadInto(dib, c.bytes), CDib::kReadError) << c.what;
        EXPECT_EQ(dib.Width(), 3) << c.what;
        EXPECT_EQ(dib.Height(), 2) << c.what;
    }
}

TEST(DibTest, FileSizeFieldLargerThanTheFileIsReadAsFarAsItGoes) {
    BmpSpec s;
    s.fileSizeDelta = 5000000;
    CDib dib;
    ASSERT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kDone);
    EXPECT_EQ(dib.PixelBytes(), dibtest::RowBytes(4, 8) * 2u);
}

TEST(DibTest, ColourTableShorterThanItsCountIsRefused) {
    BmpSpec s;
    s.bits = 1;
    s.width = 1;
    s.height = 1;
    std::string bytes = MakeBmp(s);
    bytes.resize(14 + 40 + 4);  // half of the two entries, no pixels
    CDib dib = PictureOf(3, 2);
    EXPECT_EQ(ReadInto(dib, bytes), CDib::kReadError);

    BmpSpec core;
    core.headerSize = 12;
    core.bits = 8;
    core.tableEntries = 10;  // 256 expected
    EXPECT_EQ(ReadInto(dib, MakeBmp(core)), CDib::kReadError);
    EXPECT_EQ(dib.Width(), 3);
}

TEST(DibTest, BadSizesAreRefused) {
    struct Case {
        int32_t width, height;
    };
    for (Case c : {Case{0, 10}, Case{-5, 10}, Case{10, 0}, Case{70000, 1}, Case{1, -70000}, Case{INT32_MIN, 1},
                   Case{1, INT32_MIN}}) {
        BmpSpec s;
        s.width = c.width;
        s.height = c.height;
        s.tableEntries = 256;
        std::string bytes = c.width > 0 && c.width < 100 && c.height > -100 && c.height < 100
                                ? MakeBmp(s)
                                : MakeBmp(BmpSpec{}).replace(18, 8, std::string(reinterpret_cast<const char*>(&c), 8));
        CDib dib = PictureOf(3, 2);
        EXPECT_EQ(ReadInto(dib, bytes), CDib::kReadError) << c.width << "x" << c.height;
        EXPECT_EQ(dib.Width(), 3);
    }
}

TEST(DibTest, UnknownDepthsAndCompressionsAreRefused) {
    for (uint16_t bits : {0, 2, 7, 48}) {
        BmpSpec s;
        s.bits = bits;
        s.tableEntries = 0;
        CDib dib;
        EXPECT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kReadError) << bits;
    }
    BmpSpec jpeg;
    jpeg.compression = 4;
    CDib dib;
    EXPECT_EQ(ReadInto(dib, MakeBmp(jpeg)), CDib::kReadError);
    BmpSpec rle8on4;
    rle8on4.bits = 4;
    rle8on4.compression = 1;
    EXPECT_EQ(ReadInto(dib, MakeBmp(rle8on4)), CDib::kReadError);
}

TEST(DibTest, RunLengthDataKeepsItsRealSizeInTheHeader) {
    BmpSpec s;
    s.compression = 1;       // 8-bit run lengths
    s.fileSizeDelta = 1000;  // claims more than the file holds
    CDib dib;
    ASSERT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kDone);
    const uint8_t* h = dib.InfoBlock();
    uint32_t sizeImage = h[20] | (h[21] << 8) | (h[22] << 16) | (static_cast<uint32_t>(h[23]) << 24);
    EXPECT_EQ(sizeImage, dib.PixelBytes());
}

TEST(DibTest, TopDownPictureIsLaidOutByItsAbsoluteHeight) {
    BmpSpec s;
    s.width = 6;
    s.height = -4;
    CDib dib;
    ASSERT_EQ(ReadInto(dib, MakeBmp(s)), CDib::kDone);
    EXPECT_EQ(dib.Height(), 4);
    EXPECT_EQ(dib.HeaderHeight(), -4);
    EXPECT_EQ(dib.PixelBytes(), 8u * 4u);
}

TEST(DibTest, LoadOpensTheFileAndReportsAMissingOne) {
    plat::SimWindows sys;
    BmpSpec s;
    s.width = 12;
    s.height = 9;
    ASSERT_TRUE(sys.AddFile("C:\\SETUP.BMP", MakeBmp(s)));
    sys.SetCurrentDirectory("C:\\");
    CDib dib;
    EXPECT_EQ(dib.Load(sys, "SETUP.BMP"), CDib::kDone);
    EXPECT_EQ(dib.Width(), 12);
    EXPECT_EQ(sys.OpenFileCount(), 0);
    EXPECT_EQ(dib.Load(sys, "MISSING.BMP"), CDib::kCannotOpen);
    EXPECT_EQ(dib.Width(), 12);

    sys.FailReads("C:\\SETUP.BMP", 100);
    EXPECT_EQ(dib.Load(sys, "SETUP.BMP"), CDib::kReadError);
    EXPECT_EQ(sys.OpenFileCount(), 0) << "the file must be closed after a failure";
}

}  // namespace
