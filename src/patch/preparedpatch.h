// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/indexrecord.h"
#include "formats/mapgeometry.h"
#include "io/filesystem.h"
#include "patch/linerange.h"
#include "patch/patchfiles.h"
#include "patch/patchjournal.h"
#include "patch/patchplan.h"
#include "patch/tblockmanager.h"
#include "patch/tblocks.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaplex {
class ProgressGauge;
}

namespace tessaplex::world {
class LineList;
}

namespace tessaplex::patch {

// A marked row as PATCH takes it from the table: the row, to name it in a refusal; its position
// and block; its static record; the lines of its section in the world file.
struct MarkedItem {
    int row = 0;
    std::int32_t x = 0, y = 0, block = 0;
    TBlocks record;
    LineRange lines;
    // Where its header line and its empty line begin in the world file's bytes.
    std::uint32_t headerOffset = 0;
    std::uint32_t emptyLineOffset = 0;
};
using MarkedItems = std::vector<MarkedItem, LargeAllocator<MarkedItem>>;

// One PATCH with every check made and nothing written: merges the marked items into new static
// map files and writes the world file without their sections, such that no failure and no crash
// loses a file. Making one performs every check and refusal; what is left can only be shown
// (plan) or done (apply).
//
// apply() makes the three new files completely, synced, under replacement names beside their
// targets, then records them in a journal beside each target. Until the first journal is
// complete every failure removes what was made and leaves the old files as they were; from then
// on the switch goes forward only (completePatch), at once or, after a crash, at the next run.
class PreparedPatch {
public:
    // Checks, before any file is created, renamed or written, and throws Error naming what is
    // wrong: the sections of the items in lines (each a "[WORLDITEM" line to an empty line, in
    // order, none overlapping) and no NUL byte in lines; three different files, no file bearing
    // a backup name, no file with a second name; an index of whole 512-block columns whose
    // records lie inside the data file; every item on the map; a new data file the index can
    // address; and the world file on disk holding exactly the bytes of lines. lines must outlive
    // the patch. With a map number, the index must be one of that map's sizes and the items lie
    // on it; without, any whole number of 512-block columns is a map 4,096 positions high.
    PreparedPatch(io::FileSystem &files, PatchFiles paths, MarkedItems items,
                  const world::LineList &lines, bool unixLineEnds,
                  std::optional<int> mapNumber = std::nullopt);
    ~PreparedPatch();
    PreparedPatch(const PreparedPatch &) = delete;
    PreparedPatch &operator=(const PreparedPatch &) = delete;

    [[nodiscard]] const PatchFiles &paths() const { return m_paths; }

    // The sizes and counts of what apply() writes.
    [[nodiscard]] PatchPlan plan() const;

    // Writes the new files and puts them in place (see the class comment). The gauge runs over
    // the blocks, then over the world file's lines. Throws Error, with every original file as it
    // was or, once the journal is written, with the switch left for the next run to complete.
    void apply(ProgressGauge &gauge);

private:
    struct Transaction;

    void checkLines();
    [[nodiscard]] formats::MapSize mapOfIndex(std::uint64_t size) const;
    void inspect();
    void checkItemsOnMap() const;
    [[nodiscard]] std::unique_ptr<TBlockManager> blocks() const;
    void checkWorldFile();
    // Whether the file at path holds exactly the bytes expected, read through m_files.
    [[nodiscard]] bool fileHolds(const std::string &path, std::string_view expected) const;
    [[nodiscard]] formats::IndexRecord oldRecord(std::uint32_t block) const;
    [[nodiscard]] std::uint64_t newDataSize() const;
    void refuseLinkedFile(const std::string &path, const io::FileStatus &status) const;
    void refuseFilesInUse();
    void writeStatics(Transaction &t, ProgressGauge &gauge);
    void writeWorld(Transaction &t, ProgressGauge &gauge);
    void writeNewFiles(Transaction &t, ProgressGauge &gauge);
    void digestOldStatics();
    void digestOldWorld();
    [[nodiscard]] PatchJournal journalOf(Transaction &t);
    void checkUnchanged();
    void writeJournals(Transaction &t, const PatchJournal &journal);
    [[nodiscard]] std::string rollBack(Transaction &t);

    io::FileSystem &m_files;
    PatchFiles m_paths;
    const world::LineList &m_lines;
    bool m_unixLineEnds;
    std::optional<int> m_mapNumber;
    formats::MapSize m_map;
    LargeArray<unsigned char> m_oldIndex;
    std::uint64_t m_oldBytes = 0; // the old blocks' lengths added up
    std::uint64_t m_oldIndexDigest = 0;
    std::uint64_t m_oldDataDigest = 0;
    std::uint64_t m_worldDigest = 0;
    std::uint32_t m_blockCount = 0; // of the index file
    // In table order, with their records and blocks, until apply() puts them into blocks.
    MarkedItems m_items;
    std::unique_ptr<TBlockManager> m_blocks;
    RemovedSections m_ranges;
    io::FileStatus m_indexStatus, m_dataStatus, m_worldStatus;
};

} // namespace tessaplex::patch
