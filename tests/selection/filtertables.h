// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "world/itemtable.h"

#include <cstdint>
#include <string>
#include <vector>

// Its own namespace: other test folders have helpers of the same names.
namespace tessaplex::test::filtertables {

// One listed item, as the filter and search tests need it.
struct TestItem {
    std::uint32_t id = 0xeed;
    world::IdForm form = world::IdForm::Lower;
    std::string attr = "010";
    bool hasPosition = true;
    std::string x = "0";
    std::string y = "0";
    bool marked = false;
};

// An analysed table holding the items in order, rows 1 to items.size().
inline world::ItemTable makeTable(const std::vector<TestItem> &items) {
    world::ItemTable table;
    table.startAnalysis();
    int line = 0;
    for (const TestItem &item : items) {
        world::ItemFields fields;
        fields.startLine = line;
        fields.endLine = line + 3;
        line += 4;
        fields.id = item.id;
        fields.idForm = item.form;
        fields.hasPosition = item.hasPosition;
        fields.x = item.x;
        fields.y = item.y;
        fields.z = "0";
        fields.attr = item.attr;
        table.appendItem(fields);
        if (item.marked)
            table.setMark(table.rowCount() - 1, world::Mark::Yes);
    }
    return table;
}

// The rows marked "YES", in order.
inline std::vector<int> markedRows(const world::ItemTable &table) {
    std::vector<int> rows;
    for (int row = 1; row < table.rowCount(); ++row) {
        if (table.isMarked(row))
            rows.push_back(row);
    }
    return rows;
}

} // namespace tessaplex::test::filtertables
