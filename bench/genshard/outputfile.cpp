// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputfile.h"

#include "base/error.h"

namespace tessaplex::bench {

namespace {
constexpr std::size_t BufferSize = 1 << 20;
}

OutputFile::OutputFile(std::string path, bool unixLineEnds)
    : m_path(std::move(path))
    , m_lineEnd(unixLineEnds ? "\n" : "\r\n") {
    m_file = std::fopen(m_path.c_str(), "wb");
    if (!m_file)
        fail();
    m_buffer.reserve(BufferSize);
}

OutputFile::~OutputFile() {
    if (m_file)
        std::fclose(m_file);
}

void OutputFile::fail() const {
    throw Error("Cannot write " + m_path);
}

void OutputFile::flush() {
    if (!m_buffer.empty() &&
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size())
        fail();
    m_written += m_buffer.size();
    m_buffer.clear();
}

void OutputFile::write(std::string_view bytes) {
    if (m_buffer.size() + bytes.size() > BufferSize)
        flush();
    m_buffer.append(bytes);
}

void OutputFile::line(std::string_view text) {
    write(text);
    write(m_lineEnd);
    ++m_lines;
}

void OutputFile::u8(std::uint8_t value) {
    const char byte = static_cast<char>(value);
    write({&byte, 1});
}

void OutputFile::u16(std::uint16_t value) {
    const char bytes[2] = {static_cast<char>(value & 0xff), static_cast<char>(value >> 8)};
    write({bytes, 2});
}

void OutputFile::u32(std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xff), static_cast<char>((value >> 8) & 0xff),
                           static_cast<char>((value >> 16) & 0xff), static_cast<char>(value >> 24)};
    write({bytes, 4});
}

void OutputFile::close() {
    if (!m_file)
        return;
    flush();
    const bool failed = std::fflush(m_file) != 0 || std::ferror(m_file);
    std::fclose(m_file);
    m_file = nullptr;
    if (failed)
        fail();
}

} // namespace tessaplex::bench
