// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/filesystem.h"

#include <sys/stat.h>

#include <cstdint>

namespace tessaplex::io {

// What the system's stat says of a file, as the file layer compares it.
inline FileStatus statusOf(const struct stat &st) {
    const auto nanoseconds = [](const timespec &t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    FileStatus status;
    status.size = static_cast<std::uint64_t>(st.st_size);
    status.modified = nanoseconds(st.st_mtim);
    status.changed = nanoseconds(st.st_ctim);
    status.device = static_cast<std::uint64_t>(st.st_dev);
    status.inode = static_cast<std::uint64_t>(st.st_ino);
    status.links = static_cast<std::uint64_t>(st.st_nlink);
    return status;
}

} // namespace tessaplex::io
