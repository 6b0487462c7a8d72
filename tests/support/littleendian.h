// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace tessaplex::test {

// 32-bit little-endian bytes, for file fixtures written byte by byte.
[[nodiscard]] std::string u32le(std::uint32_t value);
// 64-bit little-endian bytes.
[[nodiscard]] std::string u64le(std::uint64_t value);
// 16-bit little-endian bytes.
[[nodiscard]] std::string u16le(std::uint16_t value);

} // namespace tessaplex::test
