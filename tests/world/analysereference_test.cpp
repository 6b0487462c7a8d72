// SPDX-License-Identifier: GPL-3.0-or-later
// Analyse gathers the key lines of a section without looking at them one by one; on random
// worlds it must list exactly what the listing rule applied line by line lists.
#include "base/parallelism.h"
#include "base/progressgauge.h"
#include "support/recordinggauge.h"
#include "support/referencelines.h"
#include "support/referencelisting.h"
#include "support/scriptcatalog.h"
#include "world/analyse.h"
#include "world/itemnamecatalog.h"
#include "world/itemtable.h"
#include "world/linelist.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tessaplex;
using namespace tessaplex::world;
using tessaplex::test::referenceListing;

namespace {

// Lines of every kind the rules tell apart, and near misses of them: the first six are headers,
// the lines from the sixteenth on are keys and other lines of a section.
const char *const Vocabulary[] = {
    "[WORLDITEM 0f3c]",
    "[WORLDITEM 04000]",
    "[WORLDITEM i_known]",
    "[WORLDITEM I_KNOWN]",
    "[WORLDITEM i_empty]",
    "[WORLDITEM i_unknown]",
    "[WORLDITEM ]",
    "[WORLDITEM 0]",
    "[WORLDITEMS]",
    "[WORLDITEM 1]",
    "[WORLDCHAR c_man]",
    "[EOF]",
    "[",
    "",
    "",
    "SERIAL=040001",
    "DISPID=0f3d",
    "DISPID=i_known",
    "DISPID=i_unknown",
    "DISPID=",
    "DISPID",
    "COLOR=0480",
    "COLOR=",
    "COLOR=zz",
    "COLORS=1",
    "CONT=01",
    "CONT",
    "CONTX=1",
    "LINK=02",
    "LINK",
    "NAME=a name",
    "NAME",
    "NAMES=x",
    "ATTR=010",
    "ATTR=08010",
    "ATTR=",
    "ATTR",
    "P=1434,1681,0",
    "P=1,2,3,4",
    "P=5,6",
    "P=7",
    "P=",
    "P",
    "p=1,2,3",
    " P=1,2,3",
    "PP=1,2",
    "MORE1=0",
    "TIMER=5",
    "D",
    "C",
    "L",
    "N",
    "A",
    "DISPID=0f3e\tx",
    "\t",
    " ",
};

} // namespace

TEST(AnalyseReference, RandomWorldsListAsTheRuleLineByLine) {
    const ItemNameCatalog catalog = test::catalogOf(
        {"[ITEMDEF 0f3c]\nDEFNAME=i_known\n[ITEMDEF 0eed]\nDEFNAME=I_EMPTY\nDEFNAME=i_empty\n"});

    std::mt19937 random(4711);
    int listed = 0;
    const std::size_t words = sizeof Vocabulary / sizeof Vocabulary[0];
    const char *const ends[] = {"\n", "\r\n", "\r"};
    for (int round = 0; round < 10000; ++round) {
        // Mostly well-formed sections (a resolvable header, some key lines, an empty line),
        // mixed with lines of any kind.
        std::string text;
        const std::size_t chunks = random() % 12;
        const char *end = ends[round % 3];
        for (std::size_t i = 0; i < chunks; ++i) {
            if (random() % 5 == 0) {
                text += Vocabulary[random() % words];
                text += end;
                continue;
            }
            text += Vocabulary[random() % 6];
            text += end;
            for (std::size_t k = random() % 6; k > 0; --k) {
                text += Vocabulary[15 + random() % (words - 15)];
                text += end;
            }
            if (random() % 8 != 0)
                text += end;
        }
        LineList lines;
        lines.setBytes(text);
        const std::size_t total = lines.size();
        const std::size_t start = total ? random() % (total + 1) : 0;
        const std::size_t end_ = start + (total > start ? random() % (total - start + 1) : 0);

        ItemTable table;
        ProgressGauge gauge;
        const auto outcome = listItems(
            lines, {static_cast<std::int64_t>(start), static_cast<std::int64_t>(end_ - start)},
            catalog, table, gauge);
        ASSERT_EQ(outcome, AnalyseOutcome::Listed);
        std::string tsv;
        table.writeTsv([&](std::string_view piece) { tsv += piece; });
        ASSERT_EQ(tsv, referenceListing(lines, start, end_, catalog))
            << "round " << round << ", window " << start << " to " << end_ << ", world:\n"
            << text;
        ASSERT_EQ(gauge.progress(), static_cast<std::int32_t>(end_ - start));
        listed += table.itemCount();

        // Every line from the first, with the lines not yet counted: one pass lists them and
        // counts them, on one thread or in stretches on two.
        for (const Parallelism mode : {Parallelism::OneThread, Parallelism::AlwaysTwoThreads}) {
            const FastPathScope scope(mode, Kernels::Automatic);
            LineList whole;
            whole.setBytes(text +
                           (round % 4 == 0 ? std::string("\0[WORLDITEM 0f3c]\n\n", 19) : ""));
            ItemTable all;
            LineWindow window;
            window.toTheEnd = true;
            ASSERT_EQ(listItems(whole, window, catalog, all, gauge), AnalyseOutcome::Listed);
            std::string allTsv;
            all.writeTsv([&](std::string_view piece) { allTsv += piece; });
            ASSERT_EQ(allTsv, referenceListing(lines, 0, total, catalog)) << "round " << round;
            ASSERT_EQ(test::linesOf(whole), test::linesOf(lines)) << "round " << round;
            ASSERT_EQ(gauge.progress(), gauge.maximum());
        }
    }
    // The worlds must list items often enough for the comparison to mean something.
    EXPECT_GT(listed, 3000);
}

// A window of many lines is listed in two halves at once; the rows, their order, the long texts
// kept aside and every step of the gauge must be what one pass gives.
TEST(AnalyseReference, LargeWindowsListAsOnePass) {
    const ItemNameCatalog catalog = test::catalogOf({"[ITEMDEF 0f3c]\nDEFNAME=i_known\n"});

    std::mt19937 random(99);
    std::string text;
    while (text.size() < (6u << 20)) {
        text += random() % 2 ? "[WORLDITEM i_known]\r\n" : "[WORLDITEM 0eed]\r\n";
        text += "SERIAL=04000" + std::to_string(random() % 100000) + "\r\n";
        // Texts longer than a row keeps inline, in both halves.
        if (random() % 7 == 0)
            text += "ATTR=a long attribute text " + std::to_string(random()) + "\r\n";
        else
            text += "ATTR=010\r\n";
        if (random() % 5 == 0)
            text += "CONT=01\r\n";
        text += "P=" + std::to_string(random() % 6144) + "," + std::to_string(random() % 4096) +
                (random() % 3 ? ",5" : ",-12,long z text") + "\r\n";
        if (random() % 50 != 0)
            text += "\r\n";
    }
    LineList lines;
    lines.setBytes(text);
    ASSERT_GT(lines.size(), 400000u);

    const std::size_t windows[][2] = {{0, lines.size()}, {3, lines.size() - 10}, {100000, 250000}};
    for (const auto &w : windows) {
        const std::size_t start = w[0], end = w[0] + w[1];
        ItemTable table;
        test::RecordingGauge gauge;
        ASSERT_EQ(listItems(lines,
                            {static_cast<std::int64_t>(start), static_cast<std::int64_t>(w[1])},
                            catalog, table, gauge),
                  AnalyseOutcome::Listed);
        std::string tsv;
        table.writeTsv([&](std::string_view piece) { tsv += piece; });
        EXPECT_TRUE(tsv == referenceListing(lines, start, end, catalog)) << "window from " << start;
        EXPECT_GT(table.itemCount(), 10000);
        std::vector<int> every;
        for (int p = 1; p <= 100; ++p)
            every.push_back(p);
        EXPECT_EQ(gauge.percents, every) << "window from " << start;
        EXPECT_EQ(gauge.progress(), static_cast<std::int32_t>(w[1]));
    }

    // The whole text in stretches: the same rows, and the lines counted as one cut counts them.
    LineList whole;
    whole.setBytes(text);
    ItemTable table;
    test::RecordingGauge gauge;
    LineWindow window;
    window.toTheEnd = true;
    ASSERT_EQ(listItems(whole, window, catalog, table, gauge), AnalyseOutcome::Listed);
    std::string tsv;
    table.writeTsv([&](std::string_view piece) { tsv += piece; });
    EXPECT_TRUE(tsv == referenceListing(lines, 0, lines.size(), catalog));
    ASSERT_EQ(whole.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); i += 997)
        ASSERT_EQ(whole.line(i), lines.line(i)) << "line " << i;
    EXPECT_EQ(gauge.percents.back(), 100);
}
