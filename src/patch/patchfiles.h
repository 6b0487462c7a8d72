// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaplex::patch {

// The files of one PATCH. The old static files are kept under the backup names, each in its own
// file's folder, until the new set of files is complete and in place.
struct PatchFiles {
    std::string statics;       // the static data file
    std::string staidx;        // the static index file
    std::string world;         // the world file
    std::string staticsBackup; // statics folder + "statics0.xxx" (N.xxx for map N)
    std::string staidxBackup;  // index folder + "staidx0.xxx"

    // The files named by the "Statics", "Staidx" and "Worldfile" settings, paths as stored; the
    // backups carry the number of the map patched. Throws Error("Range check error") when the
    // "Statics" or "Staidx" path has no folder part.
    [[nodiscard]] static PatchFiles fromSettings(const std::string &statics,
                                                 const std::string &staidx,
                                                 const std::string &world, int mapNumber = 0);
};

// The folder part of path: its text up to and including the last "\", "/" or ":", with a "\"
// appended when it ends in ":". Nothing when path holds none of them (an empty or bare name).
[[nodiscard]] std::optional<std::string> folderPart(std::string_view path);

} // namespace tessaplex::patch
