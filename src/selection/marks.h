// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tessaplex::world {
class ItemTable;
enum class Column : int;
} // namespace tessaplex::world

namespace tessaplex::selection {

// The mark operations on the item table. Rows are item rows (1 to rowCount() - 1); the heading
// row's mark is never touched. Only "YES" and "NO" are ever written.

// Insert / Delete: the row's mark becomes "YES" / "NO". Row 0 (no row selected) does nothing.
void setMark(world::ItemTable &table, int row);
void clearMark(world::ItemTable &table, int row);
// Double click: "YES" becomes "NO", anything else (an empty cell too) becomes "YES".
void toggleMark(world::ItemTable &table, int row);
// All / None: every item row.
void markAll(world::ItemTable &table);
void unmarkAll(world::ItemTable &table);
// All of / None of: every item row whose cell in column (Id or Block) equals reference byte for
// byte gets "YES" / "NO"; the others keep their marks.
void markAllOf(world::ItemTable &table, world::Column column, std::string_view reference);
void unmarkAllOf(world::ItemTable &table, world::Column column, std::string_view reference);

} // namespace tessaplex::selection
