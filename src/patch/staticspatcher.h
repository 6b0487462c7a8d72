// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/indexrecord.h"
#include "io/filesystem.h"
#include "patch/linerange.h"
#include "patch/patchfiles.h"
#include "patch/patchjournal.h"
#include "patch/patchplan.h"
#include "patch/tblockmanager.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaplex {
class ProgressGauge;
}

namespace tessaplex::world {
class LineList;
}

namespace tessaplex::patch {

// One PATCH run on the files: merges the pending records into new static map files and writes
// the world file without the patched sections, such that no failure and no crash loses a file.
//
// Use: inspect(), fill blocks() and setLineRanges(), checkWorldFile(), then plan() or write().
// Every refusal comes before any file is created, renamed or written: from inspect(),
// checkWorldFile(), or (a new data file too large for its index) the start of plan() and write().
//
// write() makes the three new files completely, synced, under replacement names beside their
// targets, then records them in a journal beside each target. Until the first journal is
// complete every failure removes what was made and leaves the old files as they were; from then
// on the switch goes forward only (completePatch), at once or, after a crash, at the next run.
class StaticsPatcher {
public:
    StaticsPatcher(io::FileSystem &files, PatchFiles paths);
    ~StaticsPatcher();
    StaticsPatcher(const StaticsPatcher &) = delete;
    StaticsPatcher &operator=(const StaticsPatcher &) = delete;

    [[nodiscard]] const PatchFiles &paths() const { return m_paths; }

    // Reads the old static index and checks what must hold before anything is touched: three
    // different files; no file bearing a backup name; an index of a whole number of 512-block
    // columns; every block's records inside the data file. Throws Error naming the file.
    void inspect();

    // After inspect(): the number of blocks (index records) of the map.
    [[nodiscard]] std::uint32_t blockCount() const;
    // After inspect(): the pending records, one list for each of blockCount() blocks.
    [[nodiscard]] TBlockManager &blocks();
    [[nodiscard]] const TBlockManager &blocks() const;

    // The sections to leave out of the world file: ascending, not overlapping, each start at or
    // before its end, every end a line of the world file.
    void setLineRanges(LineRanges ranges);

    // Checks that the world file on disk holds exactly the bytes that lines was read from.
    // Throws Error when it cannot be read or differs (another program wrote it since).
    void checkWorldFile(const world::LineList &lines);

    // The sizes and counts of what write() would produce. Throws Error when the new data file
    // would be too large for the index to address.
    [[nodiscard]] PatchPlan plan(const world::LineList &lines, bool unixLineEnds) const;

    // Writes the new files and puts them in place (see the class comment). The gauge runs over
    // the blocks, then over the world file's lines. Throws Error, with every original file as it
    // was, when any step fails; a failure to remove an old file after the new set is in place is
    // reported as well, with the new files kept.
    void write(const world::LineList &lines, bool unixLineEnds, ProgressGauge &gauge);

private:
    struct Transaction;

    [[nodiscard]] formats::IndexRecord oldRecord(std::uint32_t block) const;
    [[nodiscard]] std::uint64_t newDataSize() const;
    void refuseLinkedFile(const std::string &path, const io::FileStatus &status) const;
    std::unique_ptr<io::File> create(Transaction &t, const std::string &name,
                                     const std::string &permissionsOf);
    void writeStatics(Transaction &t, ProgressGauge &gauge);
    void writeWorld(Transaction &t, const world::LineList &lines, bool unixLineEnds,
                    ProgressGauge &gauge);
    void syncReplacements(Transaction &t);
    [[nodiscard]] PatchJournal journalOf(Transaction &t);
    void checkUnchanged();
    void writeJournals(Transaction &t, const PatchJournal &journal);
    [[nodiscard]] std::string rollBack(Transaction &t);

    io::FileSystem &m_files;
    PatchFiles m_paths;
    LargeArray<unsigned char> m_oldIndex;
    std::uint64_t m_oldBytes = 0; // the old blocks' lengths added up
    std::uint64_t m_oldIndexDigest = 0;
    std::uint64_t m_worldDigest = 0;
    std::unique_ptr<TBlockManager> m_blocks;
    LineRanges m_ranges;
    io::FileStatus m_indexStatus, m_dataStatus;
    std::optional<io::FileStatus> m_worldStatus;
};

} // namespace tessaplex::patch
