// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filter.h"

#include "filtertables.h"
#include "support/testsupport.h"
#include "world/error.h"
#include "world/numberrules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <random>

using namespace tessaplex;
using namespace tessaplex::selection;
using tessaplex::test::makeTable;
using tessaplex::test::markedRows;
using tessaplex::test::RecordingGauge;
using tessaplex::test::TempDir;
using tessaplex::test::TestItem;
using world::IdForm;

namespace {

std::vector<int> filtered(const std::vector<TestItem> &items, const FilterEntries &entries,
                          const FilterArea &area = {}) {
    auto table = makeTable(items);
    RecordingGauge gauge;
    applyFilter(table, entries, area, gauge);
    return markedRows(table);
}

TestItem at(const char *x, const char *y, std::uint32_t id = 0xeed) {
    TestItem item;
    item.id = id;
    item.x = x;
    item.y = y;
    return item;
}

// Every entry against every row, one gauge step each: the loop the fast filter must agree with.
void filterPairByPair(world::ItemTable &table, const FilterEntries &entries, const FilterArea &area,
                      ProgressGauge &gauge) {
    const std::int32_t rows = table.rowCount() - 1;
    gauge.setProgress(0);
    gauge.setMinimum(0);
    gauge.setMaximum(static_cast<std::int32_t>(entries.size()) * rows);
    for (const std::string &entry : entries) {
        const std::string key = "0" + entry;
        for (int row = 1; row <= rows; ++row) {
            gauge.advance(1);
            if (area.use) {
                const auto x =
                    static_cast<std::uint32_t>(world::decimalTextToInt(table.xText(row)));
                const auto y =
                    static_cast<std::uint32_t>(world::decimalTextToInt(table.yText(row)));
                if (x < static_cast<std::uint32_t>(area.x1) ||
                    x > static_cast<std::uint32_t>(area.x2) ||
                    y < static_cast<std::uint32_t>(area.y1) ||
                    y > static_cast<std::uint32_t>(area.y2))
                    continue;
            }
            const std::string attr(table.attrText(row));
            if (table.idCell(row) == key && (attr == "010" || attr == "08010"))
                table.setMark(row, world::Mark::Yes);
        }
    }
}

} // namespace

TEST(ApplyFilter, TakesOnlyTheTwoAttributeTexts) {
    const struct {
        const char *attr;
        bool marked;
    } cases[] = {
        {"010", true},   {"08010", true}, {"", false},     {"0", false},    {"10", false},
        {"8010", false}, {"010 ", false}, {" 010", false}, {"0010", false}, {"080100", false},
    };
    for (const auto &c : cases) {
        TestItem item;
        item.attr = c.attr;
        EXPECT_EQ(filtered({item}, {"0eed"}).size(), c.marked ? 1u : 0u) << '"' << c.attr << '"';
    }
}

TEST(ApplyFilter, ComparesTheKeyWithTheIdCellExactly) {
    const struct {
        const char *entry;
        std::uint32_t id;
        IdForm form;
        bool marked;
    } cases[] = {
        {"0eed", 0xeed, IdForm::Lower, true},
        {"0EED", 0xeed, IdForm::Lower, false}, // hand-edited upper case
        {"eed", 0xeed, IdForm::Lower, false},  // hand-edited, not padded
        {"00eed", 0xeed, IdForm::Lower, false},
        {"0eed", 0xeed, IdForm::Upper, false}, // the catalog's upper-case ID text
        {"0EED", 0xeed, IdForm::Upper, true},
        {"0020", 0x20, IdForm::Upper, true},      // no letters: both forms read the same
        {"10000", 0x10000, IdForm::Lower, false}, // five digits make a six-digit key
        {"0000", 0, IdForm::Empty, false},
        {"", 0, IdForm::Empty, false},
        {"0eed ", 0xeed, IdForm::Lower, false},
    };
    for (const auto &c : cases) {
        TestItem item;
        item.id = c.id;
        item.form = c.form;
        EXPECT_EQ(filtered({item}, {c.entry}).size(), c.marked ? 1u : 0u)
            << '"' << c.entry << "\" against " << makeTable({item}).idCell(1);
    }
}

TEST(ApplyFilter, RestrictsToTheAreaWithUnsignedBounds) {
    const std::vector<TestItem> items = {
        at("1000", "500"), at("999", "500"),    at("1001", "500"),
        at("1000", "499"), at("1000", "501"),   at("0", "0"),
        at("-1", "-1"),    at("$3e8", "0x1F4"), at("1000 ", "500"), // unreadable: counts as 0
    };
    const struct {
        const char *name;
        FilterArea area;
        std::vector<int> marked;
    } cases[] = {
        {"not in use", {1000, 500, 1000, 500, false}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"one point", {1000, 500, 1000, 500, true}, {1, 8}},
        {"X1 above X2", {1001, 0, 1000, 1000, true}, {}},
        {"X1 = -1", {-1, 0, -1, 1000, true}, {}},
        {"X2 = -1 no upper X", {1000, 500, -1, 500, true}, {1, 3, 8}},
        {"everything", {0, 0, -1, -1, true}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"origin", {0, 0, 0, 0, true}, {6}},
        {"only -1", {-1, -1, -1, -1, true}, {7}},
        {"both ends in", {999, 499, 1001, 501, true}, {1, 2, 3, 4, 5, 8}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(filtered(items, {"0eed"}, c.area), c.marked) << c.name;
}

TEST(ApplyFilter, ItemWithoutPositionIsAtTheOrigin) {
    TestItem item;
    item.hasPosition = false;
    EXPECT_EQ(filtered({item}, {"0eed"}, {0, 0, 0, 0, true}), std::vector<int>{1});
    EXPECT_TRUE(filtered({item}, {"0eed"}, {1, 0, 5, 5, true}).empty());
}

TEST(ApplyFilter, NeverRemovesAMarkAndIsIdempotent) {
    std::vector<TestItem> items(6);
    items[1].marked = true; // marked by hand, matches
    items[2].marked = true; // marked by hand, no match
    items[2].id = 1;
    items[3].attr = "10";
    items[4].marked = true;
    items[4].attr = "";
    auto table = makeTable(items);
    RecordingGauge gauge;
    applyFilter(table, {"0eed"}, {}, gauge);
    const std::vector<int> once = markedRows(table);
    EXPECT_EQ(once, (std::vector<int>{1, 2, 3, 5, 6}));
    applyFilter(table, {"0eed"}, {}, gauge);
    EXPECT_EQ(markedRows(table), once);
    applyFilter(table, {}, {}, gauge);
    EXPECT_EQ(markedRows(table), once);
    for (int row = 1; row < table.rowCount(); ++row)
        EXPECT_NE(table.mark(row), world::Mark::Empty);
}

TEST(ApplyFilter, BeforeAnyAnalysisMarksNothing) {
    world::ItemTable table;
    RecordingGauge gauge;
    applyFilter(table, {"0eed", "", "0000"}, {}, gauge);
    EXPECT_EQ(table.mark(1), world::Mark::Empty);
    EXPECT_EQ(gauge.maximum(), 3);
    EXPECT_EQ(gauge.progress(), 3);
}

TEST(ApplyFilter, SetsTheGaugeAsThePairByPairLoopDoes) {
    const std::vector<TestItem> items(7);
    const struct {
        const char *name;
        std::vector<TestItem> items;
        FilterEntries entries;
    } cases[] = {
        {"entries and rows", items, {"0eed", "0001", "0eed"}},
        {"no entry", items, {}},
        {"no item row", {}, {"0eed"}},
    };
    for (const auto &c : cases) {
        for (const std::int32_t startMaximum : {100, 5}) {
            auto fastTable = makeTable(c.items);
            auto slowTable = makeTable(c.items);
            RecordingGauge fast, slow;
            for (ProgressGauge *gauge :
                 {static_cast<ProgressGauge *>(&fast), static_cast<ProgressGauge *>(&slow)}) {
                gauge->setMaximum(startMaximum);
                gauge->setProgress(3);
            }
            applyFilter(fastTable, c.entries, {}, fast);
            filterPairByPair(slowTable, c.entries, {}, slow);
            EXPECT_EQ(fast.minimum(), slow.minimum()) << c.name;
            EXPECT_EQ(fast.maximum(), slow.maximum()) << c.name;
            EXPECT_EQ(fast.progress(), slow.progress()) << c.name;
            EXPECT_EQ(fast.percent(), slow.percent()) << c.name;
            EXPECT_EQ(markedRows(fastTable), markedRows(slowTable)) << c.name;
        }
    }
}

TEST(ApplyFilter, AgreesWithThePairByPairLoopOnRandomTables) {
    std::mt19937 random(20240601);
    auto pick = [&random](const auto &choices) {
        std::uniform_int_distribution<std::size_t> index(0, std::size(choices) - 1);
        return choices[index(random)];
    };
    const char *attrs[] = {"010", "010", "08010", "10", "", "0", "8010", "010 "};
    const char *coordinates[] = {"0", "1", "5", "7", "-1", "0x5", "$7", "x", "", " 5", "5 "};
    const char *entryPool[] = {"0000", "0001", "0002", "0003",  "000a",  "000A", "000b",
                               "0010", "1",    "",     "00001", "0001 ", "zz"};
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
        applyFilter(fastTable, entries, area, fast);
        filterPairByPair(slowTable, entries, area, slow);
        ASSERT_EQ(markedRows(fastTable), markedRows(slowTable)) << "round " << round;
        ASSERT_EQ(fast.minimum(), slow.minimum()) << "round " << round;
        ASSERT_EQ(fast.maximum(), slow.maximum()) << "round " << round;
        ASSERT_EQ(fast.progress(), slow.progress()) << "round " << round;
    }
}

TEST(ApplyFilter, GaugeMovesWithTheRows) {
    const std::vector<TestItem> items(1000);
    auto table = makeTable(items);
    RecordingGauge gauge;
    applyFilter(table, {"0eed", "0001", "0002"}, {}, gauge);
    // Every percentage from 1 to 100 is drawn on the way, in order.
    std::vector<int> expected;
    for (int percent = 1; percent <= 100; ++percent)
        expected.push_back(percent);
    EXPECT_EQ(gauge.percents, expected);
    EXPECT_EQ(gauge.maximum(), 3000);
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
    gauge.setProgress(50);
    gauge.percents.clear();
    applyFilter(table, entries, {}, gauge);
    EXPECT_EQ(gauge.minimum(), 0);
    EXPECT_EQ(gauge.maximum(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(gauge.progress(), std::numeric_limits<std::int32_t>::max());
    ASSERT_FALSE(gauge.percents.empty());
    EXPECT_EQ(gauge.percents.front(), 0); // reset from 50 first
    EXPECT_EQ(gauge.percents.back(), 100);
    EXPECT_EQ(gauge.percents.size(), 101u);
    EXPECT_EQ(markedRows(table), std::vector<int>{100000});
}

class AddToFilter : public testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("qelmitem.txt");
    world::ItemTable table = makeTable([] {
        std::vector<TestItem> items(3);
        items[1].form = IdForm::Upper;
        items[2].form = IdForm::Empty;
        return items;
    }());
    FilterEntries mainList;
};

TEST_F(AddToFilter, AddsTheCurrentRowsIdOnce) {
    EXPECT_TRUE(addToFilter(table, 1, mainList, path));
    EXPECT_FALSE(addToFilter(table, 1, mainList, path));
    EXPECT_FALSE(addToFilter(table, 2, mainList, path)); // "00EED" is the same entry
    EXPECT_EQ(test::readFile(path), "0eed\r\n");
    EXPECT_EQ(mainList, FilterEntries{"0eed"});
}

TEST_F(AddToFilter, DoesNothingWithoutAnItemOrAnId) {
    for (const int row : {0, 3, 4, -1}) {
        EXPECT_FALSE(addToFilter(table, row, mainList, path)) << row;
        EXPECT_FALSE(test::exists(path)) << row;
        EXPECT_TRUE(mainList.empty()) << row;
    }
}

TEST_F(AddToFilter, StartsFromTheFileWhenItExists) {
    // A file that holds the ID already is left exactly as it is, line end and all.
    test::writeFile(path, "0001\n0eed");
    mainList = {"0777"};
    EXPECT_FALSE(addToFilter(table, 1, mainList, path));
    EXPECT_EQ(test::readFile(path), "0001\n0eed");
    EXPECT_EQ(mainList, (FilterEntries{"0001", "0eed"}));

    test::writeFile(path, "0001\n");
    EXPECT_TRUE(addToFilter(table, 1, mainList, path));
    EXPECT_EQ(test::readFile(path), "0001\r\n0eed\r\n");
}

TEST_F(AddToFilter, KeepsItsOwnListWhenTheFileIsMissing) {
    mainList = {"0777"};
    EXPECT_TRUE(addToFilter(table, 1, mainList, path));
    EXPECT_EQ(test::readFile(path), "0777\r\n0eed\r\n");
}

TEST_F(AddToFilter, ReportsAFileItCannotReadOrWrite) {
    const std::string inMissingFolder = dir.file("gone/qelmitem.txt");
    try {
        addToFilter(table, 1, mainList, inMissingFolder);
        ADD_FAILURE() << "no error";
    } catch (const Error &e) {
        EXPECT_STREQ(e.what(), ("Cannot create file " + inMissingFolder).c_str());
    }
    EXPECT_EQ(mainList, FilterEntries{"0eed"}); // the list holds the entry already

    std::filesystem::create_directory(path);
    try {
        addToFilter(table, 1, mainList, path);
        ADD_FAILURE() << "no error";
    } catch (const Error &e) {
        EXPECT_STREQ(e.what(), ("Cannot open file " + path).c_str());
    }
}
