// The small value rules of the clock's dialogs, kept apart from the dialog windows.
#pragma once

#include <cstdint>

namespace pendrick {

// An up-down control's position answer: the low word is the position, a non-zero high word
// means the control's text was out of range. Such an answer keeps the stored value.
inline int ValueFromUpDown(uint32_t answer, int stored, int modulus) {
    if ((answer >> 16) != 0) return stored;
    return int(answer & 0xFFFF) % modulus;
}

// Font dialog lists: sizes "6".."200", weights "0".."1000" in steps of 100.
constexpr int kFirstFontSize = 6;
constexpr int kLastFontSize = 200;
constexpr int kWeightSteps = 11;
inline int FontSizeFromSelection(int index) { return index + kFirstFontSize; }  // none (-1): 5
inline int FontWeightFromSelection(int index) { return index * 100; }           // none (-1): -100
inline int SelectionForFontSize(int size) { return size - kFirstFontSize; }
inline int SelectionForFontWeight(int weight) { return weight / 100; }

}  // namespace pendrick
