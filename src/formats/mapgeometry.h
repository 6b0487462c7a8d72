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

// A map of the client, in positions. Its blocks are numbered column by column, Y running fastest:
// block = (x div 8) * (height div 8) + (y div 8). The client keeps map N's statics in staidxN.mul
// and staticsN.mul.
struct MapSize {
    std::int32_t width = 0;
    std::int32_t height = 0;

    [[nodiscard]] constexpr std::uint32_t blocksPerColumn() const {
        return static_cast<std::uint32_t>(height / BlockSide);
    }
    [[nodiscard]] constexpr std::uint32_t blockCount() const {
        return static_cast<std::uint32_t>(width / BlockSide) * blocksPerColumn();
    }
    [[nodiscard]] constexpr bool holds(std::int32_t x, std::int32_t y) const {
        return x >= 0 && x < width && y >= 0 && y < height;
    }
    // The block of a position, modulo 2^32 with x and y taken as unsigned, as blockOf below: a
    // position off the map to the negative side gives a block far beyond the map.
    [[nodiscard]] constexpr std::uint32_t blockOf(std::uint32_t x, std::uint32_t y) const {
        return (x / BlockSide) * blocksPerColumn() + y / BlockSide;
    }
};

// The maps a shard may have: 0 to 5.
inline constexpr int MapCount = 6;

// The sizes map number map (0 to 5) comes in, the usual one first: maps 0 and 1 are 7,168
// positions wide in later clients and 6,144 in older ones.
struct MapSizes {
    MapSize sizes[2];
    int count = 0;
};
[[nodiscard]] constexpr MapSizes sizesOfMap(int map) {
    switch (map) {
    case 0:
    case 1:
        return {{{7168, 4096}, {6144, 4096}}, 2};
    case 2:
        return {{{2304, 1600}}, 1};
    case 3:
        return {{{2560, 2048}}, 1};
    case 4:
        return {{{1448, 1448}}, 1};
    case 5:
        return {{{1280, 4096}}, 1};
    default:
        return {};
    }
}

// The position inside its block, 0 to 7 on the map. The remainder takes the sign of the
// coordinate, as integer division truncates; only positions off the map are negative.
[[nodiscard]] constexpr std::int32_t offsetInBlock(std::int32_t coordinate) {
    return coordinate % BlockSide;
}

} // namespace tessaplex::formats
