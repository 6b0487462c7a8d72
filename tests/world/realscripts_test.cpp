// SPDX-License-Identifier: GPL-3.0-or-later
// The item-name catalog built from real script packs, read where they lie. The expected IDs
// were looked up in the script files by hand.
#include "support/realdata.h"
#include "support/realdatadir.h"
#include "support/testsupport.h"
#include "world/itemnamecatalog.h"
#include "world/linelist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tessaplex;
using namespace tessaplex::world;

namespace {

struct Lookup {
    const char *name;
    const char *id;
};

struct RealPack {
    const char *folder;  // below the real data folder
    std::size_t entries; // "DEFNAME=" lines, duplicates included
    std::vector<Lookup> lookups;
};

const RealPack packs[] = {
    {"sphere-scripts-056",
     16415,
     {
         // Defined twice: items/sphere_item_quests.scp ([ITEMDEF 0a32b]) comes first.
         {"i_anchor", "0A32B"},
         {"I_CAMPFIRE", "00DE3"},
         {"i_retouching_tool", "042C6"},
         {"i_no_such_item", "#NOT FOUND"},
     }},
    {"sphere-scripts-x",
     20088,
     {
         {"i_anchor", "014F7"},
         // DEFNAME=i_pickpocket_dip //Blue: the comment is part of the name.
         {"i_pickpocket_dip", "#NOT FOUND"},
         {"i_pickpocket_dip //Blue", "01EC0"},
     }},
    {"mrnormoshard/scripts",
     3315,
     {
         // [ITEMDEF 9678], meant as decimal, is read as hex.
         {"i_pet_unicorn", "09678"},
         // [ITEMDEF i_gem_reagents]: the letters of the name are read as hex digits.
         {"i_gem_reagents", "EA0E000"},
         // DEFNAME=i_war_cleaver with a blank behind it is found only with the blank.
         {"i_war_cleaver", "#NOT FOUND"},
         {"i_war_cleaver ", "02D23"},
         // [ITEMDEF 0e21] with a blank after the bracket.
         {"i_bandage", "00E21"},
     }},
    {"elusiveshadows/scripts",
     9812,
     {
         {"i_pet_unicorn", "025CE"},
         {"i_stairs_stone_2", "0071E"},
     }},
};

TEST(RealScripts, CatalogOfWholeScriptPacks) {
    const test::RealDataDir real;
    if (!real.found())
        GTEST_SKIP() << real.absence();
    for (const RealPack &pack : packs) {
        SCOPED_TRACE(pack.folder);
        const std::string folder = real.path() + pack.folder + "/";
        if (!test::exists(folder)) {
            ADD_FAILURE() << "missing " << folder;
            continue;
        }
        ItemNameCatalog catalog;
        LineList lines;
        for (const std::string &name : test::scriptFilesUnder(folder)) {
            lines.readFile(folder + name);
            catalog.scan(lines);
        }
        EXPECT_EQ(catalog.size(), pack.entries);
        for (const Lookup &lookup : pack.lookups)
            EXPECT_EQ(catalog.lookupText(lookup.name), lookup.id) << lookup.name;
    }
}

} // namespace
