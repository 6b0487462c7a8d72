// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/tiledatafile.h"

#include "base/littleendian.h"

#include <cstring>

namespace tessaplex::formats {

std::optional<ItemTileRecord> readItemTileRecord(io::ByteSource &file, std::uint32_t id) {
    const bool newLayout = file.size() >= TileDataNewLayoutSize;
    const std::uint64_t landRecord = newLayout ? 30 : 26;
    const std::uint64_t itemRecord = newLayout ? 41 : 37;
    const std::uint64_t landPart = TileDataLandGroups * (4 + TileDataRecordsPerGroup * landRecord);
    const std::uint64_t at =
        landPart + id / TileDataRecordsPerGroup * (4 + TileDataRecordsPerGroup * itemRecord) + 4 +
        id % TileDataRecordsPerGroup * itemRecord;
    unsigned char record[41];
    if (file.readAt(at, record, itemRecord) < itemRecord)
        return std::nullopt;
    ItemTileRecord item;
    item.flags = newLayout ? readU64le(record) : readU32le(record);
    const char *name = reinterpret_cast<const char *>(record + itemRecord - TileDataNameSize);
    const void *end = std::memchr(name, '\0', TileDataNameSize);
    item.name.assign(name, end ? static_cast<const char *>(end) - name : TileDataNameSize);
    return item;
}

} // namespace tessaplex::formats
