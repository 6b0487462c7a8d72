// SPDX-License-Identifier: GPL-3.0-or-later
// PATCH on a tiny shard made from the input: a static index of 512 or 1024 blocks whose records
// point anywhere, a static data file of some bytes, a world file of a few sections, and a
// settings file naming them. The shard is analysed, rows are marked as the input says, and PATCH
// runs through the session as the programs run it.
//
// Input, read front to back (0 past its end): a flag byte (1024 blocks, Unix=1, the world file's
// line end, a last line without one, an index a record short), the data file's bytes, index
// records, sections (kind, ID, X, Y, Z, colour), then a bit per row, a clear bit marking it.
//
// The result is held to this reading rule, worked out here from the input alone:
// - With no row marked, PATCH finishes and changes no file.
// - Otherwise it refuses (an Error) when the index is no whole number of 512-block columns, a
//   block with records points past the end of the data file, or a marked item has no place: its
//   X, Y or Z is no integer, its colour needs more than 31 bits, or its block, (X div 8) * 512 +
//   (Y div 8) on unsigned 32-bit numbers, is not a block of the index.
// - It finishes when none of that stands in the way and every marked item fits a record as it
//   is: X and Y on the map the index covers, Z from -128 to 127, a colour up to 65535.
// - An item in between (off the map but with a block number inside the index, a Z or colour
//   too wide for a record) may be refused, or written with its numbers cut to the record's widths.
// - A refusal leaves every file of the folder as it was.
// - Once finished, the new data file holds the blocks one after the other, each block its old
//   bytes, in order, followed by the 7-byte records of its marked items in table order (ID, X mod
//   8, Y mod 8, Z, COLOR, low bytes first). Each index record keeps its extra word; a block that
//   holds bytes has its offset in the new data file as lookup and their number as length, an
//   empty one 0xFFFFFFFF for both.
// - The world file holds the old lines but those of the marked sections, header to empty line,
//   each ended by CR LF, or by LF with Unix=1.
// - Nothing else is left in the folder, and the files that are not PATCH's are unchanged.
#include "fuzzsupport.h"

#include "app/session.h"
#include "base/error.h"
#include "base/progressgauge.h"
#include "world/itemtable.h"

#include <cinttypes>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace tessaplex;
using namespace tessaplex::fuzz;

// A coordinate text and the integer it is, when it is one.
struct Number {
    std::string text;
    std::optional<std::int32_t> value;
};

// Mostly plain numbers below range; now and then a text at an edge of the integer syntax.
Number numberText(ByteReader &in, std::uint32_t range) {
    static const Number Odd[] = {{"-1", -1},
                                 {"-8", -8},
                                 {" 12", 12},
                                 {"$10", 16},
                                 {"0x1f", 31},
                                 {"+3", 3},
                                 {"2147483647", INT32_MAX},
                                 {"2147483648", std::nullopt},
                                 {"-2147483648", INT32_MIN},
                                 {"67108864", 67108864},
                                 {"", std::nullopt},
                                 {"abc", std::nullopt},
                                 {"1 ", std::nullopt},
                                 {"1.5", std::nullopt},
                                 {"x", std::nullopt},
                                 {"4096", 4096}};
    const std::uint8_t choice = in.byte();
    if (choice >= 192)
        return Odd[choice % std::size(Odd)];
    const auto value = static_cast<std::int32_t>((choice | in.byte() << 8) % range);
    return {std::to_string(value), value};
}

struct Item {
    bool isItem = true; // else a character's section, which Analyse passes over
    std::uint16_t id = 0;
    int positionForm = 0; // P=x,y,z; P=x,y; P=x; no P line
    Number x, y, z;
    std::optional<std::uint32_t> color;
    bool leftOut = false; // a CONT= line
    bool closed = true;   // ended by an empty line
    bool marked = false;
    std::size_t header = 0, emptyLine = 0; // line numbers in the world file

    [[nodiscard]] bool listed() const { return isItem && !leftOut && closed; }
    // The block of the item; nothing when it has no place on an index of blockCount blocks.
    [[nodiscard]] std::optional<std::uint32_t> block(std::uint32_t blockCount) const {
        if (positionForm == 3 || !x.value || !y.value || !z.value)
            return std::nullopt;
        if (color.value_or(0) > static_cast<std::uint32_t>(INT32_MAX))
            return std::nullopt;
        const std::uint32_t b = static_cast<std::uint32_t>(*x.value) / 8u * 512u +
                                static_cast<std::uint32_t>(*y.value) / 8u;
        if (b >= blockCount)
            return std::nullopt;
        return b;
    }
    // Whether the item fits a record as it is, on the map of an index of blockCount blocks.
    [[nodiscard]] bool fits(std::uint32_t blockCount) const {
        if (!block(blockCount))
            return false;
        const auto width = static_cast<std::int32_t>(blockCount / 512 * 8);
        return *x.value >= 0 && *x.value < width && *y.value >= 0 && *y.value < 4096 &&
               *z.value >= -128 && *z.value <= 127 && color.value_or(0) <= 0xFFFF;
    }
    [[nodiscard]] std::string record() const {
        const std::uint32_t c = color.value_or(0);
        const char bytes[7] = {static_cast<char>(id & 0xFF),      static_cast<char>(id >> 8),
                               static_cast<char>(*x.value % 8),   static_cast<char>(*y.value % 8),
                               static_cast<char>(*z.value),       static_cast<char>(c & 0xFF),
                               static_cast<char>((c >> 8) & 0xFF)};
        return {bytes, 7};
    }
};

constexpr std::uint32_t None = 0xFFFFFFFFu;

struct IndexRecord {
    std::uint32_t lookup = None, length = None, extra = 0;
    [[nodiscard]] bool hasRecords() const {
        return lookup != None && length != 0 && length != None;
    }
};

void putU32(std::string &out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::string indexBytes(const std::vector<IndexRecord> &records) {
    std::string bytes;
    for (const IndexRecord &r : records) {
        putU32(bytes, r.lookup);
        putU32(bytes, r.length);
        putU32(bytes, r.extra);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ByteReader in(std::string_view(reinterpret_cast<const char *>(data), size));
    const std::string &dir = scratchFolder();
    clearScratchFolder();

    const std::uint8_t flags = in.byte();
    const std::uint32_t blockCount = flags & 1 ? 1024 : 512;
    const bool unix = flags & 2;
    const char *const ends[] = {"\r\n", "\n", "\r", "\r\n"};
    const std::string lineEnd = ends[(flags >> 2) & 3];
    const bool lastLineOpen = flags & 16;
    const bool indexShort = flags & 32;

    // The static data file and the index records pointing into it, or past it.
    const std::string oldData(in.text(255));
    std::vector<IndexRecord> records(blockCount);
    for (int n = in.byte() % 16; n > 0; --n) {
        const std::uint32_t block = in.u16() % blockCount;
        const std::uint8_t kind = in.byte();
        IndexRecord &r = records[block];
        const auto dataSize = static_cast<std::uint32_t>(oldData.size());
        r.lookup = kind & 1 ? in.u32() : in.byte() % (dataSize + 1);
        r.length = kind & 2 ? in.u32() : in.byte() % (dataSize - std::min(r.lookup, dataSize) + 1);
        r.extra = kind & 4 ? in.u32() : block;
    }
    if (indexShort)
        records.pop_back();

    // The world file's sections.
    std::vector<Item> items(in.byte() % 10);
    for (Item &item : items) {
        const std::uint8_t opts = in.byte();
        item.isItem = (opts & 1) == 0;
        item.id = in.u16();
        item.positionForm = (opts >> 1) & 3;
        item.x = numberText(in, blockCount / 512 * 8 + 1);
        item.y = numberText(in, 4096 + 8);
        item.z = numberText(in, 256);
        if (item.z.value && in.byte() & 1)
            item.z = {std::to_string(*item.z.value - 128), *item.z.value - 128};
        if (opts & 8)
            item.color = opts & 16 ? in.u32() : in.u16();
        item.leftOut = opts & 32;
        item.closed = (opts & 64) == 0;
    }
    // An item section left open runs on to the next empty line; before a character's section
    // that would take the character's lines in, which this rule does not follow.
    for (std::size_t k = 0; k + 1 < items.size(); ++k) {
        if (!items[k + 1].isItem)
            items[k].closed = true;
    }
    std::vector<std::string> lines;
    for (Item &item : items) {
        char header[32];
        std::snprintf(header, sizeof header, "[WORLDITEM 0x%04x]", static_cast<unsigned>(item.id));
        item.header = lines.size();
        lines.emplace_back(item.isItem ? header : "[WORLDCHAR c_man]");
        lines.emplace_back("SERIAL=040000a1");
        const std::string xy = "P=" + item.x.text + "," + item.y.text;
        if (item.positionForm == 0)
            lines.push_back(xy + "," + item.z.text);
        else if (item.positionForm == 1)
            lines.push_back(xy);
        else if (item.positionForm == 2)
            lines.push_back("P=" + item.x.text);
        // Without a Z the item stands at Z 0; without a Y it has none.
        if (item.positionForm == 1)
            item.z = {"0", 0};
        if (item.positionForm == 2) {
            item.y = {"", std::nullopt};
            item.z = {"0", 0};
        }
        if (item.color) {
            char color[24];
            std::snprintf(color, sizeof color, "COLOR=0%" PRIx32, *item.color);
            lines.emplace_back(color);
        }
        if (item.leftOut)
            lines.emplace_back("CONT=01");
        lines.emplace_back("ATTR=010");
        item.emptyLine = lines.size();
        if (item.closed)
            lines.emplace_back();
    }
    std::string oldWorld;
    for (const std::string &line : lines)
        oldWorld += line + lineEnd;
    if (lastLineOpen) {
        lines.emplace_back("[EOF]");
        oldWorld += "[EOF]";
    }

    writeBytes(dir + "statics0.mul", oldData);
    writeBytes(dir + "staidx0.mul", indexBytes(records));
    writeBytes(dir + "world.scp", oldWorld);
    writeBytes(dir + "qelm.ini", "[Custom]\r\nStaidx=" + dir + "staidx0.mul\r\nStatics=" + dir +
                                     "statics0.mul\r\nWorldfile=" + dir +
                                     "world.scp\r\nItemFiles=" + dir +
                                     "\r\nUnix=" + (unix ? "1" : "0") + "\r\n");

    app::Session session(dir);
    ProgressGauge gauge;
    try {
        require(session.analyse("0", std::to_string(lines.size()), gauge) ==
                    world::AnalyseOutcome::Listed,
                "the whole world file is listed");
    } catch (const Error &e) {
        std::fprintf(stderr, "unexpected error: %s\n", e.what());
        std::abort();
    }

    // The rows are the listed sections in file order; the input marks some of them.
    world::ItemTable &table = session.table();
    std::vector<Item *> rows;
    for (Item &item : items) {
        if (item.listed())
            rows.push_back(&item);
    }
    require(table.itemCount() == static_cast<int>(rows.size()), "every listed section is a row");
    bool anyMarked = false;
    bool placeable = true; // every marked item has a block
    bool fitting = true;   // every marked item fits a record as it is
    std::uint8_t bits = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const int row = static_cast<int>(k) + 1;
        require(table.startLine(row) == static_cast<std::int32_t>(rows[k]->header) &&
                    table.endLine(row) == static_cast<std::int32_t>(rows[k]->emptyLine),
                "a row spans its section");
        if (k % 8 == 0)
            bits = in.byte();
        // A clear bit marks the row, so that an input that ends early marks the rest.
        rows[k]->marked = ((bits >> (k % 8)) & 1) == 0;
        if (rows[k]->marked) {
            table.setMark(row, world::Mark::Yes);
            anyMarked = true;
            placeable = placeable && rows[k]->block(blockCount).has_value();
            fitting = fitting && rows[k]->fits(blockCount);
        }
    }

    bool indexReadable = !indexShort;
    for (const IndexRecord &r : records) {
        if (r.hasRecords() && std::uint64_t{r.lookup} + r.length > oldData.size())
            indexReadable = false;
    }
    const bool mustRefuse = anyMarked && !(indexReadable && placeable);
    const bool mustFinish = !anyMarked || (indexReadable && fitting);

    const std::map<std::string, std::string> before = scratchFiles();
    bool refused = false;
    try {
        require(session.patch(gauge) == app::Session::PatchOutcome::Finished, "PATCH finishes");
    } catch (const Error &e) {
        refused = true;
        if (mustFinish)
            std::fprintf(stderr, "refused: %s\n", e.what());
    }
    require(!(refused && mustFinish), "PATCH places every item that fits");
    require(refused || !mustRefuse, "PATCH refuses what has no place");
    const std::map<std::string, std::string> after = scratchFiles();
    if (!anyMarked || refused) {
        require(after == before, "a refused or empty PATCH changes no file");
        return 0;
    }

    // What the reading rule says the three files now hold.
    std::map<std::string, std::string> expected = before;
    std::string newData;
    std::vector<IndexRecord> newRecords;
    for (std::uint32_t block = 0; block < blockCount; ++block) {
        const IndexRecord &old = records[block];
        std::string bytes = old.hasRecords() ? oldData.substr(old.lookup, old.length) : "";
        for (const Item *item : rows) {
            if (item->marked && item->block(blockCount) == block)
                bytes += item->record();
        }
        IndexRecord now{None, None, old.extra};
        if (!bytes.empty())
            now = {static_cast<std::uint32_t>(newData.size()),
                   static_cast<std::uint32_t>(bytes.size()), old.extra};
        newRecords.push_back(now);
        newData += bytes;
    }
    expected["statics0.mul"] = newData;
    expected["staidx0.mul"] = indexBytes(newRecords);
    std::string newWorld;
    std::size_t next = 0;
    for (const Item *item : rows) {
        if (!item->marked)
            continue;
        for (; next < item->header; ++next)
            newWorld += lines[next] + (unix ? "\n" : "\r\n");
        next = item->emptyLine + 1;
    }
    for (; next < lines.size(); ++next)
        newWorld += lines[next] + (unix ? "\n" : "\r\n");
    expected["world.scp"] = newWorld;

    const auto same = [&](const char *name) {
        const auto found = after.find(name);
        return found != after.end() && found->second == expected.at(name);
    };
    require(after.size() == expected.size(), "no file is left over and none is missing");
    require(same("statics0.mul"),
            "each block keeps its old bytes and gets its marked records after them");
    require(same("staidx0.mul"), "each index record points at its block");
    require(same("world.scp"), "the world file loses exactly the marked sections");
    require(after == expected, "nothing else changes");
    return 0;
}
