// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/bytesource.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tessaplex::formats {

// One 12-byte record of an index file of the client: record k of the static index file describes
// block k, record n of the art index file art entry n. lookup (u32le) is the byte offset of the
// data in the data file, or 0xFFFFFFFF for none; length (u32le) the number of bytes it fills;
// extra (u32le) is carried over uninterpreted (the art files keep a picture's size there).
struct IndexRecord {
    static constexpr std::size_t Size = 12;
    static constexpr std::uint32_t None = 0xFFFFFFFFu;

    std::uint32_t lookup = None;
    std::uint32_t length = None;
    std::uint32_t extra = 0;

    // The record of a block without static records: lookup and length 0xFFFFFFFF.
    [[nodiscard]] static IndexRecord empty(std::uint32_t extra) { return {None, None, extra}; }

    // Reads the record from its 12 bytes in file order.
    [[nodiscard]] static IndexRecord decode(const unsigned char *bytes);
    // Writes the record's 12 bytes in file order.
    void encode(unsigned char *bytes) const;
    // Record n of an index file read at offsets: its lookup and length, extra left 0; nothing
    // when the file ends before both. The third field is not read, so a file cut inside it
    // still yields the record.
    [[nodiscard]] static std::optional<IndexRecord> readAt(io::ByteSource &index, std::uint32_t n);

    // True when the block has static records in the data file: lookup is not 0xFFFFFFFF and
    // length is neither 0 nor 0xFFFFFFFF. Otherwise lookup and length mean nothing.
    [[nodiscard]] bool hasExistingRecords() const {
        return lookup != None && length != 0 && length != None;
    }

    friend bool operator==(const IndexRecord &a, const IndexRecord &b) {
        return a.lookup == b.lookup && a.length == b.length && a.extra == b.extra;
    }
};

} // namespace tessaplex::formats
