// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/analyse.h"

#include "world/itemnamecatalog.h"
#include "world/itemtable.h"
#include "world/linelist.h"
#include "world/numberrules.h"
#include "world/progressgauge.h"

#include <algorithm>
#include <cstring>

namespace tessaplex::world {

namespace {

constexpr std::size_t TableCapacity = 1000000;

bool isHeader(std::string_view line) {
    return line.size() > 11 && std::memcmp(line.data(), "[WORLDITEM", 10) == 0;
}

bool startsWith(std::string_view line, std::string_view key) {
    return line.size() >= key.size() && std::memcmp(line.data(), key.data(), key.size()) == 0;
}

// An ID text from a header or a "DISPID=" line: hex when it starts with "0", else a def name.
// Returns false when the item is to be left out.
bool resolveId(std::string_view text, const ItemNameCatalog &catalog, std::uint32_t &id,
               IdForm &form) {
    // An empty ID text names nothing; such an item is left out rather than listed with a guess.
    if (text.empty())
        return false;
    if (text[0] == '0') {
        id = hexTextToInt(text);
        form = IdForm::Lower;
        return true;
    }
    const auto found = catalog.lookup(text);
    if (!found)
        return false;
    id = found->value;
    form = found->form;
    return true;
}

void applyPosition(std::string_view value, ItemFields &item) {
    item.hasPosition = true;
    const auto first = value.find(',');
    if (first == std::string_view::npos) {
        // No comma: only an X. Y stays empty, so that PATCH refuses the item instead of placing
        // it at a made-up position.
        item.x = value;
        item.y = {};
        item.z = "0";
        return;
    }
    const auto last = value.rfind(',');
    item.x = value.substr(0, first);
    if (last == first) {
        item.y = value.substr(first + 1);
        item.z = "0";
    } else {
        item.y = value.substr(first + 1, last - first - 1);
        item.z = value.substr(last + 1);
    }
}

// The item of an open section, with its header's ID text: that one is resolved only when the
// section is complete and still listed, since most sections of a save (those with "CONT=",
// "LINK=" or "NAME=") are left out anyway. Whether the header or a "DISPID=" line is resolved
// first changes nothing: either one failing leaves the item out, and a "DISPID=" line gives the
// ID.
struct OpenItem : ItemFields {
    std::string_view headerId;
    bool hasDisplayId = false;
};

// The first characters of the keys the listing rule reads.
bool isKeyLead(char c) {
    return c == 'D' || c == 'C' || c == 'L' || c == 'N' || c == 'A' || c == 'P';
}

// Applies one key line of an open section to the item. Returns false when the line leaves the
// item out.
bool applyKeyLine(std::string_view line, const ItemNameCatalog &catalog, OpenItem &item) {
    switch (line[0]) {
    case 'D':
        if (startsWith(line, "DISPID=")) {
            item.hasDisplayId = true;
            return resolveId(line.substr(7), catalog, item.id, item.idForm);
        }
        break;
    case 'C':
        if (startsWith(line, "COLOR="))
            item.color = hexTextToInt(line.substr(6));
        else if (startsWith(line, "CONT="))
            return false;
        break;
    case 'L':
        if (startsWith(line, "LINK="))
            return false;
        break;
    case 'N':
        if (startsWith(line, "NAME="))
            return false;
        break;
    case 'A':
        if (startsWith(line, "ATTR="))
            item.attr = line.substr(5);
        break;
    case 'P':
        if (startsWith(line, "P="))
            applyPosition(line.substr(2), item);
        break;
    default:
        break;
    }
    return true;
}

// Lists the open item, complete with its empty line e, unless its header's ID cannot be
// resolved.
void listOpenItem(OpenItem &item, std::size_t e, const ItemNameCatalog &catalog, ItemTable &table) {
    std::uint32_t id = 0;
    IdForm form = IdForm::Lower;
    if (!resolveId(item.headerId, catalog, id, form))
        return;
    if (!item.hasDisplayId) {
        item.id = id;
        item.idForm = form;
    }
    item.endLine = static_cast<std::int32_t>(e);
    table.appendItem(item);
}

} // namespace

LineWindow lineWindow(std::string_view startText, std::string_view linesText) {
    return {decimalTextToInt(startText), decimalTextToInt(linesText)};
}

AnalyseOutcome listItems(const LineList &lines, LineWindow window, const ItemNameCatalog &catalog,
                         ItemTable &table, ProgressGauge &gauge) {
    if (window.start < 0 || window.count < 0 ||
        window.end() > static_cast<std::int64_t>(lines.size()))
        return AnalyseOutcome::NothingToList;

    const auto start = static_cast<std::size_t>(window.start);
    const auto end = static_cast<std::size_t>(window.end());

    table.startAnalysis();
    gauge.setMinimum(0);
    gauge.setMaximum(static_cast<std::int32_t>(window.count));
    gauge.setProgress(0);
    // A section takes at least two lines; more than the table's capacity is rare.
    table.reserve(std::min<std::size_t>(TableCapacity, (end - start) / 2 + 1));

    // One pass: the key lines of the open section are applied as they come, so that every line
    // is looked at once. The lines between a header and the first empty line after it are
    // exactly the section's key lines, since a header on the way would have replaced it.
    bool open = false;
    bool leftOut = false;
    OpenItem item;
    std::size_t j = start;
    while (j < end) {
        // The gauge is advanced once for all the lines before its percentage can change.
        const auto steps = std::min<std::size_t>(
            end - j,
            static_cast<std::size_t>(std::max<std::int64_t>(1, gauge.stepsBeforeChange())));
        const std::size_t stop = j + steps;
        for (; j < stop; ++j) {
            // Most lines are keys that matter nowhere (SERIAL=, MORE1=, ...): their first byte
            // is all that is looked at.
            const char first = lines.firstByte(j);
            if (first == '\r' || first == '\n') {
                if (open && !leftOut)
                    listOpenItem(item, j, catalog, table);
                open = false;
            } else if (first == '[') {
                const std::string_view line = lines.line(j);
                if (isHeader(line)) {
                    open = true;
                    leftOut = false;
                    item = OpenItem{};
                    item.startLine = static_cast<std::int32_t>(j);
                    item.headerId = line.substr(11, line.size() - 12);
                }
            } else if (open && !leftOut && isKeyLead(first)) {
                leftOut = !applyKeyLine(lines.line(j), catalog, item);
            }
        }
        gauge.advance(static_cast<std::int32_t>(steps));
    }
    return AnalyseOutcome::Listed;
}

} // namespace tessaplex::world
