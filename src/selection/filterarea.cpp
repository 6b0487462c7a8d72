// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filterarea.h"

#include "world/numberrules.h"

namespace tessaplex::selection {

FilterArea FilterArea::fromFields(std::string_view x1Text, std::string_view y1Text,
                                  std::string_view x2Text, std::string_view y2Text, bool use) {
    FilterArea area;
    area.x1 = world::decimalTextToInt(x1Text);
    area.y1 = world::decimalTextToInt(y1Text);
    area.x2 = world::decimalTextToInt(x2Text);
    area.y2 = world::decimalTextToInt(y2Text);
    area.use = use;
    return area;
}

bool FilterArea::contains(std::uint32_t x, std::uint32_t y) const {
    return static_cast<std::uint32_t>(x1) <= x && x <= static_cast<std::uint32_t>(x2) &&
           static_cast<std::uint32_t>(y1) <= y && y <= static_cast<std::uint32_t>(y2);
}

bool FilterArea::admits(std::string_view xText, std::string_view yText) const {
    if (!use)
        return true;
    return contains(static_cast<std::uint32_t>(world::decimalTextToInt(xText)),
                    static_cast<std::uint32_t>(world::decimalTextToInt(yText)));
}

} // namespace tessaplex::selection
