// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/wholefile.h"

#include "base/error.h"
#include "io/realfilesystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <utility>

namespace tessaplex::io {

namespace {

Error cannotOpen(const std::string &path) {
    return Error("Cannot open file " + path);
}

Error tooLarge(const std::string &path, std::uint64_t maxBytes) {
    return Error("The file " + path + " is larger than " + std::to_string(maxBytes) +
                 " bytes; a file this large is not read");
}

} // namespace

std::optional<WholeFile> WholeFile::open(const std::string &path, std::uint64_t maxBytes) {
    RealFileSystem files;
    return open(files, path, maxBytes);
}

std::optional<WholeFile> WholeFile::open(FileSystem &files, const std::string &path,
                                         std::uint64_t maxBytes) {
    OpenedFile opened = files.openToRead(path);
    if (!opened.file) {
        if (opened.absent)
            return std::nullopt;
        throw cannotOpen(path);
    }
    if (opened.size > maxBytes)
        throw tooLarge(path, maxBytes);
    return WholeFile(std::move(opened.file), path, opened.size, maxBytes);
}

std::optional<std::string> WholeFile::readAll(const std::string &path, std::uint64_t maxBytes) {
    RealFileSystem files;
    return readAll(files, path, maxBytes);
}

std::optional<std::string> WholeFile::readAll(FileSystem &files, const std::string &path,
                                              std::uint64_t maxBytes) {
    std::optional<WholeFile> file = open(files, path, maxBytes);
    if (!file)
        return std::nullopt;
    // One byte more than the file holds, so that a short read tells its end; a file that grew
    // meanwhile is read on into more room.
    std::string bytes(static_cast<std::size_t>(file->size()) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        const std::size_t wanted = bytes.size() - used;
        const std::size_t n = file->read(bytes.data() + used, wanted);
        used += n;
        if (n < wanted)
            break;
        // Never more room than the bound allows: reading stops there anyway.
        const std::uint64_t most = maxBytes < UINT64_MAX ? maxBytes + 1 : maxBytes;
        bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size() * 2, most)));
    }
    bytes.resize(used);
    return bytes;
}

WholeFile::WholeFile(std::unique_ptr<File> file, std::string path, std::uint64_t size,
                     std::uint64_t maxBytes)
    : m_file(std::move(file))
    , m_path(std::move(path))
    , m_size(size)
    , m_maxBytes(maxBytes) {}

std::size_t WholeFile::read(char *out, std::size_t count) {
    const std::uint64_t left = m_maxBytes - m_done;
    const std::size_t wanted = count < left ? count : static_cast<std::size_t>(left);
    const std::size_t n = readFully(out, wanted);
    m_done += n;
    // The bound is reached while more was asked for: the file must end here.
    if (n == wanted && wanted < count && readsPastTheBound())
        throw tooLarge(m_path, m_maxBytes);
    return n;
}

std::size_t WholeFile::readFully(char *out, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const auto n = m_file->read(out + done, count - done);
        if (!n)
            throw cannotOpen(m_path);
        if (*n == 0)
            break;
        done += *n;
    }
    return done;
}

bool WholeFile::readsPastTheBound() {
    char probe;
    return readFully(&probe, 1) == 1;
}

} // namespace tessaplex::io
