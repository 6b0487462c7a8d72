// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/bytesource.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// tiledata.mul, what the client knows of every land tile and item. First 512 land groups, each a
// u32 header and 32 land records of 26 bytes (30 in the new layout); then item groups, each a u32
// header and 32 item records. An item record, old layout (37 bytes): u32 flags, u8 weight, u8
// quality, u32 misc, u16 animation, u16 hue, u16 light, u8 height, 20-byte name (ended by a NUL
// or by the field's end). The new layout (41 bytes) is the same with u64 flags; a file of
// 3,188,736 bytes or more has it. Item ID i is record i mod 32 of item group i div 32.
namespace tessaplex::formats {

inline constexpr std::uint64_t TileDataNewLayoutSize = 3188736;
inline constexpr std::size_t TileDataLandGroups = 512;
inline constexpr std::size_t TileDataRecordsPerGroup = 32;
inline constexpr std::size_t TileDataNameSize = 20;

// The item flags worth showing, lowest bit first.
struct TileFlagName {
    std::uint64_t bit;
    const char *word;
};
inline constexpr TileFlagName ItemFlagNames[] = {
    {0x1, "Background"},       {0x10, "Wall"},          {0x40, "Impassable"},
    {0x200, "Surface"},        {0x400, "Bridge"},       {0x1000, "Window"},
    {0x20000, "Foliage"},      {0x40000, "PartialHue"}, {0x200000, "Container"},
    {0x800000, "LightSource"}, {0x10000000, "Roof"},    {0x20000000, "Door"},
};
inline constexpr std::uint64_t PartialHueFlag = 0x40000;

struct ItemTileRecord {
    std::string name;
    std::uint64_t flags = 0;
};

// The record of item ID id, read from a tiledata file (its size tells the layout); nothing when
// the file ends before it.
[[nodiscard]] std::optional<ItemTileRecord> readItemTileRecord(io::ByteSource &file,
                                                               std::uint32_t id);

} // namespace tessaplex::formats
