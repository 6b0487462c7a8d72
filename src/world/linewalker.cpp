// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/linewalker.h"

#include "world/linecutting.h"
#include "world/linelist.h"

#include <algorithm>
#include <cstring>

namespace tessaplex::world {

LineWalker::LineWalker(const LineList &lines, std::size_t first)
    : m_text(lines.m_text)
    , m_textSize(lines.textEnd())
    , m_findNul(false)
    , m_cutAt(lines.startOf(first))
    , m_first(first) {
    m_starts[0] = static_cast<std::uint32_t>(m_cutAt);
}

LineWalker::LineWalker(const char *text, std::size_t from, std::size_t to)
    : m_text(text)
    , m_textSize(to)
    , m_findNul(true)
    , m_cutAt(from)
    , m_first(0) {
    m_starts[0] = static_cast<std::uint32_t>(from);
}

bool LineWalker::next() {
    // The start after the last batch, and any found beyond it, move to the front.
    if (m_count > 0) {
        std::memmove(m_starts, m_starts + m_count, (m_held - m_count) * sizeof m_starts[0]);
        m_held -= m_count;
        m_first += m_count;
    }
    fill();
    // The last start held begins the next batch, or is the end of the text.
    m_count = m_held - 1;
    return m_count > 0;
}

void LineWalker::fill() {
    while (m_held <= Batch && !m_cutAll) {
        // Whole blocks, each with the byte after it in the text: a CR at a block's end may
        // start a CR LF.
        if (m_cutAt + 64 < m_textSize) {
            const std::size_t blocks = std::min(Step, (m_textSize - 1 - m_cutAt) / 64);
            const std::size_t cut = cutWholeBlocks(m_text, m_cutAt, blocks, m_starts, m_held);
            m_cutAt += cut * 64;
            if (cut == blocks)
                continue;
            // A NUL byte in the next block ends the text there.
            const void *nul = std::memchr(m_text + m_cutAt, '\0', 64);
            m_textSize = static_cast<std::size_t>(static_cast<const char *>(nul) - m_text);
        }
        cutTail();
    }
}

void LineWalker::cutTail() {
    if (m_findNul) {
        if (const void *nul = std::memchr(m_text + m_cutAt, '\0', m_textSize - m_cutAt))
            m_textSize = static_cast<std::size_t>(static_cast<const char *>(nul) - m_text);
    }
    for (std::size_t p = m_cutAt; p < m_textSize; ++p) {
        const char c = m_text[p];
        // The LF of a CR LF ends the line instead of its CR.
        if (c == '\n' || (c == '\r' && (p + 1 == m_textSize || m_text[p + 1] != '\n')))
            m_starts[m_held++] = static_cast<std::uint32_t>(p + 1);
    }
    m_cutAt = m_textSize;
    // A line end at the very end of the text adds no empty line, and an empty text has none.
    if (m_starts[m_held - 1] != m_textSize)
        m_starts[m_held++] = static_cast<std::uint32_t>(m_textSize);
    m_cutAll = true;
}

} // namespace tessaplex::world
