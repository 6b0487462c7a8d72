// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/bufferedwriter.h"

namespace tessaplex::io {

BufferedWriter::BufferedWriter(File &file, std::size_t capacity, Digest *digest)
    : m_file(file)
    , m_digest(digest)
    , m_buffer(capacity == 0 ? 1 : capacity)
    , m_capacity(m_buffer.capacity()) {}

bool BufferedWriter::pass(const void *data, std::size_t size) {
    if (m_digest)
        m_digest->add(data, size);
    return m_file.write(data, size);
}

bool BufferedWriter::flush() {
    if (m_ok && m_used > 0)
        m_ok = pass(m_buffer.data(), m_used);
    m_used = 0;
    return m_ok;
}

bool BufferedWriter::writeSlow(const void *data, std::size_t size) {
    const auto *p = static_cast<const unsigned char *>(data);
    m_written += size;
    if (!m_ok)
        return false;
    // Fill the buffer up, hand it over, and pass anything larger than a buffer straight through.
    const std::size_t head = m_capacity - m_used;
    std::memcpy(m_buffer.data() + m_used, p, head);
    m_used = m_capacity;
    p += head;
    size -= head;
    if (!flush())
        return false;
    if (size >= m_capacity) {
        m_ok = pass(p, size);
        return m_ok;
    }
    std::memcpy(m_buffer.data(), p, size);
    m_used = size;
    return true;
}

} // namespace tessaplex::io
