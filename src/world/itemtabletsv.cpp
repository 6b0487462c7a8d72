// SPDX-License-Identifier: GPL-3.0-or-later
// The TSV of the item table: the pointer writers of the rows and the way they are handed on.
#include "world/itemtable.h"

#include "world/twothreadtsv.h"

#include <cstring>
#include <memory>

namespace tessaplex::world {

namespace {

// Pointer writers for the TSV rows: a million rows of ten cells each are printed in one go, and
// the numbers of a column differ in length from row to row. Each writer writes a fixed number of
// bytes, of which the first ones are the cell's text, and returns the cell's end, so that no
// branch depends on a number's length; the bytes beyond are overwritten by what follows.
constexpr std::size_t Spill = 16;
// A row whose texts are all inline takes at most this much: four numbers of at most 11
// characters, an ID of at most 8, the mark, 9 TABs and the LF, and four texts of 7.
constexpr std::size_t ShortTsvRow = 4 * 11 + 8 + 3 + 10 + 4 * 7;

constexpr char DigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233"
                              "34353637383940414243444546474849505152535455565758596061626364656667"
                              "6869707172737475767778798081828384858687888990919293949596979899";

int decimalDigits(std::uint32_t v) {
    return 1 + (v >= 10u) + (v >= 100u) + (v >= 1000u) + (v >= 10000u) + (v >= 100000u) +
           (v >= 1000000u) + (v >= 10000000u) + (v >= 100000000u) + (v >= 1000000000u);
}

// Writes the decimal digits of value at p, and up to Spill bytes in all; returns their end.
char *writeUnsigned(char *p, std::uint32_t value) {
    const int n = decimalDigits(value);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (value < 100000000u) {
        // Eight digits, leading zeros included, built in a register: the first digit in the
        // lowest byte. Shifting drops the leading zeros.
        const auto pair = [](std::uint32_t twoDigits) {
            std::uint16_t chars;
            std::memcpy(&chars, DigitPairs + 2 * twoDigits, 2);
            return std::uint64_t{chars};
        };
        std::uint64_t word = pair(value / 1000000u) | pair(value / 10000u % 100u) << 16 |
                             pair(value / 100u % 100u) << 32 | pair(value % 100u) << 48;
        word >>= 8 * (8 - n);
        std::memcpy(p, &word, sizeof word);
        return p + n;
    }
#endif
    char digits[10 + Spill] = {};
    const std::uint32_t low = value % 100000000u;
    const std::uint32_t pairs[5] = {value / 100000000u, low / 1000000u, low / 10000u % 100u,
                                    low / 100u % 100u, low % 100u};
    for (int i = 0; i < 5; ++i)
        std::memcpy(digits + 2 * i, DigitPairs + 2 * pairs[i], 2);
    std::memcpy(p, digits + 10 - n, Spill);
    return p + n;
}

char *writeSigned(char *p, std::int32_t value) {
    if (value < 0) {
        *p++ = '-';
        return writeUnsigned(p, 0u - static_cast<std::uint32_t>(value));
    }
    return writeUnsigned(p, static_cast<std::uint32_t>(value));
}

// The ID text: hexadecimal, at least five digits; up to Spill bytes are written.
char *writeHex(char *p, std::uint32_t value, bool upper) {
    const char *symbols = upper ? "0123456789ABCDEF" : "0123456789abcdef";
#if defined(__GNUC__)
    int n = (32 - __builtin_clz(value | 1u) + 3) / 4;
#else
    int n = 1;
    for (std::uint32_t rest = value >> 4; rest != 0; rest >>= 4)
        ++n;
#endif
    n = n < 5 ? 5 : n;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // The eight digits in a register, the first in the lowest byte; see writeUnsigned.
    std::uint64_t word = 0;
    for (int i = 0; i < 8; ++i)
        word |= std::uint64_t{static_cast<unsigned char>(symbols[(value >> (28 - 4 * i)) & 15u])}
                << (8 * i);
    word >>= 8 * (8 - n);
    std::memcpy(p, &word, sizeof word);
#else
    char digits[8 + Spill] = {};
    for (int i = 0; i < 8; ++i)
        digits[i] = symbols[(value >> (28 - 4 * i)) & 15u];
    std::memcpy(p, digits + 8 - n, Spill);
#endif
    return p + n;
}

char *writeText(char *p, std::string_view text) {
    if (!text.empty())
        std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

} // namespace

char *ItemTable::writeCell(char *p, const SmallText &text) const {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (text.size != LongText) {
        // The seven character bytes, written as one word; those past the size are overwritten.
        std::uint64_t word;
        std::memcpy(&word, static_cast<const void *>(&text), sizeof word);
        word >>= 8;
        std::memcpy(p, &word, sizeof word);
        return p + text.size;
    }
#endif
    return writeText(p, view(text));
}

char *ItemTable::writeTsvRow(char *p, int index) const {
    const Row &r = row(index);
    if (r.flags & HasLines)
        p = writeSigned(p, r.startLine);
    *p++ = '\t';
    if (r.flags & HasLines)
        p = writeSigned(p, r.endLine);
    *p++ = '\t';
    if (r.idForm != IdForm::Empty)
        p = writeHex(p, r.id, r.idForm == IdForm::Upper);
    *p++ = '\t';
    p = writeCell(p, r.x);
    *p++ = '\t';
    p = writeCell(p, r.y);
    *p++ = '\t';
    p = writeCell(p, r.z);
    *p++ = '\t';
    if (r.flags & HasColor)
        p = writeUnsigned(p, r.color);
    *p++ = '\t';
    p = writeCell(p, r.attr);
    *p++ = '\t';
    if (r.flags & HasPosition)
        p = writeUnsigned(p, r.block);
    *p++ = '\t';
    // The mark and the line end, four bytes written whatever the mark.
    static constexpr char Ends[3][4] = {{'\n'}, {'N', 'O', '\n'}, {'Y', 'E', 'S', '\n'}};
    static constexpr int EndSizes[3] = {1, 3, 4};
    const auto mark = static_cast<std::size_t>(r.mark);
    std::memcpy(p, Ends[mark], 4);
    return p + EndSizes[mark];
}

std::size_t ItemTable::tsvRowLimit(int index) const {
    const Row &r = row(index);
    // Four numbers of at most 11 characters, an ID of at most 8, the mark, 9 TABs and the LF,
    // and the four texts.
    return 4 * 11 + 8 + 3 + 10 + view(r.x).size() + view(r.y).size() + view(r.z).size() +
           view(r.attr).size();
}

void ItemTable::appendTsvRow(std::string &out, int index) const {
    if (index == 0) {
        for (int column = 0; column < ColumnCount; ++column) {
            if (column)
                out.push_back('\t');
            appendCellText(out, static_cast<Column>(column), 0);
        }
        out.push_back('\n');
        return;
    }
    const std::size_t before = out.size();
    out.resize(before + tsvRowLimit(index) + Spill);
    char *const first = &out[before];
    out.resize(before + static_cast<std::size_t>(writeTsvRow(first, index) - first));
}

void ItemTable::writeTsvRows(int first, int last, char *buffer, std::size_t &used,
                             const std::function<void(std::string_view)> &write) const {
    std::string wide;
    for (int index = first; index < last; ++index) {
        const Row &r = row(index);
        const bool allInline = index > 0 && r.x.size != LongText && r.y.size != LongText &&
                               r.z.size != LongText && r.attr.size != LongText;
        if (allInline) {
            if (used + ShortTsvRow + Spill > TsvPieceSize) {
                write({buffer, used});
                used = 0;
            }
            used = static_cast<std::size_t>(writeTsvRow(buffer + used, index) - buffer);
            continue;
        }
        wide.clear();
        appendTsvRow(wide, index);
        if (used + wide.size() > TsvPieceSize) {
            write({buffer, used});
            used = 0;
        }
        if (wide.size() > TsvPieceSize) {
            write(wide);
        } else {
            std::memcpy(buffer + used, wide.data(), wide.size());
            used += wide.size();
        }
    }
}

void ItemTable::writeTsv(const std::function<void(std::string_view)> &write) const {
    const int rows = rowCount();
    TsvRowWriters writers;
    writers.writeHere = [&](int first, int last) {
        std::unique_ptr<char[]> buffer(new char[TsvPieceSize]);
        std::size_t used = 0;
        writeTsvRows(first, last, buffer.get(), used, write);
        if (used)
            write({buffer.get(), used});
    };
    writers.roomFor = [this](int first, int last) {
        // No row needs more than a short row's room and the texts it keeps aside.
        std::size_t room = static_cast<std::size_t>(last - first) * ShortTsvRow + Spill;
        for (const std::string &text : m_longTexts)
            room += text.size();
        return room;
    };
    writers.formatAt = [this](int first, int last, char *out) {
        return writeTsvRowsAt(first, last, out);
    };
    // A large table is formatted by two threads; one thread writing every row is the plain way.
    if (!writeTsvOnTwoThreads(rows, writers, write))
        writers.writeHere(0, rows);
}

char *ItemTable::writeTsvRowsAt(int first, int last, char *out) const {
    for (int index = first; index < last; ++index)
        out = writeTsvRow(out, index);
    return out;
}

} // namespace tessaplex::world
