// SPDX-License-Identifier: GPL-3.0-or-later
#include "art/rgbcanvas.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace tessaplex::art {

RgbCanvas::RgbCanvas(int width, int height, ScreenColour initialColour)
    : m_width(std::max(width, 0))
    , m_height(std::max(height, 0))
    , m_rgb(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height) * 3) {
    fill(initialColour);
}

void RgbCanvas::fill(ScreenColour colour) {
    if (m_rgb.empty())
        return;
    m_rgb[0] = red(colour);
    m_rgb[1] = green(colour);
    m_rgb[2] = blue(colour);
    // Doubling copies: a few large copies instead of a loop over every pixel.
    std::size_t filled = 3;
    while (filled < m_rgb.size()) {
        const std::size_t n = std::min(filled, m_rgb.size() - filled);
        std::memcpy(m_rgb.data() + filled, m_rgb.data(), n);
        filled += n;
    }
}

void RgbCanvas::setPixel(int x, int y, ScreenColour colour) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                            static_cast<std::size_t>(x)) *
                           3;
    m_rgb[at] = red(colour);
    m_rgb[at + 1] = green(colour);
    m_rgb[at + 2] = blue(colour);
}

ScreenColour RgbCanvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                            static_cast<std::size_t>(x)) *
                           3;
    return screenColour(m_rgb[at], m_rgb[at + 1], m_rgb[at + 2]);
}

} // namespace tessaplex::art
