// SPDX-License-Identifier: GPL-3.0-or-later
// Analyse on the world saves of real shards with their own item scripts. The files are read
// where they lie; the expected rows were worked out from the files by hand.
#include "app/session.h"
#include "base/progressgauge.h"
#include "support/realdata.h"
#include "support/realdatadir.h"
#include "support/tabletext.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace tessaplex;
using tessaplex::test::rowText;

namespace {

struct ExpectedRow {
    int row;
    const char *cells; // joined by "|"
};

struct RealShard {
    const char *folder;
    const char *worldFile; // relative to the shard's folder
    std::size_t lines;     // lines of the world file
    int listed;            // items Analyse lists over the whole file
    std::vector<ExpectedRow> rows;
};

const RealShard shards[] = {
    // CR LF; 76,387 item sections, most of them inside containers (CONT=), linked or named.
    {"mrnormoshard",
     "Save/sphereworld.scp",
     885195,
     17801,
     {
         // [WORLDITEM i_rune_alchem_1] / P=5490,19,-25, with [ITEMDEF 0181d] i_rune_alchem_1.
         {1, "615|618|0181D|5490|19|-25|0||351234|NO"},
         // [WORLDITEM i_door_metal_2] / DISPID=06cd: the display ID in the table's own form.
         {63, "954|959|006cd|5818|54|1|0|010|372230|NO"},
         // [WORLDITEM i_ankh] ([ITEMDEF 02]) / COLOR=0b18, and the same with DISPID=03.
         {117, "8569|8575|00002|1998|79|6|2840|010|127497|NO"},
         {118, "8576|8583|00003|1998|78|6|2840|010|127497|NO"},
         // [WORLDITEM i_campfire] / P=750,1336,26,4: four numbers, Y takes the middle two.
         {17801, "884410|884414|00DE3|750|1336,26|4|0|010|47616|NO"},
     }},
    // LF only; def names written in mixed case in the scripts (DEFNAME=i_CARPET_ROSTRUM).
    {"wsicewind",
     "save/sphereworld.scp",
     16056,
     2456,
     {
         {1, "41|45|00FB1|2465|545|1|0|010|157764|NO"},
         {2, "46|49|003A5|2484|546|1|0||158788|NO"},
         {3, "320|325|007BA|4002|549|0|1953|010|256068|NO"},
         {2456, "16051|16054|003A5|5219|1745,1|1|0||333824|NO"},
     }},
    // A statics save: every item ATTR=08010.
    {"elusiveshadows",
     "save/spherestatics.scp",
     130875,
     21388,
     {
         // [WORLDITEM i_pentagram] / DISPID=0fea.
         {1, "5|10|00fea|5217|18|15|0|08010|333826|NO"},
         {2, "11|15|0071E|5490|19|-30|0|08010|351234|NO"},
     }},
};

TEST(RealShards, AnalyseListsTheItemsOfWholeSaves) {
    const test::RealDataDir real;
    if (!real.found())
        GTEST_SKIP() << real.absence();
    for (const RealShard &shard : shards) {
        SCOPED_TRACE(shard.folder);
        const std::string folder = real.path() + shard.folder + "/";
        if (!test::exists(folder + shard.worldFile)) {
            ADD_FAILURE() << "missing " << folder << shard.worldFile;
            continue;
        }
        test::TempDir start;
        test::writeShardSettings(start.path(), folder + "scripts", folder + shard.worldFile);
        app::Session session(start.path());
        ProgressGauge gauge;
        ASSERT_EQ(session.analyse("0", std::to_string(shard.lines), gauge),
                  world::AnalyseOutcome::Listed);
        EXPECT_EQ(session.lines().size(), shard.lines);
        EXPECT_EQ(session.table().itemCount(), shard.listed);
        for (const ExpectedRow &expected : shard.rows) {
            ASSERT_LT(expected.row, session.table().rowCount());
            EXPECT_EQ(rowText(session.table(), expected.row, '|'), expected.cells)
                << "row " << expected.row;
        }
        // One line more than the file has lists nothing and keeps the table.
        EXPECT_EQ(session.analyse("0", std::to_string(shard.lines + 1), gauge),
                  world::AnalyseOutcome::NothingToList);
        EXPECT_EQ(session.table().itemCount(), shard.listed);
    }
}

} // namespace
