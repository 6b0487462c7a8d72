// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/bytesource.h"

#include <cstdint>
#include <optional>

namespace tessaplex::formats {

// One record of the art index file: where art entry n's record lies in the art data file.
// The index file is a plain sequence of these 12-byte records; entry n's starts at byte 12 * n.
struct ArtIndexRecord {
    static constexpr std::uint64_t Size = 12;
    // The lookup of an entry that has no art.
    static constexpr std::uint32_t EmptyLookup = 0xFFFFFFFF;

    // Byte offset of the art record in the art data file.
    std::uint32_t lookup = EmptyLookup;
    // Byte length of the art record, as the index states it. The drawing does not rely on it.
    std::uint32_t length = 0;

    [[nodiscard]] bool isEmpty() const { return lookup == EmptyLookup; }

    // The byte offset of entry n's record in the index file.
    [[nodiscard]] static constexpr std::uint64_t offsetOf(std::uint32_t entry) {
        return Size * entry;
    }
    // Entry n's lookup and length; nothing when the index ends before both were read. The third
    // field of the record is not read, so a file cut inside it still yields the record.
    [[nodiscard]] static std::optional<ArtIndexRecord> read(io::ByteSource &index,
                                                            std::uint32_t entry);
};

} // namespace tessaplex::formats
