// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaplex::world {

class ItemTable;

// What the information dialog shows about the world file and the table.
struct WorldFileInfo {
    std::size_t lines = 0;           // lines of the world file
    std::uint32_t selected = 0;      // rows marked "YES"
    int listed = 0;                  // items of the last analysis; 0 before the first
    std::uint32_t linesToRemove = 0; // sum of (end line - start line) over the marked rows
};

// The three table values; lines is left 0 for the caller to fill. A marked row without line
// numbers (the blank row before the first analysis) adds nothing to linesToRemove.
[[nodiscard]] WorldFileInfo tableInfo(const ItemTable &table);

} // namespace tessaplex::world
