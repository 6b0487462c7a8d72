// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/linelist.h"

#include "world/error.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tessaplex::world {

namespace {

// Reads a whole file into one uninitialised buffer: a world file may hold hundreds of megabytes,
// and zero-filling it first would cost as much as reading it.
bool readWholeFile(const std::string &path, LargeArray<char> &data, std::size_t &size) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::size_t expected = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long end = std::ftell(file);
        if (end > 0)
            expected = static_cast<std::size_t>(end);
        std::rewind(file);
    }
    // One byte more than the file holds, so that a short read tells the end of the file without
    // a second buffer; a file that grew meanwhile is read on into a bigger one.
    LargeArray<char> buffer(expected + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == buffer.capacity())
            buffer.reallocate(std::max<std::size_t>(65536, buffer.capacity() * 2), used);
        const std::size_t wanted = buffer.capacity() - used;
        const std::size_t n = std::fread(buffer.data() + used, 1, wanted, file);
        used += n;
        if (n < wanted)
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

// Bit i of each mask is set when byte i of the 64 at p is LF, CR or NUL.
struct ByteMasks {
    std::uint64_t lf = 0;
    std::uint64_t cr = 0;
    std::uint64_t nul = 0;
};

ByteMasks masks64(const char *p) {
    ByteMasks m;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i nul = _mm_setzero_si128();
    for (int k = 0; k < 4; ++k) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * k));
        const int shift = 16 * k;
        m.lf |=
            std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)))}
            << shift;
        m.cr |=
            std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)))}
            << shift;
        m.nul |=
            std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, nul)))}
            << shift;
    }
#else
    for (int i = 0; i < 64; ++i) {
        const std::uint64_t bit = std::uint64_t{1} << i;
        m.lf |= p[i] == '\n' ? bit : 0;
        m.cr |= p[i] == '\r' ? bit : 0;
        m.nul |= p[i] == '\0' ? bit : 0;
    }
#endif
    return m;
}

int lowestBit(std::uint64_t mask) {
#if defined(__GNUC__)
    return __builtin_ctzll(mask);
#else
    int i = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++i;
    }
    return i;
#endif
}

} // namespace

LineList::LineList() {
    clear();
}

LineList::~LineList() = default;

void LineList::readFile(const std::string &path) {
    LargeArray<char> data;
    std::size_t size = 0;
    if (!readWholeFile(path, data, size))
        throw Error("Cannot open file " + path);
    adopt(std::move(data), size, path);
}

void LineList::setBytes(std::string_view bytes, std::string sourcePath) {
    LargeArray<char> data(bytes.size());
    if (!bytes.empty())
        std::memcpy(data.data(), bytes.data(), bytes.size());
    adopt(std::move(data), bytes.size(), std::move(sourcePath));
}

void LineList::clear() {
    setBytes({}, {});
}

void LineList::adopt(LargeArray<char> data, std::size_t size, std::string sourcePath) {
    if (size >= std::numeric_limits<std::uint32_t>::max())
        throw Error("File " + sourcePath + " is larger than 4 GiB");
    const bool same = size == m_size && sourcePath == m_sourcePath &&
                      (size == 0 || std::memcmp(data.data(), m_data.data(), size) == 0);
    m_data = std::move(data);
    m_size = size;
    m_sourcePath = std::move(sourcePath);
    if (!same)
        ++m_generation;
    split();
}

// One pass over 64 bytes at a time: the LF, CR and NUL bytes of a block become bit masks, and
// every line end in them yields the start of the next line. A line ends at an LF, or at a CR
// that no LF follows (the LF of a CR LF ends it instead).
void LineList::split() {
    const char *begin = m_data.data();
    // Lines of world and script files are longer than 8 bytes on average; the array grows when
    // a file has shorter ones. Room for one block's worth of starts is kept free at all times.
    constexpr std::size_t Block = 64;
    std::size_t capacity = m_size / 8 + 2 * Block;
    m_starts = LargeArray<std::uint32_t>(capacity);
    std::uint32_t *starts = m_starts.data();
    std::size_t count = 1;
    starts[0] = 0;
    std::size_t textSize = m_size;

    for (std::size_t pos = 0; pos < m_size; pos += Block) {
        const std::size_t length = std::min(Block, m_size - pos);
        ByteMasks m;
        if (length == Block) {
            m = masks64(begin + pos);
        } else {
            char tail[Block] = {};
            std::memcpy(tail, begin + pos, length);
            m = masks64(tail);
        }
        std::uint64_t inText =
            length == Block ? ~std::uint64_t{0} : (std::uint64_t{1} << length) - 1;
        bool last = length < Block;
        if (m.nul & inText) {
            // A NUL byte ends the text.
            const int at = lowestBit(m.nul & inText);
            inText = at == 0 ? 0 : ~std::uint64_t{0} >> (64 - at);
            textSize = pos + static_cast<std::size_t>(at);
            last = true;
        }
        const std::uint64_t lf = m.lf & inText;
        std::uint64_t lfNext = lf >> 1;
        if (!last && pos + Block < m_size && begin[pos + Block] == '\n')
            lfNext |= std::uint64_t{1} << 63;
        std::uint64_t ends = lf | (m.cr & inText & ~lfNext);
        const auto base = static_cast<std::uint32_t>(pos + 1);
        while (ends) {
            starts[count++] = base + static_cast<std::uint32_t>(lowestBit(ends));
            ends &= ends - 1;
        }
        if (last)
            break;
        if (count + Block + 1 > capacity) {
            capacity *= 2;
            m_starts.reallocate(capacity, count);
            starts = m_starts.data();
        }
    }
    // A line end at the very end of the text adds no empty line, and an empty text has none.
    if (starts[count - 1] == textSize)
        --count;
    m_textSize = textSize;
    m_lineCount = count;
    starts[count] = static_cast<std::uint32_t>(textSize);
}

} // namespace tessaplex::world
