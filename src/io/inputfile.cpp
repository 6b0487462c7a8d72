// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/inputfile.h"

#include "base/error.h"
#include "io/wholefile.h"

#include <limits>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tessaplex::io {

namespace {

bool seekTo(std::FILE *file, std::uint64_t offset, int origin) {
#ifdef _WIN32
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<long long>::max()))
        return false;
    return _fseeki64(file, static_cast<long long>(offset), origin) == 0;
#else
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
        return false;
    return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

std::FILE *streamOf(int descriptor) {
#ifdef _WIN32
    std::FILE *file = _fdopen(descriptor, "rb");
    if (!file)
        _close(descriptor);
#else
    std::FILE *file = fdopen(descriptor, "rb");
    if (!file)
        close(descriptor);
#endif
    return file;
}

} // namespace

void InputFile::Closer::operator()(std::FILE *file) const {
    std::fclose(file);
}

InputFile::InputFile(std::FILE *file, std::uint64_t size)
    : m_file(file)
    , m_size(size) {}

std::optional<InputFile> InputFile::open(const std::string &path) {
    if (path.empty())
        return std::nullopt;
    // Opened as every file the program reads is: never waiting on a pipe, and only a regular
    // file. Art is read at offsets, never as a whole, so its size sets no bound.
    std::optional<WholeFile> opened;
    try {
        opened = WholeFile::open(path, std::numeric_limits<std::uint64_t>::max());
    } catch (const Error &) {
        return std::nullopt;
    }
    if (!opened)
        return std::nullopt;
    const std::uint64_t size = opened->size();
    std::FILE *file = streamOf(opened->releaseDescriptor());
    if (!file)
        return std::nullopt;
    std::setvbuf(file, nullptr, _IONBF, 0);
    return InputFile(file, size);
}

std::size_t InputFile::readAt(std::uint64_t offset, unsigned char *out, std::size_t count) {
    if (offset >= m_size || count == 0 || !seekTo(m_file.get(), offset, SEEK_SET))
        return 0;
    // What was appended after the opening is not read: every offset was judged by that size.
    if (count > m_size - offset)
        count = static_cast<std::size_t>(m_size - offset);
    return std::fread(out, 1, count, m_file.get());
}

} // namespace tessaplex::io
