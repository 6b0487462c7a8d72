// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/littleendian.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
#include "io/systempath.h"

#include <windows.h>
#endif

using namespace tessaplex::test;

namespace {

// An index of 393,216 empty records but block 1, which holds the one record of the data file.
std::string classicIndex() {
    std::string index;
    index.reserve(393216 * 12);
    for (std::uint32_t block = 0; block < 393216; ++block)
        index += block == 1 ? u32le(0) + u32le(7) + u32le(5) : std::string(8, '\xFF') + u32le(0);
    return index;
}

const std::string oldData("\x01\x00\x00\x00\x00\x00\x00", 7);

// A start directory with three items: rows 1 and 3 are ID 00eed, row 2 is 00eee.
class CliPatchShard {
public:
    CliPatchShard() {
        writeFile(dir.file("world.scp"), "[WORLDITEM 0eed]\r\nP=0,8,5\r\n\r\n"  // 0-2, block 1
                                         "[WORLDITEM 0eee]\r\nP=4,70,1\r\n\r\n" // 3-5, block 8
                                         "[WORLDITEM 0eed]\r\nP=10,5,2\r\n\r\n" // 6-8, block 512
                                         "[EOF]\r\n");                          // 9
        writeFile(dir.file("staidx0.mul"), classicIndex());
        writeFile(dir.file("statics0.mul"), oldData);
        settings("");
    }

    void settings(const std::string &more) {
        writeFile(dir.file("qelm.ini"),
                  "[Custom]\r\nItemFiles=" + dir.path() + "\r\nWorldFile=" + dir.file("world.scp") +
                      "\r\nStatics=" + dir.file("statics0.mul") +
                      "\r\nStaidx=" + dir.file("staidx0.mul") + "\r\n" + more);
    }

    ProcessResult run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"-C", dir.path()});
        return runCli(args);
    }

    TempDir dir;
};

std::string info(const std::string &lines, const std::string &selected, const std::string &listed,
                 const std::string &toRemove) {
    return "Lines: " + lines + "\nSelected Items: " + selected + "\nListed Items: " + listed +
           "\nLines to Remove: " + toRemove + "\n";
}

} // namespace

// The marks are applied in the order they stand on the command line, whatever their kind.
TEST(CliInfo, CountsTheMarksAppliedInCommandLineOrder) {
    CliPatchShard shard;
    const struct {
        std::vector<std::string> marks;
        std::string selected, toRemove;
    } cases[] = {
        {{}, "0", "0"},
        {{"--all"}, "3", "6"},
        {{"--all", "--no-id", "00eed"}, "1", "2"},
        {{"--no-id", "00eed", "--all"}, "3", "6"},
        {{"--id", "00eed", "--none"}, "0", "0"},
        {{"--none", "--id", "00eed"}, "2", "4"},
        {{"--block", "512", "--row", "2"}, "2", "4"},
        {{"--all", "--no-block", "1", "--unrow", "2"}, "1", "2"},
        {{"--row", "1", "--unrow", "1", "--row", "3"}, "1", "2"},
        {{"--id", "00EED"}, "0", "0"},
    };
    for (const auto &c : cases) {
        std::vector<std::string> args = {"info"};
        args.insert(args.end(), c.marks.begin(), c.marks.end());
        const ProcessResult result = shard.run(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, info("10", c.selected, "3", c.toRemove)) << c.marks.size();
    }
}

TEST(CliInfo, SaysFileNotFoundWithoutAWorldFile) {
    CliPatchShard shard;
    std::remove(shard.dir.file("world.scp").c_str());
    const ProcessResult result = shard.run({"info", "--all"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string missing = "<FILE NOT FOUND>";
    EXPECT_EQ(result.out, info(missing, missing, missing, missing));
}

TEST(CliPatch, PatchesTheMarkedItemsAndSaysProcessFinished) {
    CliPatchShard shard;
    const ProcessResult result = shard.run({"patch", "--all", "--no-id", "00eee"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Process finished\n");
    EXPECT_EQ(readFile(shard.dir.file("world.scp")),
              "[WORLDITEM 0eee]\r\nP=4,70,1\r\n\r\n[EOF]\r\n");
    EXPECT_EQ(readFile(shard.dir.file("statics0.mul")),
              oldData + std::string("\xed\x0e\x00\x00\x05\x00\x00", 7) +
                  std::string("\xed\x0e\x02\x05\x02\x00\x00", 7));
    const std::string index = readFile(shard.dir.file("staidx0.mul"));
    EXPECT_EQ(index.substr(12, 12), u32le(0) + u32le(14) + u32le(5));
    EXPECT_EQ(index.substr(512 * 12, 12), u32le(14) + u32le(7) + u32le(0));
    EXPECT_FALSE(exists(shard.dir.file("statics0.xxx")));
    EXPECT_FALSE(exists(shard.dir.file("staidx0.xxx")));
}

TEST(CliPatch, DryRunPrintsThePlanAndWritesNothing) {
    CliPatchShard shard;
    const std::string world = readFile(shard.dir.file("world.scp"));
    const ProcessResult result = shard.run({"patch", "--id", "00eed", "--dry-run"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(
        result.out,
        "Items: 2\nBlocks touched: 2\nLines removed: 6\nStaidx: " + shard.dir.file("staidx0.mul") +
            " (4718592 bytes, 393216 records)\nStatics: " + shard.dir.file("statics0.mul") +
            " (21 bytes)\nWorldfile: " + shard.dir.file("world.scp") + " (37 bytes)\n");
    EXPECT_EQ(readFile(shard.dir.file("world.scp")), world);
    EXPECT_EQ(readFile(shard.dir.file("statics0.mul")), oldData);

    const ProcessResult none = shard.run({"patch", "--dry-run"});
    EXPECT_EQ(none.exitCode, 0) << none.err;
    EXPECT_EQ(none.out, "Items: 0\nBlocks touched: 0\nLines removed: 0\nNo file is written\n");
}

TEST(CliPatch, ReportsARefusalOnStandardErrorAndExitsWithOne) {
    const struct {
        std::string settings;
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {"Statics=statics0.mul\r\n", {"patch", "--all"}, "Range check error.\n"},
        {"Statics=statics0.mul\r\n", {"patch", "--all", "--dry-run"}, "Range check error.\n"},
        {"",
         {"patch", "--lines", "99"},
         "Nothing was listed: PATCH needs an analysis of the world file first.\n"},
        {"", {"patch", "--row", "4"}, "Row 4 is not an item row (1 to 3)\n"},
    };
    for (const auto &c : cases) {
        CliPatchShard shard;
        // A later key of the same name is not read, so the case's value goes first.
        writeFile(shard.dir.file("qelm.ini"),
                  "[Custom]\r\n" + c.settings + "ItemFiles=" + shard.dir.path() +
                      "\r\nWorldFile=" + shard.dir.file("world.scp") +
                      "\r\nStatics=" + shard.dir.file("statics0.mul") +
                      "\r\nStaidx=" + shard.dir.file("staidx0.mul") + "\r\n");
        const std::string world = readFile(shard.dir.file("world.scp"));
        const ProcessResult result = shard.run(c.args);
        EXPECT_EQ(result.exitCode, 1) << c.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(readFile(shard.dir.file("world.scp")), world);
        EXPECT_EQ(readFile(shard.dir.file("statics0.mul")), oldData);
    }
}

// A running server on Windows holds its map files open without sharing writing; here the test
// itself is that other program.
TEST(CliPatch, RefusesAFileThatAnotherProgramHoldsOpen) {
#ifndef _WIN32
    GTEST_SKIP() << "only Windows lets a program keep others from writing a file it holds";
#else
    CliPatchShard shard;
    const std::string statics = shard.dir.file("statics0.mul");
    const HANDLE server = CreateFileW(tessaplex::io::wideText(statics).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    const ProcessResult result = shard.run({"patch", "--all"});
    CloseHandle(server);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "The file " + statics +
                              " is in use by another program; stop the server first, then "
                              "patch.\n");
    EXPECT_EQ(readFile(statics), oldData);
#endif
}

TEST(CliPatch, RefusesMoreThanHalfAMillionMarkedItems) {
    CliPatchShard shard;
    std::string world;
    world.reserve(500001 * 30);
    for (int i = 0; i < 500001; ++i)
        world += "[WORLDITEM 0eed]\nP=1,1,0\n\n";
    writeFile(shard.dir.file("world.scp"), world);
    for (const bool dryRun : {false, true}) {
        std::vector<std::string> args = {"patch", "--all"};
        if (dryRun)
            args.push_back("--dry-run");
        const ProcessResult result = shard.run(args);
        EXPECT_EQ(result.exitCode, 1) << result.err;
        EXPECT_EQ(result.out, "You can only select 500.000 items\n");
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(readFile(shard.dir.file("statics0.mul")), oldData);
}

// Every command first clears what an interrupted PATCH left and says so beside its output.
TEST(CliPatch, EveryCommandFirstSettlesAnInterruptedPatch) {
    for (const std::vector<std::string> &command :
         {std::vector<std::string>{"info"}, {"analyse"}, {"patch", "--dry-run"}}) {
        CliPatchShard shard;
        writeFile(shard.dir.file("world.scp.tessaplex-new"), "half a world");
        const ProcessResult result = shard.run(command);
        EXPECT_EQ(result.exitCode, 0) << command[0] << ": " << result.err;
        EXPECT_EQ(result.err, "A PATCH was interrupted before it replaced any file; its unfinished "
                              "file " +
                                  shard.dir.file("world.scp.tessaplex-new") + " was removed.\n")
            << command[0];
        EXPECT_FALSE(exists(shard.dir.file("world.scp.tessaplex-new"))) << command[0];
    }
}
