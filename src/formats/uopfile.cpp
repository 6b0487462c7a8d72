// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/uopfile.h"

#include "base/littleendian.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <unordered_set>

namespace tessaplex::formats {

namespace {

constexpr std::uint32_t rotate(std::uint32_t x, int k) {
    return (x << k) | (x >> (32 - k));
}

void mix(std::uint32_t &a, std::uint32_t &b, std::uint32_t &c) {
    a -= c, a ^= rotate(c, 4), c += b;
    b -= a, b ^= rotate(a, 6), a += c;
    c -= b, c ^= rotate(b, 8), b += a;
    a -= c, a ^= rotate(c, 16), c += b;
    b -= a, b ^= rotate(a, 19), a += c;
    c -= b, c ^= rotate(b, 4), b += a;
}

void finalMix(std::uint32_t &a, std::uint32_t &b, std::uint32_t &c) {
    c ^= b, c -= rotate(b, 14);
    a ^= c, a -= rotate(c, 11);
    b ^= a, b -= rotate(a, 25);
    c ^= b, c -= rotate(b, 16);
    a ^= c, a -= rotate(c, 4);
    b ^= a, b -= rotate(a, 14);
    c ^= b, c -= rotate(b, 24);
}

// Up to four bytes, lowest first, as one word.
std::uint32_t word(const unsigned char *bytes, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count && i < 4; ++i)
        value |= std::uint32_t{bytes[i]} << (8 * i);
    return value;
}

std::string atByte(const char *what, std::uint64_t offset) {
    return std::string(what) + " at byte " + std::to_string(offset);
}

} // namespace

bool isUopMagic(const unsigned char *firstFour) {
    return readU32le(firstFour) == UopMagic;
}

std::uint64_t uopNameHash(std::string_view name) {
    const auto *k = reinterpret_cast<const unsigned char *>(name.data());
    std::size_t length = name.size();
    std::uint32_t a = 0xDEADBEEF + static_cast<std::uint32_t>(length);
    std::uint32_t b = a;
    std::uint32_t c = a;
    while (length > 12) {
        a += word(k, 4);
        b += word(k + 4, 4);
        c += word(k + 8, 4);
        mix(a, b, c);
        length -= 12;
        k += 12;
    }
    // The last 1 to 12 bytes, added as zero-padded words; nothing left means no final mix.
    if (length > 0) {
        a += word(k, length);
        if (length > 4)
            b += word(k + 4, length - 4);
        if (length > 8)
            c += word(k + 8, length - 8);
        finalMix(a, b, c);
    }
    return std::uint64_t{b} << 32 | c;
}

std::string artUopName(std::uint32_t entry) {
    char name[48];
    std::snprintf(name, sizeof name, "build/artlegacymul/%08u.tga", static_cast<unsigned>(entry));
    return name;
}

UopTable UopTable::read(io::ByteSource &file) {
    UopTable table;
    const std::uint64_t size = file.size();
    unsigned char header[UopHeaderSize];
    if (file.readAt(0, header, sizeof header) < sizeof header) {
        table.m_problem = "it ends inside its header";
        return table;
    }
    if (!isUopMagic(header)) {
        table.m_problem = "it does not start as a UOP file does";
        return table;
    }
    // Every entry fills 34 bytes of the file, so no sound table holds more; this also bounds the
    // work on a table whose blocks overlap.
    const std::uint64_t roomForEntries = size / UopEntrySize;
    const std::uint64_t capacity = std::min<std::uint64_t>(readU32le(header + 20), 0x10000);
    table.m_hashes.reserve(
        static_cast<std::size_t>(std::min<std::uint64_t>(readU32le(header + 24), roomForEntries)));
    std::uint64_t next = readU64le(header + 12);
    std::unordered_set<std::uint64_t> visited;
    std::vector<unsigned char> block;
    const auto damaged = [](std::string problem) {
        UopTable empty;
        empty.m_problem = std::move(problem);
        return empty;
    };
    while (next != 0) {
        const std::uint64_t at = next;
        if (!visited.insert(at).second)
            return damaged("its table blocks form a loop");
        if (at > size || size - at < UopBlockHeaderSize)
            return damaged(atByte("its table block", at) + " lies beyond the end of the file");
        // Mostly a block holds what the header says it is made for: one read for all of it.
        const std::uint64_t guess =
            UopBlockHeaderSize + std::min(capacity, roomForEntries) * UopEntrySize;
        block.resize(static_cast<std::size_t>(std::min(guess, size - at)));
        std::size_t got = file.readAt(at, block.data(), block.size());
        const std::uint32_t count = got >= UopBlockHeaderSize ? readU32le(block.data()) : 0;
        if (got < UopBlockHeaderSize || count > roomForEntries - table.m_hashes.size() ||
            (size - at - UopBlockHeaderSize) / UopEntrySize < count)
            return damaged(atByte("its table block", at) + " ends beyond the end of the file");
        const std::size_t length = UopBlockHeaderSize + std::size_t{count} * UopEntrySize;
        if (got < length) {
            block.resize(length);
            got = file.readAt(at, block.data(), length);
            if (got < length)
                return damaged(atByte("its table block", at) + " could not be read");
        }
        next = readU64le(block.data() + 4);
        table.m_blocks.push_back({at, table.m_hashes.size()});
        for (std::uint32_t i = 0; i < count; ++i) {
            const unsigned char *e = block.data() + UopBlockHeaderSize + i * UopEntrySize;
            table.m_used += readU64le(e) != 0; // data offset 0: an unused slot
            table.m_hashes.push_back(readU64le(e + 20));
        }
    }
    return table;
}

std::optional<UopEntry> UopTable::find(io::ByteSource &file, std::uint64_t hash) const {
    std::size_t block = 0;
    for (std::size_t slot = 0; slot < m_hashes.size(); ++slot) {
        if (m_hashes[slot] != hash)
            continue;
        while (block + 1 < m_blocks.size() && m_blocks[block + 1].firstSlot <= slot)
            ++block;
        const std::uint64_t at = m_blocks[block].at + UopBlockHeaderSize +
                                 (slot - m_blocks[block].firstSlot) * UopEntrySize;
        unsigned char e[UopEntrySize];
        UopEntry entry;
        if (file.readAt(at, e, sizeof e) < sizeof e) {
            entry.start = UINT64_MAX;
            return entry;
        }
        const std::uint64_t dataOffset = readU64le(e);
        if (dataOffset == 0 || readU64le(e + 20) != hash)
            continue; // an unused slot that happens to hold the hash
        const std::uint32_t headerLength = readU32le(e + 8);
        // An offset so large that the sum overflows lies past any file all the same.
        entry.start =
            dataOffset > UINT64_MAX - headerLength ? UINT64_MAX : dataOffset + headerLength;
        entry.compressedLength = readU32le(e + 12);
        entry.decompressedLength = readU32le(e + 16);
        entry.compression = readU16le(e + 32);
        return entry;
    }
    return std::nullopt;
}

UopEntryBytes readUopEntry(io::ByteSource &file, const UopEntry &entry) {
    UopEntryBytes out;
    if (entry.compression != static_cast<std::uint16_t>(UopCompression::Stored) &&
        entry.compression != static_cast<std::uint16_t>(UopCompression::Zlib)) {
        out.problem =
            "the entry is stored with the unknown compression " + std::to_string(entry.compression);
        return out;
    }
    const bool zlib = entry.compression == static_cast<std::uint16_t>(UopCompression::Zlib);
    const std::uint32_t stated = zlib ? entry.decompressedLength : entry.compressedLength;
    if (entry.compressedLength > UopMaxEntryBytes || stated > UopMaxEntryBytes) {
        out.problem = "the entry states a length of " + std::to_string(stated) + " bytes";
        return out;
    }
    const std::uint64_t size = file.size();
    if (entry.start > size || size - entry.start < entry.compressedLength) {
        out.problem = atByte("the entry", entry.start) + " lies beyond the end of the file";
        return out;
    }
    std::string raw(entry.compressedLength, '\0');
    if (file.readAt(entry.start, reinterpret_cast<unsigned char *>(raw.data()), raw.size()) <
        raw.size()) {
        out.problem = atByte("the entry", entry.start) + " could not be read";
        return out;
    }
    if (!zlib) {
        out.bytes = std::move(raw);
        return out;
    }
    if (stated == 0)
        return out;
    std::string inflated(stated, '\0');
    uLongf length = stated;
    const int result =
        uncompress(reinterpret_cast<Bytef *>(inflated.data()), &length,
                   reinterpret_cast<const Bytef *>(raw.data()), static_cast<uLong>(raw.size()));
    if (result != Z_OK || length != stated) {
        out.problem = atByte("the entry", entry.start) + " holds damaged zlib data";
        return out;
    }
    out.bytes = std::move(inflated);
    return out;
}

} // namespace tessaplex::formats
