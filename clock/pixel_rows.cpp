// Copying and overlaying blocks of sheet pixels: sixteen at a time with SSE2, otherwise
// eight at a time in a 64-bit word; one at a time only through an 8-bit display's map.
#include "clock/pixel_rows.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "clock/sheet.h"

namespace pendrick {

namespace {

using Word = uint64_t;
constexpr int kWordBytes = sizeof(Word);
constexpr Word kOnes = ~Word(0) / 0xFF;  // 0x01 in every byte
constexpr Word kLow7 = kOnes * 0x7F;

Word Load(const uint8_t* p) {
    Word w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

void Store(uint8_t* p, Word w) { std::memcpy(p, &w, sizeof w); }

// 0xFF in every byte of the word that is not the transparent index, 0 in the others. The
// low seven bits of each byte are added up into its top bit without carrying into the next
// byte, so each byte is tested alone.
Word OpaqueBytes(Word pixels) {
    const Word x = pixels ^ (kOnes * kTransparentIndex);
    const Word nonZero = (((x & kLow7) + kLow7) | x) & ~kLow7;
    return (nonZero >> 7) * 0xFF;
}

// The pixels from `from` on, one at a time.
void OverlayTail(const uint8_t* src, uint8_t* dst, int from, int n, const uint8_t* map) {
    for (int i = from; i < n; ++i) {
        const uint8_t v = src[i];
        if (v != kTransparentIndex) dst[i] = map ? map[v] : v;
    }
}

int OverlayWords(const uint8_t* src, uint8_t* dst, int from, int n) {
    int i = from;
    for (; i + kWordBytes <= n; i += kWordBytes) {
        Word pixels = Load(src + i);
        const Word opaque = OpaqueBytes(pixels);
        if (opaque == 0) continue;
        if (opaque != ~Word(0)) pixels = (pixels & opaque) | (Load(dst + i) & ~opaque);
        Store(dst + i, pixels);
    }
    return i;
}

#if defined(__SSE2__)
// Sixteen pixels: those of src that are not transparent replace dst's.
inline void OverlayVector(const uint8_t* src, uint8_t* dst, __m128i transparentIndex) {
    __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i transparent = _mm_cmpeq_epi8(pixels, transparentIndex);
    const int bits = _mm_movemask_epi8(transparent);
    if (bits == 0xFFFF) return;
    if (bits != 0) {
        const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
        pixels = _mm_or_si128(_mm_and_si128(transparent, under), _mm_andnot_si128(transparent, pixels));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), pixels);
}
#endif

struct IdentityTable {
    uint8_t map[256];
    IdentityTable() {
        for (int i = 0; i < 256; ++i) map[i] = uint8_t(i);
    }
};

}  // namespace

bool IsIdentityMap(const uint8_t map[256]) {
    static const IdentityTable identity;
    return std::memcmp(map, identity.map, 256) == 0;
}

void CopyBlock(const PixelBlock& b, const uint8_t* map) {
    const uint8_t* src = b.src;
    uint8_t* dst = b.dst;
    for (int row = 0; row < b.rows; ++row, src += b.srcStride, dst += b.dstStride) {
        if (!map)
            std::memcpy(dst, src, size_t(b.width));
        else
            for (int i = 0; i < b.width; ++i) dst[i] = map[src[i]];
    }
}

void OverlayBlockPortable(const PixelBlock& b, const uint8_t* map) {
    for (int row = 0; row < b.rows; ++row) {
        const uint8_t* src = b.src + row * b.srcStride;
        uint8_t* dst = b.dst + row * b.dstStride;
        OverlayTail(src, dst, map ? 0 : OverlayWords(src, dst, 0, b.width), b.width, map);
    }
}

void OverlayBlock(const PixelBlock& b, const uint8_t* map) {
#if defined(__SSE2__)
    if (!map) {
        const __m128i transparentIndex = _mm_set1_epi8(char(kTransparentIndex));
        const int vectors = b.width & ~15;
        const uint8_t* src = b.src;
        uint8_t* dst = b.dst;
        for (int row = 0; row < b.rows; ++row, src += b.srcStride, dst += b.dstStride) {
            for (int i = 0; i < vectors; i += 16) OverlayVector(src + i, dst + i, transparentIndex);
            if (vectors < b.width) OverlayTail(src, dst, OverlayWords(src, dst, vectors, b.width), b.width, nullptr);
        }
        return;
    }
#endif
    OverlayBlockPortable(b, map);
}

}  // namespace pendrick
