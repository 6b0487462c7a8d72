// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessaplex::world {
class ItemTable;
}

namespace tessaplex::test {

// The item rows of a table (row 1 onwards; not the heading row) as text: the 10 cells of a row
// joined by separator, each row ended by LF. Compares whole tables at a glance in assertions.
[[nodiscard]] std::string itemRowsText(const world::ItemTable &table, char separator = '\t');

// One row (the heading row too) as itemRowsText() writes it, without the LF.
[[nodiscard]] std::string rowText(const world::ItemTable &table, int row, char separator = '\t');

} // namespace tessaplex::test
