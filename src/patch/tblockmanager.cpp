// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/tblockmanager.h"

namespace tessaplex::patch {

static_assert(sizeof(TBlocks) == 12, "a pending record is 12 bytes");

TBlockManager::TBlockManager(std::uint32_t blockCount)
    : m_blocks(blockCount) {}

void TBlockManager::append(std::uint32_t block, const TBlocks &record) {
    const auto index = static_cast<std::uint32_t>(m_records.size());
    m_records.push_back(record);
    m_records.back().next = TBlocks::End;
    List &list = m_blocks[block];
    if (list.head == TBlocks::End) {
        list.head = index;
        ++m_blocksTouched;
    } else {
        m_records[list.tail].next = index;
    }
    list.tail = index;
}

std::uint32_t TBlockManager::count(std::uint32_t block) const {
    std::uint32_t n = 0;
    forEach(block, [&](const TBlocks &) { ++n; });
    return n;
}

std::size_t TBlockManager::memoryUsage() const {
    return sizeof *this + m_blocks.capacity() * sizeof(List) +
           m_records.capacity() * sizeof(TBlocks);
}

} // namespace tessaplex::patch
