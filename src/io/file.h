// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tessaplex::io {

// An open file of raw bytes, without any buffering or line-end translation of its own. Every
// call may fail; a failed call leaves the file in an unknown state, fit only for closing.
class File {
public:
    virtual ~File() = default;

    // Reads up to size bytes from the current position; the count read, 0 at the end of the
    // file, or nothing when reading failed.
    [[nodiscard]] virtual std::optional<std::size_t> read(void *data, std::size_t size) = 0;
    // Writes all size bytes at the current position; false when not all of them were written.
    [[nodiscard]] virtual bool write(const void *data, std::size_t size) = 0;
    // Moves the position to offset bytes from the start.
    [[nodiscard]] virtual bool seek(std::uint64_t offset) = 0;
    // Returns once every written byte is on the disk.
    [[nodiscard]] virtual bool sync() = 0;
    // Closes the file; false when written bytes may not have arrived. A file destroyed without
    // close() is closed silently.
    [[nodiscard]] virtual bool close() = 0;
};

} // namespace tessaplex::io
