// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"

#include "app/patchtargets.h"
#include "app/startdirectory.h"
#include "base/error.h"
#include "base/largememory.h"
#include "formats/mapgeometry.h"
#include "io/realfilesystem.h"
#include "patch/patchcompletion.h"
#include "patch/staticspatcher.h"
#include "world/numberrules.h"

#include <cstring>
#include <functional>
#include <limits>
#include <memory>

namespace tessaplex::app {

namespace {

using patch::LineRange;
using world::ItemTable;

constexpr std::uint32_t MaxMarks = 500000;

Error notAnInteger(const std::string &text) {
    return Error("'" + text + "' is not a valid integer value");
}

// A cell the table shows as the decimal of a stored number, read strictly: an empty cell, or a
// value beyond the signed 32-bit range, is no integer.
std::int32_t strictCell(bool present, std::int64_t value) {
    if (!present)
        throw notAnInteger({});
    if (value > std::numeric_limits<std::int32_t>::max())
        throw notAnInteger(std::to_string(value));
    return static_cast<std::int32_t>(value);
}

std::string rowText(int row) {
    return "Row " + std::to_string(row) + ": ";
}

struct ConvertedRow {
    std::int32_t block = 0;
    std::int32_t x = 0, y = 0;
    patch::TBlocks record;
    std::int32_t startLine = 0;
    std::int32_t endLine = 0;
};

// The row's cells as PATCH reads them, in the order in which it converts them, so that the first
// bad cell is the one reported: "BLOCK", "COLOR", "Z", "Y", "X" strictly as decimal, "ID" by the
// hex rule, then "Startzeile" and "EndZeile".
ConvertedRow convertRow(const ItemTable &table, int row) {
    ConvertedRow c;
    c.block = strictCell(table.hasPosition(row), table.block(row));
    const std::int32_t color = strictCell(table.hasColor(row), table.color(row));
    const std::int32_t z = world::strictDecimalTextToInt(table.zText(row));
    const std::int32_t y = world::strictDecimalTextToInt(table.yText(row));
    const std::int32_t x = world::strictDecimalTextToInt(table.xText(row));
    const std::uint32_t id = table.idValue(row);
    c.startLine = strictCell(table.hasLines(row), table.startLine(row));
    c.endLine = strictCell(table.hasLines(row), table.endLine(row));
    // A static record holds a 16-bit ID and colour and an 8-bit signed height: anything larger
    // would be written cut short, as another item at another height.
    const auto refuse = [&](const std::string &what, const std::string &range) {
        throw Error(rowText(row) + what + " does not fit a static record, which holds " + range);
    };
    if (id > 0xFFFF)
        refuse("ID " + table.idCell(row), "IDs up to 0xffff");
    if (color < 0 || color > 0xFFFF)
        refuse("COLOR " + std::to_string(color), "colours 0 to 65535");
    if (z < -128 || z > 127)
        refuse("Z " + std::to_string(z), "heights -128 to 127");
    c.x = x;
    c.y = y;
    c.record = patch::TBlocks::of(static_cast<std::int32_t>(id), x, y, z, color);
    return c;
}

template <typename F> void forEachMarkedRow(const ItemTable &table, F &&f) {
    for (int row = 1; row < table.rowCount(); ++row) {
        if (table.isMarked(row))
            f(row);
    }
}

// The row of the k-th marked row, counted from 0.
int markedRow(const ItemTable &table, std::size_t k) {
    int found = 0;
    forEachMarkedRow(table, [&](int row) {
        if (k-- == 0)
            found = row;
    });
    return found;
}

// A marked item's record and block, kept from the conversion until the block count is known.
struct PendingItem {
    std::int32_t block = 0;
    std::int32_t x = 0, y = 0;
    patch::TBlocks record;
};

// The lines in memory must be those of the analysed file, and still that file's bytes, or the
// rewrite would put one file's lines over another or remove lines of other sections.
void checkLinesBelongToTable(const Session &session, const std::string &worldFile) {
    const world::LineList &lines = session.lines();
    const std::string &analysed = session.analysedWorldFile();
    if (analysed.empty())
        throw Error("No world file has been analysed; analyse before patching");
    if (worldFile != analysed)
        throw Error("The items were analysed from " + analysed +
                    ", but the \"Worldfile\" setting now names " + worldFile + "; analyse again");
    if (lines.sourcePath() != analysed || lines.generation() != session.analysedGeneration())
        throw Error("The world file " + analysed +
                    " was read again and has changed since the analysis; analyse it again");
    if (lines.hasNulByte()) {
        const std::string_view bytes = lines.bytes();
        const auto offset =
            static_cast<const char *>(std::memchr(bytes.data(), 0, bytes.size())) - bytes.data();
        throw Error("The world file " + analysed + " holds a NUL byte at offset " +
                    std::to_string(offset) + "; rewriting it would lose the text after it");
    }
}

bool isSectionHeader(std::string_view line) {
    return line.size() > 11 && line.substr(0, 10) == "[WORLDITEM";
}

// Each marked row's lines must still be its item section: a "[WORLDITEM" line to an empty line,
// after the section of the marked row before it.
void checkSections(const Session &session, const patch::LineRanges &ranges) {
    const world::LineList &lines = session.lines();
    std::size_t k = 0;
    std::int64_t previousEnd = -1;
    forEachMarkedRow(session.table(), [&](int row) {
        const LineRange range = ranges[k++];
        const auto span = [&] {
            return rowText(row) + "lines " +
                   std::to_string(static_cast<std::int32_t>(range.start)) + " to " +
                   std::to_string(static_cast<std::int32_t>(range.end));
        };
        if (static_cast<std::int32_t>(range.start) < 0 || range.start >= range.end ||
            range.end >= lines.size())
            throw Error(span() + " are no section of the world file's " +
                        std::to_string(lines.size()) + " lines");
        if (std::int64_t{range.start} <= previousEnd)
            throw Error(span() + " overlap the section of a marked row above it");
        if (!isSectionHeader(lines.line(range.start)))
            throw Error(rowText(row) + "line " + std::to_string(range.start) +
                        " of the world file is not a \"[WORLDITEM\" line");
        if (!lines.line(range.end).empty())
            throw Error(rowText(row) + "line " + std::to_string(range.end) +
                        " of the world file is not an empty line");
        previousEnd = range.end;
    });
}

using FolderLocks = std::vector<std::unique_ptr<io::FolderLock>>;

struct PreparedPatch {
    enum class State { TooManyMarks, NothingMarked, Ready } state = State::Ready;
    FolderLocks locks; // held until the patch is written, from before its files are looked at
    std::unique_ptr<patch::StaticsPatcher> patcher;
    bool unixLineEnds = false;
};

// Everything PATCH does before it writes: the limit, the conversion of the marked rows, the
// settings, and every check of the files, in that order.
// beforeFiles runs once the rows are converted, before the first file is looked at.
PreparedPatch preparePatch(const Session &session, io::FileSystem &files,
                           const std::function<FolderLocks()> &beforeFiles) {
    PreparedPatch prepared;
    const ItemTable &table = session.table();

    std::uint32_t marked = 0;
    forEachMarkedRow(table, [&](int) { ++marked; });
    if (marked > MaxMarks) {
        prepared.state = PreparedPatch::State::TooManyMarks;
        return prepared;
    }

    std::vector<PendingItem, LargeAllocator<PendingItem>> pending;
    pending.reserve(marked);
    patch::LineRanges ranges;
    ranges.reserve(marked);
    forEachMarkedRow(table, [&](int row) {
        const ConvertedRow c = convertRow(table, row);
        pending.push_back({c.block, c.x, c.y, c.record});
        ranges.push_back(
            {static_cast<std::uint32_t>(c.startLine), static_cast<std::uint32_t>(c.endLine)});
    });
    if (marked == 0) {
        prepared.state = PreparedPatch::State::NothingMarked;
        return prepared;
    }

    const Settings &settings = session.settings();
    patch::PatchFiles paths =
        patch::PatchFiles::fromSettings(settings.readText(SettingsSection, keys::Statics),
                                        settings.readText(SettingsSection, keys::Staidx),
                                        settings.readText(SettingsSection, keys::WorldFileRead));
    checkLinesBelongToTable(session, nativePath(paths.world));
    checkSections(session, ranges);
    prepared.locks = beforeFiles();

    // A link is followed: the file it names is what the server and the client read, so that
    // file is replaced, its backup and new contents beside it, and the link stays.
    for (std::string *path : {&paths.statics, &paths.staidx, &paths.world}) {
        const std::string native = nativePath(std::move(*path));
        const auto followed = files.followLinks(native);
        if (!followed)
            throw Error("Cannot open file " + native);
        *path = *followed;
    }
    paths = patch::PatchFiles::fromSettings(paths.statics, paths.staidx, paths.world);

    prepared.patcher = std::make_unique<patch::StaticsPatcher>(files, std::move(paths));
    patch::StaticsPatcher &patcher = *prepared.patcher;
    patcher.inspect();
    patch::TBlockManager &blocks = patcher.blocks();
    blocks.reserve(marked);
    // The map is as wide as the index has columns and 4,096 positions high; a position beyond
    // either edge would still give a block number, of another column.
    const std::int32_t width =
        static_cast<std::int32_t>(blocks.blockCount() / formats::BlocksPerColumn) *
        formats::BlockSide;
    const std::int32_t height =
        static_cast<std::int32_t>(formats::BlocksPerColumn) * formats::BlockSide;
    for (std::size_t k = 0; k < pending.size(); ++k) {
        const PendingItem &item = pending[k];
        if (item.x < 0 || item.x >= width || item.y < 0 || item.y >= height)
            throw Error(rowText(markedRow(table, k)) + "position " + std::to_string(item.x) + "," +
                        std::to_string(item.y) + " lies outside the map: the static index file " +
                        patcher.paths().staidx + " covers X 0 to " + std::to_string(width - 1) +
                        " and Y 0 to " + std::to_string(height - 1));
        if (item.block < 0 || static_cast<std::uint32_t>(item.block) >= blocks.blockCount())
            throw Error(rowText(markedRow(table, k)) + "BLOCK " + std::to_string(item.block) +
                        " lies outside the map: the static index file " + patcher.paths().staidx +
                        " has blocks 0 to " + std::to_string(blocks.blockCount() - 1));
        blocks.append(static_cast<std::uint32_t>(item.block), item.record);
    }
    pending = {};
    patcher.setLineRanges(std::move(ranges));
    patcher.checkWorldFile(session.lines());
    prepared.unixLineEnds = settings.readBool(SettingsSection, keys::Unix, false);
    return prepared;
}

} // namespace

Session::PatchOutcome Session::patch(ProgressGauge &gauge) {
    io::RealFileSystem files;
    return patch(gauge, files);
}

Session::PatchOutcome Session::patch(ProgressGauge &gauge, io::FileSystem &files) {
    // The locks are held from the settling of an earlier PATCH to the end of this one, so that
    // no other run finds this one's files unfinished.
    PreparedPatch prepared = preparePatch(*this, files, [&] {
        const std::vector<std::string> targets = patchTargets(m_settings, files);
        FolderLocks locks = patch::lockFoldersOf(files, targets);
        notify(patch::settleInterruptedPatch(files, targets));
        return locks;
    });
    if (prepared.state == PreparedPatch::State::TooManyMarks)
        return PatchOutcome::TooManyMarks;
    if (prepared.state == PreparedPatch::State::Ready)
        prepared.patcher->write(m_lines, prepared.unixLineEnds, gauge);
    return PatchOutcome::Finished;
}

std::optional<patch::PatchPlan> Session::planPatch() const {
    io::RealFileSystem files;
    return planPatch(files);
}

std::optional<patch::PatchPlan> Session::planPatch(io::FileSystem &files) const {
    const PreparedPatch prepared = preparePatch(*this, files, [] { return FolderLocks{}; });
    if (prepared.state == PreparedPatch::State::TooManyMarks)
        return std::nullopt;
    if (prepared.state == PreparedPatch::State::NothingMarked)
        return patch::PatchPlan{};
    return prepared.patcher->plan(m_lines, prepared.unixLineEnds);
}

} // namespace tessaplex::app
