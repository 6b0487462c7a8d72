// SPDX-License-Identifier: GPL-3.0-or-later
// --map on the commands that analyse, and the line that tells of items carrying a map number.
#include "support/runcli.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tessaplex::test;

namespace {

std::string item(const std::string &position) {
    return "[WORLDITEM 0eed]\nP=" + position + "\nATTR=010\n\n";
}

// A start directory whose world file holds the given items; mapSetting, when not empty, is
// written as the "Map" setting.
class MapShard {
public:
    explicit MapShard(const std::string &items, const std::string &mapSetting = {}) {
        writeFile(dir.file("world.scp"), items);
        writeFile(dir.file("qelm.ini"),
                  "[Custom]\r\nWorldfile=" + dir.file("world.scp") + "\r\nItemFiles=" + dir.path() +
                      "\r\n" + (mapSetting.empty() ? "" : "Map=" + mapSetting + "\r\n"));
    }

    [[nodiscard]] ProcessResult run(const std::string &command,
                                    const std::vector<std::string> &options) const {
        std::vector<std::string> args{"-C", dir.path(), command};
        args.insert(args.end(), options.begin(), options.end());
        return runCli(args);
    }

    TempDir dir;
};

// Two items on map 0 as the server writes them (three numbers), one on map 3, one on map 4.
const std::string MixedItems =
    item("10,20,0") + item("30,40,5,3") + item("50,60,0") + item("70,80,-5,4");

std::string notice(const std::string &count) {
    return count + " items carry a map number: choose the map with --map to patch them\n";
}

std::string command(const std::string &name, const std::vector<std::string> &options) {
    return name + " " + testing::PrintToString(options);
}

} // namespace

TEST(CliMap, EveryAnalysingCommandTakesTheMapOrRefusesIt) {
    const MapShard shard(MixedItems);
    // CLI11's exit code for a value that fails its option's check.
    const int usageError = runCli({"-C", shard.dir.path(), "find", "--pos", "1000"}).exitCode;
    ASSERT_GT(usageError, 1);
    const struct {
        const char *command;
        std::vector<std::string> rest; // what the command needs besides --map
    } commands[] = {
        {"analyse", {}}, {"info", {}}, {"find", {"--id", "0x0eed"}}, {"patch", {"--dry-run"}}};
    const char *good[] = {"0", "3", "5", "as-written"};
    const char *bad[] = {"6", "-1", "", "01", "x", "As-Written", "as written", "0,1"};
    for (const auto &c : commands) {
        for (const char *value : good) {
            std::vector<std::string> options = c.rest;
            options.insert(options.end(), {"--map", value});
            const ProcessResult run = shard.run(c.command, options);
            EXPECT_NE(run.exitCode, usageError) << command(c.command, options) << run.err;
        }
        for (const char *value : bad) {
            std::vector<std::string> options = c.rest;
            options.insert(options.end(), {"--map", value});
            const ProcessResult run = shard.run(c.command, options);
            EXPECT_EQ(run.exitCode, usageError) << command(c.command, options);
            EXPECT_NE(run.err.find("--map"), std::string::npos) << command(c.command, options);
            EXPECT_EQ(run.out, "") << command(c.command, options);
        }
    }
    // The art command does not analyse, so it has no map to choose.
    EXPECT_GT(runCli({"-C", shard.dir.path(), "art", "--map", "0"}).exitCode, 1);
}

// --map reaches the analysis: the rows listed are those of the map named, or every item read as
// it stands; it also stands in for a "Map" setting that names no map.
TEST(CliMap, TheMapChoosesTheItemsListed) {
    const struct {
        std::string setting;
        std::vector<std::string> options;
        int listed;
    } cases[] = {
        {"", {}, 4},
        {"", {"--map", "as-written"}, 4},
        {"", {"--map", "0"}, 2},
        {"", {"--map", "4"}, 1},
        {"", {"--map", "5"}, 0},
        {"4", {}, 1},
        {"5", {}, 0},
        {"5", {"--map", "3"}, 1},
        {"9", {"--map", "0"}, 2},
    };
    for (const auto &c : cases) {
        const MapShard shard(MixedItems, c.setting);
        const ProcessResult info = shard.run("info", c.options);
        EXPECT_EQ(info.exitCode, 0) << command("info", c.options) << info.err;
        EXPECT_NE(info.out.find("Listed Items: " + std::to_string(c.listed) + "\n"),
                  std::string::npos)
            << "Map=" << c.setting << " " << command("info", c.options) << info.out;
    }
    // A "Map" setting that names no map stops the command with its message.
    const ProcessResult refused = MapShard(MixedItems, "9").run("analyse", {});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("\"Map\" setting is \"9\""), std::string::npos) << refused.err;
}

TEST(CliMap, ItemsCarryingAMapNumberAreToldOfOnlyWhenListedAsWritten) {
    std::string many;
    for (int i = 0; i < 1234; ++i)
        many += item("1,2,3,1");
    const struct {
        std::string items;
        std::string setting;
        std::vector<std::string> options;
        std::string err;
    } cases[] = {
        {MixedItems, "", {}, notice("2")},
        {MixedItems, "", {"--map", "as-written"}, notice("2")},
        {MixedItems, "3", {"--map", "as-written"}, notice("2")},
        {MixedItems, "", {"--map", "0"}, ""},
        {MixedItems, "4", {}, ""},
        {item("1,2,3,4"), "", {}, notice("1")},
        {item("1,2,3") + item("4,5"), "", {}, ""},
        {many + item("9,9,9"), "", {}, notice("1,234")},
        // Only the items of the line window count.
        {MixedItems, "", {"--start", "8", "--lines", "4"}, ""},
    };
    for (const auto &c : cases) {
        const MapShard shard(c.items, c.setting);
        for (const std::string name : {"analyse", "info"}) {
            const ProcessResult run = shard.run(name, c.options);
            EXPECT_EQ(run.exitCode, 0) << command(name, c.options) << run.err;
            EXPECT_EQ(run.err, c.err) << "Map=" << c.setting << " " << command(name, c.options);
        }
    }
}
