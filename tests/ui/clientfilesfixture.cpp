// SPDX-License-Identifier: GPL-3.0-or-later
#include "clientfilesfixture.h"

#include "support/littleendian.h"

#include <algorithm>

namespace tessaplex::uitest {

std::string huesOfOneColour(std::uint16_t colour, int hueCount) {
    std::string hue;
    for (int i = 0; i < 32; ++i)
        hue += test::u16le(colour);
    hue += test::u16le(0) + test::u16le(0) + std::string(20, '\0');
    std::string bytes;
    for (int made = 0; made < hueCount; made += 8) {
        bytes += test::u32le(0);
        for (int i = 0; i < 8; ++i)
            bytes += hue;
    }
    return bytes;
}

std::string tileDataOf(const std::vector<TileItem> &items) {
    constexpr std::size_t LandGroupSize = 4 + 32 * 26;
    std::string bytes(512 * LandGroupSize, '\0');
    std::uint32_t last = 0;
    for (const TileItem &item : items)
        last = std::max(last, item.id);
    // Whole groups, as the client's files hold them.
    for (std::uint32_t id = 0; id < (last / 32 + 1) * 32; ++id) {
        if (id % 32 == 0)
            bytes += test::u32le(0);
        const auto given = std::find_if(items.begin(), items.end(),
                                        [id](const TileItem &item) { return item.id == id; });
        const std::uint32_t flags = given == items.end() ? 0 : given->flags;
        std::string name = given == items.end() ? std::string() : given->name;
        name.resize(20, '\0');
        // flags, weight, quality, misc, animation, hue, light, height, name
        bytes += test::u32le(flags) + std::string(2, '\0') + test::u32le(0) + test::u16le(0) +
                 test::u16le(0) + test::u16le(0) + std::string(1, '\0') + name;
    }
    return bytes;
}

} // namespace tessaplex::uitest
