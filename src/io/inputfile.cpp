// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/inputfile.h"

#include "io/realfilesystem.h"

namespace tessaplex::io {

InputFile::InputFile(std::unique_ptr<File> file, std::uint64_t size)
    : m_file(std::move(file))
    , m_size(size) {}

std::optional<InputFile> InputFile::open(const std::string &path) {
    RealFileSystem files;
    return open(files, path);
}

std::optional<InputFile> InputFile::open(FileSystem &files, const std::string &path) {
    if (path.empty())
        return std::nullopt;
    OpenedFile opened = files.openToRead(path);
    if (!opened.file)
        return std::nullopt;
    return InputFile(std::move(opened.file), opened.size);
}

std::size_t InputFile::readAt(std::uint64_t offset, unsigned char *out, std::size_t count) {
    if (offset >= m_size || count == 0)
        return 0;
    // What was appended after the opening is not read: every offset was judged by that size.
    if (count > m_size - offset)
        count = static_cast<std::size_t>(m_size - offset);
    if (offset != m_position) {
        if (!m_file->seek(offset))
            return 0;
        m_position = offset;
    }
    std::size_t done = 0;
    while (done < count) {
        const auto n = m_file->read(out + done, count - done);
        if (!n || *n == 0)
            break;
        done += *n;
    }
    m_position += done;
    if (done < count)
        m_position = ~std::uint64_t{0}; // unknown after a failed read: seek next time
    return done;
}

} // namespace tessaplex::io
