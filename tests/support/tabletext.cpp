// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/tabletext.h"

#include "world/itemtable.h"

namespace tessaplex::test {

std::string rowText(const world::ItemTable &table, int row, char separator) {
    std::string text;
    for (int column = 0; column < world::ColumnCount; ++column) {
        if (column)
            text.push_back(separator);
        table.appendCellText(text, static_cast<world::Column>(column), row);
    }
    return text;
}

std::string itemRowsText(const world::ItemTable &table, char separator) {
    std::string text;
    for (int row = 1; row < table.rowCount(); ++row)
        text += rowText(table, row, separator) + "\n";
    return text;
}

} // namespace tessaplex::test
