// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tessaplex::bench {

// A file written front to back through a large buffer. Text lines get the chosen line end.
// Throws tessaplex::Error("Cannot write <path>") when the file cannot be created or written.
class OutputFile {
public:
    OutputFile(std::string path, bool unixLineEnds = false);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    void write(std::string_view bytes);
    // The text and the line end.
    void line(std::string_view text);
    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);

    // Writes what is buffered and closes the file; the destructor does it too, but silently.
    void close();

    [[nodiscard]] const std::string &path() const { return m_path; }
    [[nodiscard]] std::uint64_t bytesWritten() const { return m_written + m_buffer.size(); }
    [[nodiscard]] std::uint64_t linesWritten() const { return m_lines; }

private:
    void flush();
    [[noreturn]] void fail() const;

    std::string m_path;
    std::FILE *m_file = nullptr;
    std::string m_buffer;
    std::string_view m_lineEnd;
    std::uint64_t m_written = 0;
    std::uint64_t m_lines = 0;
};

} // namespace tessaplex::bench
