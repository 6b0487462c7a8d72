// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/bytesource.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace tessaplex::io {

// A file opened for reading only, closed when the object goes. Offsets are 64-bit on every
// platform. Reads go straight to the system (no stdio buffer), so each readAt is one seek and one
// read.
class InputFile : public ByteSource {
public:
    // Opens the file at path exactly as given. Nothing when path is empty, names a folder, or
    // cannot be opened for reading.
    [[nodiscard]] static std::optional<InputFile> open(const std::string &path);

    [[nodiscard]] std::uint64_t size() const override { return m_size; }
    [[nodiscard]] std::size_t readAt(std::uint64_t offset, unsigned char *out,
                                     std::size_t count) override;

private:
    struct Closer {
        void operator()(std::FILE *file) const;
    };

    InputFile(std::FILE *file, std::uint64_t size);

    std::unique_ptr<std::FILE, Closer> m_file;
    std::uint64_t m_size;
};

} // namespace tessaplex::io
