// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filterentry.h"

#include "world/numberrules.h"

#include <cstdio>

namespace tessaplex::selection {

std::uint32_t itemIdFromIdField(std::string_view text) {
    // "&Add" asks for three characters before it takes the lower-case "x" form and the search
    // for two. For a two-character text both readings give 0 (the decimal rule finds no digit
    // after any prefix), so one rule serves both.
    if (text.size() >= 2 && text[1] == 'x')
        return world::hexTextToInt(text.substr(2));
    const auto value = static_cast<std::uint32_t>(world::decimalTextToInt(text));
    return value >= formats::ItemArtBase ? value - formats::ItemArtBase : value;
}

std::string filterEntryText(std::uint32_t itemId) {
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, "%04x", static_cast<unsigned>(itemId));
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::string filterEntryFromIdField(std::string_view text) {
    return filterEntryText(itemIdFromIdField(text));
}

std::uint32_t artEntryForIdField(std::string_view text) {
    // A typed art entry number has had the offset taken off, so adding it back gives that number
    // unchanged, as the preview shows it.
    return itemIdFromIdField(text) + formats::ItemArtBase;
}

std::uint32_t artEntryForFilterEntry(std::string_view entry) {
    return world::hexTextToInt(entry) + formats::ItemArtBase;
}

std::optional<std::string> filterEntryFromIdCell(std::string_view cell) {
    if (cell.empty())
        return std::nullopt;
    return filterEntryText(world::hexTextToInt(cell));
}

} // namespace tessaplex::selection
