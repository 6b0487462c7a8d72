// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filterentry.h"

#include <gtest/gtest.h>

using namespace tessaplex::selection;

// What the ID field's text gives: the entry "&Add" appends and the art entry it previews.
TEST(FilterEntry, IdFieldGivesEntryAndPreview) {
    const struct {
        const char *text;
        const char *entry;
        std::uint32_t preview;
    } cases[] = {
        {"3821", "0eed", 20205},
        {"20205", "0eed", 20205},  // an art entry number becomes an item ID
        {"0x0eed", "0eed", 20205}, // lower-case x: hexadecimal item ID
        {"0X0eed", "0eed", 20205}, // upper-case X: the decimal rule's hex, 3821
        {"0x4eed", "4eed", 0x4eed + 0x4000},
        {"0X4eed", "0eed", 20205}, // 20205 by the decimal rule, an art entry number
        {"$4eed", "0eed", 20205},
        {"$eed", "0eed", 20205},
        {"1x20", "0020", 0x20 + 0x4000}, // the first character is dropped, whatever it is
        {"zx1F", "001f", 0x1f + 0x4000},
        {"", "0000", 0x4000},
        {"abc", "0000", 0x4000},
        {"0x", "0000", 0x4000},
        {"7x", "0000", 0x4000},
        {"5", "0005", 0x4005},
        {"16383", "3fff", 0x7fff},
        {"16384", "0000", 0x4000},
        {"65536", "c000", 65536}, // 65536 - 16384
        {"0x10000", "10000", 0x14000},
        {"-1", "ffffbfff", 0xffffffffu},    // taken as unsigned, so an art entry number
        {"0xffffffff", "ffffffff", 0x3fff}, // the preview wraps modulo 2^32
        {"0XEED", "0eed", 20205},
        {"0xEED", "0eed", 20205},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(filterEntryFromIdField(c.text), c.entry) << c.text;
        EXPECT_EQ(artEntryForIdField(c.text), c.preview) << c.text;
    }
}

TEST(FilterEntry, EntryPreviewReadsTheEntryAsHex) {
    const struct {
        const char *entry;
        std::uint32_t preview;
    } cases[] = {
        {"0eed", 20205}, {"0EED", 20205},    {"eed", 20205},       {"", 0x4000},
        {"zz", 0x4000},  {"10000", 0x14000}, {"ffffffff", 0x3fff},
    };
    for (const auto &c : cases)
        EXPECT_EQ(artEntryForFilterEntry(c.entry), c.preview) << c.entry;
}

TEST(FilterEntry, IdCellGivesFourDigitEntry) {
    const struct {
        const char *cell;
        std::optional<std::string> entry;
    } cases[] = {
        {"00eed", "0eed"},    {"00EED", "0eed"},  {"00000", "0000"},
        {"123456", "123456"}, {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(filterEntryFromIdCell(c.cell), c.entry) << c.cell;
}
