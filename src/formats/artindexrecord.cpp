// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/artindexrecord.h"

#include "base/littleendian.h"

namespace tessaplex::formats {

std::optional<ArtIndexRecord> ArtIndexRecord::read(io::ByteSource &index, std::uint32_t entry) {
    unsigned char bytes[8];
    if (index.readAt(offsetOf(entry), bytes, sizeof bytes) != sizeof bytes)
        return std::nullopt;
    ArtIndexRecord record;
    record.lookup = readU32le(bytes);
    record.length = readU32le(bytes + 4);
    return record;
}

} // namespace tessaplex::formats
