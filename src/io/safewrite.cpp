// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/safewrite.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tessaplex::io {

namespace {

int processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

} // namespace

bool syncFile(std::FILE *file) {
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

std::string temporaryNameBeside(const std::string &path) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        std::string name =
            path + ".tmp" + std::to_string(processId()) + "-" + std::to_string(counter++);
        std::error_code ec;
        if (!std::filesystem::exists(name, ec) && !ec)
            return name;
    }
}

bool writeFileSafely(const std::string &path, std::string_view bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Renaming over a link would replace the link itself; the file it points at is what the
    // operator means.
    std::string target = path;
    if (fs::is_symlink(path, ec)) {
        target = fs::weakly_canonical(path, ec).string();
        if (ec)
            return false;
    }
    const fs::file_status status = fs::status(target, ec);
    const bool existed = !ec && fs::exists(status);
    if (existed) {
        // A rename would replace a write-protected file (or, for the superuser, even a device)
        // where writing into it is refused; such a target stays as it is.
        if (!fs::is_regular_file(status) ||
            (status.permissions() & fs::perms::owner_write) == fs::perms::none)
            return false;
    }

    const std::string temporary = temporaryNameBeside(target);
    std::FILE *file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = syncFile(file) && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && existed) // the new file keeps the old one's access rights
        fs::permissions(temporary, status.permissions(), ec);
    if (ok) {
        fs::rename(temporary, target, ec);
        ok = !ec;
    }
    if (!ok)
        fs::remove(temporary, ec);
    return ok;
}

} // namespace tessaplex::io
