// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/bytesource.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaplex::io {

// A read-ahead window over a byte source, so that a record read field by field costs one or a
// few reads of the source instead of one per field. Reads never reach past the source's end.
class ByteWindow {
public:
    // Bytes read from the source at one go when a request is not in the window yet.
    static constexpr std::size_t DefaultChunk = 32 * 1024;

    // A view of bytes inside the window; size is what lies inside the source (less than asked
    // when the source ends first). Valid until the next call of bytes().
    struct Span {
        const unsigned char *data;
        std::size_t size;
    };

    // The source must outlive the window.
    explicit ByteWindow(ByteSource &source, std::size_t chunk = DefaultChunk);

    // Up to count bytes at offset.
    [[nodiscard]] Span bytes(std::uint64_t offset, std::size_t count);

private:
    ByteSource &m_source;
    std::size_t m_chunk;
    std::vector<unsigned char> m_buffer;
    std::uint64_t m_start = 0;
    std::size_t m_filled = 0;
};

} // namespace tessaplex::io
