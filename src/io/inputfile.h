// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/bytesource.h"
#include "io/filesystem.h"

#include <memory>
#include <optional>
#include <string>

namespace tessaplex::io {

// A binary file of the client read at offsets (art and static map files), through the file layer
// like every other file, closed when the object goes. Only what the file held when it was opened
// is read.
class InputFile : public ByteSource {
public:
    // Opens the regular file at path as given; nothing when it is absent or cannot be read as a
    // regular file (a folder, a pipe, a device, no permission).
    [[nodiscard]] static std::optional<InputFile> open(const std::string &path);
    [[nodiscard]] static std::optional<InputFile> open(FileSystem &files, const std::string &path);

    [[nodiscard]] std::uint64_t size() const override { return m_size; }
    [[nodiscard]] std::size_t readAt(std::uint64_t offset, unsigned char *out,
                                     std::size_t count) override;

private:
    InputFile(std::unique_ptr<File> file, std::uint64_t size);

    std::unique_ptr<File> m_file;
    std::uint64_t m_size;
    std::uint64_t m_position = 0; // where the file's own position stands: no seek to go on
};

} // namespace tessaplex::io
