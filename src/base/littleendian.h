// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The client's files store every multi-byte number unsigned and little-endian, lowest byte
// first; these reads and writes give the same bytes whatever the host's byte order.
namespace tessaplex {

// The 16-bit value of bytes[0] (low) and bytes[1] (high).
[[nodiscard]] constexpr std::uint16_t readU16le(const unsigned char *bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

// b0 + b1 * 256 + b2 * 65536 + b3 * 16777216 for the bytes b0 to b3 in file order.
[[nodiscard]] constexpr std::uint32_t readU32le(const unsigned char *bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The 64-bit value of the bytes b0 to b7 in file order, b0 the lowest.
[[nodiscard]] constexpr std::uint64_t readU64le(const unsigned char *bytes) {
    return readU32le(bytes) | std::uint64_t{readU32le(bytes + 4)} << 32;
}

// Stores value in bytes[0] (low) and bytes[1] (high).
constexpr void writeU16le(unsigned char *bytes, std::uint16_t value) {
    bytes[0] = static_cast<unsigned char>(value & 0xFFu);
    bytes[1] = static_cast<unsigned char>(value >> 8);
}

// Stores value in bytes[0] (lowest) to bytes[3] (highest).
constexpr void writeU32le(unsigned char *bytes, std::uint32_t value) {
    bytes[0] = static_cast<unsigned char>(value & 0xFFu);
    bytes[1] = static_cast<unsigned char>((value >> 8) & 0xFFu);
    bytes[2] = static_cast<unsigned char>((value >> 16) & 0xFFu);
    bytes[3] = static_cast<unsigned char>(value >> 24);
}

} // namespace tessaplex
