// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/littleendian.h"

namespace tessaplex::test {

std::string u32le(std::uint32_t value) {
    std::string out;
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

std::string u64le(std::uint64_t value) {
    return u32le(static_cast<std::uint32_t>(value)) +
           u32le(static_cast<std::uint32_t>(value >> 32));
}

std::string u16le(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

} // namespace tessaplex::test
