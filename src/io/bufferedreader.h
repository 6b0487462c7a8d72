// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/largememory.h"
#include "io/file.h"

#include <cstddef>
#include <cstdint>

namespace tessaplex::io {

class BufferedWriter;

// Reads byte ranges of a file of known size in large pieces. A data file is usually read from
// front to back, with a few jumps where a block was moved to the end by an editor: ranges that
// continue the buffered stretch are served from it, an isolated jump is read on its own and
// leaves the buffer in place, and a second range that continues a jump moves the buffer there.
class BufferedReader {
public:
    static constexpr std::size_t DefaultCapacity = std::size_t{2} << 20;

    BufferedReader(File &file, std::uint64_t fileSize, std::size_t capacity = DefaultCapacity);

    // Appends the bytes [offset, offset + size) of the file to out. False when the range reaches
    // beyond fileSize, or reading or writing failed.
    [[nodiscard]] bool copyRange(std::uint64_t offset, std::uint64_t size, BufferedWriter &out);

    // Read and seek calls made on the file so far.
    [[nodiscard]] std::size_t fileCalls() const { return m_fileCalls; }

private:
    using Buffer = LargeArray<unsigned char>;

    bool fill(Buffer &buffer, std::uint64_t offset, std::size_t size);

    File &m_file;
    std::uint64_t m_fileSize;
    Buffer m_buffer;
    Buffer m_jumpBuffer;
    std::uint64_t m_bufferStart = 0;
    std::size_t m_bufferSize = 0;
    std::uint64_t m_position = 0; // where the file's own position stands
    std::uint64_t m_jumpEnd = ~std::uint64_t{0};
    std::size_t m_fileCalls = 0;
};

} // namespace tessaplex::io
