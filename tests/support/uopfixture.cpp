// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/uopfixture.h"

#include "formats/uopfile.h"
#include "support/littleendian.h"

#include <zlib.h>

#include <algorithm>

namespace tessaplex::test {

namespace {

std::string deflated(const std::string &bytes) {
    uLongf length = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(length, '\0');
    compress(reinterpret_cast<Bytef *>(out.data()), &length,
             reinterpret_cast<const Bytef *>(bytes.data()), static_cast<uLong>(bytes.size()));
    out.resize(length);
    return out;
}

} // namespace

std::string uopFile(const std::vector<UopFixtureEntry> &entries, std::size_t blockCapacity) {
    constexpr std::size_t HeaderSize = 64;
    constexpr std::uint32_t EntryHeader = 8;
    std::string file = u32le(formats::UopMagic) + u32le(5) + u32le(0xFD23EC43) + u64le(HeaderSize) +
                       u32le(static_cast<std::uint32_t>(blockCapacity)) +
                       u32le(static_cast<std::uint32_t>(entries.size()));
    file.resize(HeaderSize, '\0');
    for (std::size_t first = 0; first < entries.size() || first == 0; first += blockCapacity) {
        const std::size_t blockAt = file.size();
        const std::size_t count = std::min(blockCapacity, entries.size() - first);
        const std::size_t tableSize =
            formats::UopBlockHeaderSize + blockCapacity * formats::UopEntrySize;
        std::string table = u32le(static_cast<std::uint32_t>(blockCapacity)) + u64le(0);
        std::string data;
        for (std::size_t i = first; i < first + count; ++i) {
            const UopFixtureEntry &e = entries[i];
            const std::string packed = e.compression == 1 ? deflated(e.bytes) : e.bytes;
            table += u64le(blockAt + tableSize + data.size()) + u32le(EntryHeader) +
                     u32le(static_cast<std::uint32_t>(packed.size())) +
                     u32le(static_cast<std::uint32_t>(e.bytes.size())) +
                     u64le(formats::uopNameHash(e.name)) + u32le(0) + u16le(e.compression);
            data += std::string(EntryHeader, '\x55') + packed;
        }
        table.resize(tableSize, '\0');
        const bool last = first + blockCapacity >= entries.size();
        if (!last)
            table.replace(4, 8, u64le(blockAt + tableSize + data.size()));
        file += table + data;
        if (last)
            break;
    }
    return file;
}

std::string hueFile(std::size_t count, std::uint16_t (*colourOf)(std::size_t hue, std::size_t k)) {
    std::string file;
    for (std::size_t hue = 0; hue < count; ++hue) {
        if (hue % 8 == 0)
            file += u32le(0);
        for (std::size_t k = 0; k < 32; ++k)
            file += u16le(colourOf(hue, k));
        file += u16le(0) + u16le(31) + std::string(20, '\0');
    }
    return file;
}

} // namespace tessaplex::test
