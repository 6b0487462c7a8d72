// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/tabletext.h"
#include "world/itemtable.h"

#include <gtest/gtest.h>

#include <string>

using namespace tessaplex::world;
using tessaplex::test::itemRowsText;
using tessaplex::test::rowText;

namespace {

TEST(ItemTable, StartsWithTwoEmptyRows) {
    const ItemTable table;
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.itemCount(), 0);
    EXPECT_EQ(rowText(table, 0, '|'), "|||||||||");
    EXPECT_EQ(rowText(table, 1, '|'), "|||||||||");
    EXPECT_FALSE(table.isMarked(1));
}

// The compact rows must give back exactly the texts they were given, whatever their length:
// texts of up to 7 characters live in the row, longer ones aside.
TEST(ItemTable, GivesBackEveryCellAsListed) {
    const std::string longText(300, 'q');
    const struct {
        ItemFields fields;
        const char *row;
    } cases[] = {
        {{0, 5, 3900, IdForm::Lower, true, "1434", "1681", "0", 1152, "010"},
         "0|5|00f3c|1434|1681|0|1152|010|91858|NO"},
        {{7, 9, 3900, IdForm::Upper, false, {}, {}, {}, 0, {}}, "7|9|00F3C||||0|||NO"},
        {{10, 11, 0, IdForm::Empty, false, {}, {}, {}, 0, {}}, "10|11|||||0|||NO"},
        {{12, 13, 0xFFFFFFFFu, IdForm::Lower, true, "", "", "0", 0xFFFFFFFFu, ""},
         "12|13|ffffffff|||0|4294967295||0|NO"},
        {{14, 15, 0x123456, IdForm::Lower, true, "1234567", "12345678", "-127", 0, "0123456"},
         "14|15|123456|1234567|12345678|-127|0|0123456|80555049|NO"},
        {{2147483646, 2147483647, 1, IdForm::Lower, true, "-8", "2,3", "", 0, "08010 "},
         "2147483646|2147483647|00001|-8|2,3||0|08010 |4294966784|NO"},
    };
    ItemTable table;
    table.startAnalysis();
    std::string expected;
    for (const auto &c : cases) {
        table.appendItem(c.fields);
        expected += std::string(c.row) + "\n";
    }
    ItemFields withLongTexts{20, 21, 1, IdForm::Lower, true, longText, "\t", "", 0, longText};
    table.appendItem(withLongTexts);
    expected += "20|21|00001|" + longText + "|\t||0|" + longText + "|0|NO\n";
    EXPECT_EQ(itemRowsText(table, '|'), expected);
    EXPECT_EQ(rowText(table, 0, '|'), "Startzeile|EndZeile|ID|X|Y|Z|COLOR|ATTR|BLOCK|PATCH");
    EXPECT_EQ(table.idValue(3), 0u) << "an empty ID cell";
    EXPECT_EQ(table.idValue(1), 3900u);
}

// Texts that were stored aside belong to the analysis that stored them: a new analysis starts
// afresh, and its rows never show the texts of the old one.
TEST(ItemTable, ANewAnalysisForgetsTheOldRows) {
    ItemTable table;
    table.startAnalysis();
    for (int i = 0; i < 1000; ++i) {
        const std::string attr = "old attribute " + std::to_string(i);
        table.appendItem({i, i + 1, 1, IdForm::Lower, false, {}, {}, {}, 0, attr});
    }
    table.setMark(5, Mark::Yes);
    table.startAnalysis();
    EXPECT_EQ(table.rowCount(), 1);
    for (int i = 0; i < 3; ++i) {
        const std::string attr = "new attribute " + std::to_string(i);
        table.appendItem({i, i + 1, 2, IdForm::Lower, false, {}, {}, {}, 0, attr});
    }
    EXPECT_EQ(itemRowsText(table, '|'), "0|1|00002||||0|new attribute 0||NO\n"
                                        "1|2|00002||||0|new attribute 1||NO\n"
                                        "2|3|00002||||0|new attribute 2||NO\n");
}

TEST(ItemTable, MarksShowAsYesAndNo) {
    ItemTable table;
    table.startAnalysis();
    table.appendItem({0, 1, 1, IdForm::Lower, false, {}, {}, {}, 0, {}});
    table.appendItem({2, 3, 1, IdForm::Lower, false, {}, {}, {}, 0, {}});
    table.setMark(2, Mark::Yes);
    EXPECT_EQ(table.cellText(Column::Patch, 1), "NO");
    EXPECT_EQ(table.cellText(Column::Patch, 2), "YES");
    EXPECT_FALSE(table.isMarked(1));
    EXPECT_TRUE(table.isMarked(2));
}

} // namespace
