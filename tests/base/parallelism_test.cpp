// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a world file, Analyse and the TSV each have a two-thread way for large inputs, and the
// reading a fast kernel. Forced onto either way at any size, each must give what the plain rules
// give, on inputs small enough to have every awkward edge as on one large enough to be shared out
// of itself.
#include "base/parallelism.h"
#include "base/progressgauge.h"
#include "support/referencelines.h"
#include "support/referencelisting.h"
#include "support/testsupport.h"
#include "world/analyse.h"
#include "world/itemnamecatalog.h"
#include "world/itemtable.h"
#include "world/linelist.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace tessaplex;
using namespace tessaplex::world;
using namespace std::string_literals;

namespace {

struct Way {
    Parallelism mode;
    Kernels kernels;
    const char *name;
};

// Every thread mode, the one-thread fallback with the plain kernels among them.
constexpr Way ways[] = {
    {Parallelism::Automatic, Kernels::Automatic, "automatic"},
    {Parallelism::OneThread, Kernels::Automatic, "one thread"},
    {Parallelism::OneThread, Kernels::Plain, "one thread, plain kernels"},
    {Parallelism::AlwaysTwoThreads, Kernels::Automatic, "two threads"},
    {Parallelism::AlwaysTwoThreads, Kernels::Plain, "two threads, plain kernels"},
};

// With TESSAPLEX_TEST_PARALLELISM=two-threads in the environment every test of the run takes
// the two-thread ways where it does not choose a mode itself, so that a run under
// ThreadSanitizer has the threads really run.
class ForcedParallelism : public ::testing::Environment {
public:
    void SetUp() override {
        const char *forced = std::getenv("TESSAPLEX_TEST_PARALLELISM");
        if (forced && std::string_view(forced) == "two-threads")
            setParallelism(Parallelism::AlwaysTwoThreads);
    }
};
[[maybe_unused]] ::testing::Environment *const forcedParallelism =
    ::testing::AddGlobalTestEnvironment(new ForcedParallelism);

// count sections, some listed, some left out, some with texts too long to be kept inline, each
// line ended by lineEnd; every seventh lacks its empty line.
std::string sections(int count, const std::string &lineEnd) {
    std::string text;
    for (int k = 0; k < count; ++k) {
        text += (k % 5 == 3 ? "[WORLDITEM i_unknown]" : "[WORLDITEM 0f3c]") + lineEnd;
        text += "P=" + std::to_string(k % 6144) + "," + std::to_string(k % 97) + ",5" + lineEnd;
        text += (k % 4 == 0 ? "ATTR=a long attribute text " + std::to_string(k) : "ATTR=010"s) +
                lineEnd;
        if (k % 9 == 2)
            text += "CONT=01" + lineEnd;
        if (k % 7 != 6)
            text += lineEnd;
    }
    return text;
}

// A CR LF whose CR is the last byte of the first 100-byte piece a file is read in.
std::string lineEndAcrossPieces() {
    std::string text = "[WORLDITEM 0f3c]\r\nATTR=";
    text.append(99 - text.size(), 'a');
    return text + "\r\nP=1,2,3\r\n\r\n" + sections(40, "\r");
}

std::string largeWorld() {
    std::string text;
    while (text.size() < (8u << 20) + 4096)
        text += sections(1000, "\r\n");
    return text;
}

struct Case {
    const char *name;
    std::string bytes;
};

const std::vector<Case> &cases() {
    static const std::vector<Case> all = {
        {"empty", ""},
        {"one line without end", "[WORLDITEM 0f3c]"},
        {"one empty line", "\r\n"},
        {"no empty line", "[WORLDITEM 0f3c]\r\nP=1,2,3\r\n"},
        {"one item", "[WORLDITEM 0f3c]\nP=1,2,3\n\n"},
        {"empty lines only", "\n\n\r\r\n\n"},
        {"items, CR alone", sections(30, "\r")},
        {"items, LF, last section open", sections(20, "\n") + "[WORLDITEM 0eed]\nP=1,1\n"},
        {"line end across pieces", lineEndAcrossPieces()},
        {"NUL byte in a section", sections(10, "\n") + "P=\0"s + sections(10, "\n")},
        {"large", largeWorld()},
    };
    return all;
}

} // namespace

TEST(Parallelism, EveryModeReadsListsAndWritesAsThePlainRules) {
    ItemNameCatalog catalog;
    test::TempDir dir;
    const std::string path = dir.file("world.scp");
    for (const Case &c : cases()) {
        test::writeFile(path, c.bytes);
        const std::vector<std::string> expectedLines = test::referenceLines(c.bytes);
        LineList plain;
        plain.setBytes(c.bytes);
        const std::size_t count = plain.size();
        // The whole file, and a window that starts and ends inside it.
        const std::pair<std::size_t, std::size_t> windows[] = {
            {0, count}, {count > 2 ? 1 : 0, count > 2 ? count - 2 : 0}};
        std::string expectedTsv[2];
        for (int w = 0; w < 2; ++w)
            expectedTsv[w] = test::referenceListing(plain, windows[w].first,
                                                    windows[w].first + windows[w].second, catalog);

        for (const Way &way : ways) {
            const FastPathScope scope(way.mode, way.kernels);
            SCOPED_TRACE(std::string(c.name) + ", " + way.name);
            LineList lines;
            lines.readFile(path);
            ASSERT_EQ(lines.bytes(), c.bytes);
            ASSERT_TRUE(test::linesOf(lines) == expectedLines);
            for (int w = 0; w < 2; ++w) {
                ItemTable table;
                ProgressGauge gauge;
                ASSERT_EQ(listItems(lines,
                                    {static_cast<std::int64_t>(windows[w].first),
                                     static_cast<std::int64_t>(windows[w].second)},
                                    catalog, table, gauge),
                          AnalyseOutcome::Listed);
                EXPECT_EQ(gauge.progress(), static_cast<std::int32_t>(windows[w].second));
                std::string tsv;
                table.writeTsv([&](std::string_view piece) { tsv += piece; });
                EXPECT_TRUE(tsv == expectedTsv[w]) << "window " << w;
                EXPECT_TRUE(test::tsvOfCells(table) == expectedTsv[w]) << "window " << w;
            }
        }
    }
}

// A table never analysed has two rows of empty cells; its TSV is the same either way.
TEST(Parallelism, TableBeforeAnalysisWritesTheSameTsv) {
    const ItemTable table;
    std::string expected;
    for (const Parallelism mode : {Parallelism::OneThread, Parallelism::AlwaysTwoThreads}) {
        const FastPathScope scope(mode, Kernels::Automatic);
        std::string tsv;
        table.writeTsv([&](std::string_view piece) { tsv += piece; });
        if (expected.empty())
            expected = tsv;
        EXPECT_EQ(tsv, expected);
        EXPECT_EQ(tsv, test::tsvOfCells(table));
    }
}
