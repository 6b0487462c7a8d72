// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tessaplex::art {

// A 24-bit colour as the screen takes it: red in the lowest byte, green in the next, blue in the
// next; the highest byte is 0.
using ScreenColour = std::uint32_t;

inline constexpr ScreenColour White = 0xFFFFFF;
inline constexpr ScreenColour Black = 0x000000;

[[nodiscard]] constexpr std::uint8_t red(ScreenColour colour) {
    return static_cast<std::uint8_t>(colour & 0xFF);
}
[[nodiscard]] constexpr std::uint8_t green(ScreenColour colour) {
    return static_cast<std::uint8_t>((colour >> 8) & 0xFF);
}
[[nodiscard]] constexpr std::uint8_t blue(ScreenColour colour) {
    return static_cast<std::uint8_t>((colour >> 16) & 0xFF);
}
[[nodiscard]] constexpr ScreenColour screenColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<ScreenColour>(r) | static_cast<ScreenColour>(g) << 8 |
           static_cast<ScreenColour>(b) << 16;
}

// A 5-bit colour component (0 to 31) widened to 8 bits: c * 255 / 31 with the remainder dropped,
// so 31 gives 255, 16 gives 131 and 1 gives 8.
[[nodiscard]] constexpr std::uint8_t widenComponent(unsigned component) {
    return static_cast<std::uint8_t>((component & 0x1F) * 255 / 31);
}

// An art pixel (bits 14-10 red, 9-5 green, 4-0 blue; bit 15 ignored) as a screen colour.
// 0x7FFF gives white, 0x001F pure blue (0xFF0000), 0x8000 black.
[[nodiscard]] constexpr ScreenColour screenColourFromPixel(std::uint16_t pixel) {
    return screenColour(widenComponent(pixel >> 10), widenComponent(pixel >> 5),
                        widenComponent(pixel));
}

} // namespace tessaplex::art
