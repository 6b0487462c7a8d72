// SPDX-License-Identifier: GPL-3.0-or-later
#include "filtershard.h"
#include "support/runcli.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaplex::test;

namespace {

// The row find prints, or 0 when it prints nothing and exits with 1.
int found(const FilterShard &shard, std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", shard.dir.path(), "find"});
    const ProcessResult run = runCli(args);
    if (run.exitCode == 1 && run.out.empty())
        return 0;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    return std::stoi(run.out);
}

} // namespace

TEST(FindCommand, FindsByIdAndByPosition) {
    const FilterShard shard;
    const struct {
        std::vector<std::string> args;
        int row;
    } cases[] = {
        {{"--id", "0x0eed"}, 1},
        {{"--id", "3821"}, 1},
        {{"--id", "20205"}, 1},
        {{"--id", "$eed"}, 1},
        {{"--id", "0x4eed"}, 3},
        {{"--id", "0X4eed"}, 1},
        {{"--id", "01"}, 6},
        {{"--id", "5"}, 0}, // one character searches nothing
        {{"--id", ""}, 0},
        {{"--id", "0x99"}, 0},
        {{"--pos", "1000,"}, 1},
        {{"--pos", ",500"}, 1},
        {{"--pos", "12,500"}, 3},
        {{"--pos", "1000,7"}, 2},
        {{"--pos", "$3e8,0x7"}, 2},
        {{"--pos", "99,99"}, 0},
        {{"--pos", ","}, 0},  // both fields empty
        {{"--pos", "x,"}, 0}, // an unreadable field looks for 0
        {{"--start", "4", "--lines", "8", "--id", "0x4eed"}, 2},
        {{"--start", "4", "--lines", "8", "--pos", "5,5"}, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(found(shard, c.args), c.row) << testing::PrintToString(c.args);
}

TEST(FindCommand, FromActsAsFindNextWithoutWrapping) {
    const FilterShard shard;
    const struct {
        const char *query;
        const char *value;
        const char *from;
        int row;
    } cases[] = {
        {"--id", "0x0eed", "0", 1},  {"--id", "0x0eed", "1", 2}, {"--id", "0x0eed", "2", 4},
        {"--id", "0x0eed", "4", 5},  {"--id", "0x0eed", "5", 0}, {"--id", "0x0eed", "6", 0},
        {"--id", "0x0eed", "99", 0}, {"--pos", ",500", "1", 3},  {"--pos", ",500", "3", 4},
        {"--pos", ",500", "4", 6},   {"--pos", ",500", "6", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(found(shard, {c.query, c.value, "--from", c.from}), c.row)
            << c.query << ' ' << c.value << " --from " << c.from;
}

TEST(FindCommand, FindsNothingWithoutAnAnalysedTable) {
    FilterShard shard;
    std::filesystem::remove(shard.dir.file("world.scp"));
    // The blank rows before any analysis hold no item, though an empty ID cell reads as 0.
    EXPECT_EQ(found(shard, {"--id", "00"}), 0);
    EXPECT_EQ(found(shard, {"--pos", "0,0"}), 0);
}

TEST(FindCommand, RefusesAMalformedCommandLine) {
    const FilterShard shard;
    const std::vector<std::string> cases[] = {
        {},                             // no query
        {"--id", "01", "--pos", "1,1"}, // two queries
        {"--pos", "1000"},              // no comma
        {"--id", "01", "--from", "-1"}, // no such row
        {"--id", "01", "--from", "first"},
    };
    for (const auto &args : cases) {
        std::vector<std::string> all{"-C", shard.dir.path(), "find"};
        all.insert(all.end(), args.begin(), args.end());
        const ProcessResult run = runCli(all);
        EXPECT_NE(run.exitCode, 0) << testing::PrintToString(args);
        EXPECT_NE(run.exitCode, 1) << testing::PrintToString(args) << ": taken for not found";
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_FALSE(run.err.empty()) << testing::PrintToString(args);
    }
}
