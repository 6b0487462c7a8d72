// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/search.h"

#include "filtertables.h"
#include "selection/searchquery.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tessaplex;
using namespace tessaplex::selection;
using namespace tessaplex::test;
using namespace tessaplex::test::filtertables;
using world::IdForm;

namespace {

// Rows 1 to 7.
world::ItemTable searchTable() {
    const struct {
        std::uint32_t id;
        IdForm form;
        const char *x, *y;
    } rows[] = {
        {0x5, IdForm::Lower, "1000", "500"},  {0xeed, IdForm::Upper, "1000", "7"},
        {0x4eed, IdForm::Lower, "12", "500"}, {0xeed, IdForm::Lower, "1000", "500"},
        {0, IdForm::Empty, "0", "abc"},       {0xeed, IdForm::Lower, "-1", "0x1f4"},
        {0x20, IdForm::Lower, "", ""},
    };
    std::vector<TestItem> items;
    for (const auto &r : rows) {
        items.emplace_back();
        items.back().id = r.id;
        items.back().form = r.form;
        items.back().x = r.x;
        items.back().y = r.y;
    }
    return makeTable(items);
}

// Find, then Find Next from each row found until nothing more is found.
std::vector<int> visits(const SearchQuery &query) {
    const auto table = searchTable();
    std::vector<int> rows;
    for (auto found = findRow(table, query); found; found = findNextRow(table, query, *found))
        rows.push_back(*found);
    return rows;
}

} // namespace

TEST(Search, ByIdComparesItemIdsAsNumbers) {
    const struct {
        const char *text;
        std::vector<int> rows;
    } cases[] = {
        {"", {}},
        {"5", {}}, // one character searches nothing
        {"05", {1}},
        {"0x0EED", {2, 4, 6}}, // the upper-case cell 00EED matches too
        {"3821", {2, 4, 6}},
        {"20205", {2, 4, 6}},
        {"$eed", {2, 4, 6}},
        {"0X4eed", {2, 4, 6}},
        {"0x4eed", {3}},
        {"1x20", {7}},
        {"00", {5}}, // an empty ID cell reads as 0
        {"0x99", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(visits(SearchQuery::byId(c.text)), c.rows) << '"' << c.text << '"';
}

TEST(Search, ByPositionUsesTheFilledInFields) {
    const struct {
        const char *x, *y;
        std::vector<int> rows;
    } cases[] = {
        {"", "", {}},
        {"1000", "", {1, 2, 4}},
        {"", "500", {1, 3, 4, 6}},
        {"$3e8", "500", {1, 4}},
        {"-1", "", {6}},
        {"abc", "", {5, 7}}, // an unreadable field looks for 0, as do empty cells
        {"12", "7", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(visits(SearchQuery::byPosition(c.x, c.y)), c.rows) << c.x << ',' << c.y;
}

TEST(Search, FindNextNeverWrapsAround) {
    const auto table = searchTable();
    const auto query = SearchQuery::byId("0xeed");
    const struct {
        int selectedRow;
        std::optional<int> found;
    } cases[] = {
        {-5, 2},
        {0, 2},
        {2, 4},
        {6, std::nullopt},
        {7, std::nullopt},
        {std::numeric_limits<int>::max(), std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(findNextRow(table, query, c.selectedRow), c.found) << c.selectedRow;
}
