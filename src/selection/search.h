// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace tessaplex::world {
class ItemTable;
}

namespace tessaplex::selection {

class SearchQuery;

// "Find": the first item row, from row 1 down, that the query matches; nothing when none does or
// the query searches nothing. The shell selects the row found (a row already selected stays as
// it is) and scrolls it into view, leaving the keyboard focus where it was.
[[nodiscard]] std::optional<int> findRow(const world::ItemTable &table, const SearchQuery &query);

// "Find Next": the same, from the row after selectedRow down to the last row, without wrapping
// around; so once the last match is selected it finds nothing more. A selectedRow below 1 starts
// from row 1.
[[nodiscard]] std::optional<int> findNextRow(const world::ItemTable &table,
                                             const SearchQuery &query, int selectedRow);

} // namespace tessaplex::selection
