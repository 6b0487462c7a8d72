// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace tessaplex::selection {

// The map rectangle that can restrict the filter: (x1, y1) is its top-left corner and (x2, y2)
// its bottom-right one, both included. All four comparisons take both sides as unsigned 32-bit
// numbers, so a negative bound is a very large one: x1 = -1 lets no ordinary X in, x2 = -1 sets no
// upper limit.
struct FilterArea {
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t x2 = 0;
    std::int32_t y2 = 0;
    // The check box "Use": without it the area restricts nothing.
    bool use = false;

    // The area the dialog's four fields give, each read by decimalTextToInt (0 when unreadable).
    [[nodiscard]] static FilterArea fromFields(std::string_view x1Text, std::string_view y1Text,
                                               std::string_view x2Text, std::string_view y2Text,
                                               bool use);

    // Whether an item with these "X" and "Y" cells passes: always when the area is not in use;
    // otherwise when the cells, read by decimalTextToInt, lie inside.
    [[nodiscard]] bool admits(std::string_view xText, std::string_view yText) const;
    // Whether the point lies inside the rectangle, in use or not.
    [[nodiscard]] bool contains(std::uint32_t x, std::uint32_t y) const;
};

} // namespace tessaplex::selection
