// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/bytewindow.h"

#include <algorithm>

namespace tessaplex::io {

ByteWindow::ByteWindow(ByteSource &source, std::size_t chunk)
    : m_source(source)
    , m_chunk(std::max<std::size_t>(chunk, 1)) {}

ByteWindow::Span ByteWindow::bytes(std::uint64_t offset, std::size_t count) {
    const std::uint64_t size = m_source.size();
    if (offset >= size || count == 0)
        return {nullptr, 0};
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(count, size - offset));
    const bool inside = offset >= m_start && offset - m_start <= m_filled &&
                        wanted <= m_filled - static_cast<std::size_t>(offset - m_start);
    if (!inside) {
        const std::size_t fetch = static_cast<std::size_t>(
            std::min<std::uint64_t>(std::max(wanted, m_chunk), size - offset));
        if (m_buffer.size() < fetch)
            m_buffer.resize(fetch);
        m_start = offset;
        m_filled = m_source.readAt(offset, m_buffer.data(), fetch);
    }
    const std::size_t at = static_cast<std::size_t>(offset - m_start);
    // A source that shrank since it was opened delivers less than its size promised.
    return {m_buffer.data() + at, std::min(wanted, m_filled - at)};
}

} // namespace tessaplex::io
