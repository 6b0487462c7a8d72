// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Reads of the client's binary files: every multi-byte number is unsigned little-endian, lowest
// byte first, whatever the host's byte order.
namespace tessaplex::art {

// The 16-bit value in bytes[0] (low) and bytes[1] (high).
[[nodiscard]] constexpr std::uint16_t readU16le(const unsigned char *bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

// The 32-bit value in bytes[0] (lowest) to bytes[3] (highest).
[[nodiscard]] constexpr std::uint32_t readU32le(const unsigned char *bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Writes value into bytes[0] (low) and bytes[1] (high).
constexpr void writeU16le(unsigned char *bytes, std::uint16_t value) {
    bytes[0] = static_cast<unsigned char>(value & 0xFF);
    bytes[1] = static_cast<unsigned char>(value >> 8);
}

// Writes value into bytes[0] (lowest) to bytes[3] (highest).
constexpr void writeU32le(unsigned char *bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
}

} // namespace tessaplex::art
