// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/safewrite.h"

#include "base/error.h"
#include "io/realfilesystem.h"
#include "io/replacement.h"
#include "io/systempath.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
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

std::string temporaryNameBeside(const std::string &path) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        std::string name =
            path + ".tmp" + std::to_string(processId()) + "-" + std::to_string(counter++);
        std::error_code ec;
        if (!std::filesystem::exists(systemPath(name), ec) && !ec)
            return name;
    }
}

bool writeFileSafely(const std::string &path, std::string_view bytes) {
    const auto target = replaceableTarget(path);
    if (!target)
        return false;
    RealFileSystem files;
    try {
        Replacement replacement(files, *target, temporaryNameBeside(*target));
        (void)replacement.out().write(bytes.data(), bytes.size());
        replacement.finish();
        replacement.putInPlace();
    } catch (const Error &) {
        return false;
    }
    return true;
}

} // namespace tessaplex::io
