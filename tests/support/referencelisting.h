// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace tessaplex::world {
class ItemNameCatalog;
class ItemTable;
class LineList;
} // namespace tessaplex::world

namespace tessaplex::test {

// The listing rule applied plainly, one line after the other: the TSV of the items that the lines
// [start, end) list, heading row first.
[[nodiscard]] std::string referenceListing(const world::LineList &lines, std::size_t start,
                                           std::size_t end, const world::ItemNameCatalog &catalog);

// The table as TSV, joined from its cell texts one by one, away from the TSV writer's own path.
[[nodiscard]] std::string tsvOfCells(const world::ItemTable &table);

} // namespace tessaplex::test
