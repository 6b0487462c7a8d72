// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/numberrules.h"

#include "formats/mapgeometry.h"

#include "base/error.h"

#include <cstdio>

namespace tessaplex::world {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string paddedHex(std::uint32_t value, const char *format) {
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(value));
    return std::string(buffer, static_cast<std::size_t>(n));
}

} // namespace

std::uint32_t hexTextToInt(std::string_view text) {
    // Positions beyond the eighth from the right are multiples of 2^32 and vanish.
    if (text.size() > 8)
        text.remove_prefix(text.size() - 8);
    std::uint32_t value = 0;
    for (char c : text) {
        const int d = hexDigit(c);
        value = value * 16u + static_cast<std::uint32_t>(d < 0 ? 0 : d);
    }
    return value;
}

std::string idText(std::uint32_t value) {
    return paddedHex(value, "%05x");
}

std::string upperIdText(std::uint32_t value) {
    return paddedHex(value, "%05X");
}

std::optional<std::int32_t> parseIntegerByTheRules(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    text.remove_prefix(i);
    if (text.empty())
        return std::nullopt;

    bool hex = false;
    if (text[0] == '$' || text[0] == 'x' || text[0] == 'X') {
        hex = true;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = true;
        text.remove_prefix(2);
    }

    if (hex) {
        if (text.empty())
            return std::nullopt;
        std::uint64_t value = 0;
        int significant = 0;
        for (char c : text) {
            const int d = hexDigit(c);
            if (d < 0)
                return std::nullopt;
            if (significant > 0 || d != 0)
                ++significant;
            if (significant > 8)
                return std::nullopt;
            value = value * 16 + static_cast<std::uint64_t>(d);
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }

    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t decimalTextToInt(std::string_view text) {
    return parseInteger(text).value_or(0);
}

std::int32_t strictDecimalTextToInt(std::string_view text) {
    if (auto value = parseInteger(text))
        return *value;
    throw Error("'" + std::string(text) + "' is not a valid integer value");
}

std::uint32_t blockIndex(std::string_view xText, std::string_view yText) {
    const auto x = static_cast<std::uint32_t>(decimalTextToInt(xText));
    const auto y = static_cast<std::uint32_t>(decimalTextToInt(yText));
    return formats::blockOf(x, y);
}

void appendDecimal(std::string &out, std::int64_t value) {
    char buffer[24];
    char *end = buffer + sizeof buffer;
    char *p = end;
    const bool negative = value < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        *--p = '-';
    out.append(p, static_cast<std::size_t>(end - p));
}

} // namespace tessaplex::world
