// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/bytesource.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The client's UOP container: many files of the old kind packed into one, each found by the hash
// of its name. All numbers are little-endian.
//
// Header (28 bytes, then padding): u32 magic 0x0050594D ("MYP" and a NUL), u32 version, u32
// signature, u64 offset of the first table block, u32 table capacity (entries a block is made
// for), u32 file count.
//
// Table block: u32 number of entries in this block, u64 offset of the next block (0 ends the
// chain), then that many entries of 34 bytes: u64 data offset (0 marks an unused slot), u32 header
// length, u32 compressed length, u32 decompressed length, u64 name hash, u32 data hash, u16
// compression (0 stored, 1 zlib). An entry's bytes start at data offset + header length.
namespace tessaplex::formats {

inline constexpr std::uint32_t UopMagic = 0x0050594D;
inline constexpr std::size_t UopHeaderSize = 28;
inline constexpr std::size_t UopBlockHeaderSize = 12;
inline constexpr std::size_t UopEntrySize = 34;
// An entry larger than this is taken for damage: no picture, hue or name comes near it.
inline constexpr std::uint32_t UopMaxEntryBytes = 16 * 1024 * 1024;

// True when the four bytes start a UOP container (whatever the file's name).
[[nodiscard]] bool isUopMagic(const unsigned char *firstFour);

// The name hash of the table: lookup3's hashlittle2 over the name's bytes with both initial
// values 0, as (b << 32) | c, c being the primary result.
[[nodiscard]] std::uint64_t uopNameHash(std::string_view name);

// The name art entry n is stored under: "build/artlegacymul/" + n as 8 decimal digits + ".tga".
[[nodiscard]] std::string artUopName(std::uint32_t entry);

enum class UopCompression : std::uint16_t { Stored = 0, Zlib = 1 };

struct UopEntry {
    std::uint64_t start = 0; // data offset + header length
    std::uint32_t compressedLength = 0;
    std::uint32_t decompressedLength = 0;
    std::uint16_t compression = 0;
};

// The table of a UOP container, looked up by name hash. Only the name hashes are kept, in table
// order, with where each block lies; an entry found is read again from the file. A large table
// (the client's art holds some 80,000 entries) is so read in one pass with little memory, which
// keeps the first drawing after start fast, and a lookup is one scan of the hashes.
class UopTable {
public:
    // Reads the header and every table block. On damage (a short header or block, a chain that
    // loops or leaves the file, more entries than the file can hold) the table is empty and
    // problem() says what is wrong; the work is bounded by the file's size whatever its bytes.
    [[nodiscard]] static UopTable read(io::ByteSource &file);

    [[nodiscard]] const std::string &problem() const { return m_problem; }
    // The entries in use (unused slots not counted).
    [[nodiscard]] std::size_t size() const { return m_used; }
    // The entry stored under hash, read from file, which must be the file the table was read
    // from; nothing when there is none. The first of equal hashes counts. An entry that can no
    // longer be read is given as lying past the file, so that reading it tells the damage.
    [[nodiscard]] std::optional<UopEntry> find(io::ByteSource &file, std::uint64_t hash) const;

private:
    struct Block {
        std::uint64_t at;      // offset of the block in the file
        std::size_t firstSlot; // index of its first entry in m_hashes
    };

    std::vector<std::uint64_t> m_hashes; // of every slot, unused ones included
    std::vector<Block> m_blocks;
    std::size_t m_used = 0;
    std::string m_problem;
};

// The bytes of an entry, inflated when stored with zlib. On damage (bytes past the file, a length
// above UopMaxEntryBytes, an unknown compression, zlib data that does not give exactly the stated
// length) the bytes are empty and problem says what is wrong.
struct UopEntryBytes {
    std::string bytes;
    std::string problem;
};
[[nodiscard]] UopEntryBytes readUopEntry(io::ByteSource &file, const UopEntry &entry);

} // namespace tessaplex::formats
