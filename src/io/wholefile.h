// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/filesystem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tessaplex::io {

// A file opened for reading from its start to its end, closed when the object goes. Every text
// file the program reads is opened here, so that whatever stands at a path is judged alike:
//
// - nothing (no such file, or a path that runs through something that is no folder): the file
//   is absent, and the caller goes on without it;
// - a regular file, or a link to one: it is read;
// - anything else (no permission, an I/O error, a folder, a pipe, a socket, a device):
//   Error("Cannot open file <path>").
//
// Opening never waits for a pipe's writer, and whether the file is regular is asked of the opened
// file, not of its name, so a file swapped in between is judged all the same.
class WholeFile {
public:
    // Opens path as given. Nothing when the file is absent. Throws Error("Cannot open file <path>")
    // as above, and Error("The file <path> is larger than <maxBytes> bytes; ...") when it is
    // already larger than maxBytes.
    [[nodiscard]] static std::optional<WholeFile> open(const std::string &path,
                                                       std::uint64_t maxBytes);
    [[nodiscard]] static std::optional<WholeFile> open(FileSystem &files, const std::string &path,
                                                       std::uint64_t maxBytes);
    // Every byte of the file at path, or nothing when it is absent; throws as open() and read().
    [[nodiscard]] static std::optional<std::string> readAll(const std::string &path,
                                                            std::uint64_t maxBytes);
    [[nodiscard]] static std::optional<std::string>
    readAll(FileSystem &files, const std::string &path, std::uint64_t maxBytes);

    // The size in bytes when the file was opened.
    [[nodiscard]] std::uint64_t size() const { return m_size; }

    // The next count bytes, into out; fewer only when the file ends first. A file that grew since
    // it was opened is read on to its new end. Throws Error("Cannot open file <path>") when the
    // system fails to read, and the size error of open() when the file holds more than maxBytes.
    [[nodiscard]] std::size_t read(char *out, std::size_t count);

private:
    WholeFile(std::unique_ptr<File> file, std::string path, std::uint64_t size,
              std::uint64_t maxBytes);
    [[nodiscard]] std::size_t readFully(char *out, std::size_t count);
    [[nodiscard]] bool readsPastTheBound();

    std::unique_ptr<File> m_file;
    std::string m_path;
    std::uint64_t m_size;
    std::uint64_t m_maxBytes;
    std::uint64_t m_done = 0; // bytes read so far
};

} // namespace tessaplex::io
