// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "art/screencolour.h"

namespace tessaplex::art {

// Where art is drawn: a fixed-size picture of width() x height() pixels, (0, 0) at the top left.
// The drawing calls setPixel only for coordinates inside the picture, so an implementation need
// not clip; implementations still ignore coordinates outside it rather than write out of bounds.
class PixelCanvas {
public:
    virtual ~PixelCanvas() = default;

    [[nodiscard]] virtual int width() const = 0;
    [[nodiscard]] virtual int height() const = 0;
    // Paints every pixel of the picture with colour.
    virtual void fill(ScreenColour colour) = 0;
    // Paints the pixel at column x, row y with colour.
    virtual void setPixel(int x, int y, ScreenColour colour) = 0;
};

} // namespace tessaplex::art
