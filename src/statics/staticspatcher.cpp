// SPDX-License-Identifier: GPL-3.0-or-later
#include "statics/staticspatcher.h"

#include "statics/bufferedreader.h"
#include "statics/bufferedwriter.h"
#include "statics/mapgeometry.h"
#include "statics/staticrecord.h"
#include "statics/worldrewrite.h"
#include "world/error.h"
#include "world/linelist.h"
#include "world/progressgauge.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <limits>

namespace tessaplex::statics {

namespace {

constexpr std::uint64_t ColumnBytes = std::uint64_t{BlocksPerColumn} * IndexRecord::Size;
// A lookup or length of 0xFFFFFFFF reads as "no records", so every offset and length of a
// written block must stay below it.
constexpr std::uint64_t MaxDataSize = IndexRecord::None - 1;
constexpr std::size_t ChunkSize = std::size_t{2} << 20;

bool samePath(const std::string &a, const std::string &b) {
    namespace fs = std::filesystem;
    return fs::path(a).lexically_normal() == fs::path(b).lexically_normal();
}

// Reads exactly size bytes from file into out, in pieces of at most ChunkSize bytes.
bool readExactly(File &file, unsigned char *out, std::size_t size) {
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

// What write() has done so far, so that a failure can be undone step by step.
struct StaticsPatcher::Transaction {
    std::vector<std::string> temporaries; // created and not yet renamed into place
    std::string indexTemporary, dataTemporary, worldTemporary;
    // Open until all three are synced together, so that the disk writes one while the next is
    // being made.
    std::unique_ptr<File> indexFile, dataFile, worldFile;
    bool indexBackedUp = false;
    bool staticsBackedUp = false;

    void placed(const std::string &temporary) {
        temporaries.erase(std::remove(temporaries.begin(), temporaries.end(), temporary),
                          temporaries.end());
    }
};

StaticsPatcher::StaticsPatcher(FileSystem &files, PatchFiles paths)
    : m_files(files)
    , m_paths(std::move(paths)) {}

StaticsPatcher::~StaticsPatcher() = default;

void StaticsPatcher::inspect() {
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

    const auto index = m_files.status(m_paths.staidx);
    if (!index)
        throw Error("Cannot open file " + m_paths.staidx);
    const auto data = m_files.status(m_paths.statics);
    if (!data)
        throw Error("Cannot open file " + m_paths.statics);
    if (index->size == 0 || index->size % ColumnBytes != 0 ||
        index->size / IndexRecord::Size > std::numeric_limits<std::int32_t>::max())
        throw Error("The static index file " + m_paths.staidx + " has " +
                    std::to_string(index->size) +
                    " bytes; it must hold a whole number of 512-block columns of 12-byte "
                    "records (a multiple of 6144 bytes)");
    m_indexStatus = *index;
    m_dataStatus = *data;

    const auto file = m_files.openForReading(m_paths.staidx);
    if (!file)
        throw Error("Cannot open file " + m_paths.staidx);
    m_oldIndex = world::LargeArray<unsigned char>(static_cast<std::size_t>(index->size));
    if (!readExactly(*file, m_oldIndex.data(), m_oldIndex.capacity()))
        throw Error("Cannot read file " + m_paths.staidx);

    const auto count = static_cast<std::uint32_t>(m_oldIndex.capacity() / IndexRecord::Size);
    for (std::uint32_t block = 0; block < count; ++block) {
        const IndexRecord record = oldRecord(block);
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
    m_blocks = std::make_unique<TBlockManager>(count);
}

std::uint32_t StaticsPatcher::blockCount() const {
    return m_blocks ? m_blocks->blockCount() : 0;
}

TBlockManager &StaticsPatcher::blocks() {
    return *m_blocks;
}

const TBlockManager &StaticsPatcher::blocks() const {
    return *m_blocks;
}

void StaticsPatcher::setLineRanges(LineRanges ranges) {
    m_ranges = std::move(ranges);
}

IndexRecord StaticsPatcher::oldRecord(std::uint32_t block) const {
    return IndexRecord::decode(m_oldIndex.data() + std::size_t{block} * IndexRecord::Size);
}

void StaticsPatcher::checkWorldFile(const world::LineList &lines) {
    const std::string_view expected = lines.bytes();
    const std::string changed = "The world file " + m_paths.world +
                                " was changed on disk since it was read; analyse it "
                                "again";
    const auto status = m_files.status(m_paths.world);
    if (!status)
        throw Error("Cannot open file " + m_paths.world);
    if (status->size != expected.size())
        throw Error(changed);
    const auto file = m_files.openForReading(m_paths.world);
    if (!file)
        throw Error("Cannot open file " + m_paths.world);
    world::LargeArray<unsigned char> chunk(
        std::max<std::size_t>(1, std::min(expected.size(), ChunkSize)));
    for (std::size_t done = 0; done < expected.size();) {
        const std::size_t n = std::min(expected.size() - done, chunk.capacity());
        if (!readExactly(*file, chunk.data(), n))
            throw Error("Cannot read file " + m_paths.world);
        if (std::memcmp(chunk.data(), expected.data() + done, n) != 0)
            throw Error(changed);
        done += n;
    }
    m_worldStatus = *status;
}

std::uint64_t StaticsPatcher::newDataSize() const {
    const std::uint64_t size = m_oldBytes + m_blocks->recordCount() * StaticRecordSize;
    if (size > MaxDataSize)
        throw Error("The new static data file would hold " + std::to_string(size) +
                    " bytes, more than its index can address");
    return size;
}

PatchPlan StaticsPatcher::plan(const world::LineList &lines, bool unixLineEnds) const {
    PatchPlan plan;
    plan.items = m_blocks->recordCount();
    plan.blocksTouched = m_blocks->blocksTouched();
    for (const LineRange &range : m_ranges)
        plan.linesRemoved += range.lineCount();
    plan.indexRecords = m_blocks->blockCount();
    plan.indexBytes = std::uint64_t{plan.indexRecords} * IndexRecord::Size;
    plan.dataBytes = newDataSize();
    plan.worldBytes = rewrittenWorldSize(lines, m_ranges, lineEndFor(unixLineEnds));
    plan.staidx = m_paths.staidx;
    plan.statics = m_paths.statics;
    plan.world = m_paths.world;
    return plan;
}

std::string StaticsPatcher::createTemporary(Transaction &t, const std::string &target,
                                            std::unique_ptr<File> &file) {
    std::string name = target + ".tmp";
    for (int n = 1; m_files.exists(name); ++n) {
        if (n > 999)
            throw Error("Cannot create file " + name);
        name = target + ".tmp" + std::to_string(n);
    }
    file = m_files.createNew(name, target);
    if (!file)
        throw Error("Cannot create file " + name);
    t.temporaries.push_back(name);
    return name;
}

// Every block is rewritten in block order: its old bytes unchanged, then its new records in
// item table order, back to back from offset 0, so each lookup is the sum of the lengths before.
void StaticsPatcher::writeStatics(Transaction &t, ProgressGauge &gauge) {
    (void)newDataSize(); // refuses a data file too large before anything is written

    const auto oldData = m_files.openForReading(m_paths.statics);
    if (!oldData)
        throw Error("Cannot open file " + m_paths.statics);
    t.indexTemporary = createTemporary(t, m_paths.staidx, t.indexFile);
    t.dataTemporary = createTemporary(t, m_paths.statics, t.dataFile);

    BufferedReader reader(*oldData, m_dataStatus.size);
    BufferedWriter index(*t.indexFile);
    BufferedWriter data(*t.dataFile);
    const auto failed = [&]() -> Error {
        if (!index.ok())
            return Error("Cannot write file " + t.indexTemporary);
        if (!data.ok())
            return Error("Cannot write file " + t.dataTemporary);
        return Error("Cannot read file " + m_paths.statics);
    };

    const std::uint32_t count = m_blocks->blockCount();
    gauge.setMinimum(0);
    gauge.setMaximum(static_cast<std::int32_t>(count));
    gauge.setProgress(0);
    std::uint64_t offset = 0;
    unsigned char bytes[IndexRecord::Size];
    for (std::uint32_t block = 0; block < count; ++block) {
        const IndexRecord old = oldRecord(block);
        const std::uint64_t start = data.written();
        if (old.hasExistingRecords() && !reader.copyRange(old.lookup, old.length, data))
            throw failed();
        m_blocks->forEach(block, [&](const TBlocks &record) {
            (void)data.write(record.bytes, StaticRecordSize);
        });
        const std::uint64_t length = data.written() - start;
        const IndexRecord written = length > 0
                                        ? IndexRecord{static_cast<std::uint32_t>(offset),
                                                      static_cast<std::uint32_t>(length), old.extra}
                                        : IndexRecord::empty(old.extra);
        written.encode(bytes);
        if (!index.write(bytes, IndexRecord::Size) || !data.ok())
            throw failed();
        offset += length;
        gauge.advance();
    }

    if (!index.flush())
        throw Error("Cannot write file " + t.indexTemporary);
    if (!data.flush())
        throw Error("Cannot write file " + t.dataTemporary);
}

void StaticsPatcher::writeWorld(Transaction &t, const world::LineList &lines, bool unixLineEnds,
                                ProgressGauge &gauge) {
    t.worldTemporary = createTemporary(t, m_paths.world, t.worldFile);
    BufferedWriter out(*t.worldFile);
    if (!rewriteWorld(lines, m_ranges, lineEndFor(unixLineEnds), out, gauge) || !out.flush())
        throw Error("Cannot write file " + t.worldTemporary);
}

void StaticsPatcher::syncTemporaries(Transaction &t) {
    for (auto [file, name] :
         {std::pair{&t.indexFile, &t.indexTemporary}, std::pair{&t.dataFile, &t.dataTemporary},
          std::pair{&t.worldFile, &t.worldTemporary}}) {
        const bool ok = (*file)->sync() && (*file)->close();
        file->reset();
        if (!ok)
            throw Error("Cannot write file " + *name);
    }
}

// The server may save its world, or another tool touch the map, while the new files are made;
// replacing those files then would throw that work away.
void StaticsPatcher::checkUnchanged() {
    const std::pair<const std::string *, std::optional<FileStatus>> originals[] = {
        {&m_paths.staidx, m_indexStatus},
        {&m_paths.statics, m_dataStatus},
        {&m_paths.world, m_worldStatus}};
    for (const auto &[path, before] : originals) {
        const auto now = m_files.status(*path);
        if (!now || !before || *now != *before)
            throw Error("The file " + *path +
                        " was changed by another program during PATCH; nothing was replaced");
    }
}

void StaticsPatcher::replace(Transaction &t) {
    const auto move = [&](const std::string &from, const std::string &to, FileSystem::Rename mode) {
        if (!m_files.rename(from, to, mode))
            throw Error("Cannot rename " + from + " to " + to);
    };
    using Mode = FileSystem::Rename;
    move(m_paths.staidx, m_paths.staidxBackup, Mode::NoReplace);
    t.indexBackedUp = true;
    move(m_paths.statics, m_paths.staticsBackup, Mode::NoReplace);
    t.staticsBackedUp = true;
    move(t.indexTemporary, m_paths.staidx, Mode::NoReplace);
    t.placed(t.indexTemporary);
    move(t.dataTemporary, m_paths.statics, Mode::NoReplace);
    t.placed(t.dataTemporary);
    // The world file is replaced in one step: from here on the new set is complete.
    move(t.worldTemporary, m_paths.world, Mode::Replace);
    t.placed(t.worldTemporary);
}

std::string StaticsPatcher::rollBack(Transaction &t) {
    // Open files can be neither renamed nor removed everywhere.
    t.indexFile.reset();
    t.dataFile.reset();
    t.worldFile.reset();
    std::string notes;
    using Mode = FileSystem::Rename;
    // A backup goes back over whatever stands under the name now: the new file or nothing.
    if (t.staticsBackedUp && !m_files.rename(m_paths.staticsBackup, m_paths.statics, Mode::Replace))
        notes += " The old static data file is kept as " + m_paths.staticsBackup +
                 "; rename it to " + m_paths.statics + ".";
    if (t.indexBackedUp && !m_files.rename(m_paths.staidxBackup, m_paths.staidx, Mode::Replace))
        notes += " The old static index file is kept as " + m_paths.staidxBackup +
                 "; rename it to " + m_paths.staidx + ".";
    for (const std::string &temporary : t.temporaries) {
        if (!m_files.remove(temporary))
            notes += " The temporary file " + temporary + " could not be removed.";
    }
    t.temporaries.clear();
    return notes;
}

void StaticsPatcher::write(const world::LineList &lines, bool unixLineEnds, ProgressGauge &gauge) {
    Transaction t;
    try {
        writeStatics(t, gauge);
        writeWorld(t, lines, unixLineEnds, gauge);
        syncTemporaries(t);
        checkUnchanged();
        replace(t);
    } catch (const Error &e) {
        const std::string notes = rollBack(t);
        if (notes.empty())
            throw;
        throw Error(e.what() + ("." + notes));
    } catch (...) {
        (void)rollBack(t);
        throw;
    }

    // The new names must be on the disk before the last copies of the old files go.
    std::vector<std::string> folders;
    for (const std::string *path : {&m_paths.staidx, &m_paths.statics, &m_paths.world}) {
        const std::string folder = std::filesystem::path(*path).parent_path().string();
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
            m_files.syncFolderOf(*path);
        }
    }

    std::string leftOver;
    for (const std::string *backup : {&m_paths.staidxBackup, &m_paths.staticsBackup}) {
        if (!m_files.remove(*backup))
            leftOver += (leftOver.empty() ? "" : " and ") + *backup;
    }
    if (!leftOver.empty())
        throw Error("The new static map files and world file are in place, but the old file " +
                    leftOver + " could not be removed; remove it before the next PATCH");
}

} // namespace tessaplex::statics
