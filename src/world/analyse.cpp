// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/analyse.h"

#include "formats/mapgeometry.h"

#include "base/progressgauge.h"
#include "world/itemnamecatalog.h"
#include "world/itemtable.h"
#include "world/linelist.h"
#include "world/numberrules.h"
#include "world/twothreadlisting.h"
#include "world/wholetextlisting.h"
#include "world/worldsection.h"

#include <algorithm>

namespace tessaplex::world {

namespace {

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

// One decimal integer of a "P=" value on a chosen map: a sign allowed, then digits only.
bool isCoordinate(std::string_view text) {
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.remove_prefix(1);
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// The position as the server writes it on map map: false when the item is to be left out, for
// it lies on another map or its value is none the server writes.
bool applyMapPosition(std::string_view value, int map, ItemFields &item) {
    std::string_view parts[4];
    std::size_t count = 0;
    for (;;) {
        const auto comma = value.find(',');
        if (count == 4 || !isCoordinate(value.substr(0, comma)))
            return false;
        parts[count++] = value.substr(0, comma);
        if (comma == std::string_view::npos)
            break;
        value.remove_prefix(comma + 1);
    }
    if (count < 2 || (count == 4 ? parseInteger(parts[3]).value_or(-1) : 0) != map)
        return false;
    item.hasPosition = true;
    item.x = parts[0];
    item.y = parts[1];
    item.z = count > 2 ? parts[2] : std::string_view("0");
    const formats::MapSize size = formats::sizesOfMap(map).sizes[0];
    item.hasMapBlock = true;
    item.mapBlock = size.blockOf(static_cast<std::uint32_t>(*parseInteger(parts[0])),
                                 static_cast<std::uint32_t>(*parseInteger(parts[1])));
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

// A key as the leading bytes of a line (see LineList::leadingBytes): its characters and a mask
// that covers just them.
struct KeyPattern {
    std::uint64_t bytes = 0;
    std::uint64_t mask = 0;
};

constexpr KeyPattern keyPattern(std::string_view key) {
    KeyPattern pattern;
    for (std::size_t i = 0; i < key.size(); ++i) {
        pattern.bytes |= std::uint64_t{static_cast<unsigned char>(key[i])} << (8 * i);
        pattern.mask |= std::uint64_t{0xff} << (8 * i);
    }
    return pattern;
}

constexpr bool matches(std::uint64_t leading, const KeyPattern &key) {
    return (leading & key.mask) == key.bytes;
}

constexpr KeyPattern DispIdKey = keyPattern("DISPID=");
constexpr KeyPattern ColorKey = keyPattern("COLOR=");
constexpr KeyPattern LinkKey = keyPattern("LINK=");
constexpr KeyPattern ContKey = keyPattern("CONT=");
constexpr KeyPattern NameKey = keyPattern("NAME=");
constexpr KeyPattern AttrKey = keyPattern("ATTR=");
constexpr KeyPattern PositionKey = keyPattern("P=");

constexpr std::size_t None = static_cast<std::size_t>(-1);

// What the key lines of an open section hold, gathered line by line without a branch: the last
// line of each key that sets a cell (a later one overrides an earlier one), the "DISPID=" lines,
// and whether a "LINK=", "CONT=" or "NAME=" line leaves the item out. Applying only the last
// line of each key when the section is complete gives what applying every line in order gives:
// the item is left out when any line leaves it out, whichever comes first.
struct OpenSection {
    std::size_t header = None;
    std::size_t headerOffset = 0;
    std::string_view headerId;
    // Where the key lines begin in the text: the batch of line starts that found them is gone
    // by the time the section is complete.
    std::size_t lastDispId = None;
    std::size_t dispIds = 0;
    std::size_t lastColor = None;
    std::size_t lastAttr = None;
    std::size_t lastPosition = None;
    unsigned leftOut = 0;

    void take(std::size_t offset, std::uint64_t leading) {
        const bool dispId = matches(leading, DispIdKey);
        dispIds += dispId;
        lastDispId = dispId ? offset : lastDispId;
        lastColor = matches(leading, ColorKey) ? offset : lastColor;
        lastAttr = matches(leading, AttrKey) ? offset : lastAttr;
        lastPosition = matches(leading, PositionKey) ? offset : lastPosition;
        leftOut |= static_cast<unsigned>(matches(leading, LinkKey)) |
                   static_cast<unsigned>(matches(leading, ContKey)) |
                   static_cast<unsigned>(matches(leading, NameKey));
    }
};

// Lists the section, complete with its empty line e at offset eOffset, unless it is left out.
void listSection(const OpenSection &section, std::size_t e, std::size_t eOffset,
                 const TextLines &lines, const ItemNameCatalog &catalog, std::optional<int> map,
                 ItemTable &table) {
    if (section.leftOut)
        return;
    ItemFields item;
    item.startLine = static_cast<std::int32_t>(section.header);
    item.endLine = static_cast<std::int32_t>(e);
    item.headerOffset = static_cast<std::uint32_t>(section.headerOffset);
    item.emptyLineOffset = static_cast<std::uint32_t>(eOffset);
    // Every "DISPID=" line must name a known ID; the last one gives the item's.
    if (section.dispIds == 1) {
        if (!resolveId(lines.lineAt(section.lastDispId).substr(7), catalog, item.id, item.idForm))
            return;
    } else if (section.dispIds > 1) {
        std::size_t offset = section.headerOffset;
        for (std::size_t k = section.header + 1; k < e; ++k) {
            offset = lines.nextStart(offset);
            if (matches(lines.leadingBytesAt(offset), DispIdKey) &&
                !resolveId(lines.lineAt(offset).substr(7), catalog, item.id, item.idForm))
                return;
        }
    }
    std::uint32_t headerId = 0;
    IdForm headerForm = IdForm::Lower;
    if (!resolveId(section.headerId, catalog, headerId, headerForm))
        return;
    if (section.dispIds == 0) {
        item.id = headerId;
        item.idForm = headerForm;
    }
    if (section.lastColor != None)
        item.color = hexTextToInt(lines.lineAt(section.lastColor).substr(6));
    if (section.lastAttr != None)
        item.attr = lines.lineAt(section.lastAttr).substr(5);
    if (section.lastPosition != None) {
        const std::string_view value = lines.lineAt(section.lastPosition).substr(2);
        if (!map)
            applyPosition(value, item);
        else if (!applyMapPosition(value, *map, item))
            return;
    }
    table.appendItem(item);
}

// The first bytes of the lines that open or close a section: CR and LF (an empty line) and "[".
struct SectionBytes {
    bool marks[256] = {};
    constexpr SectionBytes() {
        marks[static_cast<unsigned char>('\r')] = true;
        marks[static_cast<unsigned char>('\n')] = true;
        marks[static_cast<unsigned char>('[')] = true;
    }
    [[nodiscard]] bool operator()(char c) const { return marks[static_cast<unsigned char>(c)]; }
};
constexpr SectionBytes opensOrCloses;

// Lists the sections of lines handed to it one by one, in order, starting with no section open.
// The key lines of the open section are gathered as they come, and the section is read when its
// empty line completes it.
class SectionLister {
public:
    SectionLister(const ItemNameCatalog &catalog, std::optional<int> map, ItemTable &table)
        : m_catalog(catalog)
        , m_map(map)
        , m_table(table) {}

    // Lines k to stop - 1 of the walker's batch, the first of them line j.
    void take(const LineWalker &lines, std::size_t k, std::size_t stop, std::size_t j) {
        // The open section lives in locals while the lines go by, where the compiler can keep
        // it in registers: the table written meanwhile might otherwise alias it.
        OpenSection section = m_section;
        bool open = m_open;
        for (; k < stop; ++k, ++j) {
            const char firstByte = lines.firstByte(k);
            if (!opensOrCloses(firstByte)) {
                // Outside a section this gathers nothing that counts: the next header starts
                // afresh.
                section.take(lines.start(k), lines.leadingBytes(k));
            } else if (firstByte == '[') {
                const std::string_view line = lines.line(k);
                if (isItemSectionHeader(line)) {
                    section = OpenSection{};
                    section.header = j;
                    section.headerOffset = lines.start(k);
                    section.headerId = line.substr(11, line.size() - 12);
                    open = true;
                }
            } else {
                // An empty line: a line's first byte is CR or LF only when it has no characters.
                if (open)
                    listSection(section, j, lines.start(k), lines.textLines(), m_catalog, m_map,
                                m_table);
                open = false;
            }
        }
        m_section = section;
        m_open = open;
    }

private:
    const ItemNameCatalog &m_catalog;
    std::optional<int> m_map;
    ItemTable &m_table;
    bool m_open = false;
    OpenSection m_section;
};

// Lists the lines [from, to) into the table, starting with no section open; advances the gauge
// over them, when there is one.
void listRange(const LineList &list, std::size_t from, std::size_t to,
               const ItemNameCatalog &catalog, std::optional<int> map, ItemTable &table,
               ProgressGauge *gauge) {
    SectionLister lister(catalog, map, table);
    LineWalker lines(list, from);
    std::size_t batchEnd = from;
    std::size_t j = from;
    while (j < to) {
        // The gauge is advanced once for all the lines before its percentage can change.
        const auto steps =
            gauge ? std::min<std::size_t>(to - j, static_cast<std::size_t>(std::max<std::int64_t>(
                                                      1, gauge->stepsBeforeChange())))
                  : to - j;
        const std::size_t stop = j + steps;
        while (j < stop) {
            if (j == batchEnd) {
                if (!lines.next())
                    return; // no line left: the window was checked against the list
                batchEnd = lines.first() + lines.count();
            }
            const std::size_t until = std::min(stop, batchEnd);
            lister.take(lines, j - lines.first(), until - lines.first(), j);
            j = until;
        }
        if (gauge)
            gauge->advance(static_cast<std::int32_t>(steps));
    }
}

// Lists every line of the stretch [from, to) of text, numbering its lines from firstLine on, and
// keeps where they begin in marks; the gauge, when there is one, counts blocks of
// WholeTextUnit bytes.
PieceEnd listStretch(const char *text, std::size_t from, std::size_t to, std::size_t firstLine,
                     const ItemNameCatalog &catalog, std::optional<int> map, ItemTable &table,
                     MarkRun &marks, ProgressGauge *gauge) {
    SectionLister lister(catalog, map, table);
    LineWalker lines(text, from, to);
    std::size_t unitsDone = from / WholeTextUnit;
    while (lines.next()) {
        lister.take(lines, 0, lines.count(), firstLine + lines.first());
        addMarks(lines, marks);
        if (gauge) {
            const std::size_t units = lines.start(lines.count()) / WholeTextUnit;
            gauge->advance(static_cast<std::int32_t>(units - unitsDone));
            unitsDone = units;
        }
    }
    return {lines.first() + lines.count(), lines.textSize()};
}

} // namespace

LineWindow lineWindow(std::string_view startText, std::string_view linesText) {
    return {decimalTextToInt(startText), decimalTextToInt(linesText)};
}

AnalyseOutcome listItems(const LineList &lines, LineWindow window, const ItemNameCatalog &catalog,
                         ItemTable &table, ProgressGauge &gauge, std::optional<int> map) {
    if (window.toTheEnd && window.start == 0 && !lines.isCut()) {
        // Every line from the first: counting the lines and listing them is one pass.
        table.startAnalysis();
        const std::size_t size = lines.bytes().size();
        table.reserve(size / SmallestSection + 1);
        gauge.setMinimum(0);
        gauge.setMaximum(static_cast<std::int32_t>(size / WholeTextUnit + 1));
        gauge.setProgress(0);
        const auto listPiece = [&](std::size_t from, std::size_t to, std::size_t firstLine,
                                   ItemTable &into, MarkRun &marks, ProgressGauge *steps) {
            return listStretch(lines.bytes().data(), from, to, firstLine, catalog, map, into, marks,
                               steps);
        };
        lines.offerCut(listWholeText(lines.bytes(), table, gauge, listPiece));
        gauge.setProgress(gauge.maximum());
        return AnalyseOutcome::Listed;
    }
    if (window.toTheEnd)
        window.count = static_cast<std::int64_t>(lines.size());
    if (window.start < 0 || window.count < 0 ||
        window.end() > static_cast<std::int64_t>(lines.size()))
        return AnalyseOutcome::NothingToList;

    const auto start = static_cast<std::size_t>(window.start);
    const auto end = static_cast<std::size_t>(window.end());

    table.startAnalysis();
    gauge.setMinimum(0);
    gauge.setMaximum(static_cast<std::int32_t>(window.count));
    gauge.setProgress(0);
    // A section takes at least two lines.
    table.reserve((end - start) / 2 + 1);

    // A large window is listed by two threads; the one pass below is the plain way.
    const auto listPiece = [&](std::size_t from, std::size_t to, ItemTable &into,
                               ProgressGauge *steps) {
        listRange(lines, from, to, catalog, map, into, steps);
    };
    if (!listOnTwoThreads(lines, start, end, table, gauge, listPiece))
        listRange(lines, start, end, catalog, map, table, &gauge);
    return AnalyseOutcome::Listed;
}

} // namespace tessaplex::world
