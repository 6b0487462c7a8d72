// SPDX-License-Identifier: GPL-3.0-or-later
#include "textformat.h"

namespace tessaplex::bench {

void appendHex(std::string &out, std::uint32_t value, int minDigits) {
    char digits[8];
    int n = 0;
    do {
        digits[n++] = "0123456789abcdef"[value & 15u];
        value >>= 4;
    } while (value);
    for (int pad = n; pad < minDigits; ++pad)
        out.push_back('0');
    while (n)
        out.push_back(digits[--n]);
}

void appendInt(std::string &out, std::int64_t value) {
    char digits[24];
    int n = 0;
    const bool negative = value < 0;
    auto magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (negative)
        out.push_back('-');
    while (n)
        out.push_back(digits[--n]);
}

} // namespace tessaplex::bench
