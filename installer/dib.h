// The background picture: a Windows BMP file held as a device-independent bitmap (a
// 40-byte info header with a 256-entry colour table, and the pixel rows as stored).
// Reading is portable; drawing lives with the window code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace installer {

// Where a picture is read from: positions are relative to the picture's first byte.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes; false on a read error. got is what was read (short at the end).
    virtual bool Read(void* buffer, uint32_t size, uint32_t* got) = 0;
    virtual bool Seek(uint64_t position) = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    bool Read(void* buffer, uint32_t size, uint32_t* got) override;
    bool Seek(uint64_t position) override;

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// An open file of the platform, read from its current start.
class PlatformFileSource : public ByteSource {
public:
    PlatformFileSource(plat::Platform& sys, plat::FileHandle file) : sys_(sys), file_(file) {}
    bool Read(void* buffer, uint32_t size, uint32_t* got) override;
    bool Seek(uint64_t position) override { return sys_.SeekFile(file_, position); }

private:
    plat::Platform& sys_;
    plat::FileHandle file_;
};

struct PaletteEntry {
    uint8_t red, green, blue, flags;
};

class CDib {
public:
    enum Result : int { kDone = 0, kNotBmp = 1, kNoMemory = 2, kReadError = 3, kCannotOpen = 4 };

    static constexpr int kInfoHeaderSize = 40;
    static constexpr int kColourTableSize = 256 * 4;
    static constexpr int kInfoBlockSize = kInfoHeaderSize + kColourTableSize;  // 1064

    CDib() { CreateBlank(16, 16); }

    int CreateBlank(int width, int height);
    int Load(plat::Platform& sys, const char* fileName);
    int Read(ByteSource& source);

    // Colour-table entries the picture uses, never more than the table's 256.
    int ColourCount() const;
    // Fills up to 256 entries for a logical palette; returns how many (0: no palette).
    int MakePaletteEntries(PaletteEntry* entries) const;

    int Width() const;         // from the header
    int Height() const;        // absolute value: a top-down picture is laid out like any other
    int HeaderHeight() const;  // as stored (negative for top-down rows)
    int BitsPerPixel() const;

    // The blocks as drawing hands them to the platform.
    const uint8_t* InfoBlock() const { return info_.data(); }
    const uint8_t* Pixels() const { return pixels_.data(); }
    size_t PixelBytes() const { return pixels_.size(); }

private:
    std::vector<uint8_t> info_;
    std::vector<uint8_t> pixels_;
};

// Bytes one row occupies in the pixel block (rows padded to 4 bytes); 0 when impossible.
uint64_t DibRowBytes(int64_t width, int bitsPerPixel);

}  // namespace installer
