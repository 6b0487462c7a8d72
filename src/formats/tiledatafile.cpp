// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/tiledatafile.h"

#include "base/littleendian.h"

#include <cstring>

namespace tessaplex::formats {

TileDataItems::TileDataItems(std::string bytes)
    : m_bytes(std::move(bytes))
    , m_newLayout(m_bytes.size() >= TileDataNewLayoutSize) {}

std::optional<ItemTileRecord> TileDataItems::item(std::uint32_t id) const {
    const std::uint64_t landRecord = m_newLayout ? 30 : 26;
    const std::uint64_t itemRecord = m_newLayout ? 41 : 37;
    const std::uint64_t landPart = TileDataLandGroups * (4 + TileDataRecordsPerGroup * landRecord);
    const std::uint64_t at =
        landPart + (id / TileDataRecordsPerGroup) * (4 + TileDataRecordsPerGroup * itemRecord) + 4 +
        (id % TileDataRecordsPerGroup) * itemRecord;
    if (at + itemRecord > m_bytes.size())
        return std::nullopt;
    const auto *record = reinterpret_cast<const unsigned char *>(m_bytes.data() + at);
    ItemTileRecord item;
    item.flags = readU32le(record);
    if (m_newLayout)
        item.flags |= std::uint64_t{readU32le(record + 4)} << 32;
    const char *name = reinterpret_cast<const char *>(record + itemRecord - TileDataNameSize);
    const void *end = std::memchr(name, '\0', TileDataNameSize);
    item.name.assign(name, end ? static_cast<const char *>(end) - name : TileDataNameSize);
    return item;
}

} // namespace tessaplex::formats
