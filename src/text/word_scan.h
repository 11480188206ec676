// Tests on eight bytes at once, for scanning text a word at a time: units of Width bytes
// (1 or 2), little-endian. Each test is exact for the word as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace sevrane {

inline std::uint64_t LoadWord(const char* p) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof(word));
    return word;
}

template <std::size_t Width>
constexpr std::uint64_t kWordLanes = Width == 1 ? 0x0101010101010101u : 0x0001000100010001u;
template <std::size_t Width>
constexpr std::uint64_t kWordHighBits = Width == 1 ? 0x8080808080808080u : 0x8000800080008000u;

// Whether any unit of the word is below the bound, which is at most half a unit's range (the
// classic test for a zero lane, shifted).
template <std::size_t Width>
bool HoldsUnitBelow(std::uint64_t word, std::uint16_t bound) {
    return ((word - kWordLanes<Width> * bound) & ~word & kWordHighBits<Width>) != 0;
}

template <std::size_t Width>
bool HoldsUnit(std::uint64_t word, std::uint16_t value) {
    return HoldsUnitBelow<Width>(word ^ (kWordLanes<Width> * value), 1);
}

} // namespace sevrane
