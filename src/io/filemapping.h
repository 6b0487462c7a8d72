// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/filesystem.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tessaplex::io {

// A regular file's bytes seen through the system's file cache instead of being copied: a world
// file of a million items is hundreds of megabytes, and filling that much fresh memory costs
// several times as long as reading the cache. The view is read-only, followed by at least the
// asked number of zero bytes, and released when the object goes.
//
// The pages stay the file's own: a change made in place by another program shows through. So a
// file is only mapped when its status (size, times, device, inode) will tell any later change:
// a file changed within the last seconds may change again within one tick of its file system's
// clock, without moving its times, and is left to be read into memory instead. Whoever keeps the
// view compares status() with the file's status before trusting the bytes again.
class FileMapping {
public:
    // The file at path, mapped; nothing where it is not mapped (absent, no regular file, larger
    // than maxBytes, changed too recently, or a system without mapping), so that the caller
    // reads it the ordinary way and reports what stands in the way.
    [[nodiscard]] static std::optional<FileMapping>
    map(const std::string &path, std::uint64_t maxBytes, std::size_t zeroBytesAfter);

    FileMapping(FileMapping &&other) noexcept;
    FileMapping &operator=(FileMapping &&other) noexcept;
    FileMapping(const FileMapping &) = delete;
    FileMapping &operator=(const FileMapping &) = delete;
    ~FileMapping();

    [[nodiscard]] const char *data() const { return m_data; }
    [[nodiscard]] std::size_t size() const { return m_size; }
    // The status of the mapped file when it was mapped.
    [[nodiscard]] const FileStatus &status() const { return m_status; }

private:
    FileMapping(const char *data, std::size_t size, std::size_t length, FileStatus status)
        : m_data(data)
        , m_size(size)
        , m_length(length)
        , m_status(status) {}
    void release() noexcept;

    const char *m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_length = 0; // of the whole reservation, zero bytes included
    FileStatus m_status;
};

// Whether files are mapped: Automatic as described above; Always also maps recently changed
// files, and Never maps none, so that tests run both ways on files they have just written.
enum class Mapping { Automatic, Always, Never };
void setMapping(Mapping mapping);
[[nodiscard]] Mapping mapping();

// Sets the mapping for as long as it lives, then puts back what was set before.
class MappingScope {
public:
    explicit MappingScope(Mapping mapping)
        : m_before(io::mapping()) {
        setMapping(mapping);
    }
    ~MappingScope() { setMapping(m_before); }
    MappingScope(const MappingScope &) = delete;
    MappingScope &operator=(const MappingScope &) = delete;

private:
    Mapping m_before;
};

} // namespace tessaplex::io
