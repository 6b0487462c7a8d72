// SPDX-License-Identifier: GPL-3.0-or-later
// "P=" as the server writes it on a chosen map: x,y[,z[,map]], each a decimal integer with a sign
// allowed; anything else, and items of other maps, are not listed.
#include "base/progressgauge.h"
#include "support/scriptcatalog.h"
#include "support/tabletext.h"
#include "world/analyse.h"
#include "world/itemtable.h"
#include "world/linelist.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace tessaplex;

namespace {

// The row of a one-item save with the given "P=" line ("" for none) analysed for map, or
// "(not listed)".
std::string listedRow(const std::string &position, std::optional<int> map) {
    std::string text = "[WORLDITEM 0eed]\r\n";
    if (!position.empty())
        text += "P=" + position + "\r\n";
    text += "\r\n";
    world::LineList lines;
    lines.setBytes(text);
    world::ItemTable table;
    ProgressGauge gauge;
    const auto catalog = test::catalogOf({});
    EXPECT_EQ(world::listItems(lines, {0, static_cast<std::int64_t>(lines.size())}, catalog, table,
                               gauge, map),
              world::AnalyseOutcome::Listed);
    return table.itemCount() == 0 ? "(not listed)" : test::rowText(table, 1, '|');
}

} // namespace

TEST(MapPosition, ListsTheItemsOfTheChosenMapAsTheServerWritesThem) {
    const struct {
        const char *position;
        std::optional<int> map;
        const char *row;
    } cases[] = {
        // X, Y, Z as written; BLOCK on the map: (x div 8) * (height div 8) + (y div 8).
        {"1434,1681", 0, "0|2|00eed|1434|1681|0|0||91858|NO"},
        {"1434,1681,-5", 0, "0|2|00eed|1434|1681|-5|0||91858|NO"},
        {"1434,1681,5,0", 0, "0|2|00eed|1434|1681|5|0||91858|NO"},
        {"1434,1681,5,1", 0, "(not listed)"},
        {"1434,1681,5,1", 1, "0|2|00eed|1434|1681|5|0||91858|NO"},
        {"2559,2047,0,3", 3, "0|2|00eed|2559|2047|0|0||81919|NO"},
        {"1447,1447,+7,4", 4, "0|2|00eed|1447|1447|+7|0||32760|NO"},
        {"9,1600,0,2", 2, "0|2|00eed|9|1600|0|0||400|NO"},
        {"-8,0,0,3", 3, "0|2|00eed|-8|0|0|0||4294967040|NO"},
        // Not of the server's form: left out, since PATCH could not place it.
        {"1434, 1681", 0, "(not listed)"},
        {"1,2,3,4,5", 4, "(not listed)"},
        {"1,,3", 0, "(not listed)"},
        {"1", 0, "(not listed)"},
        {"abc,1", 0, "(not listed)"},
        {"1,2,3,6", 0, "(not listed)"},
        {"1,2,3,-1", 0, "(not listed)"},
        {"1,2,3,", 0, "(not listed)"},
        // Without a "P=" the item is listed as always, its position cells empty.
        {"", 3, "0|1|00eed||||0|||NO"},
        // As written the value is cut at its first and last comma.
        {"1,2,3,4", std::nullopt, "0|2|00eed|1|2,3|4|0||0|NO"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(listedRow(c.position, c.map), c.row)
            << "P=" << c.position << " on map " << (c.map ? std::to_string(*c.map) : "as written");
}
