// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/largememory.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaplex::world {

// The columns of the item table, in their order.
enum class Column : int { StartLine, EndLine, Id, X, Y, Z, Color, Attr, Block, Patch };
inline constexpr int ColumnCount = 10;
[[nodiscard]] std::string_view columnHeading(Column column);

// The "PATCH" cell. Only Yes marks an item for PATCH; Empty is the blank row before the first
// analysis.
enum class Mark : std::uint8_t { Empty, No, Yes };

// How the "ID" cell shows the ID value: the table's own lower-case form, the catalog's upper-case
// form, or empty (a def name whose catalog entry had no ITEMDEF line).
enum class IdForm : std::uint8_t { Lower, Upper, Empty };

// What Analyse lists for one item section; the texts are copied.
struct ItemFields {
    std::int32_t startLine = 0;
    std::int32_t endLine = 0;
    std::uint32_t id = 0;
    IdForm idForm = IdForm::Lower;
    bool hasPosition = false;
    std::string_view x, y, z; // used only with a position
    std::uint32_t color = 0;
    std::string_view attr;
    // The block of the position on a chosen map; without one, the block of the first map is
    // taken from the X and Y texts.
    bool hasMapBlock = false;
    std::uint32_t mapBlock = 0;
    // Where the section's header line and its empty line begin in the world file's bytes.
    std::uint32_t headerOffset = 0;
    std::uint32_t emptyLineOffset = 0;
};

// The listed items: row 0 is the heading row, rows 1 to rowCount() - 1 hold one item each, in
// world file order. Cells are computed on request from compact rows (about 64 bytes an item;
// short texts inline, longer ones stored once aside), so a million rows fit easily.
//
// Before the first analysis the table has two rows whose cells are all empty.
class ItemTable {
public:
    ItemTable();

    [[nodiscard]] int rowCount() const { return static_cast<int>(m_rows.size()); }
    [[nodiscard]] bool hasHeadings() const { return m_hasHeadings; }
    // True once an analysis has filled the table.
    [[nodiscard]] bool isAnalysed() const { return m_analysed; }
    [[nodiscard]] int itemCount() const { return m_analysed ? rowCount() - 1 : 0; }
    // Item rows whose "P=" was listed as it stands and held four numbers, the last a map: their
    // Y cell holds a comma.
    [[nodiscard]] std::size_t itemsWithMapNumber() const { return m_itemsWithMapNumber; }

    [[nodiscard]] std::string cellText(Column column, int row) const;
    void appendCellText(std::string &out, Column column, int row) const;
    // Appends the row's ten cell texts separated by TAB, and an LF: the row as TSV.
    void appendTsvRow(std::string &out, int row) const;
    // The whole table as TSV rows, handed to write in pieces of about a MiB.
    void writeTsv(const std::function<void(std::string_view)> &write) const;

    // Analysis: start writes the headings and drops every item row; append lists one item.
    void startAnalysis();
    void appendItem(const ItemFields &fields);
    // Appends the item rows of another table of the same analysis, after these, their line
    // numbers moved on by lineShift.
    void appendRowsOf(const ItemTable &other, std::size_t lineShift = 0);
    // Makes room for that many item rows, or a million when more: the rows grow beyond it.
    void reserve(std::size_t items);

    [[nodiscard]] Mark mark(int row) const { return m_rows[static_cast<std::size_t>(row)].mark; }
    [[nodiscard]] bool isMarked(int row) const { return mark(row) == Mark::Yes; }
    void setMark(int row, Mark mark) { m_rows[static_cast<std::size_t>(row)].mark = mark; }

    // Typed views of the cells, for the commands that compare or convert them by the rules.
    // The texts are the cells' texts.
    [[nodiscard]] std::string idCell(int row) const { return cellText(Column::Id, row); }
    // hexTextToInt of the "ID" cell.
    [[nodiscard]] std::uint32_t idValue(int row) const;
    [[nodiscard]] std::string_view xText(int row) const;
    [[nodiscard]] std::string_view yText(int row) const;
    [[nodiscard]] std::string_view zText(int row) const;
    [[nodiscard]] std::string_view attrText(int row) const;
    // The cells' numbers, when the row has them (an analysed row always has its lines and colour;
    // the block and the position only with a "P=" line).
    [[nodiscard]] bool hasLines(int row) const;
    [[nodiscard]] std::int32_t startLine(int row) const;
    [[nodiscard]] std::int32_t endLine(int row) const;
    // Where the lines startLine and endLine begin in the analysed world file's bytes.
    [[nodiscard]] std::uint32_t headerOffset(int row) const;
    [[nodiscard]] std::uint32_t emptyLineOffset(int row) const;
    [[nodiscard]] bool hasPosition(int row) const;
    [[nodiscard]] std::uint32_t block(int row) const;
    [[nodiscard]] bool hasColor(int row) const;
    [[nodiscard]] std::uint32_t color(int row) const;

private:
    // Up to 7 characters inline; a longer text lives in m_longTexts and its index is kept here.
    struct SmallText {
        std::uint8_t size = 0;
        char chars[7] = {};
    };
    static constexpr std::uint8_t LongText = 0xff;

    enum Flags : std::uint8_t { HasLines = 1, HasPosition = 2, HasColor = 4 };

    struct Row {
        std::int32_t startLine = 0;
        std::int32_t endLine = 0;
        std::uint32_t headerOffset = 0;
        std::uint32_t emptyLineOffset = 0;
        std::uint32_t id = 0;
        std::uint32_t color = 0;
        std::uint32_t block = 0;
        SmallText x, y, z, attr;
        std::uint8_t flags = 0;
        IdForm idForm = IdForm::Empty;
        Mark mark = Mark::Empty;
    };

    SmallText store(std::string_view text);
    // The TSV of an item row at p, which has room for tsvRowLimit(row) bytes and 16 more that
    // may be written over; returns its end.
    char *writeTsvRow(char *p, int row) const;
    char *writeCell(char *p, const SmallText &text) const;
    // Formats the rows [first, last) into buffer, of which `used` bytes are filled, and hands
    // it to write whenever it is full.
    void writeTsvRows(int first, int last, char *buffer, std::size_t &used,
                      const std::function<void(std::string_view)> &write) const;
    // The TSV of the item rows [first, last) at out, which has room for them and 16 bytes more
    // that may be written over; returns its end.
    char *writeTsvRowsAt(int first, int last, char *out) const;
    [[nodiscard]] std::size_t tsvRowLimit(int row) const;
    [[nodiscard]] std::string_view view(const SmallText &text) const;
    [[nodiscard]] const Row &row(int index) const {
        return m_rows[static_cast<std::size_t>(index)];
    }

    std::vector<Row, LargeAllocator<Row>> m_rows;
    std::vector<std::string> m_longTexts;
    bool m_hasHeadings = false;
    bool m_analysed = false;
    std::size_t m_itemsWithMapNumber = 0;
};

// The typed views are read for every row by the commands that walk the table.
inline std::string_view ItemTable::view(const SmallText &text) const {
    if (text.size != LongText)
        return {text.chars, text.size};
    std::uint32_t index;
    std::memcpy(&index, text.chars, sizeof index);
    return m_longTexts[index];
}

inline std::uint32_t ItemTable::idValue(int index) const {
    const Row &r = row(index);
    return r.idForm == IdForm::Empty ? 0 : r.id;
}

inline std::string_view ItemTable::xText(int index) const {
    return view(row(index).x);
}
inline std::string_view ItemTable::yText(int index) const {
    return view(row(index).y);
}
inline std::string_view ItemTable::zText(int index) const {
    return view(row(index).z);
}
inline std::string_view ItemTable::attrText(int index) const {
    return view(row(index).attr);
}
inline bool ItemTable::hasLines(int index) const {
    return row(index).flags & HasLines;
}
inline std::int32_t ItemTable::startLine(int index) const {
    return row(index).startLine;
}
inline std::int32_t ItemTable::endLine(int index) const {
    return row(index).endLine;
}
inline std::uint32_t ItemTable::headerOffset(int index) const {
    return row(index).headerOffset;
}
inline std::uint32_t ItemTable::emptyLineOffset(int index) const {
    return row(index).emptyLineOffset;
}
inline bool ItemTable::hasPosition(int index) const {
    return row(index).flags & HasPosition;
}
inline std::uint32_t ItemTable::block(int index) const {
    return row(index).block;
}
inline bool ItemTable::hasColor(int index) const {
    return row(index).flags & HasColor;
}
inline std::uint32_t ItemTable::color(int index) const {
    return row(index).color;
}

} // namespace tessaplex::world
