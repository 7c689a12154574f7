// Builds BMP files in memory for the picture tests and the fuzz corpus.
#pragma once

#include <cstdint>
#include <string>

namespace dibtest {

struct BmpSpec {
    int32_t width = 4;
    int32_t height = 2;
    uint16_t bits = 8;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    uint32_t headerSize = 40;   // 12 for the core header
    int tableEntries = -1;      // colour-table entries written; -1: as the depth needs
    int64_t fileSizeDelta = 0;  // added to the true file-size field
    int64_t offsetDelta = 0;    // added to the true pixel offset field
    size_t dropTail = 0;        // bytes cut off the end of the file
};

inline void Put(std::string& s, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline uint32_t RowBytes(int32_t width, int bits) { return ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4; }

// Colour k of the table is (blue k, green 2k, red 3k); pixel bytes count up from 1.
inline std::string MakeBmp(const BmpSpec& s) {
    int entries = s.tableEntries;
    if (entries < 0) {
        if (s.coloursUsed)
            entries = static_cast<int>(s.coloursUsed);
        else
            entries = s.bits == 1 ? 2 : s.bits == 4 ? 16 : s.bits == 8 ? 256 : 0;
    }
    const bool core = s.headerSize == 12;
    std::string header;
    if (core) {
        Put(header, 12, 4);
        Put(header, static_cast<uint32_t>(s.width), 2);
        Put(header, static_cast<uint32_t>(s.height), 2);
        Put(header, 1, 2);
        Put(header, s.bits, 2);
    } else {
        Put(header, s.headerSize, 4);
        Put(header, static_cast<uint32_t>(s.width), 4);
        Put(header, static_cast<uint32_t>(s.height), 4);
        Put(header, 1, 2);
        Put(header, s.bits, 2);
        Put(header, s.compression, 4);
        Put(header, 0, 4);
        Put(header, 2835, 4);
        Put(header, 2835, 4);
        Put(header, s.coloursUsed, 4);
        Put(header, 0, 4);
        while (header.size() < s.headerSize) header += '\0';
    }
    std::string table;
    for (int k = 0; k < entries; ++k) {
        table += static_cast<char>(k & 0xFF);
        table += static_cast<char>((2 * k) & 0xFF);
        table += static_cast<char>((3 * k) & 0xFF);
        if (!core) table += '\0';
    }
    uint32_t rows = static_cast<uint32_t>(s.height < 0 ? -s.height : s.height);
    std::string pixels;
    for (uint32_t i = 0; i < RowBytes(s.width, s.bits) * rows; ++i) pixels += static_cast<char>((i + 1) & 0xFF);

    uint32_t offset = static_cast<uint32_t>(14 + header.size() + table.size());
    uint32_t fileSize = static_cast<uint32_t>(offset + pixels.size());
    std::string file = "BM";
    Put(file, static_cast<uint32_t>(fileSize + s.fileSizeDelta), 4);
    Put(file, 0, 4);
    Put(file, static_cast<uint32_t>(offset + s.offsetDelta), 4);
    file += header + table + pixels;
    if (s.dropTail) file.resize(file.size() > s.dropTail ? file.size() - s.dropTail : 0);
    return file;
}

}  // namespace dibtest
