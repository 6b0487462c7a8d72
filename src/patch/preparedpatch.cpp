// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/preparedpatch.h"

#include "base/error.h"
#include "base/progressgauge.h"
#include "formats/mapgeometry.h"
#include "formats/staticrecord.h"
#include "io/digest.h"
#include "io/systempath.h"
#include "patch/worldrewrite.h"
#include "world/linelist.h"
#include "world/worldsection.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>

namespace tessaplex::patch {

namespace {

constexpr std::uint64_t ColumnBytes =
    std::uint64_t{formats::BlocksPerColumn} * formats::IndexRecord::Size;
// A lookup or length of 0xFFFFFFFF reads as "no records", so every offset and length of a
// written block must stay below it.
constexpr std::uint64_t MaxDataSize = formats::IndexRecord::None - 1;
constexpr std::size_t ChunkSize = std::size_t{2} << 20;

bool samePath(const std::string &a, const std::string &b) {
    return io::comparablePath(a) == io::comparablePath(b);
}

// Reads exactly size bytes from file into out, in pieces of at most ChunkSize bytes.
bool readExactly(io::File &file, unsigned char *out, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const auto n = file.read(out + done, std::min(size - done, ChunkSize));
        if (!n || *n == 0)
            return false;
        done += *n;
    }
    return true;
}

} // namespace

PreparedPatch::PreparedPatch(io::FileSystem &files, PatchFiles paths, MarkedItems items,
                             const world::LineList &lines, bool unixLineEnds,
                             std::optional<int> mapNumber)
    : m_files(files)
    , m_paths(std::move(paths))
    , m_lines(lines)
    , m_unixLineEnds(unixLineEnds)
    , m_mapNumber(mapNumber)
    , m_items(std::move(items)) {
    // Lines read through the file cache are the file's own pages, which a file cut short since
    // would take away: such a file is looked at before any line is.
    const bool mapped = m_lines.mappedStatus().has_value();
    if (mapped)
        checkWorldFile();
    checkLines();
    inspect();
    checkItemsOnMap();
    (void)newDataSize(); // refuses a data file too large for its index
    if (!mapped)
        checkWorldFile();
}

PreparedPatch::~PreparedPatch() = default;

// Each item's lines must still be its section: a "[WORLDITEM" line to an empty line, after the
// section of the item before it; and the rewrite must not lose text after a NUL byte, which no
// line holds. Notes where the sections lie in the file's bytes.
void PreparedPatch::checkLines() {
    if (m_lines.hasNulByte()) {
        const std::string_view bytes = m_lines.bytes();
        const auto offset =
            static_cast<const char *>(std::memchr(bytes.data(), 0, bytes.size())) - bytes.data();
        throw Error("The world file " + m_paths.world + " holds a NUL byte at offset " +
                    std::to_string(offset) + "; rewriting it would lose the text after it");
    }
    std::int64_t previousEnd = -1;
    std::uint64_t previousEmptyLine = 0;
    const world::TextLines text = m_lines.textLines();
    // The analysis noted where each section's two lines begin; a line that no analysis of these
    // bytes could have noted there is none of its lines.
    const auto lineAt = [&](std::uint32_t offset,
                            std::uint64_t after) -> std::optional<std::string_view> {
        const char before = offset > 0 ? text.text[offset - 1] : '\n';
        if (offset >= text.size || (after > 0 && offset <= after) ||
            (before != '\n' && before != '\r') || (before == '\r' && text.text[offset] == '\n'))
            return std::nullopt;
        return text.lineAt(offset);
    };
    m_ranges.reserve(m_items.size());
    for (const MarkedItem &item : m_items) {
        const LineRange range = item.lines;
        const auto row = [&] { return "Row " + std::to_string(item.row) + ": "; };
        const auto span = [&] {
            return row() + "lines " + std::to_string(static_cast<std::int32_t>(range.start)) +
                   " to " + std::to_string(static_cast<std::int32_t>(range.end));
        };
        if (static_cast<std::int32_t>(range.start) < 0 || range.start >= range.end ||
            range.end >= m_lines.size())
            throw Error(span() + " are no section of the world file's " +
                        std::to_string(m_lines.size()) + " lines");
        if (std::int64_t{range.start} <= previousEnd)
            throw Error(span() + " overlap the section of a marked row above it");
        const auto header = lineAt(item.headerOffset, previousEmptyLine);
        if (!header || !world::isItemSectionHeader(*header))
            throw Error(row() + "line " + std::to_string(range.start) +
                        " of the world file is not a \"[WORLDITEM\" line");
        const auto empty = lineAt(item.emptyLineOffset, item.headerOffset);
        if (!empty || !empty->empty())
            throw Error(row() + "line " + std::to_string(range.end) +
                        " of the world file is not an empty line");
        previousEnd = range.end;
        previousEmptyLine = item.emptyLineOffset;
        m_ranges.push_back({range, item.headerOffset,
                            static_cast<std::uint32_t>(text.nextStart(item.emptyLineOffset))});
    }
}

// Every item must lie on the map: as wide as the index has columns and 4,096 positions high, a
// position beyond either edge would still give a block number, of another column.
void PreparedPatch::checkItemsOnMap() const {
    const std::uint32_t count = m_blockCount;
    for (const MarkedItem &item : m_items) {
        const auto row = [&] { return "Row " + std::to_string(item.row) + ": "; };
        if (!m_map.holds(item.x, item.y))
            throw Error(row() + "position " + std::to_string(item.x) + "," +
                        std::to_string(item.y) + " lies outside the map: the static index file " +
                        m_paths.staidx + " covers X 0 to " + std::to_string(m_map.width - 1) +
                        " and Y 0 to " + std::to_string(m_map.height - 1));
        if (item.block < 0 || static_cast<std::uint32_t>(item.block) >= count)
            throw Error(row() + "BLOCK " + std::to_string(item.block) +
                        " lies outside the map: the static index file " + m_paths.staidx +
                        " has blocks 0 to " + std::to_string(count - 1));
    }
}

// Every item goes into its block behind what the block holds, in table order. Built only when
// the blocks are written or counted: a check has no need of them.
std::unique_ptr<TBlockManager> PreparedPatch::blocks() const {
    auto blocks = std::make_unique<TBlockManager>(m_blockCount);
    blocks->reserve(m_items.size());
    for (const MarkedItem &item : m_items)
        blocks->append(static_cast<std::uint32_t>(item.block), item.record);
    return blocks;
}

// The map that an index file of size bytes covers: as written, any whole number of columns of
// 512 blocks, 4,096 positions high; for a chosen map, one of that map's sizes.
formats::MapSize PreparedPatch::mapOfIndex(std::uint64_t size) const {
    const std::uint64_t records = size / formats::IndexRecord::Size;
    const std::string stated =
        "The static index file " + m_paths.staidx + " has " + std::to_string(size) + " bytes";
    if (!m_mapNumber) {
        if (size == 0 || size % ColumnBytes != 0 ||
            records > std::numeric_limits<std::int32_t>::max() / formats::BlockSide)
            throw Error(stated + "; it must hold a whole number of 512-block columns of 12-byte "
                                 "records (a multiple of 6144 bytes)");
        const auto columns = static_cast<std::int32_t>(records / formats::BlocksPerColumn);
        return {columns * formats::BlockSide,
                static_cast<std::int32_t>(formats::BlocksPerColumn) * formats::BlockSide};
    }
    const formats::MapSizes sizes = formats::sizesOfMap(*m_mapNumber);
    std::string expected;
    for (int k = 0; k < sizes.count; ++k) {
        const formats::MapSize &map = sizes.sizes[k];
        if (size == std::uint64_t{map.blockCount()} * formats::IndexRecord::Size)
            return map;
        expected += std::string(k == 0 ? "" : " or ") + std::to_string(map.blockCount()) +
                    " records (" + std::to_string(map.width) + " x " + std::to_string(map.height) +
                    ")";
    }
    throw Error(stated + ", " + std::to_string(records) + " records of 12 bytes; map " +
                std::to_string(*m_mapNumber) + " needs " + expected);
}

void PreparedPatch::inspect() {
    const std::string *names[] = {&m_paths.statics, &m_paths.staidx, &m_paths.world,
                                  &m_paths.staticsBackup, &m_paths.staidxBackup};
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = i + 1; j < std::size(names); ++j) {
            if (samePath(*names[i], *names[j]))
                throw Error("The file " + *names[i] +
                            " is named twice; PATCH needs a separate static data file, static "
                            "index file and world file");
        }
    }
    for (const std::string *backup : {&m_paths.staticsBackup, &m_paths.staidxBackup}) {
        if (m_files.exists(*backup))
            throw Error("The file " + *backup +
                        " already exists; it may hold the static map of an interrupted PATCH. "
                        "Restore or remove it before patching");
    }

    refuseFilesInUse();
    const auto index = m_files.status(m_paths.staidx);
    if (!index)
        throw Error("Cannot open file " + m_paths.staidx);
    const auto data = m_files.status(m_paths.statics);
    if (!data)
        throw Error("Cannot open file " + m_paths.statics);
    m_map = mapOfIndex(index->size);
    refuseLinkedFile(m_paths.staidx, *index);
    refuseLinkedFile(m_paths.statics, *data);
    m_indexStatus = *index;
    m_dataStatus = *data;

    const auto file = m_files.openForReading(m_paths.staidx);
    if (!file)
        throw Error("Cannot open file " + m_paths.staidx);
    m_oldIndex = LargeArray<unsigned char>(static_cast<std::size_t>(index->size));
    if (!readExactly(*file, m_oldIndex.data(), m_oldIndex.capacity()))
        throw Error("Cannot read file " + m_paths.staidx);
    m_oldIndexDigest = io::digestOf(
        std::string_view(reinterpret_cast<const char *>(m_oldIndex.data()), m_oldIndex.capacity()));

    const auto count =
        static_cast<std::uint32_t>(m_oldIndex.capacity() / formats::IndexRecord::Size);
    for (std::uint32_t block = 0; block < count; ++block) {
        const formats::IndexRecord record = oldRecord(block);
        if (!record.hasExistingRecords())
            continue;
        m_oldBytes += record.length;
        if (std::uint64_t{record.lookup} + record.length > m_dataStatus.size)
            throw Error("Block " + std::to_string(block) + " of the static index file " +
                        m_paths.staidx + " points beyond the end of the static data file " +
                        m_paths.statics + " (lookup " + std::to_string(record.lookup) +
                        ", length " + std::to_string(record.length) + ", file size " +
                        std::to_string(m_dataStatus.size) + ")");
    }
    m_blockCount = count;
}

formats::IndexRecord PreparedPatch::oldRecord(std::uint32_t block) const {
    return formats::IndexRecord::decode(m_oldIndex.data() +
                                        std::size_t{block} * formats::IndexRecord::Size);
}

void PreparedPatch::checkWorldFile() {
    const std::string_view expected = m_lines.bytes();
    const std::string changed = "The world file " + m_paths.world +
                                " was changed on disk since it was read; analyse it "
                                "again";
    const auto status = m_files.status(m_paths.world);
    if (!status)
        throw Error("Cannot open file " + m_paths.world);
    refuseLinkedFile(m_paths.world, *status);
    if (status->size != expected.size())
        throw Error(changed);
    if (const std::optional<io::FileStatus> mapped = m_lines.mappedStatus()) {
        // The lines are the file's own pages: while it is the same file, unchanged since, its
        // contents are those bytes, and reading it again would compare them with themselves.
        if (*status != *mapped)
            throw Error(changed);
    } else if (!fileHolds(m_paths.world, expected)) {
        throw Error(changed);
    }
    m_worldStatus = *status;
}

bool PreparedPatch::fileHolds(const std::string &path, std::string_view expected) const {
    const auto file = m_files.openForReading(path);
    if (!file)
        throw Error("Cannot open file " + path);
    LargeArray<unsigned char> chunk(std::max<std::size_t>(1, std::min(expected.size(), ChunkSize)));
    for (std::size_t done = 0; done < expected.size();) {
        const std::size_t n = std::min(expected.size() - done, chunk.capacity());
        if (!readExactly(*file, chunk.data(), n))
            throw Error("Cannot read file " + path);
        if (std::memcmp(chunk.data(), expected.data() + done, n) != 0)
            return false;
        done += n;
    }
    return true;
}

// Renaming the new file over one name of a file with several would leave the others with the
// old contents, which the server or the client may be reading through them.
void PreparedPatch::refuseLinkedFile(const std::string &path, const io::FileStatus &status) const {
    if (status.links > 1)
        throw Error("The file " + path + " has " + std::to_string(status.links) +
                    " names (hard links); PATCH would replace it under this name only. Remove "
                    "its other names before patching");
}

// A running server on Windows holds its map files open without sharing writing: it would keep
// reading the old file, or the switch would stop halfway. Asked before anything is written.
void PreparedPatch::refuseFilesInUse() {
    for (const std::string *path : {&m_paths.staidx, &m_paths.statics, &m_paths.world}) {
        if (m_files.inUseByAnotherProgram(*path))
            throw Error("The file " + *path +
                        " is in use by another program; stop the server first, then patch");
    }
}

std::uint64_t PreparedPatch::newDataSize() const {
    const std::uint64_t size = m_oldBytes + m_items.size() * formats::StaticRecordSize;
    if (size > MaxDataSize)
        throw Error("The new static data file would hold " + std::to_string(size) +
                    " bytes, more than its index can address");
    return size;
}

PatchPlan PreparedPatch::plan() const {
    PatchPlan plan;
    plan.items = m_items.size();
    plan.blocksTouched = blocks()->blocksTouched();
    for (const RemovedSection &range : m_ranges)
        plan.linesRemoved += range.lines.lineCount();
    plan.indexRecords = m_blockCount;
    plan.indexBytes = std::uint64_t{plan.indexRecords} * formats::IndexRecord::Size;
    plan.dataBytes = newDataSize();
    plan.worldBytes = rewrittenWorldSize(m_lines, m_ranges, lineEndFor(m_unixLineEnds));
    plan.staidx = m_paths.staidx;
    plan.statics = m_paths.statics;
    plan.world = m_paths.world;
    return plan;
}

} // namespace tessaplex::patch
