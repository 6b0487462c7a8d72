// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessaplex {
class ProgressGauge;
}

namespace tessaplex::world {

class ItemNameCatalog;
class ItemTable;
class LineList;

// Whether the table was filled, or nothing was to be listed and everything stayed as it was.
enum class AnalyseOutcome { Listed, NothingToList };

// The line window [start, start + count) of the world file, from the "Startline" and "Lines"
// texts read by the decimal rule.
struct LineWindow {
    std::int64_t start = 0;
    std::int64_t count = 0;
    // The window reaches to the last line, whatever count says: it counts as many lines as the
    // list has.
    bool toTheEnd = false;
    [[nodiscard]] std::int64_t end() const { return start + count; }
};
[[nodiscard]] LineWindow lineWindow(std::string_view startText, std::string_view linesText);

// Lists the item sections of the window into the table. A window with a negative start or count,
// or one that reaches beyond the last line, lists nothing and leaves table and gauge untouched.
//
// A section is a "[WORLDITEM" header line (more than 11 characters) and the first empty line
// after it, both inside the window, with no other header between them. It is listed unless its
// ID cannot be resolved through the catalog or it has a "LINK=", "CONT=" or "NAME=" line.
//
// With a map number (0 to 5) a "P=" value is read as the server writes it: two to four decimal
// integers, a sign allowed, separated by commas: x, y, z (0 when absent) and the map (0 when
// absent). Items of another map, and items whose "P=" is not of that form, are not listed; X, Y
// and Z hold x, y and z as written and BLOCK the block of (x, y) on that map. Without a map number
// "P=" is cut at its first and last comma as it stands.
AnalyseOutcome listItems(const LineList &lines, LineWindow window, const ItemNameCatalog &catalog,
                         ItemTable &table, ProgressGauge &gauge,
                         std::optional<int> map = std::nullopt);

} // namespace tessaplex::world
