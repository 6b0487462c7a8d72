// SPDX-License-Identifier: GPL-3.0-or-later
// Items of other maps in the world saves of real shards: with the map chosen, Analyse lists
// exactly the items that the same save lists as written with that map's number, and PATCH puts
// every one of them into its block of that map's static files.
#include "app/session.h"
#include "base/progressgauge.h"
#include "formats/mapgeometry.h"
#include "patch/patchshard.h"
#include "selection/marks.h"
#include "support/realdata.h"
#include "support/realdatadir.h"
#include "support/testsupport.h"
#include "world/numberrules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tessaplex;

namespace {

struct Position {
    std::string x, y, z;
    bool operator==(const Position &o) const { return x == o.x && y == o.y && z == o.z; }
};

// The positions of the rows listed as written whose "P=" had four numbers, the last one map.
std::vector<Position> writtenOnMap(const world::ItemTable &table, int map) {
    std::vector<Position> positions;
    for (int row = 1; row < table.rowCount(); ++row) {
        const std::string y(table.yText(row));
        const auto comma = y.find(',');
        if (comma == std::string::npos || y.find(',', comma + 1) != std::string::npos ||
            table.zText(row) != std::to_string(map))
            continue;
        positions.push_back(
            {std::string(table.xText(row)), y.substr(0, comma), y.substr(comma + 1)});
    }
    return positions;
}

} // namespace

TEST(RealMaps, AnalyseAndPatchTheItemsOfAnotherMap) {
    const test::RealDataDir real;
    if (!real.found())
        GTEST_SKIP() << real.absence();
    const struct {
        const char *folder, *scripts, *worldFile;
        int map;
        std::uint32_t records;
    } cases[] = {
        {"mrnormoshard", "scripts", "Save/sphereworld.scp", 3, 81920},
        {"sphere-scripts-056", "", "add-on/worldfiles/save/sphereworld.scp", 1, 458752},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder);
        const std::string folder = real.path() + c.folder + "/";
        test::TempDir start;
        test::writeShardSettings(start.path(), folder + c.scripts, folder + c.worldFile);
        // The save is patched in the test's own folder, never where it lies.
        const std::string world = start.file("world.scp");
        test::writeFile(world, test::readFile(folder + c.worldFile));
        app::Session session(start.path());
        auto &settings = session.settings();
        settings.writeText(app::SettingsSection, app::keys::WorldFileWritten, world);
        ProgressGauge gauge;
        ASSERT_EQ(session.analyseAllLines("0", gauge), world::AnalyseOutcome::Listed);
        const std::vector<Position> expected = writtenOnMap(session.table(), c.map);
        ASSERT_GT(expected.size(), 100u);
        EXPECT_GT(session.itemsWithMapNumber(), expected.size() - 1);

        settings.writeText(app::SettingsSection, app::keys::Map, std::to_string(c.map));
        ASSERT_EQ(session.analyseAllLines("0", gauge), world::AnalyseOutcome::Listed);
        world::ItemTable &table = session.table();
        std::vector<Position> listed;
        for (int row = 1; row < table.rowCount(); ++row)
            listed.push_back({std::string(table.xText(row)), std::string(table.yText(row)),
                              std::string(table.zText(row))});
        EXPECT_TRUE(listed == expected)
            << listed.size() << " listed, " << expected.size() << " written with map " << c.map;
        EXPECT_EQ(session.itemsWithMapNumber(), 0u);

        test::writeFile(start.file("staidx.mul"), test::indexBytes(c.records));
        test::writeFile(start.file("statics.mul"), "");
        settings.writeText(app::SettingsSection, app::keys::Staidx, start.file("staidx.mul"));
        settings.writeText(app::SettingsSection, app::keys::Statics, start.file("statics.mul"));
        selection::markAll(table);
        ASSERT_EQ(session.patch(gauge), app::Session::PatchOutcome::Finished);

        // Every item stands in its block of the map, in table order within the block.
        const std::string index = test::readFile(start.file("staidx.mul"));
        const std::string data = test::readFile(start.file("statics.mul"));
        ASSERT_EQ(index.size(), std::size_t{c.records} * 12);
        const formats::MapSize map = formats::sizesOfMap(c.map).sizes[0];
        std::vector<std::uint32_t> seen(c.records, 0);
        for (int row = 1; row < table.rowCount(); ++row) {
            const std::int32_t x = world::strictDecimalTextToInt(table.xText(row));
            const std::int32_t y = world::strictDecimalTextToInt(table.yText(row));
            const std::uint32_t block =
                map.blockOf(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
            const formats::IndexRecord record = test::indexRecordAt(index, block);
            const std::size_t at = std::size_t{record.lookup} + 7 * seen[block]++;
            ASSERT_LE(at + 7, data.size()) << "row " << row;
            EXPECT_EQ(
                data.substr(at, 7),
                test::staticBytes(
                    static_cast<std::uint16_t>(table.idValue(row)),
                    static_cast<std::uint8_t>(x % 8), static_cast<std::uint8_t>(y % 8),
                    static_cast<std::uint8_t>(world::strictDecimalTextToInt(table.zText(row))),
                    static_cast<std::uint16_t>(table.color(row))))
                << "row " << row;
        }
    }
}
