// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startdirectory.h"

#include "io/systempath.h"

#include <filesystem>

namespace tessaplex::app {

std::string withTrailingSeparator(std::string folder) {
    if (folder.empty() || !isSeparator(folder.back()))
        folder.push_back(PathSeparator);
    return folder;
}

std::string nativePath(std::string path) {
    if (PathSeparator == '/') {
        for (char &c : path) {
            if (c == '\\')
                c = '/';
        }
    }
    return path;
}

std::string currentStartDirectory() {
    std::error_code ec;
    const auto cwd = std::filesystem::current_path(ec);
    return withTrailingSeparator(ec ? std::string() : io::pathText(cwd));
}

} // namespace tessaplex::app
