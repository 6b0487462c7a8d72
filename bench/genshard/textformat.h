// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace tessaplex::bench {

// Appends value in lower-case hexadecimal, zero-padded to at least minDigits digits.
void appendHex(std::string &out, std::uint32_t value, int minDigits = 1);
// Appends value in decimal.
void appendInt(std::string &out, std::int64_t value);

} // namespace tessaplex::bench
