// SPDX-License-Identifier: GPL-3.0-or-later
// The TSV rows are written by their own fast path; they must be, byte for byte, the cell texts
// the grid shows, joined by TAB.
#include "world/itemtable.h"
#include "world/numberrules.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace tessaplex::world;

namespace {

std::string cellsJoined(const ItemTable &table, int row) {
    std::string line;
    for (int column = 0; column < ColumnCount; ++column) {
        if (column)
            line += '\t';
        line += table.cellText(static_cast<Column>(column), row);
    }
    return line + '\n';
}

void expectRowsMatchCells(const ItemTable &table) {
    std::string all;
    for (int row = 0; row < table.rowCount(); ++row) {
        std::string tsv = "prefix";
        table.appendTsvRow(tsv, row);
        EXPECT_EQ(tsv, "prefix" + cellsJoined(table, row)) << "row " << row;
        all += cellsJoined(table, row);
    }
    std::string written;
    table.writeTsv([&](std::string_view piece) { written += piece; });
    EXPECT_TRUE(written == all);
}

} // namespace

TEST(ItemTableTsv, RowsBeforeTheFirstAnalysisAreEmptyCells) {
    ItemTable table;
    expectRowsMatchCells(table);
    std::string tsv;
    table.appendTsvRow(tsv, 1);
    EXPECT_EQ(tsv, "\t\t\t\t\t\t\t\t\t\n");
}

TEST(ItemTableTsv, EveryKindOfCellMatchesItsText) {
    constexpr auto Min = std::numeric_limits<std::int32_t>::min();
    constexpr auto Max = std::numeric_limits<std::int32_t>::max();
    const std::string longText(300, 'L');
    const struct {
        std::int32_t start, end;
        std::uint32_t id;
        IdForm form;
        bool position;
        std::string x, y, z;
        std::uint32_t color;
        std::string attr;
    } items[] = {
        {0, 1, 0, IdForm::Lower, false, "", "", "", 0, ""},
        {5, 11, 0xf3c, IdForm::Lower, true, "1434", "1681", "0", 1152, "010"},
        {9, 99, 0xf3c, IdForm::Upper, true, "6143", "4095", "-128", 0xffffffffu, "08010"},
        {10, 100, 0x123456, IdForm::Lower, true, "-5", "2,3", "4", 9, "x"},
        {100, 1000, 0xffffffffu, IdForm::Upper, true, "", "", "0", 10, ""},
        {1000, 10000, 7, IdForm::Empty, true, "99999999", longText, longText, 99, longText},
        {Min, Max, 0x4000, IdForm::Lower, true, "1 2", "a", "", 100, "  "},
        {123456789, 987654321, 0x10000, IdForm::Lower, true, "8", "0", "0", 4294967, "010"},
    };
    ItemTable table;
    table.startAnalysis();
    for (const auto &item : items) {
        ItemFields fields;
        fields.startLine = item.start;
        fields.endLine = item.end;
        fields.id = item.id;
        fields.idForm = item.form;
        fields.hasPosition = item.position;
        fields.x = item.x;
        fields.y = item.y;
        fields.z = item.z;
        fields.color = item.color;
        fields.attr = item.attr;
        table.appendItem(fields);
    }
    // Both marks, as the selection commands leave them.
    table.setMark(2, Mark::Yes);
    table.setMark(5, Mark::Yes);
    expectRowsMatchCells(table);

    std::string tsv;
    table.appendTsvRow(tsv, 0);
    table.appendTsvRow(tsv, 2);
    EXPECT_EQ(tsv, "Startzeile\tEndZeile\tID\tX\tY\tZ\tCOLOR\tATTR\tBLOCK\tPATCH\n"
                   "5\t11\t00f3c\t1434\t1681\t0\t1152\t010\t91858\tYES\n");
}

// Rows compute the block of plain digits on their own; every text must give the block of the
// number rule.
TEST(ItemTableTsv, BlockOfEveryCoordinateTextFollowsTheNumberRule) {
    const char *texts[] = {"0",          "7",           "8",  "0123", "999999999", "1000000000",
                           "2147483647", "4294967295",  "-5", " 5",   "+5",        "5 ",
                           "$10",        "0x10",        "",   "abc",  "1,2",       "6143",
                           "4095",       "00000000008", "1e3"};
    ItemTable table;
    table.startAnalysis();
    for (const char *x : texts) {
        for (const char *y : texts) {
            ItemFields fields;
            fields.hasPosition = true;
            fields.x = x;
            fields.y = y;
            table.appendItem(fields);
            const int row = table.rowCount() - 1;
            ASSERT_EQ(table.block(row), blockIndex(x, y)) << "X '" << x << "', Y '" << y << "'";
        }
    }
}

// The whole table is written in pieces of about a MiB, a large one formatted in two halves at
// once; rows must come out whole and in order across the seams, also rows longer than a piece,
// in either half.
TEST(ItemTableTsv, WholeTableAcrossPieces) {
    ItemTable table;
    table.startAnalysis();
    const std::string huge(3u << 20, 'h');
    for (int i = 0; i < 120000; ++i) {
        ItemFields fields;
        fields.startLine = i * 10;
        fields.endLine = i * 10 + 9;
        fields.id = static_cast<std::uint32_t>(i);
        fields.hasPosition = true;
        fields.x = "1434";
        fields.y = i % 1000 == 0 ? std::string_view("a text too long for a row's own room") : "16";
        fields.z = "-12";
        fields.color = static_cast<std::uint32_t>(i) * 7919u;
        fields.attr = i == 20000 || i == 100000 ? std::string_view(huge) : "08010";
        table.appendItem(fields);
    }
    std::string all;
    for (int row = 0; row < table.rowCount(); ++row)
        all += cellsJoined(table, row);
    std::string written;
    std::size_t pieces = 0;
    table.writeTsv([&](std::string_view piece) {
        written += piece;
        ++pieces;
    });
    EXPECT_GT(pieces, 3u);
    EXPECT_TRUE(written == all);
}
