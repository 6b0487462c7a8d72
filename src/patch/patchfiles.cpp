// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/patchfiles.h"

#include "base/error.h"

namespace tessaplex::patch {

std::optional<std::string> folderPart(std::string_view path) {
    const std::size_t last = path.find_last_of("\\/:");
    if (last == std::string_view::npos)
        return std::nullopt;
    std::string folder(path.substr(0, last + 1));
    if (folder.back() == ':')
        folder.push_back('\\');
    return folder;
}

PatchFiles PatchFiles::fromSettings(const std::string &statics, const std::string &staidx,
                                    const std::string &world, int mapNumber) {
    const auto staticsFolder = folderPart(statics);
    const auto staidxFolder = folderPart(staidx);
    if (!staticsFolder || !staidxFolder)
        throw Error("Range check error");
    const std::string n = std::to_string(mapNumber);
    return {statics, staidx, world, *staticsFolder + "statics" + n + ".xxx",
            *staidxFolder + "staidx" + n + ".xxx"};
}

} // namespace tessaplex::patch
