// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/staticrecord.h"

#include "base/littleendian.h"
#include "formats/mapgeometry.h"

namespace tessaplex::formats {

void encodeStaticRecord(unsigned char *out, std::int32_t id, std::int32_t x, std::int32_t y,
                        std::int32_t z, std::int32_t color) {
    // Conversions to unsigned keep the two's-complement bits, so the low bytes are exact for
    // negative values too.
    writeU16le(out, static_cast<std::uint16_t>(static_cast<std::uint32_t>(id)));
    out[2] = static_cast<unsigned char>(static_cast<std::uint32_t>(offsetInBlock(x)) & 0xFFu);
    out[3] = static_cast<unsigned char>(static_cast<std::uint32_t>(offsetInBlock(y)) & 0xFFu);
    out[4] = static_cast<unsigned char>(static_cast<std::uint32_t>(z) & 0xFFu);
    writeU16le(out + 5, static_cast<std::uint16_t>(static_cast<std::uint32_t>(color)));
}

} // namespace tessaplex::formats
