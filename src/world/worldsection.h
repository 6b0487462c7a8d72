// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tessaplex::world {

// Whether a line of the world file opens an item section: "[WORLDITEM" and at least two more
// characters (a blank and the item's ID).
[[nodiscard]] constexpr bool isItemSectionHeader(std::string_view line) {
    return line.size() > 11 && line.substr(0, 10) == "[WORLDITEM";
}

} // namespace tessaplex::world
