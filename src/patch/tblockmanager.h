// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/largememory.h"
#include "patch/tblocks.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaplex::patch {

// The pending records of one PATCH, as one list per block in item table order. All records lie
// in one vector and are linked by index; each block keeps the index of its first and last
// record, so appending takes constant time, and 500,000 records with a 458,752-block table take
// under 10 MB.
class TBlockManager {
public:
    // A table of blockCount empty lists.
    explicit TBlockManager(std::uint32_t blockCount);

    [[nodiscard]] std::uint32_t blockCount() const {
        return static_cast<std::uint32_t>(m_blocks.size());
    }
    // Number of records of all blocks together.
    [[nodiscard]] std::size_t recordCount() const { return m_records.size(); }
    // Number of blocks whose list is not empty.
    [[nodiscard]] std::uint32_t blocksTouched() const { return m_blocksTouched; }

    // Makes room for count records without moving them again.
    void reserve(std::size_t count) { m_records.reserve(count); }

    // Appends record at the tail of block's list (its next field is overwritten). block must be
    // below blockCount(); the caller refuses other blocks beforehand.
    void append(std::uint32_t block, const TBlocks &record);

    // Calls f(record) for each record of block's list, in the order they were appended.
    template <typename F> void forEach(std::uint32_t block, F &&f) const {
        for (std::uint32_t i = m_blocks[block].head; i != TBlocks::End; i = m_records[i].next)
            f(m_records[i]);
    }
    // Number of records in block's list; walks the list.
    [[nodiscard]] std::uint32_t count(std::uint32_t block) const;

    // Bytes held by the table and its records.
    [[nodiscard]] std::size_t memoryUsage() const;

private:
    struct List {
        std::uint32_t head = TBlocks::End;
        std::uint32_t tail = TBlocks::End;
    };

    // Megabytes each, given back to the system as soon as the patch is done.
    std::vector<List, LargeAllocator<List>> m_blocks;
    std::vector<TBlocks, LargeAllocator<TBlocks>> m_records;
    std::uint32_t m_blocksTouched = 0;
};

} // namespace tessaplex::patch
