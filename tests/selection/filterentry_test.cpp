// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filterentry.h"

#include <gtest/gtest.h>

using namespace tessaplex::selection;

// The ID field's text: the entry "&Add" appends and the art entry the field previews.
TEST(FilterEntry, IdFieldGivesEntryAndPreview) {
    const struct {
        const char *text;
        const char *entry;
        std::uint32_t preview;
    } cases[] = {
        {"3821", "0eed", 20205},
        {"20205", "0eed", 20205},  // an art entry number becomes an item ID
        {"0x0eed", "0eed", 20205}, // lower-case x: a hexadecimal item ID
        {"0x4eed", "4eed", 0x4eed + 0x4000},
        {"0X4eed", "0eed", 20205}, // the decimal rule gives 20205, an art entry number
        {"$4eed", "0eed", 20205},
        {"1x20", "0020", 0x4020}, // the first character is dropped, whatever it is
        {"", "0000", 0x4000},
        {"0x", "0000", 0x4000},
        {"16383", "3fff", 0x7fff},
        {"16384", "0000", 0x4000},
        {"0x10000", "10000", 0x14000},
        {"-1", "ffffbfff", 0xffffffffu},    // taken as unsigned: an art entry number
        {"0xffffffff", "ffffffff", 0x3fff}, // the preview wraps modulo 2^32
    };
    for (const auto &c : cases) {
        EXPECT_EQ(filterEntryFromIdField(c.text), c.entry) << c.text;
        EXPECT_EQ(artEntryForIdField(c.text), c.preview) << c.text;
    }
    EXPECT_EQ(artEntryForFilterEntry("0EED"), 20205u);
    EXPECT_EQ(artEntryForFilterEntry(""), 0x4000u);
}
