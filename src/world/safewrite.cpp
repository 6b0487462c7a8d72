// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/safewrite.h"

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

namespace tessaplex {

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
    const std::string temporary = temporaryNameBeside(path);
    std::FILE *file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = syncFile(file) && ok;
    ok = std::fclose(file) == 0 && ok;
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temporary, path, ec);
        ok = !ec;
    }
    if (!ok)
        std::filesystem::remove(temporary, ec);
    return ok;
}

} // namespace tessaplex
