// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tessaplex::test {

// The item script files under folder (every "*.scp", any letter case), as paths relative to it
// with "/" between folders, sorted byte by byte: the order a script file list of them has, so
// that the first of two equal def names is always the same one.
[[nodiscard]] std::vector<std::string> scriptFilesUnder(const std::string &folder);

// A start directory for a real shard: writes qelm.ini ("ItemFiles" = scriptFolder, "Worldfile" =
// worldFile) and qelmfile.txt naming every script file under scriptFolder, with "\" between
// folders and CR LF line ends, as an operator on Windows writes them.
void writeShardSettings(const std::string &startDirectory, const std::string &scriptFolder,
                        const std::string &worldFile);

} // namespace tessaplex::test
