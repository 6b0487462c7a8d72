// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "world/linecutting.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tessaplex::world {

class LineList;

// Questions on the lines of a text by where they begin, for scans that keep offsets rather than
// line numbers. The text is the size bytes at text, with 8 readable bytes after it.
struct TextLines {
    const char *text = nullptr;
    std::size_t size = 0;

    // The line that begins at offset, without its line end: a line's own characters hold no CR
    // or LF.
    [[nodiscard]] std::string_view lineAt(std::size_t offset) const {
        // Eight bytes at a time, which the bytes readable after the end allow: a byte that is LF
        // or CR becomes zero in one of two words, and the lowest byte flagged as zero below is
        // the first such byte (a false flag can only stand above a true one).
        constexpr std::uint64_t Ones = 0x0101010101010101u;
        constexpr std::uint64_t Highs = Ones << 7;
        std::size_t end = offset;
        for (; end < size; end += 8) {
            const std::uint64_t word = leadingBytesAt(end);
            const std::uint64_t lf = word ^ (Ones * '\n');
            const std::uint64_t cr = word ^ (Ones * '\r');
            const std::uint64_t ends = (((lf - Ones) & ~lf) | ((cr - Ones) & ~cr)) & Highs;
            if (ends != 0) {
                end += static_cast<std::size_t>(lowestBit(ends)) / 8;
                break;
            }
        }
        return {text + offset, std::min(end, size) - offset};
    }
    // Where the line that begins at offset ends, its line end included.
    [[nodiscard]] std::size_t nextStart(std::size_t offset) const {
        std::size_t p = offset + lineAt(offset).size();
        if (p == size)
            return p;
        // A CR ends the line, and the LF right after it belongs to that line end.
        if (text[p++] == '\r' && p < size && text[p] == '\n')
            ++p;
        return p;
    }
    // The 8 bytes from offset as a number, byte i in bits 8i to 8i + 7: a line's first
    // characters, then its line end and whatever follows (zero bytes past the end of the data).
    // A scan can compare a short key at the start of every line with one masked comparison.
    [[nodiscard]] std::uint64_t leadingBytesAt(std::size_t offset) const {
        std::uint64_t word;
        std::memcpy(&word, text + offset, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        return word;
    }
};

// Goes through the lines of a text in order, a batch at a time: it cuts the bytes ahead into line
// starts as it goes, 64 bytes at once, into a small array that stays in the processor's cache.
// This is how every scan over many lines reads them; only the batch's starts are ever held.
//
// The lines of a batch are first() to first() + count() - 1; k below counts from first().
class LineWalker {
public:
    // About this many lines a batch.
    static constexpr std::size_t Batch = 2048;

    // Walks the lines of lines from line `first` on (at most lines.size()).
    LineWalker(const LineList &lines, std::size_t first);
    // Walks the lines of the text at `text` from offset `from`, where a line begins, up to `to`
    // or the first NUL byte, whichever comes first; textSize() tells which once the walk has
    // ended. A line must begin at `to` when it is not the end of the text. There must be 8
    // readable bytes after `to`.
    LineWalker(const char *text, std::size_t from, std::size_t to);

    // Moves on to the next batch; false when no line is left.
    bool next();

    [[nodiscard]] std::size_t first() const { return m_first; }
    [[nodiscard]] std::size_t count() const { return m_count; }
    // Where line k begins, for k up to count(): start(count()) is where the line after the batch
    // begins, or where the text ends.
    [[nodiscard]] std::uint32_t start(std::size_t k) const { return m_starts[k]; }
    // The line's first character, or the first byte of its line end (CR or LF) when it is
    // empty: a line is empty exactly when this is CR or LF.
    [[nodiscard]] char firstByte(std::size_t k) const { return m_text[m_starts[k]]; }
    // The 8 bytes from the start of line k, as LineList::leadingBytes gives them.
    [[nodiscard]] std::uint64_t leadingBytes(std::size_t k) const {
        return textLines().leadingBytesAt(m_starts[k]);
    }
    // Line k without its line end: a line's own characters hold no CR or LF, so its terminator
    // is whatever of them ends it.
    [[nodiscard]] std::string_view line(std::size_t k) const {
        const std::uint32_t begin = m_starts[k];
        std::uint32_t stop = m_starts[k + 1];
        if (stop > begin && m_text[stop - 1] == '\n')
            --stop;
        if (stop > begin && m_text[stop - 1] == '\r')
            --stop;
        return {m_text + begin, stop - begin};
    }
    // Where the text ends: its size, or the first NUL byte the walk came upon.
    [[nodiscard]] std::size_t textSize() const { return m_textSize; }
    // The lines walked so far, by their offsets.
    [[nodiscard]] TextLines textLines() const { return {m_text, m_textSize}; }

private:
    // Cuts on until the batch holds Batch lines or the text is cut to its end.
    void fill();
    // Cuts the last bytes, fewer than a block and the byte after it, one at a time, and ends the
    // text.
    void cutTail();

    // Room for a batch, the line start carried over, a step of whole blocks and the tail.
    static constexpr std::size_t Step = 16;
    static constexpr std::size_t Capacity = Batch + 1 + (Step + 1) * 64 + 8;

    const char *m_text;
    std::size_t m_textSize;
    bool m_findNul;
    std::size_t m_cutAt;    // the first byte not yet cut
    bool m_cutAll = false;  // the text is cut to its end and its end is the last start held
    std::size_t m_held = 1; // starts in m_starts
    std::size_t m_first;
    std::size_t m_count = 0;
    std::uint32_t m_starts[Capacity];
};

} // namespace tessaplex::world
