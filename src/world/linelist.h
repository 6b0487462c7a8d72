// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/largememory.h"
#include "io/filemapping.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace tessaplex::world {

class LineCutter;

// A text file as a list of lines. The file's bytes are kept once, with the offset of each line;
// no line is copied into a string of its own.
//
// Lines are cut at CR LF, at LF alone and at CR alone; a last line without a line end is still a
// line, a line end at the very end adds no empty line, and a NUL byte ends the text.
class LineList {
public:
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

    [[nodiscard]] std::size_t size() const { return m_lineCount; }
    [[nodiscard]] bool empty() const { return m_lineCount == 0; }
    // Where the lines lie, as plain pointers, with the same queries on lines as the list. A scan
    // over many lines takes one and reads only it: the list object may share its cache line
    // with data that another thread writes meanwhile. Valid until the contents change.
    class View {
    public:
        // The line's first character, or the first byte of its line end (CR or LF) when it is
        // empty: a line is empty exactly when this is CR or LF. Cheaper than line() for a scan
        // that looks at the beginning of each line only.
        [[nodiscard]] char firstByte(std::size_t index) const { return m_data[m_starts[index]]; }
        // The 8 bytes from the start of the line as a number, byte i in bits 8i to 8i + 7: its
        // first characters, then its line end and whatever follows (zero bytes past the end of
        // the data). A scan can compare a short key at the start of every line with one masked
        // comparison.
        [[nodiscard]] std::uint64_t leadingBytes(std::size_t index) const {
            std::uint64_t word;
            std::memcpy(&word, m_data + m_starts[index], sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
            word = __builtin_bswap64(word);
#endif
            return word;
        }
        [[nodiscard]] std::string_view line(std::size_t index) const {
            const std::uint32_t start = m_starts[index];
            std::uint32_t stop = m_starts[index + 1];
            // A line's own characters hold no CR or LF, so its terminator is whatever of them
            // ends it.
            if (stop > start && m_data[stop - 1] == '\n')
                --stop;
            if (stop > start && m_data[stop - 1] == '\r')
                --stop;
            return {m_data + start, stop - start};
        }

    private:
        friend class LineList;
        View(const char *data, const std::uint32_t *starts)
            : m_data(data)
            , m_starts(starts) {}
        const char *m_data;
        const std::uint32_t *m_starts;
    };
    [[nodiscard]] View view() const {
        return {m_text, m_starts.data()};
    }

    [[nodiscard]] char firstByte(std::size_t index) const {
        return view().firstByte(index);
    }
    [[nodiscard]] std::uint64_t leadingBytes(std::size_t index) const {
        return view().leadingBytes(index);
    }
    [[nodiscard]] std::string_view line(std::size_t index) const {
        return view().line(index);
    }

    // The file the contents were read from; empty for setBytes() without a name and after clear().
    [[nodiscard]] const std::string &sourcePath() const {
        return m_sourcePath;
    }
    // Every byte that was read, also those after a NUL byte, which are not part of any line.
    [[nodiscard]] std::string_view bytes() const {
        return {m_text, m_size};
    }
    [[nodiscard]] bool hasNulByte() const {
        return m_textSize != m_size;
    }
    // When the bytes are the file's own pages rather than a copy (see io::FileMapping): the
    // status the file had then. They are the bytes that were read only while the file still has
    // this status.
    [[nodiscard]] std::optional<io::FileStatus> mappedStatus() const {
        return m_mapping ? std::optional{m_mapping->status()} : std::nullopt;
    }

private:
    void adopt(LargeArray<char> data, std::size_t size, std::string sourcePath, LineCutter &cutter);
    void adopt(io::FileMapping mapping, std::string sourcePath, LineCutter &cutter);
    void setCounts(std::size_t size, std::string sourcePath, LineCutter &cutter);

    // The bytes: a copy in m_data, or the file's pages in m_mapping; m_text points at them.
    LargeArray<char> m_data;
    std::optional<io::FileMapping> m_mapping;
    const char *m_text = nullptr;
    std::size_t m_size = 0;
    std::size_t m_textSize = 0;
    // m_starts[i] is where line i begins; m_starts[m_lineCount] is where the text ends.
    LargeArray<std::uint32_t> m_starts;
    std::size_t m_lineCount = 0;
    std::string m_sourcePath;
};

} // namespace tessaplex::world
