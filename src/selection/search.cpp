// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/search.h"

#include "selection/searchquery.h"
#include "world/itemtable.h"

namespace tessaplex::selection {

namespace {

std::optional<int> scanFrom(const world::ItemTable &table, const SearchQuery &query, int first) {
    if (!query.searches())
        return std::nullopt;
    for (int row = first < 1 ? 1 : first; row < table.rowCount(); ++row) {
        if (query.matches(table, row))
            return row;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> findRow(const world::ItemTable &table, const SearchQuery &query) {
    return scanFrom(table, query, 1);
}

std::optional<int> findNextRow(const world::ItemTable &table, const SearchQuery &query,
                               int selectedRow) {
    // The last possible row has no row after it; adding 1 would overflow.
    if (selectedRow >= table.rowCount() - 1)
        return std::nullopt;
    return scanFrom(table, query, selectedRow + 1);
}

} // namespace tessaplex::selection
