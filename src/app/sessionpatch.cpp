// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"

#include "app/patchtargets.h"
#include "app/startdirectory.h"
#include "base/error.h"
#include "base/largememory.h"
#include "formats/mapgeometry.h"
#include "io/realfilesystem.h"
#include "io/systempath.h"
#include "patch/patchcompletion.h"
#include "patch/preparedpatch.h"
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

// The row's cells as PATCH reads them, in the order in which it converts them, so that the first
// bad cell is the one reported: "BLOCK", "COLOR", "Z", "Y", "X" strictly as decimal, "ID" by the
// hex rule, then "Startzeile" and "EndZeile".
patch::MarkedItem convertRow(const ItemTable &table, int row) {
    patch::MarkedItem c;
    c.row = row;
    c.block = strictCell(table.hasPosition(row), table.block(row));
    const std::int32_t color = strictCell(table.hasColor(row), table.color(row));
    const std::int32_t z = world::strictDecimalTextToInt(table.zText(row));
    const std::int32_t y = world::strictDecimalTextToInt(table.yText(row));
    const std::int32_t x = world::strictDecimalTextToInt(table.xText(row));
    const std::uint32_t id = table.idValue(row);
    c.lines.start =
        static_cast<std::uint32_t>(strictCell(table.hasLines(row), table.startLine(row)));
    c.lines.end = static_cast<std::uint32_t>(strictCell(table.hasLines(row), table.endLine(row)));
    c.headerOffset = table.headerOffset(row);
    c.emptyLineOffset = table.emptyLineOffset(row);
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

// The lines in memory must be those of the analysed file, or the rewrite would put one file's
// lines over another.
void checkLinesBelongToTable(const Session &session, const std::string &worldFile) {
    const std::string &analysed = session.analysedWorldFile();
    if (analysed.empty())
        throw Error("No world file has been analysed; analyse before patching");
    if (io::comparablePath(worldFile) != io::comparablePath(analysed))
        throw Error("The items were analysed from " + analysed +
                    ", but the \"Worldfile\" setting now names " + worldFile + "; analyse again");
    const auto named = [](std::optional<int> map) {
        return map ? "map " + std::to_string(*map) : std::string("the map as written");
    };
    if (session.chosenMap() != session.analysedMap())
        throw Error("The items were listed for " + named(session.analysedMap()) +
                    ", but the \"Map\" setting now names " + named(session.chosenMap()) +
                    "; analyse again");
    if (!session.linesAnalysed())
        throw Error("The world file " + analysed +
                    " was read again and has changed since the analysis; analyse it again");
}

using FolderLocks = std::vector<std::unique_ptr<io::FolderLock>>;

struct Prepared {
    enum class State { TooManyMarks, NothingMarked, Ready } state = State::Ready;
    FolderLocks locks; // held until the patch is written, from before its files are looked at
    std::unique_ptr<patch::PreparedPatch> patch;
};

// Everything PATCH does before it writes: the limit, the conversion of the marked rows, the
// settings, and every check of the files, in that order. beforeFiles runs once the rows are
// converted, before the first file is looked at.
Prepared preparePatch(const Session &session, io::FileSystem &files,
                      const std::function<FolderLocks()> &beforeFiles) {
    Prepared prepared;
    const ItemTable &table = session.table();

    std::uint32_t marked = 0;
    forEachMarkedRow(table, [&](int) { ++marked; });
    if (marked > MaxMarks) {
        prepared.state = Prepared::State::TooManyMarks;
        return prepared;
    }

    patch::MarkedItems items;
    items.reserve(marked);
    forEachMarkedRow(table, [&](int row) { items.push_back(convertRow(table, row)); });
    if (marked == 0) {
        prepared.state = Prepared::State::NothingMarked;
        return prepared;
    }

    const Settings &settings = session.settings();
    const std::optional<int> map = session.analysedMap();
    patch::PatchFiles paths =
        patch::PatchFiles::fromSettings(settings.readText(SettingsSection, keys::Statics),
                                        settings.readText(SettingsSection, keys::Staidx),
                                        settings.readText(SettingsSection, keys::WorldFileRead));
    checkLinesBelongToTable(session, nativePath(paths.world));
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
    paths =
        patch::PatchFiles::fromSettings(paths.statics, paths.staidx, paths.world, map.value_or(0));
    const bool unixLineEnds = settings.readBool(SettingsSection, keys::Unix, false);
    prepared.patch = std::make_unique<patch::PreparedPatch>(
        files, std::move(paths), std::move(items), session.lines(), unixLineEnds, map);
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
    Prepared prepared = preparePatch(*this, files, [&] {
        const std::vector<std::string> targets = patchTargets(m_settings, files);
        FolderLocks locks = patch::lockFoldersOf(files, targets);
        notify(patch::settleInterruptedPatch(files, targets));
        return locks;
    });
    if (prepared.state == Prepared::State::TooManyMarks)
        return PatchOutcome::TooManyMarks;
    if (prepared.state == Prepared::State::Ready)
        prepared.patch->apply(gauge);
    return PatchOutcome::Finished;
}

std::optional<patch::PatchPlan> Session::planPatch() const {
    io::RealFileSystem files;
    return planPatch(files);
}

std::optional<patch::PatchPlan> Session::planPatch(io::FileSystem &files) const {
    const Prepared prepared = preparePatch(*this, files, [] { return FolderLocks{}; });
    if (prepared.state == Prepared::State::TooManyMarks)
        return std::nullopt;
    if (prepared.state == Prepared::State::NothingMarked)
        return patch::PatchPlan{};
    return prepared.patch->plan();
}

} // namespace tessaplex::app
