// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/memorybytesource.h"

#include <algorithm>
#include <cstring>

namespace tessaplex::io {

std::size_t MemoryByteSource::readAt(std::uint64_t offset, unsigned char *out, std::size_t count) {
    if (offset >= m_bytes.size())
        return 0;
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(count, m_bytes.size() - offset));
    std::memcpy(out, m_bytes.data() + offset, n);
    return n;
}

} // namespace tessaplex::io
