// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "statics/staticrecord.h"

#include <cstdint>

namespace tessaplex::statics {

// A pending record: one marked item on its way into its block, 24 bytes. The fields are the
// converted cells of its row; next links the block's records in item table order.
struct TBlocks {
    static constexpr std::uint32_t End = 0xFFFFFFFFu;

    std::int32_t id = 0;
    std::int32_t x = 0; // X mod 8
    std::int32_t y = 0; // Y mod 8
    std::int32_t z = 0;
    std::int32_t color = 0;
    // Index of the block's next record in its TBlockManager, End after the last one.
    std::uint32_t next = End;

    // The record's 7 bytes in the static data file.
    void encode(unsigned char *out) const { encodeStaticRecord(out, id, x, y, z, color); }
};

} // namespace tessaplex::statics
