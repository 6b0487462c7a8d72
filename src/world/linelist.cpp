// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/linelist.h"

#include "base/error.h"
#include "io/wholefile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

namespace tessaplex::world {

namespace {

// Line offsets are 32-bit.
constexpr std::size_t MaxSize = std::numeric_limits<std::uint32_t>::max();

// Reads a whole file into one uninitialised buffer with Slack zero bytes after it: a world file
// may hold hundreds of megabytes, and zero-filling the buffer first would cost about as much as
// reading it. Nothing when the file is absent.
std::optional<LargeArray<char>> readWholeFile(const std::string &path, std::size_t &size) {
    // A larger file cannot be listed, and is not read beyond that.
    std::optional<io::WholeFile> file = io::WholeFile::open(path, MaxSize - 1);
    if (!file)
        return std::nullopt;
    // Large enough to keep the number of reads low.
    constexpr std::size_t Piece = std::size_t{1} << 20;
    // One byte more than the file holds, so that a short read tells the end of the file without
    // a second buffer; a file that grew meanwhile is read on into a bigger one.
    LargeArray<char> buffer(static_cast<std::size_t>(file->size()) + 1 + LineList::Slack);
    std::size_t used = 0;
    for (;;) {
        if (used + LineList::Slack == buffer.capacity())
            buffer.reallocate(std::max<std::size_t>(65536, buffer.capacity() * 2), used);
        const std::size_t wanted = std::min(Piece, buffer.capacity() - LineList::Slack - used);
        const std::size_t n = file->read(buffer.data() + used, wanted);
        used += n;
        if (n < wanted)
            break;
    }
    std::memset(buffer.data() + used, 0, LineList::Slack);
    size = used;
    return buffer;
}

} // namespace

LineList::LineList() {
    clear();
}

LineList::~LineList() = default;

void LineList::readFile(const std::string &path) {
    if (std::optional<io::FileMapping> mapping = io::FileMapping::map(path, MaxSize - 1, Slack)) {
        adopt(std::move(*mapping), path);
        return;
    }
    std::size_t size = 0;
    std::optional<LargeArray<char>> data = readWholeFile(path, size);
    if (!data)
        throw Error("Cannot open file " + path);
    adopt(std::move(*data), size, path);
}

void LineList::setBytes(std::string_view bytes, std::string sourcePath) {
    LargeArray<char> data(bytes.size() + Slack);
    if (!bytes.empty())
        std::memcpy(data.data(), bytes.data(), bytes.size());
    std::memset(data.data() + bytes.size(), 0, Slack);
    adopt(std::move(data), bytes.size(), std::move(sourcePath));
}

void LineList::clear() {
    setBytes({}, {});
}

void LineList::adopt(LargeArray<char> data, std::size_t size, std::string sourcePath) {
    if (size >= MaxSize)
        throw Error("File " + sourcePath + " is larger than 4 GiB");
    m_data = std::move(data);
    m_mapping.reset();
    m_text = m_data.data();
    m_size = size;
    m_sourcePath = std::move(sourcePath);
    forgetCut();
}

void LineList::adopt(io::FileMapping mapping, std::string sourcePath) {
    if (mapping.size() >= MaxSize)
        throw Error("File " + sourcePath + " is larger than 4 GiB");
    m_mapping = std::move(mapping);
    m_data = LargeArray<char>();
    m_text = m_mapping->data();
    m_size = m_mapping->size();
    m_sourcePath = std::move(sourcePath);
    forgetCut();
}

void LineList::forgetCut() {
    const std::lock_guard<std::mutex> lock(m_cutting);
    m_cut = LineCut{};
    m_isCut.store(false, std::memory_order_release);
}

const LineCut &LineList::cut() const {
    if (m_isCut.load(std::memory_order_acquire))
        return m_cut;
    const std::lock_guard<std::mutex> lock(m_cutting);
    if (!m_isCut.load(std::memory_order_relaxed)) {
        m_cut = cutLines(m_text, m_size);
        m_isCut.store(true, std::memory_order_release);
    }
    return m_cut;
}

void LineList::offerCut(LineCut cut) const {
    const std::lock_guard<std::mutex> lock(m_cutting);
    if (m_isCut.load(std::memory_order_relaxed))
        return;
    m_cut = std::move(cut);
    m_isCut.store(true, std::memory_order_release);
}

std::size_t LineList::startOf(std::size_t index) const {
    const LineCut &lines = cut();
    if (index >= lines.lineCount)
        return lines.textSize;
    // The last stretch that begins at or before the line.
    auto run = lines.marks.end();
    do
        --run;
    while (run->firstLine > index);
    const std::size_t from = index - run->firstLine;
    std::size_t offset = run->starts[from / MarkStep];
    const TextLines text{m_text, lines.textSize};
    for (std::size_t k = from % MarkStep; k > 0; --k)
        offset = text.nextStart(offset);
    return offset;
}

LineCut cutLines(const char *text, std::size_t size) {
    LineCut cut;
    MarkRun run;
    // Lines of world and script files are longer than 8 bytes on average.
    run.starts.reserve(size / 8 / LineList::MarkStep + 1);
    LineWalker walker(text, 0, size);
    while (walker.next())
        addMarks(walker, run);
    cut.lineCount = walker.first() + walker.count();
    cut.textSize = walker.textSize();
    cut.marks.push_back(std::move(run));
    return cut;
}

void addMarks(const LineWalker &walker, MarkRun &run) {
    constexpr std::size_t Step = LineList::MarkStep;
    const std::size_t first = walker.first();
    for (std::size_t k = (Step - first % Step) % Step; k < walker.count(); k += Step)
        run.starts.push_back(walker.start(k));
}

} // namespace tessaplex::world
