// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/itemtable.h"

#include "world/numberrules.h"

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
    if (text.size() < LongText && text.size() <= sizeof small.chars) {
        small.size = static_cast<std::uint8_t>(text.size());
        if (!text.empty())
            std::memcpy(small.chars, text.data(), text.size());
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
        row.block = blockIndex(fields.x, fields.y);
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
