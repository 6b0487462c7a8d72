// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/linelist.h"

#include "world/error.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace tessaplex::world {

namespace {

// Reads a whole file into one uninitialised buffer: a world file may hold hundreds of megabytes,
// and zero-filling it first would cost as much as reading it.
bool readWholeFile(const std::string &path, std::unique_ptr<char[]> &data, std::size_t &size) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::size_t capacity = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long end = std::ftell(file);
        if (end > 0)
            capacity = static_cast<std::size_t>(end);
        std::rewind(file);
    }
    std::unique_ptr<char[]> buffer(new char[capacity + 1]);
    std::size_t used = 0;
    for (;;) {
        if (used == capacity) {
            // The file grew while being read, or its size was unknown: read on.
            const std::size_t bigger = capacity < 65536 ? 65536 : capacity * 2;
            std::unique_ptr<char[]> grown(new char[bigger + 1]);
            if (used)
                std::memcpy(grown.get(), buffer.get(), used);
            buffer = std::move(grown);
            capacity = bigger;
        }
        const std::size_t n = std::fread(buffer.get() + used, 1, capacity - used, file);
        used += n;
        if (n == 0)
            break;
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return false;
    data = std::move(buffer);
    size = used;
    return true;
}

} // namespace

LineList::LineList()
    : m_data(new char[1]) {}

LineList::~LineList() = default;

void LineList::readFile(const std::string &path) {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    if (!readWholeFile(path, data, size))
        throw Error("Cannot open file " + path);
    adopt(std::move(data), size, path);
}

void LineList::setBytes(std::string_view bytes, std::string sourcePath) {
    std::unique_ptr<char[]> data(new char[bytes.size() + 1]);
    if (!bytes.empty())
        std::memcpy(data.get(), bytes.data(), bytes.size());
    adopt(std::move(data), bytes.size(), std::move(sourcePath));
}

void LineList::clear() {
    setBytes({}, {});
}

void LineList::adopt(std::unique_ptr<char[]> data, std::size_t size, std::string sourcePath) {
    if (size >= std::numeric_limits<std::uint32_t>::max())
        throw Error("File " + sourcePath + " is larger than 4 GiB");
    const bool same = size == m_size && sourcePath == m_sourcePath &&
                      (size == 0 || std::memcmp(data.get(), m_data.get(), size) == 0);
    m_data = std::move(data);
    m_size = size;
    m_sourcePath = std::move(sourcePath);
    if (!same)
        ++m_generation;
    split();
}

void LineList::split() {
    const char *begin = m_data.get();
    const void *nul = m_size ? std::memchr(begin, '\0', m_size) : nullptr;
    m_textSize = nul ? static_cast<std::size_t>(static_cast<const char *>(nul) - begin) : m_size;
    const char *end = begin + m_textSize;

    m_starts.clear();
    m_starts.reserve(m_textSize / 24 + 2);
    const bool hasCr = m_textSize && std::memchr(begin, '\r', m_textSize) != nullptr;
    const char *p = begin;
    // The next LF is searched for again only once p has passed it: a file cut by CR alone, with
    // few or no LFs, would otherwise be scanned to its end for every line.
    const char *lf = nullptr;
    bool lfSearched = false;
    while (p < end) {
        m_starts.push_back(static_cast<std::uint32_t>(p - begin));
        if (!lfSearched || (lf && lf < p)) {
            lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            lfSearched = true;
        }
        const char *lineEnd = lf ? lf : end;
        if (hasCr) {
            const char *cr = static_cast<const char *>(
                std::memchr(p, '\r', static_cast<std::size_t>(lineEnd - p)));
            if (cr && cr + 1 != lf) {
                // A CR alone ends the line; what follows starts the next one.
                p = cr + 1;
                continue;
            }
        }
        p = lf ? lf + 1 : end;
    }
    m_lineCount = m_starts.size();
    m_starts.push_back(static_cast<std::uint32_t>(m_textSize));
}

std::string_view LineList::line(std::size_t index) const {
    const char *data = m_data.get();
    const std::uint32_t start = m_starts[index];
    std::uint32_t stop = m_starts[index + 1];
    // A line's own characters hold no CR or LF, so its terminator is whatever of them ends it.
    if (stop > start && data[stop - 1] == '\n')
        --stop;
    if (stop > start && data[stop - 1] == '\r')
        --stop;
    return {data + start, stop - start};
}

} // namespace tessaplex::world
