// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/itemtable.h"

#include "formats/mapgeometry.h"

#include "world/numberrules.h"

#include <algorithm>
#include <cstring>

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
    return formats::blockOf(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
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
    m_itemsWithMapNumber = 0;
    m_hasHeadings = true;
    m_analysed = true;
}

void ItemTable::reserve(std::size_t items) {
    // More than a million rows is rare; beyond that the rows grow as they come.
    constexpr std::size_t MostReserved = 1000000;
    m_rows.reserve(std::min(items, MostReserved) + 1);
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

void ItemTable::appendRowsOf(const ItemTable &other, std::size_t lineShift) {
    m_itemsWithMapNumber += other.m_itemsWithMapNumber;
    const auto shift = static_cast<std::uint32_t>(m_longTexts.size());
    m_longTexts.insert(m_longTexts.end(), other.m_longTexts.begin(), other.m_longTexts.end());
    const std::size_t first = m_rows.size();
    m_rows.insert(m_rows.end(), other.m_rows.begin() + 1, other.m_rows.end());
    if (lineShift != 0) {
        for (std::size_t i = first; i < m_rows.size(); ++i) {
            m_rows[i].startLine += static_cast<std::int32_t>(lineShift);
            m_rows[i].endLine += static_cast<std::int32_t>(lineShift);
        }
    }
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
    row.headerOffset = fields.headerOffset;
    row.emptyLineOffset = fields.emptyLineOffset;
    row.id = fields.id;
    row.idForm = fields.idForm;
    row.color = fields.color;
    row.flags = HasLines | HasColor;
    if (fields.hasPosition) {
        row.flags |= HasPosition;
        row.x = store(fields.x);
        row.y = store(fields.y);
        row.z = store(fields.z);
        row.block = fields.hasMapBlock ? fields.mapBlock : fastBlockIndex(fields.x, fields.y);
        // Cut at its first and last comma, a "P=" of four numbers leaves one comma in Y.
        const auto comma = fields.y.find(',');
        m_itemsWithMapNumber += comma != std::string_view::npos &&
                                fields.y.find(',', comma + 1) == std::string_view::npos;
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

std::string ItemTable::cellText(Column column, int index) const {
    std::string text;
    appendCellText(text, column, index);
    return text;
}

} // namespace tessaplex::world
