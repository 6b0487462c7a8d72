// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaplex::io {

// Bytes read at any offset: an open file, or bytes in memory for tests and the fuzzer.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // The number of bytes, as far as known when the source was opened.
    [[nodiscard]] virtual std::uint64_t size() const = 0;
    // Copies up to count bytes from offset into out and returns how many it copied: fewer when the
    // source ends first or a read fails, 0 at or past the end. Never writes past out[count - 1].
    [[nodiscard]] virtual std::size_t readAt(std::uint64_t offset, unsigned char *out,
                                             std::size_t count) = 0;
};

} // namespace tessaplex::io
