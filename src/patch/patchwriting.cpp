// SPDX-License-Identifier: GPL-3.0-or-later
// The writing half of PreparedPatch: the new files, the journal, and the hand-over to the switch.
#include "base/backgroundwork.h"
#include "base/error.h"
#include "base/parallelism.h"
#include "base/progressgauge.h"
#include "formats/staticrecord.h"
#include "io/bufferedreader.h"
#include "io/bufferedwriter.h"
#include "io/digest.h"
#include "io/replacement.h"
#include "patch/patchcompletion.h"
#include "patch/preparedpatch.h"
#include "patch/worldrewrite.h"
#include "world/linelist.h"

#include <algorithm>
#include <filesystem>

namespace tessaplex::patch {

namespace {

// World files from this size on are rewritten on a thread of their own; below it a thread costs
// more than it saves.
constexpr std::size_t ParallelFrom = std::size_t{8} << 20;

} // namespace

// What apply() has made so far, so that a failure before the journal can be undone.
struct PreparedPatch::Transaction {
    // Open until all three are synced together, so that the disk writes one while the next is
    // being made.
    std::unique_ptr<io::Replacement> index, data, world;
    std::vector<std::string> journals; // made by this run, after the three new files
    bool committed = false; // a complete journal is on the disk: from here on, forward only
};

// Every block is rewritten in block order: its old bytes unchanged, then its new records in
// item table order, back to back from offset 0, so each lookup is the sum of the lengths before.
void PreparedPatch::writeStatics(Transaction &t, ProgressGauge &gauge) {
    m_blocks = blocks();
    const auto oldData = m_files.openForReading(m_paths.statics);
    if (!oldData)
        throw Error("Cannot open file " + m_paths.statics);
    t.index = std::make_unique<io::Replacement>(m_files, m_paths.staidx,
                                                replacementNameFor(m_paths.staidx));
    t.data = std::make_unique<io::Replacement>(m_files, m_paths.statics,
                                               replacementNameFor(m_paths.statics));

    io::BufferedReader reader(*oldData, m_dataStatus.size);
    io::BufferedWriter &index = t.index->out();
    io::BufferedWriter &data = t.data->out();
    const auto failed = [&]() -> Error {
        if (!index.ok())
            return Error("Cannot write file " + t.index->name());
        if (!data.ok())
            return Error("Cannot write file " + t.data->name());
        return Error("Cannot read file " + m_paths.statics);
    };

    const std::uint32_t count = m_blocks->blockCount();
    gauge.setMinimum(0);
    gauge.setMaximum(static_cast<std::int32_t>(count));
    gauge.setProgress(0);
    std::uint64_t offset = 0;
    unsigned char bytes[formats::IndexRecord::Size];
    for (std::uint32_t block = 0; block < count; ++block) {
        const formats::IndexRecord old = oldRecord(block);
        const std::uint64_t start = data.written();
        if (old.hasExistingRecords() && !reader.copyRange(old.lookup, old.length, data))
            throw failed();
        m_blocks->forEach(block, [&](const TBlocks &record) {
            (void)data.write(record.bytes, formats::StaticRecordSize);
        });
        const std::uint64_t length = data.written() - start;
        const formats::IndexRecord written =
            length > 0 ? formats::IndexRecord{static_cast<std::uint32_t>(offset),
                                              static_cast<std::uint32_t>(length), old.extra}
                       : formats::IndexRecord::empty(old.extra);
        written.encode(bytes);
        if (!index.write(bytes, formats::IndexRecord::Size) || !data.ok())
            throw failed();
        offset += length;
        gauge.advance();
    }

    if (!index.flush())
        throw Error("Cannot write file " + t.index->name());
    if (!data.flush())
        throw Error("Cannot write file " + t.data->name());
}

void PreparedPatch::writeWorld(Transaction &t, ProgressGauge &gauge) {
    t.world = std::make_unique<io::Replacement>(m_files, m_paths.world,
                                                replacementNameFor(m_paths.world));
    io::BufferedWriter &out = t.world->out();
    if (!rewriteWorld(m_lines, m_ranges, lineEndFor(m_unixLineEnds), out, gauge) || !out.flush())
        throw Error("Cannot write file " + t.world->name());
}

// The world file and the static files are made on two threads where the world file is large:
// neither needs the other, and the disk writes what one thread made while the other works.
void PreparedPatch::writeNewFiles(Transaction &t, ProgressGauge &gauge) {
    if (twoThreadsFor(m_lines.bytes().size(), ParallelFrom)) {
        // The gauge follows the static files; the world file takes about as long.
        ProgressGauge quiet;
        BackgroundWork world([&] {
            writeWorld(t, quiet);
            t.world->finish();
            digestOldWorld();
        });
        if (world.started()) {
            writeStatics(t, gauge);
            t.index->finish();
            t.data->finish();
            digestOldStatics();
            world.finish();
            return;
        }
    }
    writeStatics(t, gauge);
    writeWorld(t, gauge);
    // Synced together, so that the disk writes one while the next is being made.
    for (io::Replacement *replacement : {t.index.get(), t.data.get(), t.world.get()})
        replacement->finish();
    digestOldStatics();
    digestOldWorld();
}

// The journal records what the static data file and the world file held, so that a later run can
// tell them from other contents.
void PreparedPatch::digestOldStatics() {
    const auto oldData = io::digestOfFile(m_files, m_paths.statics);
    if (!oldData || oldData->size != m_dataStatus.size)
        throw Error("Cannot read file " + m_paths.statics);
    m_oldDataDigest = oldData->digest;
}

void PreparedPatch::digestOldWorld() {
    m_worldDigest = io::digestOf(m_lines.bytes());
}

// What each target was when PATCH read it and what replaces it, in the order of the switch: the
// static files first, since only the server writes the world file, which then goes last, in one
// step, right after it was seen unchanged.
PatchJournal PreparedPatch::journalOf(Transaction &t) {
    PatchJournal journal;
    const auto entry = [&](const char *role, const io::Replacement &replacement,
                           const std::string &backup, const io::FileStatus &before,
                           std::uint64_t beforeDigest) {
        const auto written = m_files.status(replacement.name());
        if (!written)
            throw Error("Cannot write file " + replacement.name());
        journal.entries.push_back({role,
                                   replacement.target(),
                                   replacement.name(),
                                   backup,
                                   {before, beforeDigest},
                                   {*written, replacement.digest()}});
    };
    entry("static index file", *t.index, m_paths.staidxBackup, m_indexStatus, m_oldIndexDigest);
    entry("static data file", *t.data, m_paths.staticsBackup, m_dataStatus, m_oldDataDigest);
    entry("world file", *t.world, {}, m_worldStatus, m_worldDigest);
    return journal;
}

// The server may save its world, or another tool touch the map, while the new files are made;
// replacing those files then would throw that work away. The whole status is compared, so that
// an edit that put back the old size and times is seen too.
void PreparedPatch::checkUnchanged() {
    const std::pair<const std::string *, io::FileStatus> originals[] = {
        {&m_paths.staidx, m_indexStatus},
        {&m_paths.statics, m_dataStatus},
        {&m_paths.world, m_worldStatus}};
    for (const auto &[path, before] : originals) {
        const auto now = m_files.status(*path);
        if (!now || *now != before)
            throw Error("The file " + *path +
                        " was changed by another program during PATCH; nothing was replaced");
    }
}

// One journal beside each target, so that a later run finds it through any of the three files.
// The first complete one commits the patch; the others only help to find it, and one cut short
// by a crash is taken for unfinished and removed.
void PreparedPatch::writeJournals(Transaction &t, const PatchJournal &journal) {
    const std::string text = journal.text();
    for (const JournalEntry &e : journal.entries) {
        const std::string name = journalNameFor(e.target);
        try {
            const auto file = m_files.createNew(name, {});
            if (!file)
                throw Error("Cannot create file " + name);
            t.journals.push_back(name);
            // Only the first journal must be on the disk before the switch: the others are found
            // complete or not at all, and the first one alone completes the patch.
            if (!file->write(text.data(), text.size()) || (!t.committed && !file->sync()) ||
                !file->close())
                throw Error("Cannot write file " + name);
        } catch (const Error &) {
            if (!t.committed)
                throw;
            continue; // the switch goes ahead; completion removes what this left
        }
        t.committed = true;
    }
    // The names of the new files and of the journal must be on the disk before the switch.
    syncFoldersOf(m_files, journal);
}

// Removes what this run made, the journals (made last) first: a crash on the way then leaves
// only files that the next run removes as unfinished.
std::string PreparedPatch::rollBack(Transaction &t) {
    std::string notes;
    const auto remove = [&](bool removed, const std::string &name) {
        if (!removed)
            notes += " The temporary file " + name + " could not be removed.";
    };
    for (auto it = t.journals.rbegin(); it != t.journals.rend(); ++it)
        remove(m_files.remove(*it), *it);
    t.journals.clear();
    for (auto *replacement : {&t.world, &t.data, &t.index}) {
        if (*replacement)
            remove((*replacement)->discard(), (*replacement)->name());
        replacement->reset();
    }
    return notes;
}

void PreparedPatch::apply(ProgressGauge &gauge) {
    PatchJournal journal;
    Transaction t;
    refuseFilesInUse(); // the server may have started since the patch was prepared
    try {
        writeNewFiles(t, gauge);
        journal = journalOf(t);
        checkUnchanged();
        writeJournals(t, journal);
        for (io::Replacement *replacement : {t.index.get(), t.data.get(), t.world.get()})
            replacement->keep(); // the switch puts them in place
    } catch (const Error &e) {
        // Nothing gets here once a journal is complete: writeJournals lets no failure through.
        const std::string notes = rollBack(t);
        if (notes.empty())
            throw;
        throw Error(e.what() + ("." + notes));
    } catch (...) {
        if (!t.committed)
            (void)rollBack(t);
        throw;
    }
    (void)completePatch(m_files, journal);
}

} // namespace tessaplex::patch
