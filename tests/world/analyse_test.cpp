// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/recordinggauge.h"
#include "support/scriptcatalog.h"
#include "support/tabletext.h"
#include "world/analyse.h"
#include "world/itemnamecatalog.h"
#include "world/itemtable.h"
#include "world/linelist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tessaplex;
using namespace tessaplex::world;
using tessaplex::test::catalogOf;
using tessaplex::test::itemRowsText;
using tessaplex::test::RecordingGauge;
using tessaplex::test::rowText;
using namespace std::string_literals;

namespace {

// Def names every case may use: i_example is defined twice (the first one counts) and
// i_second is a second DEFNAME under one ITEMDEF, so it stands for an empty ID.
constexpr const char *Scripts = "[ITEMDEF 0f3c]\n"
                                "DEFNAME=i_example\n"
                                "[ITEMDEF 0abc]\n"
                                "DEFNAME=i_first\n"
                                "DEFNAME=i_second\n"
                                "[ITEMDEF 0f3d]\n"
                                "DEFNAME=i_example\n";

// The world lines joined with the given line end (and a final one).
std::string joined(const std::vector<std::string> &lines, std::string_view end) {
    std::string text;
    for (const std::string &line : lines)
        text += line + std::string(end);
    return text;
}

struct AnalyseCase {
    const char *name;
    std::vector<std::string> world;
    std::int64_t start;
    std::int64_t count; // -1: every line of the world
    // The item rows, cells joined by "|"; the heading row is checked separately.
    const char *rows;
};

// Each case is run with LF, CR LF and CR line ends; all three must give the same rows.
const AnalyseCase cases[] = {
    {"a complete section",
     {"[WORLDITEM 0f3c]", "SERIAL=040001", "P=1434,1681,0", "COLOR=0480", "ATTR=010", ""},
     0,
     -1,
     "0|5|00f3c|1434|1681|0|1152|010|91858|NO\n"},
    {"a window whose last line is the section's empty line",
     {"[WORLDITEM 0f3c]", "P=1434,1681,0", ""},
     0,
     3,
     "0|2|00f3c|1434|1681|0|0||91858|NO\n"},
    {"a window ending one line before the empty line",
     {"[WORLDITEM 0f3c]", "P=1,1,0", ""},
     0,
     2,
     ""},
    {"a window of no lines", {"[WORLDITEM 0f3c]", ""}, 0, 0, ""},
    {"a window starting inside a section",
     {"[WORLDITEM 0001]", "P=1,1,0", "", "[WORLDITEM 0002]", "P=2,2,0", ""},
     1,
     5,
     "3|5|00002|2|2|0|0||0|NO\n"},
    {"a window starting on the header line",
     {"SERIAL=1", "[WORLDITEM 0002]", "P=2,2,0", ""},
     1,
     3,
     "1|3|00002|2|2|0|0||0|NO\n"},
    {"a second header replaces an open one",
     {"[WORLDITEM 0001]", "P=1,1,0", "[WORLDITEM 0002]", "P=9,9,0", ""},
     0,
     -1,
     "2|4|00002|9|9|0|0||513|NO\n"},
    {"CONT=, LINK= and NAME= leave items out and the next item takes the row",
     {"[WORLDITEM 0001]", "CONT=040000001", "P=1,1,0", "", "[WORLDITEM 0002]", "P=1,1,0",
      "LINK=04000002", "", "[WORLDITEM 0003]", "NAME=a sign", "", "[WORLDITEM 0004]", "P=16,8,5",
      ""},
     0,
     -1,
     "11|13|00004|16|8|5|0||1025|NO\n"},
    {"hex headers",
     {"[WORLDITEM 04000]", "", "[WORLDITEM 0F3C]", "", "[WORLDITEM 0123456]", "", "[WORLDITEM 0]",
      ""},
     0,
     -1,
     "0|1|04000||||0|||NO\n"
     "2|3|00f3c||||0|||NO\n"
     "4|5|123456||||0|||NO\n"
     "6|7|00000||||0|||NO\n"},
    {"def-name headers go through the catalog",
     {"[WORLDITEM i_example]", "", "[WORLDITEM i_unknown]", "P=1,1,0", "", "[WORLDITEM I_Example]",
      "", "[WORLDITEM i_second]", "", "[WORLDITEM i_first]", ""},
     0,
     -1,
     "0|1|00F3C||||0|||NO\n"
     "5|6|00F3C||||0|||NO\n"
     "7|8|||||0|||NO\n"
     "9|10|00ABC||||0|||NO\n"},
    {"DISPID= replaces the header's ID or leaves the item out",
     {"[WORLDITEM 0f3c]",
      "DISPID=0f3d",
      "",
      "[WORLDITEM 0f3c]",
      "DISPID=i_example",
      "",
      "[WORLDITEM i_example]",
      "DISPID=0001",
      "",
      "[WORLDITEM 0f3c]",
      "DISPID=i_unknown",
      "",
      "[WORLDITEM 0f3c]",
      "DISPID=",
      "",
      "[WORLDITEM i_unknown]",
      "DISPID=0abc",
      "",
      "[WORLDITEM 0f3c]",
      "DISPID=0001",
      "DISPID=0002",
      ""},
     0,
     -1,
     "0|2|00f3d||||0|||NO\n"
     "3|5|00F3C||||0|||NO\n"
     "6|8|00001||||0|||NO\n"
     "18|21|00002||||0|||NO\n"},
    {"colours read as hex and the last COLOR= counts",
     {"[WORLDITEM 0001]", "COLOR=0480", "", "[WORLDITEM 0002]", "COLOR=ffffffff", "",
      "[WORLDITEM 0003]", "COLOR=0x21", "", "[WORLDITEM 0004]", "COLOR=01", "COLOR=02", ""},
     0,
     -1,
     "0|2|00001||||1152|||NO\n"
     "3|5|00002||||4294967295|||NO\n"
     "6|8|00003||||33|||NO\n"
     "9|12|00004||||2|||NO\n"},
    {"attribute texts are taken as they stand",
     {"[WORLDITEM 0001]", "ATTR=08010 ", "", "[WORLDITEM 0002]", "ATTR=", "", "[WORLDITEM 0003]",
      "ATTR=0123456789abcdef0123", ""},
     0,
     -1,
     "0|2|00001||||0|08010 ||NO\n"
     "3|5|00002||||0|||NO\n"
     "6|8|00003||||0|0123456789abcdef0123||NO\n"},
    {"the position rule",
     {"[WORLDITEM 0001]",
      "P=1434,1681",
      "",
      "[WORLDITEM 0002]",
      "P=1,2,3,4",
      "",
      "[WORLDITEM 0003]",
      "P=5",
      "",
      "[WORLDITEM 0004]",
      "P=1,2,",
      "",
      "[WORLDITEM 0005]",
      "P=-8,0,0",
      "",
      "[WORLDITEM 0006]",
      "P=",
      "",
      "[WORLDITEM 0007]",
      "P=1,1,1",
      "P=800,16,-5",
      "",
      "[WORLDITEM 0008]",
      "P=1500,1000,10",
      "p=1,1,1",
      " P=1,1,1",
      "",
      "[WORLDITEM 0009]",
      "P=0x20,$10,0",
      ""},
     0,
     -1,
     "0|2|00001|1434|1681|0|0||91858|NO\n"
     "3|5|00002|1|2,3|4|0||0|NO\n"
     "6|8|00003|5||0|0||0|NO\n"
     "9|11|00004|1|2||0||0|NO\n"
     "12|14|00005|-8|0|0|0||4294966784|NO\n"
     "15|17|00006|||0|0||0|NO\n"
     "18|21|00007|800|16|-5|0||51202|NO\n"
     "22|26|00008|1500|1000|10|0||95869|NO\n"
     "27|29|00009|0x20|$10|0|0||2050|NO\n"},
    {"lines that are no headers",
     {"[WORLDITEM]", "P=1,1,0", "", "[worlditem 0001]", "", " [WORLDITEM 0002]", "",
      "[WORLDITEMS 0003]", "", "[WORLDITEMX0004]", ""},
     0,
     -1,
     "9|10|00004||||0|||NO\n"},
    {"the header's last character is dropped whatever it is",
     {"[WORLDITEM 0f3c", "", "[WORLDITEM 0f3c] ", ""},
     0,
     -1,
     "0|1|000f3||||0|||NO\n"
     "2|3|0f3c0||||0|||NO\n"},
    {"a header with an empty ID text is left out",
     {"[WORLDITEM ]", "P=1,1,0", "", "[WORLDITEM 0002]", ""},
     0,
     -1,
     "3|4|00002||||0|||NO\n"},
    {"lines outside item sections are ignored",
     {"[WORLDCHAR c_man]", "P=1,1,0", "", "[EOF]", "P=2,2,0", "", "[WORLDITEM 0003]", ""},
     0,
     -1,
     "6|7|00003||||0|||NO\n"},
    {"another section's header inside an item section does not end it",
     {"[WORLDITEM 0001]", "P=1,1,0", "[WORLDCHAR c_man]", "P=16,16,0", ""},
     0,
     -1,
     "0|4|00001|16|16|0|0||1026|NO\n"},
    {"a section without its empty line is not listed",
     {"[WORLDITEM 0001]", "", "[WORLDITEM 0002]", "P=1,1,0"},
     0,
     -1,
     "0|1|00001||||0|||NO\n"},
    {"blank lines are no empty lines",
     {"[WORLDITEM 0001]", " ", "P=1,1,0", ""},
     0,
     -1,
     "0|3|00001|1|1|0|0||0|NO\n"},
};

TEST(Analyse, ListsTheSectionsOfTheWindow) {
    const ItemNameCatalog catalog = catalogOf({Scripts});
    for (const AnalyseCase &c : cases) {
        for (const char *end : {"\n", "\r\n", "\r"}) {
            SCOPED_TRACE(std::string(c.name) + (end[0] == '\n' ? " (LF)"
                                                : end[1]       ? " (CR LF)"
                                                               : " (CR)"));
            LineList lines;
            lines.setBytes(joined(c.world, end));
            ASSERT_EQ(lines.size(), c.world.size());
            ItemTable table;
            RecordingGauge gauge;
            const LineWindow window{c.start, c.count < 0 ? static_cast<std::int64_t>(lines.size())
                                                         : c.count};
            ASSERT_EQ(listItems(lines, window, catalog, table, gauge), AnalyseOutcome::Listed);
            EXPECT_EQ(itemRowsText(table, '|'), c.rows);
            EXPECT_EQ(rowText(table, 0, '|'),
                      "Startzeile|EndZeile|ID|X|Y|Z|COLOR|ATTR|BLOCK|PATCH");
            EXPECT_EQ(gauge.progress(), window.count == 0 ? 0 : window.count);
        }
    }
}

// Windows that the command refuses leave everything as the previous analysis left it.
TEST(Analyse, RefusesWindowsOutsideTheFile) {
    const ItemNameCatalog catalog = catalogOf({Scripts});
    LineList lines;
    lines.setBytes("[WORLDITEM 0001]\nP=1,1,0\n\n[WORLDITEM 0002]\n\n");
    ItemTable table;
    RecordingGauge gauge;
    ASSERT_EQ(listItems(lines, {0, 5}, catalog, table, gauge), AnalyseOutcome::Listed);
    const std::string before = itemRowsText(table);
    ASSERT_EQ(table.rowCount(), 3);
    gauge.setMaximum(50);
    gauge.setProgress(7);

    const struct {
        std::int64_t start, count;
    } refused[] = {{0, 6}, {5, 1}, {6, 0}, {-1, 3}, {0, -1}, {-5, 10}, {3, -3}, {2147483647, 1}};
    for (const auto &w : refused) {
        SCOPED_TRACE("window " + std::to_string(w.start) + ", " + std::to_string(w.count));
        EXPECT_EQ(listItems(lines, {w.start, w.count}, catalog, table, gauge),
                  AnalyseOutcome::NothingToList);
        EXPECT_EQ(itemRowsText(table), before);
        EXPECT_EQ(gauge.maximum(), 50);
        EXPECT_EQ(gauge.progress(), 7);
    }
    // The last line of the file is the window's last line: still inside.
    EXPECT_EQ(listItems(lines, {5, 0}, catalog, table, gauge), AnalyseOutcome::Listed);
    EXPECT_EQ(table.rowCount(), 1);
}

TEST(Analyse, WindowFieldsAreReadByTheDecimalRule) {
    const struct {
        const char *start, *lines;
        std::int64_t expectedStart, expectedCount;
    } fields[] = {
        {"0", "0", 0, 0},
        {"10", "20", 10, 20},
        {" 5", "$10", 5, 16},
        {"12abc", "7 ", 0, 0},
        {"", "", 0, 0},
        {"-3", "-4", -3, -4},
        {"2147483647", "2147483647", 2147483647, 2147483647},
    };
    for (const auto &f : fields) {
        const LineWindow window = lineWindow(f.start, f.lines);
        EXPECT_EQ(window.start, f.expectedStart) << f.start;
        EXPECT_EQ(window.count, f.expectedCount) << f.lines;
        // The end of two large fields must not wrap round into a window inside the file.
        EXPECT_EQ(window.end(), f.expectedStart + f.expectedCount);
    }
}

// A later analysis replaces every row of an earlier one, also when it lists fewer items, and
// the gauge ends at the window's size.
TEST(Analyse, ALaterAnalysisReplacesEveryRow) {
    const ItemNameCatalog catalog = catalogOf({Scripts});
    LineList lines;
    lines.setBytes("[WORLDITEM 0001]\n\n[WORLDITEM 0002]\nATTR=0123456789\n\n[WORLDITEM 0003]\n\n");
    ItemTable table;
    RecordingGauge gauge;
    ASSERT_EQ(listItems(lines, {0, 7}, catalog, table, gauge), AnalyseOutcome::Listed);
    ASSERT_EQ(table.rowCount(), 4);
    table.setMark(2, Mark::Yes);
    EXPECT_EQ(gauge.maximum(), 7);
    EXPECT_EQ(gauge.progress(), 7);
    EXPECT_EQ(gauge.percents.back(), 100);

    lines.setBytes("SERIAL=1\n[WORLDITEM 0abc]\nATTR=abcdefghijkl\n\n");
    ASSERT_EQ(listItems(lines, {0, 4}, catalog, table, gauge), AnalyseOutcome::Listed);
    EXPECT_EQ(itemRowsText(table, '|'), "1|3|00abc||||0|abcdefghijkl||NO\n");
    EXPECT_EQ(gauge.maximum(), 4);
    EXPECT_EQ(gauge.progress(), 4);

    // An empty window keeps the previous maximum (0 is no maximum) and lists nothing.
    ASSERT_EQ(listItems(lines, {0, 0}, catalog, table, gauge), AnalyseOutcome::Listed);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(gauge.maximum(), 4);
    EXPECT_EQ(gauge.progress(), 0);
}

// A NUL byte ends the text: sections behind it are not seen.
TEST(Analyse, StopsAtANulByte) {
    const ItemNameCatalog catalog = catalogOf({Scripts});
    LineList lines;
    lines.setBytes("[WORLDITEM 0001]\n\n[WORLDITEM 0002]\nP=1,1\0,1\n\n[WORLDITEM 0003]\n\n"s);
    ASSERT_EQ(lines.size(), 4u);
    ItemTable table;
    RecordingGauge gauge;
    ASSERT_EQ(listItems(lines, {0, 4}, catalog, table, gauge), AnalyseOutcome::Listed);
    EXPECT_EQ(itemRowsText(table, '|'), "0|1|00001||||0|||NO\n");
}

// Many items in one window: every row keeps its own cells, long and short texts mixed.
TEST(Analyse, KeepsEveryRowOfALargeWindowApart) {
    const ItemNameCatalog catalog = catalogOf({Scripts});
    std::string world;
    std::string expected;
    constexpr int Items = 20000;
    for (int i = 0; i < Items; ++i) {
        const std::string attr = i % 3 == 0 ? "0" + std::to_string(i) + "_long_attribute" : "010";
        const bool leftOut = i % 7 == 3;
        world += "[WORLDITEM i_example]\nP=" + std::to_string(i % 6144) + "," +
                 std::to_string(i % 4096) + ",0\nATTR=" + attr + "\n" +
                 (leftOut ? "CONT=01\n" : "") + "\n";
        if (!leftOut) {
            const int line = 4 * i + (i + 3) / 7;
            const std::uint32_t block =
                static_cast<std::uint32_t>((i % 6144) / 8 * 512 + (i % 4096) / 8);
            expected += std::to_string(line) + "|" + std::to_string(line + 3) + "|00F3C|" +
                        std::to_string(i % 6144) + "|" + std::to_string(i % 4096) + "|0|0|" + attr +
                        "|" + std::to_string(block) + "|NO\n";
        }
    }
    LineList lines;
    lines.setBytes(world);
    ItemTable table;
    RecordingGauge gauge;
    ASSERT_EQ(listItems(lines, {0, static_cast<std::int64_t>(lines.size())}, catalog, table, gauge),
              AnalyseOutcome::Listed);
    EXPECT_EQ(itemRowsText(table, '|'), expected);
}

} // namespace
