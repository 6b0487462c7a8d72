// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace tessaplex::world {
class ItemTable;
}

namespace tessaplex::selection {

// What the group "Search" looks for: an item ID (mode "ID") or a map position (mode "Position"),
// made from the texts of its fields. A query may search nothing, in which case "Find" and
// "Find Next" do nothing.
class SearchQuery {
public:
    // Mode "ID" with the ID field's text. Fewer than two characters search nothing; otherwise the
    // item ID is itemIdFromIdField(text), so "0x0eed", "0xEED", "3821", "20205", "0X0eed" and
    // "$eed" all look for item ID 3821, while "0x4eed" looks for 0x4eed.
    [[nodiscard]] static SearchQuery byId(std::string_view idText);

    // Mode "Position" with the X and Y fields' texts. A field takes part when its text is not
    // empty, with its value by decimalTextToInt (an unreadable text looks for 0); with both
    // fields empty the query searches nothing.
    [[nodiscard]] static SearchQuery byPosition(std::string_view xText, std::string_view yText);

    // False when the query searches nothing.
    [[nodiscard]] bool searches() const { return m_kind != Kind::Nothing; }

    // Whether item row `row` matches: its "ID" cell by hexTextToInt equals the item ID (so case
    // and leading zeros of the cell do not matter), or its "X" and/or "Y" cells by
    // decimalTextToInt equal the values given. "Z" plays no part. False when nothing is searched.
    [[nodiscard]] bool matches(const world::ItemTable &table, int row) const;

private:
    enum class Kind : std::uint8_t { Nothing, Id, Position };

    Kind m_kind = Kind::Nothing;
    std::uint32_t m_id = 0;
    bool m_hasX = false;
    bool m_hasY = false;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
};

} // namespace tessaplex::selection
