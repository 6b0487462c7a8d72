// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>

namespace tessaplex {
class ProgressGauge;
}

namespace tessaplex::world {

class ItemTable;
class LineList;

// Lists the lines [from, to) into table, starting with no section open; advances gauge over
// them when there is one.
using ListRange =
    std::function<void(std::size_t from, std::size_t to, ItemTable &table, ProgressGauge *gauge)>;

// Lists the lines [start, end) into table, whose analysis has started, on two threads when the
// parallelism switch calls for it at that many lines: listRange runs on pieces cut right after
// empty lines, where no section is open, and the table and the gauge end up as one pass of
// listRange over all the lines leaves them.
//
// Returns false, having listed nothing and left the gauge alone, when the lines are to be listed
// in one pass instead: too few lines, too few pieces, or no second thread to be had.
[[nodiscard]] bool listOnTwoThreads(const LineList &lines, std::size_t start, std::size_t end,
                                    ItemTable &table, ProgressGauge &gauge,
                                    const ListRange &listRange);

} // namespace tessaplex::world
