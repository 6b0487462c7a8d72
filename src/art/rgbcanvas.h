// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "art/pixelcanvas.h"

#include <cstdint>
#include <vector>

namespace tessaplex::art {

// A canvas in memory: three bytes per pixel (red, green, blue), rows from the top, no padding.
// Used where no window is at hand: the CLI, tests, benchmarks and the fuzzer.
class RgbCanvas : public PixelCanvas {
public:
    // A canvas of width x height pixels (negative sizes count as 0), every pixel initialColour.
    RgbCanvas(int width, int height, ScreenColour initialColour = White);

    [[nodiscard]] int width() const override { return m_width; }
    [[nodiscard]] int height() const override { return m_height; }
    void fill(ScreenColour colour) override;
    void setPixel(int x, int y, ScreenColour colour) override;

    // The colour at (x, y); 0 outside the canvas.
    [[nodiscard]] ScreenColour pixel(int x, int y) const;
    // width() * height() * 3 bytes: red, green, blue of each pixel, row by row from the top.
    [[nodiscard]] const std::vector<std::uint8_t> &rgb() const { return m_rgb; }

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_rgb;
};

} // namespace tessaplex::art
