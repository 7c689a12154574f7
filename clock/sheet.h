// The artwork sheet: one 512 x 624 picture holding every face, animation frame, sprite and
// glyph of the clock, and where each of them lies on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pendrick {

constexpr int kSheetWidth = 512;
constexpr int kSheetHeight = 624;
constexpr int kSheetBytes = kSheetWidth * kSheetHeight;  // 319488
constexpr int kSheetResourceId = 104;
constexpr uint8_t kTransparentIndex = 15;

constexpr int kFaceSize = 128;
constexpr int kCharacterWidth = 96;
constexpr int kCharacterHeight = 64;
constexpr int kCharacterFrames = 8;
constexpr int kSpriteSize = 16;
constexpr int kGlyphSize = 32;

// Sprite rows.
constexpr int kSpriteSecondMarker = 0;
constexpr int kSpriteHourTip = 1;
constexpr int kSpriteMinuteTip = 2;
// Glyph rows and the glyphs beyond the digits.
constexpr int kGlyphRowClock = 0;
constexpr int kGlyphRowTimer = 1;
constexpr int kGlyphReset = 10;
constexpr int kGlyphStart = 11;
constexpr int kGlyphColon = 12;

inline int FaceX(int variant) { return variant * kFaceSize; }
inline int FaceY(int) { return 0; }
inline int CharacterX(int frame) { return (frame & 3) * kCharacterWidth; }
inline int CharacterY(int frame) { return frame < 4 ? 128 : 192; }
inline int SpriteX(int frame) { return frame * kSpriteSize; }
inline int SpriteY(int row) { return 512 + row * kSpriteSize; }
inline int GlyphX(int glyph) { return glyph * kGlyphSize; }
inline int GlyphY(int row) { return 560 + row * kGlyphSize; }

// Reads a packed 8-bit bitmap (40-byte info header, 256-entry colour table, bottom-up rows)
// of exactly 512 x 624 into a top-down sheet, and hands back its colour table. False for
// any other size, depth or a block too short to hold the pixels.
bool LoadSheet(const uint8_t* dib, size_t size, std::vector<uint8_t>* sheet, uint8_t colourTable[256 * 4]);

}  // namespace pendrick
