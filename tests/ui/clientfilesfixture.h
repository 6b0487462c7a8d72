// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaplex::uitest {

// The bytes of a hue table of hueCount hues whose 32 colours are all `colour` (a 15-bit pixel),
// so that every hued pixel takes that colour.
[[nodiscard]] std::string huesOfOneColour(std::uint16_t colour, int hueCount);

// One item record of a tiledata file.
struct TileItem {
    std::uint32_t id = 0;
    std::string name; // at most 20 characters
    std::uint32_t flags = 0;
};

// The bytes of a tiledata file in the 37-byte layout whose item records reach the highest ID
// given; records not given have no name and no flags.
[[nodiscard]] std::string tileDataOf(const std::vector<TileItem> &items);

} // namespace tessaplex::uitest
