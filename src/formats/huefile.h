// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/bytesource.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

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

// The hue an item's COLOR value names, read from a hue file; nothing for none (0, or a number
// whose hue the file does not hold whole).
[[nodiscard]] std::optional<Hue> readHue(io::ByteSource &file, std::uint32_t color);

} // namespace tessaplex::formats
