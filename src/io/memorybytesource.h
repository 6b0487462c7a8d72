// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/bytesource.h"

#include <string_view>

namespace tessaplex::io {

// Bytes in memory as a source. The bytes are not copied: they must outlive the source.
class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::string_view bytes)
        : m_bytes(bytes) {}

    [[nodiscard]] std::uint64_t size() const override { return m_bytes.size(); }
    [[nodiscard]] std::size_t readAt(std::uint64_t offset, unsigned char *out,
                                     std::size_t count) override;

private:
    std::string_view m_bytes;
};

} // namespace tessaplex::io
