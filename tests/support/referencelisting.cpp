// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/referencelisting.h"

#include "world/itemnamecatalog.h"
#include "world/itemtable.h"
#include "world/linelist.h"
#include "world/numberrules.h"

#include <string_view>

namespace tessaplex::test {

using namespace tessaplex::world;

namespace {

bool startsWith(std::string_view line, std::string_view key) {
    return line.substr(0, key.size()) == key;
}

// The ID rule: hex when the text starts with "0", else a def name of the catalog.
bool plainId(std::string_view text, const ItemNameCatalog &catalog, ItemFields &item) {
    if (text.empty())
        return false;
    if (text[0] == '0') {
        item.id = hexTextToInt(text);
        item.idForm = IdForm::Lower;
        return true;
    }
    const auto found = catalog.lookup(text);
    if (!found)
        return false;
    item.id = found->value;
    item.idForm = found->form;
    return true;
}

void plainPosition(std::string_view v, ItemFields &item) {
    item.hasPosition = true;
    const auto first = v.find(',');
    if (first == std::string_view::npos) {
        item.x = v;
        item.y = {};
        item.z = "0";
        return;
    }
    const auto last = v.rfind(',');
    item.x = v.substr(0, first);
    item.y = last == first ? v.substr(first + 1) : v.substr(first + 1, last - first - 1);
    item.z = last == first ? std::string_view("0") : v.substr(last + 1);
}

// The listing rule for the section (h, e), one line after the other.
bool plainSection(const LineList &lines, std::size_t h, std::size_t e,
                  const ItemNameCatalog &catalog, ItemFields &item) {
    item = ItemFields{};
    item.startLine = static_cast<std::int32_t>(h);
    item.endLine = static_cast<std::int32_t>(e);
    const std::string_view header = lines.line(h);
    if (!plainId(header.substr(11, header.size() - 12), catalog, item))
        return false;
    for (std::size_t k = h + 1; k < e; ++k) {
        const std::string_view line = lines.line(k);
        if (startsWith(line, "DISPID=")) {
            if (!plainId(line.substr(7), catalog, item))
                return false;
        } else if (startsWith(line, "COLOR=")) {
            item.color = hexTextToInt(line.substr(6));
        } else if (startsWith(line, "LINK=") || startsWith(line, "CONT=") ||
                   startsWith(line, "NAME=")) {
            return false;
        } else if (startsWith(line, "ATTR=")) {
            item.attr = line.substr(5);
        } else if (startsWith(line, "P=")) {
            plainPosition(line.substr(2), item);
        }
    }
    return true;
}

} // namespace

std::string referenceListing(const LineList &lines, std::size_t start, std::size_t end,
                             const ItemNameCatalog &catalog) {
    ItemTable table;
    table.startAnalysis();
    constexpr std::size_t None = static_cast<std::size_t>(-1);
    std::size_t open = None;
    ItemFields item;
    for (std::size_t j = start; j < end; ++j) {
        const std::string_view line = lines.line(j);
        if (line.size() > 11 && startsWith(line, "[WORLDITEM")) {
            open = j;
        } else if (line.empty() && open != None) {
            if (plainSection(lines, open, j, catalog, item))
                table.appendItem(item);
            open = None;
        }
    }
    return tsvOfCells(table);
}

std::string tsvOfCells(const ItemTable &table) {
    std::string tsv;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            if (column)
                tsv += '\t';
            table.appendCellText(tsv, static_cast<Column>(column), row);
        }
        tsv += '\n';
    }
    return tsv;
}

} // namespace tessaplex::test
