// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// hues.mul, the client's table of hues: groups of 708 bytes, each a u32 header and 8 hues of 88
// bytes. A hue is 32 u16 colours (15-bit pixels, red in bits 14 to 10), a u16 table start, a u16
// table end and a 20-byte name. Hue number h (counted from 1) is hue h - 1 of the file.
//
// An item's COLOR value c names hue c & 0x3FFF; 0, or a number beyond the file, means no hue.
// The bit 0x8000 asks for a partial hue, which changes only the grey pixels.
namespace tessaplex::formats {

inline constexpr std::size_t HueGroupSize = 708;
inline constexpr std::size_t HueSize = 88;
inline constexpr std::size_t HuesPerGroup = 8;
inline constexpr std::uint32_t HueNumberMask = 0x3FFF;
inline constexpr std::uint32_t PartialHueBit = 0x8000;

struct Hue {
    std::array<std::uint16_t, 32> colours{};
};

class HueTable {
public:
    // The hues of the file's bytes; a group cut short by the file's end keeps the hues it holds
    // whole.
    [[nodiscard]] static HueTable parse(std::string_view bytes);

    [[nodiscard]] std::size_t size() const { return m_hues.size(); }
    // The hue an item's COLOR value names; null for none (0, or beyond the file).
    [[nodiscard]] const Hue *ofColor(std::uint32_t color) const;

private:
    std::vector<Hue> m_hues;
};

} // namespace tessaplex::formats
