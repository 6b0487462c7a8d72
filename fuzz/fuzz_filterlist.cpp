// SPDX-License-Identifier: GPL-3.0-or-later
// The filter list from arbitrary bytes: parsed, formatted, sorted, saved and read back, then
// applied with a filter area to a small item table made from the input. Each step is held to
// the rule written out plainly here.
//
// Input: a flag byte (bit 0: the area is in use; bit 1: the rows' own ID entries join the list;
// bit 2: the list goes through a file), the four area fields, up to eleven rows (ID, ID form,
// ATTR, X, Y, marked before), and then the filter list file's bytes.
#include "fuzzsupport.h"
#include "support/referencelines.h"

#include "base/error.h"
#include "base/progressgauge.h"
#include "selection/filter.h"
#include "selection/filterarea.h"
#include "selection/filterentry.h"
#include "selection/filterlist.h"
#include "world/itemtable.h"
#include "world/numberrules.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace tessaplex;
using namespace tessaplex::fuzz;
using selection::FilterEntries;

std::string folded(const std::string &text) {
    std::string lower = text;
    for (char &c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

struct Row {
    std::uint32_t id = 0;
    world::IdForm form = world::IdForm::Lower;
    std::string attr, x, y;
    bool marked = false;
};

std::string idCell(const Row &row) {
    if (row.form == world::IdForm::Empty)
        return {};
    char text[16];
    std::snprintf(text, sizeof text, row.form == world::IdForm::Upper ? "%05X" : "%05x",
                  static_cast<unsigned>(row.id));
    return text;
}

std::string coordinate(ByteReader &in) {
    const std::uint8_t choice = in.byte();
    if (choice < 128)
        return std::to_string(static_cast<std::int16_t>(in.u16()));
    return std::string(in.text(10));
}

// The area rule: both bounds and the point as unsigned 32-bit numbers, the point read by the
// decimal rule.
bool admitted(const selection::FilterArea &area, const Row &row) {
    if (!area.use)
        return true;
    const auto x = static_cast<std::uint32_t>(world::decimalTextToInt(row.x));
    const auto y = static_cast<std::uint32_t>(world::decimalTextToInt(row.y));
    return static_cast<std::uint32_t>(area.x1) <= x && x <= static_cast<std::uint32_t>(area.x2) &&
           static_cast<std::uint32_t>(area.y1) <= y && y <= static_cast<std::uint32_t>(area.y2);
}

void checkFile(const FilterEntries &entries, std::string_view bytes) {
    const std::string path = scratchFolder() + "qelmitem.txt";
    clearScratchFolder();
    writeBytes(path, bytes);
    require(selection::readFilterListFile(path) == entries, "a file reads as its bytes parse");
    FilterEntries reloaded{"old"};
    require(selection::reloadFilterList(path, reloaded) && reloaded == entries,
            "reloading replaces the list");
    selection::writeFilterListFile(path, entries);
    require(readBytes(path) == selection::formatFilterList(entries), "a saved list is its bytes");
    require(scratchFiles().size() == 1, "saving leaves no other file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ByteReader in(std::string_view(reinterpret_cast<const char *>(data), size));
    const std::uint8_t flags = in.byte();
    const std::string x1(in.text(12)), y1(in.text(12)), x2(in.text(12)), y2(in.text(12));
    const selection::FilterArea area =
        selection::FilterArea::fromFields(x1, y1, x2, y2, (flags & 1) != 0);

    static const char *const Attributes[] = {"010", "08010", "10", "0100", "", "010 ", "08010\t"};
    std::vector<Row> rows(in.byte() % 12);
    for (Row &row : rows) {
        const std::uint8_t kind = in.byte();
        row.id = kind & 1 ? in.u32() : in.u16();
        row.form = static_cast<world::IdForm>((kind >> 1) % 3);
        row.attr = kind & 8 ? std::string(in.text(8)) : Attributes[in.byte() % 7];
        row.x = coordinate(in);
        row.y = coordinate(in);
        row.marked = kind & 16;
    }
    const std::string_view listBytes = in.rest();

    // Parsing, formatting and reading back.
    FilterEntries entries = selection::parseFilterList(listBytes);
    require(entries == test::referenceLines(listBytes), "the list is the text's lines");
    std::string formatted;
    for (const std::string &entry : entries)
        formatted += entry + "\r\n";
    require(selection::formatFilterList(entries) == formatted, "every entry ends with CR LF");
    require(selection::parseFilterList(formatted) == entries, "a formatted list parses back");
    if (flags & 4)
        checkFile(entries, listBytes);

    // Sorting: ascending without regard to the case of ASCII letters, equal ones in list order.
    FilterEntries sorted = entries;
    selection::sortFilterEntries(sorted);
    FilterEntries expectedSorted = entries;
    std::stable_sort(expectedSorted.begin(), expectedSorted.end(),
                     [](const std::string &a, const std::string &b) {
                         const std::string fa = folded(a), fb = folded(b);
                         return std::lexicographical_compare(
                             fa.begin(), fa.end(), fb.begin(), fb.end(), [](char p, char q) {
                                 return static_cast<unsigned char>(p) <
                                        static_cast<unsigned char>(q);
                             });
                     });
    require(sorted == expectedSorted, "sorting ignores case and keeps equal entries in order");

    // "Add to Filter" entries for the rows' ID cells, when the input asks for them.
    for (const Row &row : rows) {
        const std::string cell = idCell(row);
        const auto entry = selection::filterEntryFromIdCell(cell);
        require(entry.has_value() == !cell.empty(), "only an empty ID cell gives no entry");
        if (!entry)
            continue;
        char text[16];
        std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(row.id));
        require(*entry == text, "an ID cell's entry is its ID in four lower-case digits");
        if (flags & 2) {
            const bool there = std::find(entries.begin(), entries.end(), *entry) != entries.end();
            require(selection::appendFilterEntry(entries, *entry) == !there,
                    "an entry is added unless it is there already");
        }
    }

    // Applying the filter.
    world::ItemTable table;
    table.startAnalysis();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        world::ItemFields fields;
        fields.startLine = static_cast<std::int32_t>(4 * k);
        fields.endLine = fields.startLine + 3;
        fields.id = rows[k].id;
        fields.idForm = rows[k].form;
        fields.hasPosition = true;
        fields.x = rows[k].x;
        fields.y = rows[k].y;
        fields.z = "0";
        fields.attr = rows[k].attr;
        table.appendItem(fields);
        if (rows[k].marked)
            table.setMark(static_cast<int>(k) + 1, world::Mark::Yes);
    }
    ProgressGauge gauge;
    selection::applyFilter(table, entries, area, gauge);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const Row &row = rows[k];
        const std::string cell = idCell(row);
        const bool listed = std::any_of(entries.begin(), entries.end(),
                                        [&](const std::string &e) { return "0" + e == cell; });
        const bool wanted = row.marked || ((row.attr == "010" || row.attr == "08010") &&
                                           admitted(area, row) && listed);
        require(table.isMarked(static_cast<int>(k) + 1) == wanted,
                "the filter marks exactly the listed IDs with the attribute inside the area");
    }
    const auto steps = static_cast<std::int64_t>(entries.size()) * std::int64_t(rows.size());
    if (steps > 0) {
        const std::int64_t maximum =
            std::min<std::int64_t>(steps, std::numeric_limits<std::int32_t>::max());
        require(gauge.maximum() == maximum && gauge.progress() == maximum,
                "the gauge counts every pair of entry and row and ends full");
    }
    return 0;
}
