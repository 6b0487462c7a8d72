// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filter.h"

#include "base/progressgauge.h"
#include "selection/filterentry.h"
#include "world/itemtable.h"

#include <cstdint>
#include <limits>
#include <unordered_set>

namespace tessaplex::selection {

using world::ItemTable;

namespace {

bool hasFilterAttribute(std::string_view attr) {
    for (std::string_view accepted : FilterAttributes) {
        if (attr == accepted)
            return true;
    }
    return false;
}

} // namespace

void applyFilter(ItemTable &table, const FilterEntries &entries, const FilterArea &area,
                 ProgressGauge &gauge) {
    constexpr std::int64_t GaugeLimit = std::numeric_limits<std::int32_t>::max();
    const auto rows = static_cast<std::int64_t>(table.rowCount() - 1);
    // Both factors stay far below 2^32, so the product fits.
    const auto steps = static_cast<std::int64_t>(entries.size()) * rows;
    const bool scaled = steps > GaugeLimit;
    gauge.setProgress(0);
    gauge.setMinimum(0);
    gauge.setMaximum(static_cast<std::int32_t>(scaled ? GaugeLimit : steps));
    if (steps == 0)
        return;

    // Every pair of entry and row asks the same question of the row's ID cell: is it one of the
    // keys? One hash look-up per row answers it for all entries at once.
    std::unordered_set<std::string> keys;
    keys.reserve(entries.size());
    for (const std::string &entry : entries)
        keys.insert("0" + entry);

    const auto stepsPerRow = static_cast<std::int32_t>(scaled ? 0 : entries.size());
    std::int64_t shown = 0;
    std::string cell;
    for (int row = 1; row <= rows; ++row) {
        if (!table.isMarked(row) && hasFilterAttribute(table.attrText(row)) &&
            area.admits(table.xText(row), table.yText(row))) {
            cell.clear();
            table.appendCellText(cell, world::Column::Id, row);
            if (keys.count(cell) != 0)
                table.setMark(row, world::Mark::Yes);
        }
        if (!scaled) {
            gauge.advance(stepsPerRow);
        } else {
            // row x INT32_MAX stays below 2^62.
            const std::int64_t target = row * GaugeLimit / rows;
            gauge.advance(static_cast<std::int32_t>(target - shown));
            shown = target;
        }
    }
}

bool addToFilter(const ItemTable &table, int currentRow, FilterEntries &mainList,
                 const std::string &path) {
    // A row beyond the table (one that a later analysis dropped) names no item either.
    if (currentRow < 1 || currentRow >= table.rowCount())
        return false;
    std::optional<std::string> entry = filterEntryFromIdCell(table.idCell(currentRow));
    if (!entry)
        return false;
    reloadFilterList(path, mainList);
    if (!appendFilterEntry(mainList, std::move(*entry)))
        return false;
    writeFilterListFile(path, mainList);
    return true;
}

} // namespace tessaplex::selection
