// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filter.h"

#include "base/error.h"
#include "filtertables.h"
#include "support/recordinggauge.h"
#include "support/testsupport.h"
#include "world/numberrules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <random>

using namespace tessaplex;
using namespace tessaplex::selection;
using namespace tessaplex::test;
using namespace tessaplex::test::filtertables;
using world::IdForm;

namespace {

TestItem item(const char *attr, IdForm form = IdForm::Lower, const char *x = "0",
              const char *y = "0") {
    TestItem result;
    result.attr = attr;
    result.form = form;
    result.x = x;
    result.y = y;
    return result;
}

// Every entry against every row, one gauge step each: the loop the one-pass filter must match.
void filterPairByPair(world::ItemTable &table, const FilterEntries &entries, const FilterArea &area,
                      ProgressGauge &gauge) {
    const std::int32_t rows = table.rowCount() - 1;
    gauge.setProgress(0);
    gauge.setMinimum(0);
    gauge.setMaximum(static_cast<std::int32_t>(entries.size()) * rows);
    for (const std::string &entry : entries) {
        for (int row = 1; row <= rows; ++row) {
            gauge.advance(1);
            const auto x = static_cast<std::uint32_t>(world::decimalTextToInt(table.xText(row)));
            const auto y = static_cast<std::uint32_t>(world::decimalTextToInt(table.yText(row)));
            if (area.use && (x < static_cast<std::uint32_t>(area.x1) ||
                             x > static_cast<std::uint32_t>(area.x2) ||
                             y < static_cast<std::uint32_t>(area.y1) ||
                             y > static_cast<std::uint32_t>(area.y2)))
                continue;
            const std::string attr(table.attrText(row));
            if (table.idCell(row) == "0" + entry && (attr == "010" || attr == "08010"))
                table.setMark(row, world::Mark::Yes);
        }
    }
}

} // namespace

TEST(ApplyFilter, MarksByExactKeyAttributeAndUnsignedArea) {
    // Rows 1 to 9.
    const std::vector<TestItem> items = {
        item("010", IdForm::Lower, "1000", "500"),
        item("08010", IdForm::Lower, "1001", "500"),
        item("10"),
        item(""),
        item("010 "),
        item("010", IdForm::Upper), // "00EED"
        item("010", IdForm::Empty),
        item("010", IdForm::Lower, "-1", "-1"),
        item("010", IdForm::Lower, "$3e8", "0x1F4"),
    };
    const FilterArea everywhere{0, 0, -1, -1, true};
    const struct {
        FilterEntries entries;
        FilterArea area;
        std::vector<int> marked;
    } cases[] = {
        {{"0eed"}, {}, {1, 2, 8, 9}},
        {{"0EED"}, {}, {6}},            // only the catalog's upper-case ID text
        {{"eed", "00eed", ""}, {}, {}}, // unpadded, too long, empty
        {{}, {}, {}},
        {{"0eed"}, everywhere, {1, 2, 8, 9}},
        {{"0eed"}, {1000, 500, 1000, 500, true}, {1, 9}},
        {{"0eed"}, {1000, 500, 1000, 500, false}, {1, 2, 8, 9}},
        {{"0eed"}, {1001, 0, 1000, 1000, true}, {}},     // X1 above X2
        {{"0eed"}, {-1, 0, -1, -1, true}, {8}},          // X1 = -1 lets only X -1 in
        {{"0eed"}, {1000, 0, -1, 500, true}, {1, 2, 9}}, // X2 = -1: no upper limit
    };
    for (const auto &c : cases) {
        auto table = makeTable(items);
        RecordingGauge gauge;
        applyFilter(table, c.entries, c.area, gauge);
        EXPECT_EQ(markedRows(table), c.marked) << testing::PrintToString(c.entries);
    }
}

TEST(ApplyFilter, NeverRemovesAMarkAndIsIdempotent) {
    std::vector<TestItem> items(4);
    items[1].marked = true; // by hand, and matching
    items[2].marked = true; // by hand, not matching
    items[2].attr = "";
    items[3].attr = "10";
    auto table = makeTable(items);
    RecordingGauge gauge;
    for (int round = 0; round < 2; ++round) {
        applyFilter(table, {"0eed"}, {}, gauge);
        EXPECT_EQ(markedRows(table), (std::vector<int>{1, 2, 3}));
    }
}

TEST(ApplyFilter, AgreesWithThePairByPairLoopOnRandomTables) {
    std::mt19937 random(20240601);
    auto pick = [&random](const auto &choices) {
        return choices[std::uniform_int_distribution<std::size_t>(0,
                                                                  std::size(choices) - 1)(random)];
    };
    const char *attrs[] = {"010", "010", "08010", "10", "", "8010", "010 "};
    const char *coordinates[] = {"0", "1", "5", "7", "-1", "0x5", "$7", "x", "", " 5", "5 "};
    const char *entryPool[] = {"0000", "0001", "0002", "000a", "000A", "0010", "1", "", "00001"};
    const IdForm forms[] = {IdForm::Lower, IdForm::Lower, IdForm::Upper, IdForm::Empty};
    const std::int32_t bounds[] = {0, 1, 3, 5, 7, -1, -5};

    for (int round = 0; round < 300; ++round) {
        std::vector<TestItem> items(std::uniform_int_distribution<std::size_t>(0, 40)(random));
        for (TestItem &item : items) {
            item.id = std::uniform_int_distribution<std::uint32_t>(0, 0x12)(random);
            item.form = pick(forms);
            item.attr = pick(attrs);
            item.hasPosition = random() % 8 != 0;
            item.x = pick(coordinates);
            item.y = pick(coordinates);
            item.marked = random() % 5 == 0;
        }
        FilterEntries entries(std::uniform_int_distribution<std::size_t>(0, 8)(random));
        for (std::string &entry : entries)
            entry = pick(entryPool);
        const FilterArea area{pick(bounds), pick(bounds), pick(bounds), pick(bounds),
                              random() % 2 == 0};

        auto fastTable = makeTable(items);
        auto slowTable = makeTable(items);
        RecordingGauge fast, slow;
        for (RecordingGauge *gauge : {&fast, &slow})
            gauge->setProgress(37); // the maximum stays 100 when nothing is to be compared
        applyFilter(fastTable, entries, area, fast);
        filterPairByPair(slowTable, entries, area, slow);
        ASSERT_EQ(markedRows(fastTable), markedRows(slowTable)) << "round " << round;
        ASSERT_EQ(fast.minimum(), slow.minimum()) << "round " << round;
        ASSERT_EQ(fast.maximum(), slow.maximum()) << "round " << round;
        ASSERT_EQ(fast.progress(), slow.progress()) << "round " << round;
    }
}

TEST(ApplyFilter, GaugeMovesWithTheRows) {
    auto table = makeTable(std::vector<TestItem>(1000));
    RecordingGauge gauge;
    applyFilter(table, {"0eed", "0001", "0002"}, {}, gauge);
    std::vector<int> everyPercent;
    for (int percent = 1; percent <= 100; ++percent)
        everyPercent.push_back(percent);
    EXPECT_EQ(gauge.percents, everyPercent);
    EXPECT_EQ(gauge.progress(), 3000);
}

TEST(ApplyFilter, ScalesTheGaugeWhenTheStepsExceedItsRange) {
    // 21,475 entries over 100,000 rows are 2,147,500,000 steps, just beyond INT32_MAX.
    std::vector<TestItem> items(100000);
    for (TestItem &item : items)
        item.id = 0x8000; // in no entry
    items.back().id = 21474;
    auto table = makeTable(items);
    FilterEntries entries;
    for (std::uint32_t id = 0; id < 21475; ++id)
        entries.push_back(world::idText(id).substr(1));
    RecordingGauge gauge;
    applyFilter(table, entries, {}, gauge);
    EXPECT_EQ(gauge.maximum(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(gauge.progress(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(gauge.percents.size(), 100u);
    EXPECT_EQ(markedRows(table), std::vector<int>{100000});
}

TEST(AddToFilter, AddsTheCurrentRowsIdOnceToTheFile) {
    TempDir dir;
    const std::string path = dir.file("qelmitem.txt");
    // Rows 1 "00eed", 2 "00EED", 3 empty ID.
    const auto table =
        makeTable({item("010"), item("010", IdForm::Upper), item("", IdForm::Empty)});
    FilterEntries mainList{"0777"};
    for (const int row : {0, 3, 4, -1})
        EXPECT_FALSE(addToFilter(table, row, mainList, path)) << row;
    EXPECT_FALSE(test::exists(path));

    // Without a file the main window's own list is saved.
    EXPECT_TRUE(addToFilter(table, 1, mainList, path));
    EXPECT_FALSE(addToFilter(table, 2, mainList, path));
    EXPECT_EQ(test::readFile(path), "0777\r\n0eed\r\n");

    // A file that holds the ID already is the new list, left exactly as it was.
    test::writeFile(path, "0001\n0eed");
    EXPECT_FALSE(addToFilter(table, 1, mainList, path));
    EXPECT_EQ(test::readFile(path), "0001\n0eed");
    EXPECT_EQ(mainList, (FilterEntries{"0001", "0eed"}));
}

TEST(AddToFilter, KeepsTheNewEntryWhenTheFileCannotBeWritten) {
    TempDir dir;
    const std::string path = dir.file("gone/qelmitem.txt");
    const auto table = makeTable({item("010")});
    FilterEntries mainList;
    EXPECT_THROW(addToFilter(table, 1, mainList, path), Error);
    EXPECT_EQ(mainList, FilterEntries{"0eed"});
}
