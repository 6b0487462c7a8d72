// SPDX-License-Identifier: GPL-3.0-or-later
#include "statics/tblockmanager.h"

namespace tessaplex::statics {

TBlockManager::TBlockManager(std::uint32_t blockCount)
    : m_blocks(blockCount) {}

void TBlockManager::append(std::uint32_t block, const TBlocks &record) {
    const auto index = static_cast<std::uint32_t>(m_records.size());
    m_records.push_back(record);
    m_records.back().next = TBlocks::End;
    List &list = m_blocks[block];
    if (list.count == 0) {
        list.head = index;
        ++m_blocksTouched;
    } else {
        m_records[list.tail].next = index;
    }
    list.tail = index;
    ++list.count;
}

std::size_t TBlockManager::memoryUsage() const {
    return sizeof *this + m_blocks.capacity() * sizeof(List) +
           m_records.capacity() * sizeof(TBlocks);
}

} // namespace tessaplex::statics
