// SPDX-License-Identifier: GPL-3.0-or-later
// Art pixels through a hue: the pixel's red picks the hue's colour; a partial hue leaves every
// pixel that is not grey as it is.
#include "art/pixelcolours.h"

#include <gtest/gtest.h>

namespace tessaplex::test {
namespace {

TEST(PixelColours, AHuePicksItsColourByThePixelsRed) {
    formats::Hue hue;
    for (std::size_t k = 0; k < hue.colours.size(); ++k)
        hue.colours[k] = static_cast<std::uint16_t>(0x0400 * (31 - k) + k); // never grey
    const art::PixelColours full(hue, false);
    const art::PixelColours partial(hue, true);
    const struct {
        std::uint16_t pixel;
        std::uint16_t full, partial;
    } cases[] = {
        {0x0000, hue.colours[0], hue.colours[0]},            // black is grey
        {0x7FFF, hue.colours[31], hue.colours[31]},          // white is grey
        {0x8000 | 0x4210, hue.colours[16], hue.colours[16]}, // bit 15 plays no part
        {0x4000 | 0x001F, hue.colours[16], 0x401F},          // red 16 with blue: not grey
        {0x03E0, hue.colours[0], 0x03E0},                    // pure green
    };
    for (const auto &c : cases) {
        EXPECT_EQ(full.huedPixel(c.pixel), c.full) << c.pixel;
        EXPECT_EQ(partial.huedPixel(c.pixel), c.partial) << c.pixel;
        EXPECT_EQ(full(c.pixel), art::screenColourFromPixel(c.full));
    }
    EXPECT_EQ(art::PixelColours()(0x001F), 0xFF0000u);
}

} // namespace
} // namespace tessaplex::test
