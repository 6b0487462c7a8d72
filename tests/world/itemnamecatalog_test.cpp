// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scriptcatalog.h"
#include "world/itemnamecatalog.h"
#include "world/numberrules.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tessaplex::world;
using tessaplex::test::catalogOf;

namespace {

TEST(ItemNameCatalog, ReadsItemDefAndDefNameLines) {
    const struct {
        const char *name;
        std::vector<std::string> files;
        const char *lookup;
        const char *expected;
    } cases[] = {
        {"an entry", {"[ITEMDEF 0f3c]\nDEFNAME=i_example\n"}, "i_example", "00F3C"},
        {"lookups ignore case", {"[ITEMDEF 0f3c]\nDEFNAME=i_example\n"}, "I_ExAmPlE", "00F3C"},
        {"def names ignore case", {"[ITEMDEF 0f3c]\nDEFNAME=I_Example\n"}, "i_example", "00F3C"},
        {"a lower-case ITEMDEF line",
         {"[itemdef 0f3c]\nDEFNAME=i_example\n"},
         "i_example",
         "00F3C"},
        {"a mixed-case ITEMDEF line",
         {"[ItemDef 0f3c]\nDEFNAME=i_example\n"},
         "i_example",
         "00F3C"},
        {"a lower-case DEFNAME line is none",
         {"[ITEMDEF 0f3c]\ndefname=i_example\n"},
         "i_example",
         "#NOT FOUND"},
        {"a mixed-case DEFNAME line is none",
         {"[ITEMDEF 0f3c]\nDefname=i_example\n"},
         "i_example",
         "#NOT FOUND"},
        {"an indented DEFNAME line is none",
         {"[ITEMDEF 0f3c]\n DEFNAME=i_example\n"},
         "i_example",
         "#NOT FOUND"},
        {"DEFNAME2 is none", {"[ITEMDEF 0f3c]\nDEFNAME2=i_example\n"}, "i_example", "#NOT FOUND"},
        {"a comment after the header",
         {"[ITEMDEF 0f3c] // comment\nDEFNAME=i_example\n"},
         "i_example",
         "00F3C"},
        {"a comment right after the bracket",
         {"[ITEMDEF 04bb4]//Game Dice (1)\nDEFNAME=i_dice\n"},
         "i_dice",
         "04BB4"},
        {"a named header is read as hex", {"[ITEMDEF i_bed]\nDEFNAME=i_bed\n"}, "i_bed", "00BED"},
        {"a decimal header is read as hex",
         {"[ITEMDEF 12637]\nDEFNAME=i_horn\n"},
         "i_horn",
         "12637"},
        {"only the last eight characters count",
         {"[ITEMDEF 1ffffffff]\nDEFNAME=i_big\n"},
         "i_big",
         "FFFFFFFF"},
        {"a header without its bracket",
         {"[ITEMDEF 0f3c\nDEFNAME=i_example\n"},
         "i_example",
         "00F3C"},
        {"a header with nothing after the blank",
         {"[ITEMDEF \nDEFNAME=i_nothing\n"},
         "i_nothing",
         "00000"},
        {"no blank after ITEMDEF is no header",
         {"[ITEMDEF 0abc]\n[ITEMDEF]0f3c\nDEFNAME=i_x\n"},
         "i_x",
         "00ABC"},
        {"an indented header is none",
         {"[ITEMDEF 0abc]\n [ITEMDEF 0f3c]\nDEFNAME=i_x\n"},
         "i_x",
         "00ABC"},
        {"a later header overwrites the open slot",
         {"[ITEMDEF 0f3c]\n[ITEMDEF 0f3d]\nDEFNAME=i_example\n"},
         "i_example",
         "00F3D"},
        {"a second DEFNAME gets no ID",
         {"[ITEMDEF 0f3c]\nDEFNAME=i_one\nDEFNAME=i_two\n"},
         "i_two",
         ""},
        {"a DEFNAME before any header gets no ID",
         {"DEFNAME=i_first\n[ITEMDEF 0f3c]\n"},
         "i_first",
         ""},
        {"the first of two equal def names wins",
         {"[ITEMDEF 0f3c]\nDEFNAME=i_twice\n[ITEMDEF 0f3d]\nDEFNAME=I_TWICE\n"},
         "i_twice",
         "00F3C"},
        {"an entry without ID still wins over a later one",
         {"[ITEMDEF 0f3c]\nDEFNAME=i_a\nDEFNAME=i_twice\n[ITEMDEF 0f3d]\nDEFNAME=i_twice\n"},
         "i_twice",
         ""},
        {"blanks after the name belong to it",
         {"[ITEMDEF 0f3c]\nDEFNAME=i_blank  \n"},
         "i_blank",
         "#NOT FOUND"},
        {"blanks after the name must be looked up too",
         {"[ITEMDEF 0f3c]\nDEFNAME=i_blank  \n"},
         "i_blank  ",
         "00F3C"},
        {"a comment after the name belongs to it",
         {"[ITEMDEF 0f3c]\nDEFNAME=i_c // old\n"},
         "i_c // old",
         "00F3C"},
        {"the open slot carries over to the next file",
         {"[ITEMDEF 0aaa]\n", "DEFNAME=i_carried\n"},
         "i_carried",
         "00AAA"},
        {"a committed slot does not carry over",
         {"[ITEMDEF 0aaa]\nDEFNAME=i_first\n", "DEFNAME=i_carried\n"},
         "i_carried",
         ""},
        {"CR LF and CR line ends",
         {"[ITEMDEF 0f3c]\r\nDEFNAME=i_a\r[ITEMDEF 0f3d]\rDEFNAME=i_b"},
         "i_b",
         "00F3D"},
        {"an unknown name", {"[ITEMDEF 0f3c]\nDEFNAME=i_example\n"}, "i_other", "#NOT FOUND"},
        {"a prefix of a name", {"[ITEMDEF 0f3c]\nDEFNAME=i_example\n"}, "i_exampl", "#NOT FOUND"},
        {"an empty catalog", {}, "i_example", "#NOT FOUND"},
        {"an empty def name", {"[ITEMDEF 0f3c]\nDEFNAME=\n"}, "", "00F3C"},
        {"Latin-1 letters are kept as they are",
         {"[ITEMDEF 0f3c]\nDEFNAME=i_cr\xe9me\n"},
         "I_CR\xe9ME",
         "00F3C"},
    };
    for (const auto &c : cases) {
        const ItemNameCatalog catalog = catalogOf(c.files);
        EXPECT_EQ(catalog.lookupText(c.lookup), c.expected) << c.name;
    }
}

// Every DEFNAME line is kept, however many there are: a real script pack may hold more than the
// 32,768 entries a fixed catalog would, and a lost def name would silently leave items out.
TEST(ItemNameCatalog, KeepsEveryEntryOfLargeScriptPacks) {
    constexpr std::uint32_t Count = 70000;
    std::string text;
    for (std::uint32_t i = 0; i < Count; ++i)
        text += "[ITEMDEF 0" + idText(i + 1) + "]\nDEFNAME=i_item_" + std::to_string(i) + "\n";
    const ItemNameCatalog catalog = catalogOf({text});
    EXPECT_EQ(catalog.size(), Count);
    for (std::uint32_t i : {0u, 1u, 32767u, 32768u, 32769u, 65535u, 65536u, Count - 1}) {
        EXPECT_EQ(catalog.lookupText("i_item_" + std::to_string(i)), upperIdText(i + 1))
            << "entry " << i;
    }
}

// A lookup answers what a scan of the entries in their order would: the ID of the first
// committed entry of that name.
TEST(ItemNameCatalog, AnswersAsTheFirstMatchOfALinearScan) {
    std::mt19937 random(7);
    const char *names[] = {"i_a", "I_A", "i_b", "i_B ", "i_c", "i_a "};
    for (int round = 0; round < 300; ++round) {
        std::vector<std::pair<std::string, std::string>> entries; // upper-case name, ID text
        std::string openId;
        std::string text;
        const int lines = static_cast<int>(random() % 30);
        for (int i = 0; i < lines; ++i) {
            if (random() % 2) {
                const auto value = static_cast<std::uint32_t>(random() % 0x20000);
                text += "[ITEMDEF " + idText(value) + "]\n";
                openId = upperIdText(value);
            } else {
                const std::string name = names[random() % 6];
                text += "DEFNAME=" + name + "\n";
                entries.emplace_back(toUpperAscii(name), openId);
                openId.clear();
            }
        }
        const ItemNameCatalog catalog = catalogOf({text});
        ASSERT_EQ(catalog.size(), entries.size());
        for (const char *name : names) {
            std::string expected = "#NOT FOUND";
            for (const auto &[entryName, id] : entries) {
                if (entryName == toUpperAscii(name)) {
                    expected = id;
                    break;
                }
            }
            ASSERT_EQ(catalog.lookupText(name), expected) << "round " << round << ", " << name;
        }
    }
}

} // namespace
