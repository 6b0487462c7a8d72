// SPDX-License-Identifier: GPL-3.0-or-later
#include "filtershard.h"
#include "support/runcli.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaplex::test;

namespace {

const char *const Area1000x500 = "X1=1000\r\nY1=500\r\nX2=1000\r\nY2=500\r\n";

} // namespace

// --filter marks as the Filter dialog's OK does with the stored list and area, in its place
// among the other mark options, and leaves qelmitem.txt as it was.
TEST(FilterOption, MarksByTheStoredListAndArea) {
    const struct {
        const char *list; // nullptr: no qelmitem.txt
        std::string settings;
        std::vector<std::string> marks;
        int selected;
    } cases[] = {
        {nullptr, "", {"--filter"}, 0},
        {"0eed", "", {"--filter"}, 3},
        {"0eed\r\n4eed\r\n0001\r\n", "", {"--filter"}, 5},
        {"0EED\need\n\n", "", {"--filter"}, 0},
        {"0eed\r\n0001\r\n", std::string(Area1000x500) + "FilterArea=1\r\n", {"--filter"}, 2},
        {"0eed\r\n0001\r\n", std::string(Area1000x500) + "FilterArea=0\r\n", {"--filter"}, 4},
        {"0eed", "X1=-1\r\nX2=-1\r\nY2=-1\r\nFilterArea=1\r\n", {"--filter"}, 0},
        {"0eed", "X1=6\r\nX2=-1\r\nY2=-1\r\nFilterArea=1\r\n", {"--filter"}, 2},
        {"0eed", "", {"--filter", "--unrow", "1"}, 2},
        {"0eed", "", {"--unrow", "1", "--filter"}, 3},
        {"0eed", "", {"--all", "--filter", "--filter"}, 6}, // never removes a mark
    };
    for (const auto &c : cases) {
        FilterShard shard;
        shard.writeSettings(c.settings);
        const std::string listPath = shard.dir.file("qelmitem.txt");
        if (c.list)
            writeFile(listPath, c.list);
        std::vector<std::string> args{"-C", shard.dir.path(), "info"};
        args.insert(args.end(), c.marks.begin(), c.marks.end());
        const ProcessResult run = runCli(args);
        const std::string what = testing::PrintToString(c.marks) + " with " + c.settings;
        EXPECT_EQ(run.exitCode, 0) << what << run.err;
        EXPECT_NE(run.out.find("Selected Items: " + std::to_string(c.selected) + "\n"),
                  std::string::npos)
            << what << '\n'
            << run.out;
        if (c.list)
            EXPECT_EQ(readFile(listPath), c.list) << what;
        else
            EXPECT_FALSE(exists(listPath)) << what;
    }
}

TEST(FilterOption, ReportsAListItCannotRead) {
    const FilterShard shard;
    std::filesystem::create_directory(shard.dir.file("qelmitem.txt"));
    const ProcessResult run = runCli({"-C", shard.dir.path(), "info", "--filter"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Cannot open file " + shard.dir.file("qelmitem.txt") + ".\n");
}
