// Reading BMP files into the background picture. Every field of the file is treated as
// untrusted: sizes are checked against what the file really holds before drawing can
// read them, and a failed read keeps the previous picture.
#include "installer/dib.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace installer {
namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kCoreHeaderSize = 12;
constexpr int kMaxSide = 65535;             // larger pictures are refused
constexpr uint32_t kReadChunk = 64 * 1024;  // pixel data is read as far as the file holds it

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Offsets in the 40-byte info header.
enum {
    kHdrSize = 0,
    kHdrWidth = 4,
    kHdrHeight = 8,
    kHdrPlanes = 12,
    kHdrBits = 14,
    kHdrCompression = 16,
    kHdrSizeImage = 20,
    kHdrClrUsed = 32
};

int ColourCountOf(const uint8_t* header) {
    uint32_t used = Le32(header + kHdrClrUsed);
    if (used != 0) return used > 256 ? 256 : static_cast<int>(used);
    switch (Le16(header + kHdrBits)) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

bool ValidDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

bool ValidCompression(uint32_t compression, int bits, int32_t height) {
    switch (compression) {
        case kBiRgb: return true;
        case kBiRle8: return bits == 8 && height > 0;
        case kBiRle4: return bits == 4 && height > 0;
        case kBiBitfields: return bits == 16 || bits == 32;
        default: return false;
    }
}

}  // namespace

bool MemorySource::Read(void* buffer, uint32_t size, uint32_t* got) {
    size_t n = pos_ < size_ ? std::min<size_t>(size, size_ - pos_) : 0;
    if (n) std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    *got = static_cast<uint32_t>(n);
    return true;
}

bool MemorySource::Seek(uint64_t position) {
    pos_ = position > size_ ? size_ : static_cast<size_t>(position);
    return true;
}

bool PlatformFileSource::Read(void* buffer, uint32_t size, uint32_t* got) {
    plat::FileCause cause = plat::kCauseNone;
    return sys_.ReadFile(file_, buffer, size, got, &cause);
}

uint64_t DibRowBytes(int64_t width, int bitsPerPixel) {
    if (width <= 0 || bitsPerPixel <= 0) return 0;
    return ((static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel) + 31) / 32) * 4;
}

int CDib::CreateBlank(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return kNoMemory;
    std::vector<uint8_t> info, pixels;
    try {
        info.assign(kInfoBlockSize, 0);
        pixels.assign(static_cast<size_t>(DibRowBytes(width, 8) * static_cast<uint64_t>(height)), 0);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
    Put32(&info[kHdrSize], kInfoHeaderSize);
    Put32(&info[kHdrWidth], static_cast<uint32_t>(width));
    Put32(&info[kHdrHeight], static_cast<uint32_t>(height));
    Put16(&info[kHdrPlanes], 1);
    Put16(&info[kHdrBits], 8);
    info_.swap(info);
    pixels_.swap(pixels);
    return kDone;
}

int CDib::Load(plat::Platform& sys, const char* fileName) {
    plat::FileCause cause = plat::kCauseNone;
    plat::FileHandle f = sys.OpenForRead(fileName, &cause);
    if (f == 0) return kCannotOpen;
    PlatformFileSource source(sys, f);
    int result = Read(source);
    sys.CloseFile(f, &cause);
    return result;
}

int CDib::Read(ByteSource& source) {
    uint8_t fileHeader[kFileHeaderSize];
    uint32_t got = 0;
    if (!source.Seek(0) || !source.Read(fileHeader, sizeof fileHeader, &got)) return kReadError;
    if (got < sizeof fileHeader || fileHeader[0] != 'B' || fileHeader[1] != 'M') return kNotBmp;
    uint32_t fileSize = Le32(fileHeader + 2);
    uint32_t pixelOffset = Le32(fileHeader + 10);

    // The 40-byte header and its later 108- and 124-byte versions begin alike; only the
    // 12-byte header is the old core header.
    uint8_t raw[124] = {};
    if (!source.Read(raw, kInfoHeaderSize, &got)) return kReadError;
    uint32_t headerSize = got >= 4 ? Le32(raw) : 0;
    bool core = headerSize == kCoreHeaderSize;
    if (core ? got < kCoreHeaderSize
             : (got < kInfoHeaderSize || (headerSize != 40 && headerSize != 108 && headerSize != 124)))
        return kReadError;
    if (headerSize > kInfoHeaderSize) {
        if (!source.Read(raw + kInfoHeaderSize, headerSize - kInfoHeaderSize, &got)) return kReadError;
        if (got < headerSize - kInfoHeaderSize) return kReadError;
    }

    std::vector<uint8_t> info;
    try {
        info.assign(kInfoBlockSize, 0);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
    uint8_t* header = info.data();
    if (core) {
        Put32(header + kHdrSize, kInfoHeaderSize);
        Put32(header + kHdrWidth, Le16(raw + 4));
        Put32(header + kHdrHeight, Le16(raw + 6));
        Put16(header + kHdrPlanes, Le16(raw + 8));
        Put16(header + kHdrBits, Le16(raw + 10));
    } else {
        std::memcpy(header, raw, kInfoHeaderSize);
        Put32(header + kHdrSize, kInfoHeaderSize);
    }

    int32_t width = static_cast<int32_t>(Le32(header + kHdrWidth));
    int32_t height = static_cast<int32_t>(Le32(header + kHdrHeight));
    int bits = Le16(header + kHdrBits);
    uint32_t compression = Le32(header + kHdrCompression);
    // The backdrop divides by the width and height, and drawing trusts them.
    if (width <= 0 || height == 0 || width > kMaxSide || height > kMaxSide || height < -kMaxSide) return kReadError;
    if (!ValidDepth(bits) || !ValidCompression(compression, bits, height)) return kReadError;

    int colours = ColourCountOf(header);
    uint8_t* table = header + kInfoHeaderSize;
    if (core) {
        uint8_t rgb[256 * 3];
        uint32_t want = static_cast<uint32_t>(colours) * 3;
        if (!source.Seek(kFileHeaderSize + kCoreHeaderSize) || !source.Read(rgb, want, &got)) return kReadError;
        if (got < want) return kReadError;
        for (int k = 0; k < colours; ++k) {
            table[4 * k + 0] = rgb[3 * k + 0];
            table[4 * k + 1] = rgb[3 * k + 1];
            table[4 * k + 2] = rgb[3 * k + 2];
            table[4 * k + 3] = 0;
        }
    } else {
        uint32_t skip = 0;
        if (compression == kBiBitfields && headerSize >= 52) {
            // The later headers carry the colour masks inside the header; drawing looks
            // for them behind the 40 bytes.
            std::memcpy(table, raw + kInfoHeaderSize, 12);
            skip = 12;
        }
        if (!source.Seek(kFileHeaderSize + headerSize) || !source.Read(table + skip, kColourTableSize - skip, &got))
            return kReadError;
        if (got < static_cast<uint32_t>(colours) * 4) return kReadError;
    }

    if (fileSize < pixelOffset) return kNoMemory;  // the image size cannot be allocated
    uint32_t imageSize = fileSize - pixelOffset;
    std::vector<uint8_t> pixels;
    if (!source.Seek(pixelOffset)) return kReadError;
    try {
        // Read what the file really holds, never more than its header claims.
        while (pixels.size() < imageSize) {
            uint32_t want = std::min<uint32_t>(kReadChunk, imageSize - static_cast<uint32_t>(pixels.size()));
            size_t before = pixels.size();
            pixels.resize(before + want);
            if (!source.Read(pixels.data() + before, want, &got)) return kReadError;
            pixels.resize(before + got);
            if (got < want) break;
        }
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }

    if (compression == kBiRgb || compression == kBiBitfields) {
        uint64_t needed = DibRowBytes(width, bits) *
                          static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
        if (pixels.size() < needed) return kReadError;
    } else {
        // Run-length data is decoded up to the size the header names.
        if (pixels.empty()) return kReadError;
        Put32(header + kHdrSizeImage, static_cast<uint32_t>(pixels.size()));
    }
    Put32(header + kHdrClrUsed, std::min<uint32_t>(Le32(header + kHdrClrUsed), 256));

    info_.swap(info);
    pixels_.swap(pixels);
    return kDone;
}

int CDib::ColourCount() const { return ColourCountOf(info_.data()); }

int CDib::MakePaletteEntries(PaletteEntry* entries) const {
    int n = ColourCount();
    const uint8_t* table = info_.data() + kInfoHeaderSize;
    for (int k = 0; k < n; ++k) {
        entries[k].red = table[4 * k + 2];
        entries[k].green = table[4 * k + 1];
        entries[k].blue = table[4 * k + 0];
        entries[k].flags = 0;
    }
    return n;
}

int CDib::Width() const { return static_cast<int32_t>(Le32(info_.data() + kHdrWidth)); }
int CDib::HeaderHeight() const { return static_cast<int32_t>(Le32(info_.data() + kHdrHeight)); }
int CDib::Height() const {
    int h = HeaderHeight();
    return h < 0 ? -h : h;
}
int CDib::BitsPerPixel() const { return Le16(info_.data() + kHdrBits); }

}  // namespace installer
