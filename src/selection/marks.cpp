// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/marks.h"

#include "world/itemtable.h"

#include <string>

namespace tessaplex::selection {

using world::ItemTable;
using world::Mark;

namespace {

bool isItemRow(const ItemTable &table, int row) {
    return row >= 1 && row < table.rowCount();
}

void markWhere(ItemTable &table, world::Column column, std::string_view reference, Mark mark) {
    std::string cell;
    for (int row = 1; row < table.rowCount(); ++row) {
        cell.clear();
        table.appendCellText(cell, column, row);
        if (cell == reference)
            table.setMark(row, mark);
    }
}

} // namespace

void setMark(ItemTable &table, int row) {
    if (isItemRow(table, row))
        table.setMark(row, Mark::Yes);
}

void clearMark(ItemTable &table, int row) {
    if (isItemRow(table, row))
        table.setMark(row, Mark::No);
}

void toggleMark(ItemTable &table, int row) {
    if (isItemRow(table, row))
        table.setMark(row, table.isMarked(row) ? Mark::No : Mark::Yes);
}

void markAll(ItemTable &table) {
    for (int row = 1; row < table.rowCount(); ++row)
        table.setMark(row, Mark::Yes);
}

void unmarkAll(ItemTable &table) {
    for (int row = 1; row < table.rowCount(); ++row)
        table.setMark(row, Mark::No);
}

void markAllOf(ItemTable &table, world::Column column, std::string_view reference) {
    markWhere(table, column, reference, Mark::Yes);
}

void unmarkAllOf(ItemTable &table, world::Column column, std::string_view reference) {
    markWhere(table, column, reference, Mark::No);
}

} // namespace tessaplex::selection
