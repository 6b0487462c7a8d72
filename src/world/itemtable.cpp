// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/itemtable.h"
#include "base/backgroundwork.h"

#include "base/parallelism.h"
#include "world/numberrules.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace tessaplex::world {

namespace {

constexpr std::array<std::string_view, ColumnCount> headings = {
    "Startzeile", "EndZeile", "ID", "X", "Y", "Z", "COLOR", "ATTR", "BLOCK", "PATCH"};

void appendHex(std::string &out, std::uint32_t value, bool upper) {
    const char *digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char buffer[8];
    int n = 0;
    do {
        buffer[n++] = digits[value & 15u];
        value >>= 4;
    } while (value != 0);
    for (int pad = n; pad < 5; ++pad)
        out.push_back('0');
    while (n > 0)
        out.push_back(buffer[--n]);
}

#if !(defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__)
// Copies a text of at most 7 bytes with two fixed-size copies that may overlap, instead of a
// call to memcpy: four of these are made for every row.
void copySmall(char *to, std::string_view text) {
    const char *from = text.data();
    const std::size_t n = text.size();
    if (n >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + n - 4, from + n - 4, 4);
    } else if (n >= 2) {
        std::memcpy(to, from, 2);
        std::memcpy(to + n - 2, from + n - 2, 2);
    } else if (n == 1) {
        to[0] = from[0];
    }
}
#endif

// Pointer writers for the TSV rows: a million rows of ten cells each are printed in one go, and
// the numbers of a column differ in length from row to row. Each writer writes a fixed number of
// bytes, of which the first ones are the cell's text, and returns the cell's end, so that no
// branch depends on a number's length; the bytes beyond are overwritten by what follows.
constexpr std::size_t Spill = 16;
// A row whose texts are all inline takes at most this much: four numbers of at most 11
// characters, an ID of at most 8, the mark, 9 TABs and the LF, and four texts of 7.
constexpr std::size_t ShortTsvRow = 4 * 11 + 8 + 3 + 10 + 4 * 7;
// The rows are handed on in pieces of this size.
constexpr std::size_t TsvBufferSize = std::size_t{1} << 20;

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

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
// The bytes of a text of at most 7 bytes as a little-endian number, read with two loads that
// may overlap.
std::uint64_t smallWord(std::string_view text) {
    const char *p = text.data();
    const std::size_t n = text.size();
    if (n >= 4) {
        std::uint32_t low, high;
        std::memcpy(&low, p, 4);
        std::memcpy(&high, p + n - 4, 4);
        return std::uint64_t{low} | (std::uint64_t{high} << (8 * (n - 4)));
    }
    if (n >= 2) {
        std::uint16_t low, high;
        std::memcpy(&low, p, 2);
        std::memcpy(&high, p + n - 2, 2);
        return std::uint64_t{low} | (std::uint64_t{high} << (8 * (n - 2)));
    }
    return n == 1 ? static_cast<unsigned char>(p[0]) : 0;
}
#endif

// The value of a text of one to nine decimal digits and nothing else, the form of nearly every
// coordinate; -1 for any other text.
std::int64_t plainDigits(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return -1;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// blockIndex, with plain digits read without the general number rule.
std::uint32_t fastBlockIndex(std::string_view xText, std::string_view yText) {
    const std::int64_t x = plainDigits(xText);
    const std::int64_t y = plainDigits(yText);
    if (x < 0 || y < 0)
        return blockIndex(xText, yText);
    return static_cast<std::uint32_t>(x / 8) * 512u + static_cast<std::uint32_t>(y / 8);
}

} // namespace

std::string_view columnHeading(Column column) {
    return headings[static_cast<std::size_t>(column)];
}

ItemTable::ItemTable()
    : m_rows(2) {}

void ItemTable::startAnalysis() {
    m_rows.assign(1, Row{});
    m_longTexts.clear();
    m_hasHeadings = true;
    m_analysed = true;
}

void ItemTable::reserve(std::size_t items) {
    m_rows.reserve(items + 1);
}

ItemTable::SmallText ItemTable::store(std::string_view text) {
    SmallText small;
    if (text.size() <= sizeof small.chars) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        // Built in a register: writing the bytes one by one and reading the whole back would
        // stall, four times for every row.
        const std::uint64_t word = (smallWord(text) << 8) | text.size();
        static_assert(sizeof small == sizeof word, "a small text is one word");
        std::memcpy(static_cast<void *>(&small), &word, sizeof word);
#else
        small.size = static_cast<std::uint8_t>(text.size());
        copySmall(small.chars, text);
#endif
        return small;
    }
    const auto index = static_cast<std::uint32_t>(m_longTexts.size());
    m_longTexts.emplace_back(text);
    small.size = LongText;
    std::memcpy(small.chars, &index, sizeof index);
    return small;
}

std::string_view ItemTable::view(const SmallText &text) const {
    if (text.size != LongText)
        return {text.chars, text.size};
    std::uint32_t index;
    std::memcpy(&index, text.chars, sizeof index);
    return m_longTexts[index];
}

void ItemTable::appendRowsOf(const ItemTable &other) {
    const auto shift = static_cast<std::uint32_t>(m_longTexts.size());
    m_longTexts.insert(m_longTexts.end(), other.m_longTexts.begin(), other.m_longTexts.end());
    const std::size_t first = m_rows.size();
    m_rows.insert(m_rows.end(), other.m_rows.begin() + 1, other.m_rows.end());
    if (shift == 0)
        return;
    // The other table's long texts now stand behind this one's.
    for (std::size_t i = first; i < m_rows.size(); ++i) {
        for (SmallText *text : {&m_rows[i].x, &m_rows[i].y, &m_rows[i].z, &m_rows[i].attr}) {
            if (text->size != LongText)
                continue;
            std::uint32_t index;
            std::memcpy(&index, text->chars, sizeof index);
            index += shift;
            std::memcpy(text->chars, &index, sizeof index);
        }
    }
}

void ItemTable::appendItem(const ItemFields &fields) {
    Row row;
    row.startLine = fields.startLine;
    row.endLine = fields.endLine;
    row.id = fields.id;
    row.idForm = fields.idForm;
    row.color = fields.color;
    row.flags = HasLines | HasColor;
    if (fields.hasPosition) {
        row.flags |= HasPosition;
        row.x = store(fields.x);
        row.y = store(fields.y);
        row.z = store(fields.z);
        row.block = fastBlockIndex(fields.x, fields.y);
    }
    row.attr = store(fields.attr);
    row.mark = Mark::No;
    m_rows.push_back(row);
}

void ItemTable::appendCellText(std::string &out, Column column, int index) const {
    if (index == 0) {
        if (m_hasHeadings)
            out.append(columnHeading(column));
        return;
    }
    const Row &r = row(index);
    switch (column) {
    case Column::StartLine:
        if (r.flags & HasLines)
            appendDecimal(out, r.startLine);
        break;
    case Column::EndLine:
        if (r.flags & HasLines)
            appendDecimal(out, r.endLine);
        break;
    case Column::Id:
        if (r.idForm != IdForm::Empty)
            appendHex(out, r.id, r.idForm == IdForm::Upper);
        break;
    case Column::X:
        out.append(view(r.x));
        break;
    case Column::Y:
        out.append(view(r.y));
        break;
    case Column::Z:
        out.append(view(r.z));
        break;
    case Column::Color:
        if (r.flags & HasColor)
            appendDecimal(out, r.color);
        break;
    case Column::Attr:
        out.append(view(r.attr));
        break;
    case Column::Block:
        if (r.flags & HasPosition)
            appendDecimal(out, r.block);
        break;
    case Column::Patch:
        if (r.mark == Mark::Yes)
            out.append("YES");
        else if (r.mark == Mark::No)
            out.append("NO");
        break;
    }
}

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
            if (used + ShortTsvRow + Spill > TsvBufferSize) {
                write({buffer, used});
                used = 0;
            }
            used = static_cast<std::size_t>(writeTsvRow(buffer + used, index) - buffer);
            continue;
        }
        wide.clear();
        appendTsvRow(wide, index);
        if (used + wide.size() > TsvBufferSize) {
            write({buffer, used});
            used = 0;
        }
        if (wide.size() > TsvBufferSize) {
            write(wide);
        } else {
            std::memcpy(buffer + used, wide.data(), wide.size());
            used += wide.size();
        }
    }
}

void ItemTable::writeTsv(const std::function<void(std::string_view)> &write) const {
    std::unique_ptr<char[]> buffer(new char[TsvBufferSize]);
    std::size_t used = 0;
    // A large table is formatted by two threads: the second half of the rows into memory of its
    // own while the first half is written, then the second. (Finer pieces, each in memory of its
    // own, cost more than they save.)
    constexpr int ParallelFrom = 50000;
    const int rows = rowCount();
    if (!twoThreadsFor(static_cast<std::size_t>(rows), ParallelFrom)) {
        writeTsvRows(0, rows, buffer.get(), used, write);
        if (used)
            write({buffer.get(), used});
        return;
    }
    // Row 0 is the heading row, which only this thread writes.
    const int middle = std::max(1, rows / 2);
    // No row needs more than a short row's room and the texts it keeps aside.
    std::size_t room = static_cast<std::size_t>(rows - middle) * ShortTsvRow + Spill;
    for (const std::string &text : m_longTexts)
        room += text.size();
    LargeArray<char> second(room);
    std::size_t secondSize = 0;
    // The worker reads nothing that this thread writes while it runs: the bounds are its own
    // copies, since a variable on this stack may share a cache line with `used`.
    BackgroundWork worker([this, middle, rows, out = second.data(), &secondSize] {
        char *p = out;
        for (int index = middle; index < rows; ++index)
            p = writeTsvRow(p, index);
        secondSize = static_cast<std::size_t>(p - out);
    });
    // Without a second thread this one writes every row.
    const int firstEnd = worker.started() ? middle : rows;
    writeTsvRows(0, firstEnd, buffer.get(), used, write);
    if (used)
        write({buffer.get(), used});
    worker.finish();
    for (std::size_t at = 0; at < secondSize; at += TsvBufferSize)
        write({second.data() + at, std::min(TsvBufferSize, secondSize - at)});
}

std::string ItemTable::cellText(Column column, int index) const {
    std::string text;
    appendCellText(text, column, index);
    return text;
}

std::uint32_t ItemTable::idValue(int index) const {
    const Row &r = row(index);
    return r.idForm == IdForm::Empty ? 0 : r.id;
}

std::string_view ItemTable::xText(int index) const {
    return view(row(index).x);
}
std::string_view ItemTable::yText(int index) const {
    return view(row(index).y);
}
std::string_view ItemTable::zText(int index) const {
    return view(row(index).z);
}
std::string_view ItemTable::attrText(int index) const {
    return view(row(index).attr);
}
bool ItemTable::hasLines(int index) const {
    return row(index).flags & HasLines;
}
std::int32_t ItemTable::startLine(int index) const {
    return row(index).startLine;
}
std::int32_t ItemTable::endLine(int index) const {
    return row(index).endLine;
}
bool ItemTable::hasPosition(int index) const {
    return row(index).flags & HasPosition;
}
std::uint32_t ItemTable::block(int index) const {
    return row(index).block;
}
bool ItemTable::hasColor(int index) const {
    return row(index).flags & HasColor;
}
std::uint32_t ItemTable::color(int index) const {
    return row(index).color;
}

} // namespace tessaplex::world
