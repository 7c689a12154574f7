// The composer's block operations against a pixel-by-pixel rendering of the same rule, for
// every width from 0 to 40 (whole words, vectors and their leftovers) and both the vector
// path and the one a 32-bit build without SSE2 takes.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "clock/pixel_rows.h"
#include "clock/sheet.h"

using namespace pendrick;

namespace {

constexpr int kStride = 48;
constexpr int kRows = 3;

std::vector<uint8_t> Random(std::mt19937& rng, int n, bool manyTransparent) {
    std::vector<uint8_t> v(static_cast<size_t>(n));
    for (uint8_t& b : v) {
        const unsigned r = rng();
        b = uint8_t(r);
        // Runs of the transparent index and its neighbours in value, whose bits differ by one.
        if (manyTransparent && r % 3 == 0) b = kTransparentIndex;
        if (r % 11 == 0) b = uint8_t(kTransparentIndex ^ (1u << (r >> 8) % 8));
    }
    return v;
}

std::vector<uint8_t> ExpectedOverlay(const std::vector<uint8_t>& src, std::vector<uint8_t> dst, int width,
                                     const uint8_t* map) {
    for (int row = 0; row < kRows; ++row)
        for (int x = 0; x < width; ++x) {
            const uint8_t v = src[row * kStride + x];
            if (v != kTransparentIndex) dst[row * kStride + x] = map ? map[v] : v;
        }
    return dst;
}

}  // namespace

TEST(ClockPixelRows, OverlayMatchesThePixelRuleAtEveryWidth) {
    std::mt19937 rng(18);
    uint8_t reversed[256];
    for (int i = 0; i < 256; ++i) reversed[i] = uint8_t(255 - i);
    for (const uint8_t* map : {static_cast<const uint8_t*>(nullptr), static_cast<const uint8_t*>(reversed)})
        for (int width = 0; width <= 40; ++width)
            for (int trial = 0; trial < 6; ++trial) {
                const std::vector<uint8_t> src = Random(rng, kStride * kRows, trial % 2 == 0);
                const std::vector<uint8_t> under = Random(rng, kStride * kRows, false);
                const std::vector<uint8_t> want = ExpectedOverlay(src, under, width, map);
                for (auto overlay : {OverlayBlock, OverlayBlockPortable}) {
                    std::vector<uint8_t> dst = under;
                    overlay(PixelBlock{src.data(), kStride, dst.data(), kStride, width, kRows}, map);
                    ASSERT_EQ(dst, want) << "width " << width << (map ? " mapped" : "")
                                         << (overlay == OverlayBlock ? "" : " portable");
                }
            }
}

TEST(ClockPixelRows, CopyTakesEveryPixelThroughTheMapAndIdentityIsRecognised) {
    std::mt19937 rng(7);
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) map[i] = uint8_t(i);
    EXPECT_TRUE(IsIdentityMap(map));
    map[kTransparentIndex] = 0;
    EXPECT_FALSE(IsIdentityMap(map));
    map[255] = 3;
    const std::vector<uint8_t> src = Random(rng, kStride * kRows, true);
    std::vector<uint8_t> dst(src.size(), 0xAA);
    CopyBlock(PixelBlock{src.data(), kStride, dst.data(), kStride, 37, kRows}, map);
    for (int row = 0; row < kRows; ++row)
        for (int x = 0; x < kStride; ++x) {
            const uint8_t want = x < 37 ? map[src[row * kStride + x]] : 0xAA;
            ASSERT_EQ(dst[row * kStride + x], want) << row << "," << x;
        }
}
