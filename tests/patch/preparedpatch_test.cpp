// SPDX-License-Identifier: GPL-3.0-or-later
// A patch prepared for one of the maps: the index must be one of that map's sizes, the items
// lie on it, and the backups carry its number.
#include "base/error.h"
#include "base/progressgauge.h"
#include "formats/mapgeometry.h"
#include "io/realfilesystem.h"
#include "patch/patchshard.h"
#include "patch/preparedpatch.h"
#include "world/linelist.h"

#include <gtest/gtest.h>

#include <optional>

using namespace tessaplex;
using namespace tessaplex::test;

namespace {

// Prepares the patch of one item at (x, y) on map (nothing: as written), with an index of
// records records, and applies it; the error text, or "" when it was written.
std::string patchOneItem(std::optional<int> map, std::uint32_t records, std::int32_t x,
                         std::int32_t y) {
    TempDir dir;
    const std::string world = dir.file("world.scp");
    const std::string text = worldItem("0eed", std::to_string(x) + "," + std::to_string(y));
    writeFile(world, text);
    writeFile(dir.file("staidx.mul"), indexBytes(records));
    writeFile(dir.file("statics.mul"), "");
    world::LineList lines;
    lines.readFile(world);

    const formats::MapSize size = map ? formats::sizesOfMap(*map).sizes[0] : formats::MapSize{};
    patch::MarkedItems items(1);
    items[0].row = 1;
    items[0].x = x;
    items[0].y = y;
    items[0].block = static_cast<std::int32_t>(map ? size.blockOf(x, y) : formats::blockOf(x, y));
    items[0].record = patch::TBlocks::of(0x0eed, x, y, 0, 0);
    items[0].lines = {0, 3};
    items[0].headerOffset = static_cast<std::uint32_t>(lines.startOf(0));
    items[0].emptyLineOffset = static_cast<std::uint32_t>(lines.startOf(3));
    io::RealFileSystem files;
    try {
        patch::PreparedPatch prepared(files,
                                      patch::PatchFiles::fromSettings(dir.file("statics.mul"),
                                                                      dir.file("staidx.mul"), world,
                                                                      map.value_or(0)),
                                      items, lines, false, map);
        ProgressGauge quiet;
        prepared.apply(quiet);
    } catch (const Error &e) {
        return e.what();
    }
    return readFile(dir.file("statics.mul")) == staticBytes(0x0eed, x % 8, y % 8, 0, 0)
               ? ""
               : "the record is not where it belongs";
}

} // namespace

TEST(PreparedPatch, TakesTheIndexAndPositionsOfTheChosenMap) {
    const struct {
        std::optional<int> map;
        std::uint32_t records;
        std::int32_t x, y;
        const char *error; // "" when the item is written
    } cases[] = {
        {std::nullopt, 393216, 6143, 4095, ""},
        {std::nullopt, 1024, 16, 0, "covers X 0 to 15 and Y 0 to 4095"},
        {0, 458752, 7167, 4095, ""},
        {1, 393216, 6143, 4095, ""},
        {1, 1024, 0, 0, "map 1 needs 458752 records (7168 x 4096) or 393216 records (6144 x 4096)"},
        {2, 57600, 2303, 1599, ""},
        {3, 81920, 2559, 2047, ""},
        {3, 81920, 2560, 0, "covers X 0 to 2559 and Y 0 to 2047"},
        {3, 81920, 0, 2048, "covers X 0 to 2559 and Y 0 to 2047"},
        {3, 393216, 0, 0, "map 3 needs 81920 records (2560 x 2048)"},
        {4, 32761, 1447, 1447, ""},
        {4, 32761, -1, 0, "position -1,0 lies outside the map"},
        {5, 81920, 1279, 4095, ""},
    };
    for (const auto &c : cases) {
        const std::string error = patchOneItem(c.map, c.records, c.x, c.y);
        const std::string context =
            "map " + (c.map ? std::to_string(*c.map) : std::string("as written")) + " at " +
            std::to_string(c.x) + "," + std::to_string(c.y) + ": " + error;
        if (*c.error == '\0')
            EXPECT_EQ(error, "") << context;
        else
            EXPECT_NE(error.find(c.error), std::string::npos) << context;
    }
}

TEST(PreparedPatch, TheOldStaticFilesWaitUnderTheMapsNumber) {
    const auto paths =
        patch::PatchFiles::fromSettings("/m/statics3.mul", "/i/staidx3.mul", "/w/world.scp", 3);
    EXPECT_EQ(paths.staticsBackup, "/m/statics3.xxx");
    EXPECT_EQ(paths.staidxBackup, "/i/staidx3.xxx");
}
