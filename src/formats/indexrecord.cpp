// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/indexrecord.h"

#include "base/littleendian.h"

namespace tessaplex::formats {

IndexRecord IndexRecord::decode(const unsigned char *bytes) {
    return {readU32le(bytes), readU32le(bytes + 4), readU32le(bytes + 8)};
}

void IndexRecord::encode(unsigned char *bytes) const {
    writeU32le(bytes, lookup);
    writeU32le(bytes + 4, length);
    writeU32le(bytes + 8, extra);
}

std::optional<IndexRecord> IndexRecord::readAt(io::ByteSource &index, std::uint32_t n) {
    unsigned char bytes[8];
    if (index.readAt(std::uint64_t{Size} * n, bytes, sizeof bytes) != sizeof bytes)
        return std::nullopt;
    return IndexRecord{readU32le(bytes), readU32le(bytes + 4), 0};
}

} // namespace tessaplex::formats
