// SPDX-License-Identifier: GPL-3.0-or-later
#include "art/inputfile.h"

#include <filesystem>
#include <limits>

namespace tessaplex::art {

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

std::uint64_t sizeOf(std::FILE *file) {
    if (!seekTo(file, 0, SEEK_END))
        return 0;
#ifdef _WIN32
    const long long end = _ftelli64(file);
#else
    const off_t end = ftello(file);
#endif
    // A device or pipe that reports no end counts as empty: nothing in it is read.
    return end > 0 ? static_cast<std::uint64_t>(end) : 0;
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
    // Some systems open a folder for reading without complaint; a folder is never a data file.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return std::nullopt;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::nullopt;
    std::setvbuf(file, nullptr, _IONBF, 0);
    return InputFile(file, sizeOf(file));
}

std::size_t InputFile::readAt(std::uint64_t offset, unsigned char *out, std::size_t count) {
    if (offset >= m_size || count == 0 || !seekTo(m_file.get(), offset, SEEK_SET))
        return 0;
    return std::fread(out, 1, count, m_file.get());
}

} // namespace tessaplex::art
