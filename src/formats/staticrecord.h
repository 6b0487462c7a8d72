// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaplex::formats {

// A static record of the data file: id (u16le), x and y inside the block (u8 each), z (s8),
// color (u16le). Existing records are only ever copied as bytes, never decoded.
inline constexpr std::size_t StaticRecordSize = 7;

// Writes the 7 bytes of a new record to out: the low 16 bits of id, the low 8 bits of x mod 8
// and of y mod 8 (remainders with the coordinate's sign), the low 8 bits of z (so -1 gives 0xFF)
// and the low 16 bits of color. Higher bits are dropped without notice.
void encodeStaticRecord(unsigned char *out, std::int32_t id, std::int32_t x, std::int32_t y,
                        std::int32_t z, std::int32_t color);

} // namespace tessaplex::formats
