// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The first map as the static files divide it: cells of 8 x 8 positions, numbered column by
// column, 512 cells to a column, Y running fastest.
namespace tessaplex::formats {

inline constexpr std::int32_t BlockSide = 8;
inline constexpr std::uint32_t BlocksPerColumn = 512;
// 768 columns: a map 6,144 positions wide and 4,096 high.
inline constexpr std::uint32_t ClassicBlockCount = 393216;
// 896 columns: the 7,168-position-wide map of later clients.
inline constexpr std::uint32_t WideBlockCount = 458752;

// The block of a position: (x div 8) * 512 + (y div 8), modulo 2^32. A coordinate off the map
// to the negative side, taken as unsigned, gives a block far beyond the map, never one on it.
[[nodiscard]] constexpr std::uint32_t blockOf(std::uint32_t x, std::uint32_t y) {
    return (x / BlockSide) * BlocksPerColumn + y / BlockSide;
}

// The position inside its block, 0 to 7 on the map. The remainder takes the sign of the
// coordinate, as integer division truncates; only positions off the map are negative.
[[nodiscard]] constexpr std::int32_t offsetInBlock(std::int32_t coordinate) {
    return coordinate % BlockSide;
}

} // namespace tessaplex::formats
