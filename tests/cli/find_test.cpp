// SPDX-License-Identifier: GPL-3.0-or-later
#include "filtershard.h"
#include "support/runcli.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaplex::test;

TEST(FindCommand, PrintsTheRowFoundOrNothing) {
    FilterShard shard;
    const struct {
        std::vector<std::string> args;
        const char *out; // empty: nothing found, exit code 1
    } cases[] = {
        {{"--id", "0x0eed"}, "1\n"},
        {{"--id", "20205"}, "1\n"},
        {{"--id", "0x4eed"}, "3\n"},
        {{"--id", "01"}, "6\n"},
        {{"--id", "5"}, ""}, // one character searches nothing
        {{"--id", "0x0eed", "--from", "2"}, "4\n"},
        {{"--id", "0x0eed", "--from", "5"}, ""}, // no wrap-around
        {{"--pos", "1000,"}, "1\n"},
        {{"--pos", ",500", "--from", "4"}, "6\n"},
        {{"--pos", "1000,7"}, "2\n"},
        {{"--pos", "99,99"}, ""},
        {{"--pos", ","}, ""},
        {{"--start", "4", "--lines", "8", "--id", "0x4eed"}, "2\n"},
    };
    for (const auto &c : cases) {
        std::vector<std::string> args{"-C", shard.dir.path(), "find"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult run = runCli(args);
        EXPECT_EQ(run.out, c.out) << testing::PrintToString(c.args);
        EXPECT_EQ(run.exitCode, *c.out ? 0 : 1) << testing::PrintToString(c.args) << run.err;
    }
    // The blank rows before any analysis hold no item, though an empty ID cell reads as 0.
    std::filesystem::remove(shard.dir.file("world.scp"));
    EXPECT_EQ(runCli({"-C", shard.dir.path(), "find", "--id", "00"}).exitCode, 1);
}

TEST(FindCommand, RefusesAMalformedCommandLine) {
    const FilterShard shard;
    const std::vector<std::string> cases[] = {
        {},
        {"--id", "01", "--pos", "1,1"},
        {"--pos", "1000"},
        {"--id", "01", "--from", "-1"},
    };
    for (const auto &args : cases) {
        std::vector<std::string> all{"-C", shard.dir.path(), "find"};
        all.insert(all.end(), args.begin(), args.end());
        const ProcessResult run = runCli(all);
        // Not 0, and not 1, which would read as "not found".
        EXPECT_GT(run.exitCode, 1) << testing::PrintToString(args);
        EXPECT_FALSE(run.err.empty()) << testing::PrintToString(args);
    }
}
