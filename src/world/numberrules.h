// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The text-to-number rules every command uses when it reads a cell or a field as a number.
namespace tessaplex::world {

// Every character is one digit position, read from the right; a character that is no hex digit
// counts as a zero digit. Only the last 8 characters can matter ("0x1A" and "1A" give 26,
// "zz" gives 0, "" gives 0). Texts of any length are accepted.
[[nodiscard]] std::uint32_t hexTextToInt(std::string_view text);

// Lower-case hexadecimal, zero-padded to at least five digits: 3900 -> "00f3c".
[[nodiscard]] std::string idText(std::uint32_t value);
// The catalog's form: upper-case hexadecimal, zero-padded to at least five digits: "00F3C".
[[nodiscard]] std::string upperIdText(std::uint32_t value);

// Leading blanks, then an optional sign and decimal digits, or one of "$", "x", "X", "0x", "0X"
// and at most eight significant hex digits; nothing may follow. Returns nothing when the text is
// no integer by that syntax (the empty text included) or a decimal value leaves the signed
// 32-bit range. Eight-digit hex values from 80000000 give the negative value of those 32 bits.
[[nodiscard]] inline std::optional<std::int32_t> parseInteger(std::string_view text);

// parseInteger by every rule, for the texts that are not just a few digits.
[[nodiscard]] std::optional<std::int32_t> parseIntegerByTheRules(std::string_view text);

std::optional<std::int32_t> parseInteger(std::string_view text) {
    // Nearly every cell is one to nine plain digits, which every rule reads as the same decimal
    // value: they take no branch on what each character is.
    if (text.size() - 1 < 9) {
        std::uint32_t value = 0;
        bool digits = true;
        for (const char c : text) {
            const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
            digits &= digit < 10;
            value = value * 10 + digit;
        }
        if (digits)
            return static_cast<std::int32_t>(value);
    }
    return parseIntegerByTheRules(text);
}

// parseInteger, with 0 for a text that is no integer.
[[nodiscard]] std::int32_t decimalTextToInt(std::string_view text);

// parseInteger, throwing Error("'<text>' is not a valid integer value") for a text that is none.
[[nodiscard]] std::int32_t strictDecimalTextToInt(std::string_view text);

// (x div 8) * 512 + (y div 8) modulo 2^32, with x and y read by decimalTextToInt and taken as
// unsigned 32-bit values.
[[nodiscard]] std::uint32_t blockIndex(std::string_view xText, std::string_view yText);

// Appends the decimal form of a value to out, without going through a stream.
void appendDecimal(std::string &out, std::int64_t value);

} // namespace tessaplex::world
