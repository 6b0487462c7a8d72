// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/bufferedreader.h"

#include "io/bufferedwriter.h"

#include <algorithm>

namespace tessaplex::io {

BufferedReader::BufferedReader(File &file, std::uint64_t fileSize, std::size_t capacity)
    : m_file(file)
    , m_fileSize(fileSize)
    , m_buffer(capacity == 0 ? 1 : capacity) {}

bool BufferedReader::fill(Buffer &buffer, std::uint64_t offset, std::size_t size) {
    if (m_position != offset) {
        ++m_fileCalls;
        if (!m_file.seek(offset))
            return false;
        m_position = offset;
    }
    std::size_t done = 0;
    while (done < size) {
        ++m_fileCalls;
        const auto n = m_file.read(buffer.data() + done, size - done);
        // The size was known beforehand, so an early end means the file shrank under us.
        if (!n || *n == 0)
            return false;
        done += *n;
        m_position += *n;
    }
    return true;
}

bool BufferedReader::copyRange(std::uint64_t offset, std::uint64_t size, BufferedWriter &out) {
    if (offset > m_fileSize || size > m_fileSize - offset)
        return false;
    const std::uint64_t capacity = m_buffer.capacity();
    while (size > 0) {
        const std::uint64_t bufferEnd = m_bufferStart + m_bufferSize;
        if (offset >= m_bufferStart && offset < bufferEnd) {
            const auto n = static_cast<std::size_t>(std::min(size, bufferEnd - offset));
            if (!out.write(m_buffer.data() + (offset - m_bufferStart), n))
                return false;
            offset += n;
            size -= n;
            continue;
        }
        const bool continuesBuffer = offset >= bufferEnd && offset - bufferEnd < capacity;
        if (continuesBuffer || offset == m_jumpEnd || size >= capacity) {
            const auto n = static_cast<std::size_t>(std::min(capacity, m_fileSize - offset));
            // Mark the buffer empty first: after a failed fill its contents are undefined.
            m_bufferSize = 0;
            if (!fill(m_buffer, offset, n))
                return false;
            m_bufferStart = offset;
            m_bufferSize = n;
            m_jumpEnd = ~std::uint64_t{0};
            continue;
        }
        // An isolated jump smaller than a buffer: read just this range.
        const auto n = static_cast<std::size_t>(size);
        if (m_jumpBuffer.capacity() < n)
            m_jumpBuffer = Buffer(n);
        if (!fill(m_jumpBuffer, offset, n) || !out.write(m_jumpBuffer.data(), n))
            return false;
        m_jumpEnd = offset + n;
        return true;
    }
    return true;
}

} // namespace tessaplex::io
