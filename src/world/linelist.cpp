// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/linelist.h"

#include "base/error.h"
#include "base/parallelism.h"
#include "io/wholefile.h"
#include "world/linecutting.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace tessaplex::world {

namespace {

// Line offsets are 32-bit.
constexpr std::size_t MaxSize = std::numeric_limits<std::uint32_t>::max();
// Zero bytes kept after the data, so that the first 8 bytes of any line can be read at once.
constexpr std::size_t Slack = 8;

} // namespace

// Cuts a text into lines as its bytes arrive, 64 at a time: the LF, CR and NUL bytes of a block
// become bit masks, and every line end among them yields the start of the next line. A line ends
// at an LF, or at a CR that no LF follows (the LF of a CR LF ends it instead); a NUL byte ends
// the text. Cutting each piece of a file right after reading it finds the bytes still in the
// cache.
class LineCutter {
public:
    static constexpr std::size_t Block = 64;

    // Lines of world and script files are longer than 8 bytes on average; the offsets grow when
    // a text has shorter ones. Room for one block's worth of starts is kept free at all times.
    explicit LineCutter(std::size_t expectedBytes)
        : m_capacity(expectedBytes / 8 + 2 * Block)
        , m_starts(m_capacity) {
        m_starts[0] = 0;
    }

    // Cuts what has arrived of text, which now holds `available` bytes. Until the last call a
    // block is cut only once the byte after it is there: a CR at its end may start a CR LF.
    void feed(const char *text, std::size_t available, bool last) {
        if (m_ended) {
            if (last)
                finish();
            return;
        }
        // Whole blocks with a byte after them, as long as the offsets have room for them.
        while (m_pos + Block < available) {
            const std::size_t room = (m_capacity - m_count - 1) / Block - 1;
            const std::size_t blocks = std::min((available - 1 - m_pos) / Block, room);
            const std::size_t cut = cutWholeBlocks(text, m_pos, blocks, m_starts.data(), m_count);
            m_pos += cut * Block;
            if (cut < blocks)
                break; // a NUL byte: the careful way below finds the end of the text
            if (m_count + 2 * Block + 1 > m_capacity) {
                m_capacity *= 2;
                m_starts.reallocate(m_capacity, m_count);
            }
        }
        while (m_pos < available) {
            const std::size_t length = std::min(Block, available - m_pos);
            const bool nextKnown = m_pos + Block < available;
            if (!last && !nextKnown)
                return;
            cutBlock(text, length, nextKnown);
            if (m_ended)
                break;
            m_pos += Block;
        }
        if (!m_ended)
            m_textSize = available;
        if (last)
            finish();
    }

    [[nodiscard]] std::size_t textSize() const { return m_textSize; }
    [[nodiscard]] std::size_t lineCount() const { return m_count; }
    // The offsets: m_count line starts and the text end after them.
    [[nodiscard]] LargeArray<std::uint32_t> takeStarts() { return std::move(m_starts); }

private:
    void cutBlock(const char *text, std::size_t length, bool nextKnown) {
        const char *block = text + m_pos;
        ByteMasks m;
        if (length == Block) {
            m = byteMasks(block);
        } else {
            char tail[Block] = {};
            std::memcpy(tail, block, length);
            m = byteMasks(tail);
        }
        std::uint64_t inText =
            length == Block ? ~std::uint64_t{0} : (std::uint64_t{1} << length) - 1;
        if (m.nul & inText) {
            const int at = lowestBit(m.nul & inText);
            inText = at == 0 ? 0 : ~std::uint64_t{0} >> (64 - at);
            m_textSize = m_pos + static_cast<std::size_t>(at);
            m_ended = true;
            nextKnown = false;
        }
        const std::uint64_t lf = m.lf & inText;
        std::uint64_t lfNext = lf >> 1;
        if (nextKnown && length == Block && block[Block] == '\n')
            lfNext |= std::uint64_t{1} << 63;
        std::uint64_t ends = lf | (m.cr & inText & ~lfNext);
        std::uint32_t *starts = m_starts.data();
        const auto base = static_cast<std::uint32_t>(m_pos + 1);
        while (ends) {
            starts[m_count++] = base + static_cast<std::uint32_t>(lowestBit(ends));
            ends &= ends - 1;
        }
        if (m_count + Block + 1 > m_capacity) {
            m_capacity *= 2;
            m_starts.reallocate(m_capacity, m_count);
        }
    }

    void finish() {
        if (m_finished)
            return;
        m_finished = true;
        // A line end at the very end of the text adds no empty line, and an empty text has none.
        if (m_starts[m_count - 1] == m_textSize)
            --m_count;
        m_starts[m_count] = static_cast<std::uint32_t>(m_textSize);
    }

    std::size_t m_capacity;
    LargeArray<std::uint32_t> m_starts;
    std::size_t m_count = 1;
    std::size_t m_pos = 0;
    std::size_t m_textSize = 0;
    bool m_ended = false;
    bool m_finished = false;
};

namespace {

// Cuts the pieces of a file on a second thread while the following pieces are read, so that
// reading and cutting take about as long as reading alone. The text must stay where it is until
// finish().
class PieceCutter {
public:
    PieceCutter(LineCutter &cutter, const char *text)
        : m_cutter(cutter)
        , m_text(text)
        , m_worker([this] { run(); }) {}
    ~PieceCutter() {
        if (m_worker.joinable())
            stop();
    }
    PieceCutter(const PieceCutter &) = delete;
    PieceCutter &operator=(const PieceCutter &) = delete;

    // The text now holds `available` bytes.
    void arrived(std::size_t available) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_available = available;
        }
        m_changed.notify_one();
    }

    // Waits until everything that arrived is cut; rethrows what stopped the cutting.
    void finish() {
        stop();
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

private:
    void stop() {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_changed.notify_one();
        m_worker.join();
    }

    void run() {
        try {
            std::size_t cut = 0;
            for (;;) {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_changed.wait(lock, [&] { return m_available > cut || m_done; });
                const std::size_t available = m_available;
                lock.unlock();
                if (available > cut) {
                    m_cutter.feed(m_text, available, false);
                    cut = available;
                } else {
                    return;
                }
            }
        } catch (...) {
            m_failure = std::current_exception();
        }
    }

    LineCutter &m_cutter;
    const char *m_text;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_available = 0;
    bool m_done = false;
    std::exception_ptr m_failure;
    std::thread m_worker; // last: it starts running once everything else is there
};

// Reads a whole file into one uninitialised buffer, cutting it into lines piece by piece as it
// comes in. A world file may hold hundreds of megabytes: zero-filling the buffer first, or
// cutting it only after the whole file has been read, would cost about as much as reading it.
bool readWholeFile(const std::string &path, LargeArray<char> &data, std::size_t &size,
                   std::optional<LineCutter> &cutter) {
    // Line offsets are 32-bit: a larger file cannot be listed, and is not read beyond that.
    std::optional<io::WholeFile> file = io::WholeFile::open(path, MaxSize - 1);
    if (!file)
        return false;
    const auto expected = static_cast<std::size_t>(file->size());
    // Small enough to be cut while it is still in the cache, large enough to keep the number of
    // reads low.
    // Forced onto two threads, a file is read in small pieces, so that even a small one is
    // handed over piece by piece.
    const std::size_t Piece =
        parallelism() == Parallelism::AlwaysTwoThreads ? std::size_t{100} : std::size_t{512} << 10;
    // One byte more than the file holds, so that a short read tells the end of the file without
    // a second buffer; a file that grew meanwhile is read on into a bigger one.
    LargeArray<char> buffer(expected + 1 + Slack);
    cutter.emplace(expected);
    // A large file is cut on a second thread while it is read.
    constexpr std::size_t ParallelFrom = std::size_t{8} << 20;
    std::optional<PieceCutter> parallel;
    if (twoThreadsFor(expected, ParallelFrom)) {
        try {
            parallel.emplace(*cutter, buffer.data());
        } catch (const std::system_error &) {
            // No thread to be had: the pieces are cut here.
        }
    }
    std::size_t used = 0;
    for (;;) {
        if (used + Slack == buffer.capacity()) {
            // The file grew while being read: the rest is read and cut here, into a new buffer.
            if (parallel) {
                parallel->finish();
                parallel.reset();
            }
            buffer.reallocate(std::max<std::size_t>(65536, buffer.capacity() * 2), used);
        }
        const std::size_t wanted = std::min(Piece, buffer.capacity() - Slack - used);
        const std::size_t n = file->read(buffer.data() + used, wanted);
        used += n;
        if (n < wanted)
            break;
        if (used >= MaxSize)
            continue;
        if (parallel)
            parallel->arrived(used);
        else
            cutter->feed(buffer.data(), used, false);
    }
    if (parallel)
        parallel->finish();
    if (used < MaxSize)
        cutter->feed(buffer.data(), used, true);
    std::memset(buffer.data() + used, 0, Slack);
    data = std::move(buffer);
    size = used;
    return true;
}

} // namespace

LineList::LineList() {
    clear();
}

LineList::~LineList() = default;

void LineList::readFile(const std::string &path) {
    if (std::optional<io::FileMapping> mapping = io::FileMapping::map(path, MaxSize - 1, Slack)) {
        LineCutter cutter(mapping->size());
        cutter.feed(mapping->data(), mapping->size(), true);
        adopt(std::move(*mapping), path, cutter);
        return;
    }
    LargeArray<char> data;
    std::size_t size = 0;
    std::optional<LineCutter> cutter;
    if (!readWholeFile(path, data, size, cutter))
        throw Error("Cannot open file " + path);
    adopt(std::move(data), size, path, *cutter);
}

void LineList::setBytes(std::string_view bytes, std::string sourcePath) {
    LargeArray<char> data(bytes.size() + Slack);
    if (!bytes.empty())
        std::memcpy(data.data(), bytes.data(), bytes.size());
    std::memset(data.data() + bytes.size(), 0, Slack);
    LineCutter cutter(bytes.size());
    if (bytes.size() < MaxSize)
        cutter.feed(data.data(), bytes.size(), true);
    adopt(std::move(data), bytes.size(), std::move(sourcePath), cutter);
}

void LineList::clear() {
    setBytes({}, {});
}

void LineList::adopt(LargeArray<char> data, std::size_t size, std::string sourcePath,
                     LineCutter &cutter) {
    setCounts(size, std::move(sourcePath), cutter);
    m_data = std::move(data);
    m_mapping.reset();
    m_text = m_data.data();
}

void LineList::adopt(io::FileMapping mapping, std::string sourcePath, LineCutter &cutter) {
    setCounts(mapping.size(), std::move(sourcePath), cutter);
    m_mapping = std::move(mapping);
    m_data = LargeArray<char>();
    m_text = m_mapping->data();
}

void LineList::setCounts(std::size_t size, std::string sourcePath, LineCutter &cutter) {
    if (size >= MaxSize)
        throw Error("File " + sourcePath + " is larger than 4 GiB");
    m_size = size;
    m_sourcePath = std::move(sourcePath);
    m_textSize = cutter.textSize();
    m_lineCount = cutter.lineCount();
    m_starts = cutter.takeStarts();
}

} // namespace tessaplex::world
