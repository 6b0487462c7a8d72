// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/staticrecord.h"

#include <cstdint>
#include <cstring>

namespace tessaplex::patch {

// A pending record: one marked item on its way into its block, 12 bytes. It keeps the item's ID,
// X mod 8, Y mod 8, Z and COLOR already cut to the widths of a static record, in that order, and
// links the block's records in item table order.
struct TBlocks {
    static constexpr std::uint32_t End = 0xFFFFFFFFu;

    unsigned char bytes[formats::StaticRecordSize] = {};
    // Index of the block's next record in its TBlockManager, End after the last one.
    std::uint32_t next = End;

    // The record of an item with these cells (X and Y are whole coordinates).
    [[nodiscard]] static TBlocks of(std::int32_t id, std::int32_t x, std::int32_t y, std::int32_t z,
                                    std::int32_t color) {
        TBlocks record;
        formats::encodeStaticRecord(record.bytes, id, x, y, z, color);
        return record;
    }

    // The record's 7 bytes in the static data file.
    void encode(unsigned char *out) const { std::memcpy(out, bytes, formats::StaticRecordSize); }
};

} // namespace tessaplex::patch
