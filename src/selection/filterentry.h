// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/artentry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How ID texts typed by the operator, filter entries and ID cells turn into item IDs, filter
// entries and art entry numbers. The Filter dialog's ID field and the search's ID field share
// these rules.
namespace tessaplex::selection {

// A number typed into an ID field from formats::ItemArtBase upwards is taken as an art entry
// number.

// The item ID an ID field's text names. A text whose second character is a lower-case "x" is
// hexadecimal: the first two characters are dropped, whatever the first one is, and the rest is
// read by hexTextToInt ("0x4eed" and "1x20" are item IDs 0x4eed and 0x20). Any other text is
// read by decimalTextToInt (so "$", "X" and "0X" are hexadecimal too, and a text that is no
// integer gives 0); a value of formats::ItemArtBase or more, taken as unsigned, has
// formats::ItemArtBase taken off ("20205", "0X4eed" and "$4eed" are all item ID 3821).
[[nodiscard]] std::uint32_t itemIdFromIdField(std::string_view text);

// The entry form of an item ID: lower-case hexadecimal, zero-padded to four digits (3821 gives
// "0eed", 65536 gives "10000").
[[nodiscard]] std::string filterEntryText(std::uint32_t itemId);

// "&Add": the entry the ID field's text gives ("3821", "20205" and "0x0eed" give "0eed"; an empty
// or unreadable text gives "0000").
[[nodiscard]] std::string filterEntryFromIdField(std::string_view text);

// The art entry number the ID field previews while it is typed in: its item ID +
// formats::ItemArtBase, modulo 2^32 ("3821", "20205" and "0x0eed" all preview art entry 20205).
[[nodiscard]] std::uint32_t artEntryForIdField(std::string_view text);

// The art entry number a selected entry previews: the entry read by hexTextToInt (an empty entry
// gives 0) + formats::ItemArtBase, modulo 2^32.
[[nodiscard]] std::uint32_t artEntryForFilterEntry(std::string_view entry);

// "Add to Filter": the entry for the text of an "ID" cell, read by hexTextToInt ("00eed" and
// "00EED" give "0eed"). An empty cell gives nothing.
[[nodiscard]] std::optional<std::string> filterEntryFromIdCell(std::string_view cell);

} // namespace tessaplex::selection
