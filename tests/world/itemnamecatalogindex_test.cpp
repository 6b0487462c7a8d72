// SPDX-License-Identifier: GPL-3.0-or-later
// The catalog finds names through a hash index over upper-cased bytes, read eight at a time and
// upper-cased in a buffer of fixed size; names of every length around those sizes, and names
// that differ only in letter case or in bytes outside a to z, must be told apart exactly.
#include "support/scriptcatalog.h"
#include "world/itemnamecatalog.h"
#include "world/numberrules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tessaplex::world;

TEST(ItemNameCatalogIndex, NamesOfEveryLengthAndByte) {
    std::vector<std::string> names;
    for (std::size_t length : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 127u, 128u, 129u, 300u}) {
        names.push_back(std::string(length, 'a'));
        if (length) {
            std::string other(length, 'a');
            other.back() = 'b'; // differs only in the last byte
            names.push_back(other);
            std::string high(length, 'a');
            high.front() = '\xe9'; // a byte outside a to z keeps its value
            names.push_back(high);
        }
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += "[ITEMDEF " + idText(static_cast<std::uint32_t>(i + 1)) + "]\nDEFNAME=" + names[i] +
                "\n";
    const ItemNameCatalog catalog = tessaplex::test::catalogOf({text});
    ASSERT_EQ(catalog.size(), names.size());

    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string expected = upperIdText(static_cast<std::uint32_t>(i + 1));
        SCOPED_TRACE("name " + std::to_string(i) + " of length " + std::to_string(names[i].size()));
        EXPECT_EQ(catalog.lookupText(names[i]), expected);
        EXPECT_EQ(catalog.lookupText(toUpperAscii(names[i])), expected);
        // One character more or less is another name.
        EXPECT_NE(catalog.lookupText(names[i] + "a"), expected);
        if (!names[i].empty()) {
            EXPECT_EQ(catalog.lookupText(names[i] + "\xe9"), "#NOT FOUND");
        }
    }
    // The high byte is not folded: "\xc9" is not the upper case of "\xe9" here.
    EXPECT_EQ(catalog.lookupText("\xc9"), "#NOT FOUND");
}
