// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/largememory.h"
#include "io/filemapping.h"
#include "world/linewalker.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaplex::world {

// Where every MarkStep-th line of a stretch of lines begins: starts[k] is the start of line
// firstLine + k * MarkStep.
struct MarkRun {
    std::size_t firstLine = 0;
    std::vector<std::uint32_t> starts;
};

// What cutting a text into lines finds: how many there are, where the text ends (its size, or its
// first NUL byte), and where every MarkStep-th line of each stretch begins, the stretches in
// order from line 0.
struct LineCut {
    std::size_t lineCount = 0;
    std::size_t textSize = 0;
    std::vector<MarkRun> marks;
};

// A text file as a list of lines. The file's bytes are kept once; no line is copied into a string
// of its own. Only every 16th line's offset is kept: a world file of ten million lines would
// otherwise need 40 MB of offsets, and filling fresh memory costs about as much as reading the
// file. Scans go through the lines in order with a LineWalker, which finds them as it goes.
//
// The text is cut into lines when a question first needs them, unless an analysis that went
// through the whole text has handed over what it found (offerCut): reading a world file and
// listing its items then go over its bytes once.
//
// Lines are cut at CR LF, at LF alone and at CR alone; a last line without a line end is still a
// line, a line end at the very end adds no empty line, and a NUL byte ends the text.
class LineList {
public:
    // Lines between two kept offsets.
    static constexpr std::size_t MarkStep = 16;
    // Zero bytes kept after the data, so that the first 8 bytes of any line can be read at once.
    static constexpr std::size_t Slack = 8;

    LineList();
    ~LineList();
    LineList(const LineList &) = delete;
    LineList &operator=(const LineList &) = delete;

    // Replaces the contents with the file at path. Throws Error("Cannot open file <path>") when
    // the file cannot be read; the old contents are then kept.
    void readFile(const std::string &path);
    // Replaces the contents with the given bytes, as if read from a file of that name.
    void setBytes(std::string_view bytes, std::string sourcePath = {});
    // Empties the list and forgets the file it came from.
    void clear();

    [[nodiscard]] std::size_t size() const { return cut().lineCount; }
    [[nodiscard]] bool empty() const { return size() == 0; }
    // Whether the lines have been counted.
    [[nodiscard]] bool isCut() const { return m_isCut.load(std::memory_order_acquire); }
    // Takes what a pass over the whole text found, unless the lines were counted already.
    void offerCut(LineCut cut) const;

    // Line index, without its line end. Walks from the nearest kept offset: for a scan over
    // many lines a LineWalker is much faster.
    [[nodiscard]] std::string_view line(std::size_t index) const { return lineAt(startOf(index)); }
    // The line that begins at offset, without its line end.
    [[nodiscard]] std::string_view lineAt(std::size_t offset) const {
        return textLines().lineAt(offset);
    }
    // Where line index begins; size() gives the end of the text.
    [[nodiscard]] std::size_t startOf(std::size_t index) const;
    // Where the line that begins at offset ends, its line end included.
    [[nodiscard]] std::size_t nextStart(std::size_t offset) const {
        return textLines().nextStart(offset);
    }
    // The 8 bytes from the start of the line as a number (see TextLines::leadingBytesAt).
    [[nodiscard]] std::uint64_t leadingBytes(std::size_t index) const {
        return leadingBytesAt(startOf(index));
    }
    [[nodiscard]] std::uint64_t leadingBytesAt(std::size_t offset) const {
        return textLines().leadingBytesAt(offset);
    }
    [[nodiscard]] TextLines textLines() const { return {m_text, textEnd()}; }

    // Calls f(index, line) for the lines [from, to) in order, until it returns false. Returns
    // whether every call returned true.
    template <typename F> bool forEachLine(std::size_t from, std::size_t to, F &&f) const;

    // The file the contents were read from; empty for setBytes() without a name and after clear().
    [[nodiscard]] const std::string &sourcePath() const { return m_sourcePath; }
    // Every byte that was read, also those after a NUL byte, which are not part of any line.
    [[nodiscard]] std::string_view bytes() const { return {m_text, m_size}; }
    // The bytes the lines are cut from: those before the first NUL byte.
    [[nodiscard]] std::string_view text() const { return {m_text, textEnd()}; }
    [[nodiscard]] bool hasNulByte() const { return textEnd() != m_size; }
    // When the bytes are the file's own pages rather than a copy (see io::FileMapping): the
    // status the file had then. They are the bytes that were read only while the file still has
    // this status.
    [[nodiscard]] std::optional<io::FileStatus> mappedStatus() const {
        return m_mapping ? std::optional{m_mapping->status()} : std::nullopt;
    }

private:
    friend class LineWalker;

    void adopt(LargeArray<char> data, std::size_t size, std::string sourcePath);
    void adopt(io::FileMapping mapping, std::string sourcePath);
    void forgetCut();
    // The lines, counted first if nobody has yet.
    const LineCut &cut() const;
    [[nodiscard]] std::size_t textEnd() const { return cut().textSize; }

    // The bytes: a copy in m_data, or the file's pages in m_mapping; m_text points at them.
    LargeArray<char> m_data;
    std::optional<io::FileMapping> m_mapping;
    const char *m_text = nullptr;
    std::size_t m_size = 0;
    std::string m_sourcePath;
    // Filled once, by the first to need the lines or by offerCut(); threads that scan the same
    // list may ask at the same time.
    mutable std::mutex m_cutting;
    mutable std::atomic<bool> m_isCut{false};
    mutable LineCut m_cut;
};

// Cuts the text of size bytes at text (with 8 readable bytes after it) into lines, in one pass.
[[nodiscard]] LineCut cutLines(const char *text, std::size_t size);
// Adds to run.starts where every MarkStep-th line of the walker's batch begins, counting the
// lines as the walker does (from 0 for a walk over a stretch of text).
void addMarks(const LineWalker &walker, MarkRun &run);

template <typename F> bool LineList::forEachLine(std::size_t from, std::size_t to, F &&f) const {
    if (from >= to)
        return true;
    LineWalker walker(*this, from);
    while (walker.next()) {
        const std::size_t first = walker.first();
        const std::size_t stop = std::min(to, first + walker.count());
        for (std::size_t j = std::max(from, first); j < stop; ++j) {
            if (!f(j, walker.line(j - first)))
                return false;
        }
        if (stop == to)
            break;
    }
    return true;
}

} // namespace tessaplex::world
