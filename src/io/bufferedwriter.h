// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/largememory.h"
#include "io/digest.h"
#include "io/file.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tessaplex::io {

// Collects small writes into large ones. Once a write to the file has failed, every later call
// fails too, so a caller may check only at the end.
class BufferedWriter {
public:
    // Large writes cost fewer calls.
    static constexpr std::size_t DefaultCapacity = std::size_t{2} << 20;

    // With a digest, every byte handed to the file is added to it as well.
    explicit BufferedWriter(File &file, std::size_t capacity = DefaultCapacity,
                            Digest *digest = nullptr);

    // Appends size bytes; false once any write has failed.
    [[nodiscard]] bool write(const void *data, std::size_t size) {
        if (size <= m_capacity - m_used) {
            std::memcpy(m_buffer.data() + m_used, data, size);
            m_used += size;
            m_written += size;
            return m_ok;
        }
        return writeSlow(data, size);
    }
    // Hands every collected byte to the file.
    [[nodiscard]] bool flush();

    // Bytes accepted so far, flushed or not.
    [[nodiscard]] std::uint64_t written() const { return m_written; }
    [[nodiscard]] bool ok() const { return m_ok; }

private:
    bool writeSlow(const void *data, std::size_t size);

    bool pass(const void *data, std::size_t size);

    File &m_file;
    Digest *m_digest;
    LargeArray<unsigned char> m_buffer;
    std::size_t m_capacity;
    std::size_t m_used = 0;
    std::uint64_t m_written = 0;
    bool m_ok = true;
};

} // namespace tessaplex::io
