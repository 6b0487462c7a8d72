// SPDX-License-Identifier: GPL-3.0-or-later
// The writing half of PreparedPatch: the new files, the journal, and the hand-over to the switch.
#include "base/error.h"
#include "base/progressgauge.h"
#include "formats/staticrecord.h"
#include "io/bufferedreader.h"
#include "io/bufferedwriter.h"
#include "io/digest.h"
#include "patch/patchcompletion.h"
#include "patch/preparedpatch.h"
#include "patch/worldrewrite.h"
#include "world/linelist.h"

#include <algorithm>
#include <filesystem>

namespace tessaplex::patch {

// What write() has made so far, so that a failure before the journal can be undone.
struct PreparedPatch::Transaction {
    std::vector<std::string> created; // files made by this run, in the order they were made
    // Open until all three are synced together, so that the disk writes one while the next is
    // being made.
    std::unique_ptr<io::File> indexFile, dataFile, worldFile;
    io::Digest indexDigest, dataDigest, worldDigest;
    bool committed = false; // a complete journal is on the disk: from here on, forward only
};

std::unique_ptr<io::File> PreparedPatch::create(Transaction &t, const std::string &name,
                                                const std::string &permissionsOf) {
    auto file = m_files.createNew(name, permissionsOf);
    if (!file)
        throw Error("Cannot create file " + name);
    t.created.push_back(name);
    return file;
}

// Every block is rewritten in block order: its old bytes unchanged, then its new records in
// item table order, back to back from offset 0, so each lookup is the sum of the lengths before.
void PreparedPatch::writeStatics(Transaction &t, ProgressGauge &gauge) {
    const auto oldData = m_files.openForReading(m_paths.statics);
    if (!oldData)
        throw Error("Cannot open file " + m_paths.statics);
    const std::string indexName = replacementNameFor(m_paths.staidx);
    const std::string dataName = replacementNameFor(m_paths.statics);
    t.indexFile = create(t, indexName, m_paths.staidx);
    t.dataFile = create(t, dataName, m_paths.statics);

    io::BufferedReader reader(*oldData, m_dataStatus.size);
    io::BufferedWriter index(*t.indexFile, io::BufferedWriter::DefaultCapacity, &t.indexDigest);
    io::BufferedWriter data(*t.dataFile, io::BufferedWriter::DefaultCapacity, &t.dataDigest);
    const auto failed = [&]() -> Error {
        if (!index.ok())
            return Error("Cannot write file " + indexName);
        if (!data.ok())
            return Error("Cannot write file " + dataName);
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
        throw Error("Cannot write file " + indexName);
    if (!data.flush())
        throw Error("Cannot write file " + dataName);
}

void PreparedPatch::writeWorld(Transaction &t, ProgressGauge &gauge) {
    const std::string name = replacementNameFor(m_paths.world);
    t.worldFile = create(t, name, m_paths.world);
    io::BufferedWriter out(*t.worldFile, io::BufferedWriter::DefaultCapacity, &t.worldDigest);
    if (!rewriteWorld(m_lines, m_ranges, lineEndFor(m_unixLineEnds), out, gauge) || !out.flush())
        throw Error("Cannot write file " + name);
}

void PreparedPatch::syncReplacements(Transaction &t) {
    for (auto [file, target] :
         {std::pair{&t.indexFile, &m_paths.staidx}, std::pair{&t.dataFile, &m_paths.statics},
          std::pair{&t.worldFile, &m_paths.world}}) {
        const bool ok = (*file)->sync() && (*file)->close();
        file->reset();
        if (!ok)
            throw Error("Cannot write file " + replacementNameFor(*target));
    }
}

// What each target was when PATCH read it and what replaces it, in the order of the switch: the
// static files first, since only the server writes the world file, which then goes last, in one
// step, right after it was seen unchanged.
PatchJournal PreparedPatch::journalOf(Transaction &t) {
    const auto oldData = io::digestOfFile(m_files, m_paths.statics);
    if (!oldData || oldData->size != m_dataStatus.size)
        throw Error("Cannot read file " + m_paths.statics);
    PatchJournal journal;
    const auto entry = [&](const char *role, const std::string &target, const std::string &backup,
                           const io::FileStatus &before, std::uint64_t beforeDigest,
                           const io::Digest &after) {
        const std::string replacement = replacementNameFor(target);
        const auto written = m_files.status(replacement);
        if (!written)
            throw Error("Cannot write file " + replacement);
        journal.entries.push_back(
            {role, target, replacement, backup, {before, beforeDigest}, {*written, after.value()}});
    };
    entry("static index file", m_paths.staidx, m_paths.staidxBackup, m_indexStatus,
          m_oldIndexDigest, t.indexDigest);
    entry("static data file", m_paths.statics, m_paths.staticsBackup, m_dataStatus, oldData->digest,
          t.dataDigest);
    entry("world file", m_paths.world, {}, m_worldStatus, m_worldDigest, t.worldDigest);
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
// The first complete one commits the patch; the others only help to find it.
void PreparedPatch::writeJournals(Transaction &t, const PatchJournal &journal) {
    const std::string text = journal.text();
    for (const JournalEntry &e : journal.entries) {
        const std::string name = journalNameFor(e.target);
        try {
            const auto file = create(t, name, {});
            if (!file->write(text.data(), text.size()) || !file->sync() || !file->close())
                throw Error("Cannot write file " + name);
        } catch (const Error &) {
            if (!t.committed)
                throw;
            continue; // the switch goes ahead; completion removes what this left
        }
        t.committed = true;
    }
    for (const JournalEntry &e : journal.entries)
        m_files.syncFolderOf(e.target);
}

// Removes what this run made, the journals (made last) first: a crash on the way then leaves
// only files that the next run removes as unfinished.
std::string PreparedPatch::rollBack(Transaction &t) {
    // Open files can be neither renamed nor removed everywhere.
    t.indexFile.reset();
    t.dataFile.reset();
    t.worldFile.reset();
    std::string notes;
    for (auto it = t.created.rbegin(); it != t.created.rend(); ++it) {
        if (!m_files.remove(*it))
            notes += " The temporary file " + *it + " could not be removed.";
    }
    t.created.clear();
    return notes;
}

void PreparedPatch::apply(ProgressGauge &gauge) {
    PatchJournal journal;
    Transaction t;
    try {
        writeStatics(t, gauge);
        writeWorld(t, gauge);
        syncReplacements(t);
        journal = journalOf(t);
        checkUnchanged();
        writeJournals(t, journal);
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
