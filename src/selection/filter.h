// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "selection/filterarea.h"
#include "selection/filterlist.h"

#include <string>

namespace tessaplex {
class ProgressGauge;
}

namespace tessaplex::world {
class ItemTable;
}

namespace tessaplex::selection {

// The two attribute texts an item must have, exactly, to be marked by the filter.
inline constexpr std::string_view FilterAttributes[] = {"010", "08010"};

// Applying the filter ("&OK"): every item row whose "ID" cell equals "0" followed by one of the
// entries, exactly, whose "ATTR" cell is exactly "010" or "08010", and which the area admits,
// is marked "YES". No mark is ever removed, so applying it twice marks what applying it once
// does. An entry of five or more digits, or one in upper case or unpadded, matches no ID text the
// table shows in lower case.
//
// The gauge counts one step for every pair of entry and item row, E x (N - 1) in all (N being the
// row count): progress 0, minimum 0 and maximum E x (N - 1) first, then it moves with the rows
// and ends at its maximum. A maximum of 0 (no entry, or no item row) leaves the gauge's maximum
// as it was, as every command's does. The gauge holds signed 32-bit values, so when E x (N - 1)
// exceeds INT32_MAX it counts on a scale instead: maximum INT32_MAX, and after row r the progress
// is r x INT32_MAX / (N - 1), rounded down, so that it still ends at its maximum.
//
// The work is one pass over the rows with the entries in a hash set, not E x (N - 1) comparisons.
void applyFilter(world::ItemTable &table, const FilterEntries &entries, const FilterArea &area,
                 ProgressGauge &gauge);

// "Add to Filter" on the current row: the entry of its "ID" cell is added to the main window's
// list and the whole list saved to the filter list file at path. The list is first replaced by
// the file's entries when the file exists. Nothing happens when currentRow names no item row or
// its "ID" cell is empty; the file is not written when the entry is there already. Returns
// whether the entry was added and saved.
//
// Throws Error("Cannot open file <path>") when the file exists but cannot be read (the list then
// stays as it was), and Error("Cannot create file <path>") when it cannot be written: the list
// then holds the new entry already and the file is as it was.
bool addToFilter(const world::ItemTable &table, int currentRow, FilterEntries &mainList,
                 const std::string &path);

} // namespace tessaplex::selection
