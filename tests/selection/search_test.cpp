// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/search.h"

#include "filtertables.h"
#include "selection/searchquery.h"

#include <gtest/gtest.h>

using namespace tessaplex;
using namespace tessaplex::selection;
using tessaplex::test::makeTable;
using tessaplex::test::TestItem;
using world::IdForm;

namespace {

TestItem item(std::uint32_t id, IdForm form, const char *x, const char *y) {
    TestItem result;
    result.id = id;
    result.form = form;
    result.x = x;
    result.y = y;
    return result;
}

// Rows 1 to 8.
const std::vector<TestItem> &searchItems() {
    static const std::vector<TestItem> items = {
        item(0x5, IdForm::Lower, "1000", "500"),   // 1
        item(0xeed, IdForm::Upper, "1000", "7"),   // 2: "00EED"
        item(0x4eed, IdForm::Lower, "12", "500"),  // 3
        item(0xeed, IdForm::Lower, "1000", "500"), // 4
        item(0, IdForm::Empty, "0", "abc"),        // 5: empty ID and unreadable Y
        item(0xeed, IdForm::Lower, "-1", "0x1f4"), // 6
        item(0x20, IdForm::Lower, "", ""),         // 7
        item(0xeed, IdForm::Lower, "5", "5"),      // 8
    };
    return items;
}

// Find, then Find Next until nothing more: the rows visited in order.
std::vector<int> visits(const SearchQuery &query) {
    const auto table = makeTable(searchItems());
    std::vector<int> rows;
    auto found = findRow(table, query);
    while (found) {
        rows.push_back(*found);
        found = findNextRow(table, query, *found);
    }
    return rows;
}

} // namespace

TEST(Search, ByIdReadsTheFieldAndComparesNumbers) {
    const struct {
        const char *text;
        std::vector<int> rows;
    } cases[] = {
        {"", {}},
        {"5", {}}, // one character searches nothing
        {"05", {1}},
        {"0x0eed", {2, 4, 6, 8}}, // the upper-case cell 00EED matches too
        {"0x0EED", {2, 4, 6, 8}},
        {"0xeed", {2, 4, 6, 8}},
        {"3821", {2, 4, 6, 8}},
        {"20205", {2, 4, 6, 8}}, // an art entry number
        {"0X0eed", {2, 4, 6, 8}},
        {"$eed", {2, 4, 6, 8}},
        {"0X4eed", {2, 4, 6, 8}}, // 20205 by the decimal rule
        {"0x4eed", {3}},          // the lower-case x form is an item ID
        {"16389", {1}},
        {"1x20", {7}},
        {"00", {5}}, // an empty ID cell reads as 0
        {"0x", {5}},
        {"zz", {5}},
        {"0x99", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(visits(SearchQuery::byId(c.text)), c.rows) << '"' << c.text << '"';
}

TEST(Search, ByPositionUsesTheFilledInFields) {
    const struct {
        const char *x;
        const char *y;
        std::vector<int> rows;
    } cases[] = {
        {"", "", {}},
        {"1000", "", {1, 2, 4}},
        {"", "500", {1, 3, 4, 6}}, // 0x1f4 is 500
        {"1000", "500", {1, 4}},
        {"$3e8", "0x1F4", {1, 4}},
        {"-1", "", {6}},
        {"0", "", {5, 7}},
        {"abc", "", {5, 7}}, // an unreadable field looks for 0
        {"", "0", {5, 7}},   // "abc" and an empty cell read as 0
        {"12", "7", {}},
        {"1000 ", "", {5, 7}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(visits(SearchQuery::byPosition(c.x, c.y)), c.rows)
            << '"' << c.x << "\", \"" << c.y << '"';
}

TEST(Search, FindNextNeverWrapsAround) {
    const auto table = makeTable(searchItems());
    const auto query = SearchQuery::byId("0xeed");
    const struct {
        int selectedRow;
        std::optional<int> found;
    } cases[] = {
        {-5, 2},
        {0, 2},
        {1, 2},
        {2, 4},
        {3, 4},
        {4, 6},
        {6, 8},
        {7, 8},
        {8, std::nullopt},
        {9, std::nullopt},
        {std::numeric_limits<int>::max(), std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(findNextRow(table, query, c.selectedRow), c.found) << c.selectedRow;
    // After the last match, Find starts from the top again.
    EXPECT_EQ(findRow(table, query), 2);
}

TEST(Search, EmptyTableFindsNothing) {
    const auto table = makeTable({});
    EXPECT_EQ(findRow(table, SearchQuery::byId("00")), std::nullopt);
    EXPECT_EQ(findNextRow(table, SearchQuery::byPosition("0", "0"), 0), std::nullopt);
}
